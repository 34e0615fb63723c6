// File > Fund Totals at the scale of a large organisation: from the Preview button to the first
// page painted in the preview, over every one of the benchmark file's 1,000,000 donations and
// over one year of them; beside it, the file's own sum of the same rows (count and sum grouped
// by destination), which is what reading them costs SQLite alone.
//
//   fund_totals_bench [rounds]      QUIL_BENCH_FILE=/path/file.qdb names the demo file
#include "timing.h"
#include "window_bench.h"

#include "frame/main_state.h"
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "platform/report/preview.h"
#include "platform/ui/object_names.h"
#include "platform/vb/convert.h"
#include "reports/fund_totals_dialog.h"
#include "schema/connect_key.h"

#include <QLineEdit>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

namespace {

struct Period {
    QString name;
    QString from;
    QString to;
};

} // namespace

int main(int argc, char** argv)
{
    const bench::WindowBench run(argc, argv, 5);
    auto db = dao::Engine::instance().defaultWorkspace().openDatabase(run.file(), false, true,
                                                                      db::DescrambleConnect(db::kScrambledConnect));
    QWidget mainWindow;
    mainWindow.resize(1024, 768);
    MainState S;
    std::printf("Fund Totals, %d rounds, %s\n", run.rounds(), qPrintable(run.file()));

    // The year before the file's last: a whole year of gifts, as the treasurer asks for it.
    int year = 0;
    {
        sqlite::Statement last = db->connection().prepare(QStringLiteral("SELECT max(PaymentDate) FROM Payments"));
        if (last.step())
            year = last.text(0).left(4).toInt() - 1;
    }
    const Period periods[] = {
        {QStringLiteral("every donation"), QStringLiteral("1/1/1900"), QStringLiteral("12/31/2199")},
        {QStringLiteral("one year (%1)").arg(year), QStringLiteral("1/1/%1").arg(year), QStringLiteral("12/31/%1").arg(year)},
    };
    for (const Period& p : periods) {
        bench::Figures preview, processor, sqlite;
        std::int64_t gifts = 0;
        std::size_t funds = 0;
        for (int r = 0; r < run.rounds(); ++r) {
            FundTotals dialog(S, db, reports::Letterhead{QStringLiteral("Benchmark Chapel"), {}, {}, {}, {}}, &mainWindow);
            dialog.txtFrom->setText(p.from);
            dialog.txtTo->setText(p.to);
            QElapsedTimer clock;
            double cpuAtStart = 0;
            run.scripted().queueDialog([&](QDialog& shown) {
                // The first page drawn as the preview shows it: the moment the user sees it.
                shown.grab();
                preview.add(bench::msSince(clock));
                processor.add(bench::cpuMs() - cpuAtStart);
                shown.reject();
            });
            cpuAtStart = bench::cpuMs();
            clock.start();
            dialog.cmdPreview_Click();
            for (const ui::Message& m : run.scripted().messages())
                std::fprintf(stderr, "  the dialog said: %s\n", qPrintable(m.prompt));
            run.scripted().clearLog();
            funds = dialog.funds().size();
            gifts = 0;
            for (const reports::FundTotal& f : dialog.funds())
                gifts += f.count;
        }
        const QDate from = vb::readDate(p.from)->date();
        const QDate to = vb::readDate(p.to)->date();
        for (int r = 0; r < run.rounds(); ++r)
            sqlite.add(bench::timed([&] {
                sqlite::Statement s = db->connection().prepare(QStringLiteral(
                    "SELECT Destination, count(*), sum(PaymentAmount) FROM Payments WHERE PaymentDate >= ?1 AND PaymentDate < ?2 "
                    "GROUP BY Destination"));
                s.bind(1, from.toString(Qt::ISODate) + QStringLiteral(" 00:00:00"));
                s.bind(2, to.addDays(1).toString(Qt::ISODate) + QStringLiteral(" 00:00:00"));
                while (s.step()) {
                }
            }));
        if (funds == 0) {
            std::printf("  %s: no gifts, nothing measured\n", qPrintable(p.name));
            continue;
        }
        std::printf("  %s: %lld gifts in %zu funds\n", qPrintable(p.name), static_cast<long long>(gifts), funds);
        std::printf("    Preview to the first page painted  %8.1f ms median (%8.1f worst), processor %8.1f ms   (target < 1000 ms)\n",
                    preview.median(), preview.worst(), processor.median());
        std::printf("    SQLite's grouped sum of the rows   %8.1f ms median (%8.1f worst)\n", sqlite.median(), sqlite.worst());
    }
    return 0;
}
