// The CSV exports at the scale of a large organisation: the 1,000,000 donations of the List View
// query (every donation by date, the grid's record set), the 100,000 members, and the fund
// totals of every donation, each written to a file; beside them, the same query's rows only
// stepped through, which is what reading costs without any writing.
//
//   export_bench [rounds]      QUIL_BENCH_FILE=/path/file.qdb names the demo file
#include "timing.h"
#include "window_bench.h"

#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/dao/sqlite.h"
#include "reports/csv_export.h"
#include "schema/connect_key.h"

#include <QFileInfo>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

const QString kListView = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] Order by  PaymentDate");

// Wall-clock and processor time of the work; on a shared machine the second says what the work
// itself costs.
struct Reading {
    bench::Figures wall, cpu;
    void add(const std::function<void()>& work)
    {
        const std::clock_t started = std::clock();
        wall.add(bench::timed(work));
        cpu.add(1000.0 * static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC);
    }
};

void printFigures(const char* what, const Reading& r, double target = 0)
{
    std::printf("  %-46s %8.1f ms median (%8.1f worst), processor %8.1f ms%s\n", what, r.wall.median(), r.wall.worst(),
                r.cpu.median(), target > 0 ? qPrintable(QStringLiteral("   (target < %1 ms)").arg(target)) : "");
}

} // namespace

int main(int argc, char** argv)
{
    const bench::WindowBench run(argc, argv, 3);
    auto db = dao::Engine::instance().defaultWorkspace().openDatabase(run.file(), false, true,
                                                                      db::DescrambleConnect(db::kScrambledConnect));
    const QString out = run.tempFile(QStringLiteral("export.csv"));
    std::int64_t reports = 0;
    const reports::ExportProgress tell = [&](std::int64_t, std::int64_t) {
        ++reports;
        return true;
    };

    // The grid's record set as List View leaves it; the export reads its query.
    auto grid = db->openRecordset(kListView);
    Reading donations, members, funds, stepping;
    std::int64_t lines = 0;
    for (int r = 0; r < run.rounds(); ++r) {
        donations.add([&] { reports::exportDonations(*db, grid->plan(), out, tell, &lines); });
    }
    const qint64 donationBytes = QFileInfo(out).size();
    std::int64_t memberLines = 0;
    for (int r = 0; r < run.rounds(); ++r)
        members.add([&] { reports::exportMembers(*db, out, tell, &memberLines); });
    std::int64_t fundLines = 0;
    for (int r = 0; r < run.rounds(); ++r)
        funds.add([&] { reports::exportFundTotals(*db, std::nullopt, std::nullopt, out, tell, &fundLines); });
    for (int r = 0; r < run.rounds(); ++r)
        stepping.add([&] {
            sqlite::Statement s = db->connection().prepare(grid->plan().sql());
            std::int64_t n = 0;
            while (s.step())
                ++n;
            if (n != lines)
                std::printf("  the query stepped %lld rows, the export wrote %lld\n", static_cast<long long>(n),
                            static_cast<long long>(lines));
        });

    std::printf("CSV export, %d rounds, %s\n", run.rounds(), qPrintable(run.file()));
    std::printf("  donations in List View: %lld lines, %.1f MB\n", static_cast<long long>(lines),
                static_cast<double>(donationBytes) / 1e6);
    printFigures("donations in List View, written to a file", donations, 5000);
    printFigures("  the same query only stepped through", stepping);
    printFigures(qPrintable(QStringLiteral("members, every field (%1 lines)").arg(memberLines)), members);
    printFigures(qPrintable(QStringLiteral("fund totals of every donation (%1 lines)").arg(fundLines)), funds);
    std::printf("  progress reports: %lld\n", static_cast<long long>(reports));
    return 0;
}
