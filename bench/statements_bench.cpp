// Giving statements at the scale of a large organisation (100,000 members with gifts in the
// period, 1,000,000 donations), offscreen:
//   - File > Giving Statements through the window, from Preview pressed in the dialog to the
//     preview shown on the first letter (the period's tally, the pages counted, page 1 laid out);
//   - the tally alone, without the window, and against a raw GROUP BY of the same rows;
//   - one PDF of the first pages of the run: pages per second;
//   - a PDF per donor for the first donors: files per second and the time for 10,000;
//   - the process's resident and peak resident memory after each.
// The period covers every donation of the file, so every donor has a letter. The window writes
// the wording into the file, so it runs on a copy; the shared file stays untouched.
//
//   statements_bench [rounds [pdfPages [donorFiles]]]   (defaults 3, 3000, 10000)
//                                  QUIL_BENCH_FILE=/path/file.qdb names the demo file
#include "timing.h"
#include "window_bench.h"

#include "app/install_commands.h"
#include "db/file_commands.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/report/preview.h"
#include "platform/report/render.h"
#include "platform/ui/scripted_ui.h"
#include "reports/statement_files.h"
#include "reports/statement_pages.h"
#include "schema/connect_key.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstdio>

namespace {

std::pair<double, double> residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    double rss = 0, hwm = 0;
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                rss = line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
            if (line.startsWith("VmHWM:"))
                hwm = line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
        }
    return {rss, hwm};
}

void memory(const char* after)
{
    const auto [rss, hwm] = residentMb();
    std::printf("  %-58s resident %7.1f MB, peak %7.1f MB   (target < 300 MB)\n", after, rss, hwm);
}

} // namespace

int main(int argc, char** argv)
{
    bench::WindowBench run(argc, argv, 3);
    const int pdfPages = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3000;
    const int donorFiles = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10000;
    ui::ScriptedUi& script = run.scripted();
    const QString file = run.tempFile(QStringLiteral("statements.qdb"));
    if (!QFile::copy(run.file(), file)) {
        std::fprintf(stderr, "could not copy %s\n", qPrintable(run.file()));
        return 1;
    }

    QString first, last;
    {
        sqlite::Connection raw(file, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadOnly);
        sqlite::Statement range = raw.prepare(QStringLiteral("SELECT min(PaymentDate), max(PaymentDate) FROM Payments"));
        range.step();
        first = range.text(0).left(10);
        last = range.text(1).left(10);
    }
    const reports::StatementPeriod period{QDate::fromString(first, Qt::ISODate), QDate::fromString(last, Qt::ISODate)};
    const QString wording = QStringLiteral("No goods or services were provided in exchange for these contributions.");
    std::printf("Giving statements, %s (%d members, %d donations)\n", qPrintable(period.inWords()), bench::kMembers, bench::kDonations);

    frmMain f;
    InstallCommands(f);
    if (!f.Form_Load(QString()))
        return 1;
    f.resize(1024, 768);
    f.show();
    QApplication::processEvents();
    f.S.DbFileName = file;
    f.files->mnuFileOpen_Click();
    if (f.S.OpenDbPath != file) {
        std::fprintf(stderr, "the file did not open\n");
        return 1;
    }
    script.queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, "txtPassword").setText(QStringLiteral("admin"));
        ui::click(d, "cmdOK");
    });
    f.mnuExecMode_Click();
    QApplication::processEvents();
    memory("after the open");

    // OK (Preview) to the first letter shown.
    bench::Figures toPreview;
    int letters = 0, pages = 0;
    for (int r = 0; r < run.rounds(); ++r) {
        QElapsedTimer clock;
        script.queueDialog([&](QDialog& d) {
            ui::child<QLineEdit>(d, "txtFrom").setText(period.from.toString(QStringLiteral("M/d/yyyy")));
            ui::child<QLineEdit>(d, "txtTo").setText(period.to.toString(QStringLiteral("M/d/yyyy")));
            ui::child<QPlainTextEdit>(d, "txtWording").setPlainText(wording);
            clock.start();
            ui::click(d, "cmdPreview");
        });
        script.queueAnswer(ui::No);  // the list of donors without an address, if any
        script.queueDialog([&](QDialog& d) {
            auto& preview = dynamic_cast<report::ReportPreview&>(d);
            preview.repaint();
            toPreview.add(bench::msSince(clock));
            pages = preview.pageCount();
            preview.close();
        });
        f.mnuFileGivingStatements_Click();
        script.clearPending();
    }
    std::printf("  %-58s median %8.1f ms (worst %8.1f)   target < 2000 ms  %s\n", "Preview pressed to the first letter shown",
                toPreview.median(), toPreview.worst(), toPreview.median() < 2000 ? "met" : "MISSED");
    memory("after the previews");

    // The tally alone, and a raw GROUP BY over the same rows for comparison.
    const reports::StatementPaging paging = reports::GivingStatementPages::paging(wording);
    std::vector<reports::StatementDonor> donors;
    const double tallyMs = bench::timed([&] { donors = reports::statementDonors(*f.S.db, period, {}, paging); });
    letters = static_cast<int>(donors.size());
    const double rawMs = bench::timed([&] {
        sqlite::Statement s = f.S.db->connection().prepare(QStringLiteral(
            "SELECT MemberID, count(*), count(DISTINCT Destination) FROM Payments WHERE PaymentDate >= ?1 AND PaymentDate < ?2 GROUP BY MemberID"));
        s.bind(1, period.from.toString(Qt::ISODate)).bind(2, period.to.addDays(1).toString(Qt::ISODate));
        while (s.step()) {
        }
    });
    std::printf("  %-58s %8.1f ms, raw GROUP BY %8.1f ms   (%d letters, %d pages)\n", "the tally of the period's gifts", tallyMs, rawMs,
                letters, pages);

    reports::StatementRequest request{period, wording, {f.S.OrgName, f.S.OrgAdd, f.S.OrgPhone, f.S.OrgEmail, {}}, QDate::currentDate()};
    reports::GivingStatementPages all(*f.S.db, request, donors);

    const QString pdf = run.tempFile(QStringLiteral("statements.pdf"));
    const int exported = std::min(pdfPages, all.pageCount());
    const double pdfMs = bench::timed([&] { report::exportPdf(all, pdf, {1, exported}, QStringLiteral("Giving Statements")); });
    std::printf("  %-58s %8.1f pages/s (%d pages in %.1f s, %.1f MB)   target >= 300 pages/s  %s\n", "one PDF of the letters",
                exported / (pdfMs / 1000.0), exported, pdfMs / 1000.0, QFileInfo(pdf).size() / 1e6,
                exported / (pdfMs / 1000.0) >= 300 ? "met" : "MISSED");
    QFile::remove(pdf);
    memory("after the PDF");

    // A PDF per donor: the first donors of the run.
    std::vector<reports::StatementDonor> firstDonors(donors.begin(), donors.begin() + std::min<std::size_t>(donors.size(), donorFiles));
    reports::GivingStatementPages some(*f.S.db, request, firstDonors);
    const QString folder = run.tempFile(QStringLiteral("letters"));
    QDir().mkpath(folder);
    QStringList names;
    const double namesMs = bench::timed([&] { names = reports::statementFileNames(some); });
    reports::StatementFilesResult written;
    const double filesMs = bench::timed([&] { written = reports::writeStatementFiles(some, folder, names); });
    // Where a file's time goes: its pages laid out (the donor's rows read) and the same pages
    // written again with nothing to read.
    const std::size_t sample = std::min<std::size_t>(firstDonors.size(), 1000);
    const double layoutMs = bench::timed([&] {
        for (std::size_t i = 0; i < sample; ++i)
            for (int n = 1; n <= firstDonors[i].pages; ++n)
                some.donorPage(i, n);
    });
    const double rewriteMs = bench::timed([&] {
        for (std::size_t i = 0; i < sample; ++i)
            report::exportPdf(reports::DonorStatementPages(some, 0), run.tempFile(QStringLiteral("again.pdf")), {1, firstDonors[0].pages},
                              QStringLiteral("Giving Statement"));
    });
    std::printf("  %-58s layout %6.2f ms, PDF alone %6.2f ms, names %6.2f ms\n", "a file per donor, each", layoutMs / sample,
                rewriteMs / sample, namesMs / static_cast<double>(firstDonors.size()));
    const double per10k = (namesMs + filesMs) / static_cast<double>(written.written.size()) * 10000.0 / 1000.0;
    std::printf("  %-58s %8.1f files/s (%lld files in %.1f s; 10,000 in %.1f s)   target < 60 s  %s\n", "a PDF per donor",
                written.written.size() / ((namesMs + filesMs) / 1000.0), static_cast<long long>(written.written.size()),
                (namesMs + filesMs) / 1000.0, per10k, per10k < 60 ? "met" : "MISSED");
    if (!written.failure.isEmpty())
        std::printf("  failed: %s\n", qPrintable(written.failure));
    memory("after the files");
    return 0;
}
