// The user guide's pictures of the reports: each report type run through the real window on a
// copy of the demo file, as File > Print runs it, and the pages its preview shows drawn by the
// report painter to PNG files (the cover and the first page of lines side by side; the criteria
// page of the filtered statement alone; the fund totals' page alone, and as the PDF it saves).
//
//   report_shots <demo.qdb> <folder>        (run under the offscreen platform or Xvfb)
#include "app/install_commands.h"
#include "frame/frm_main.h"
#include "platform/report/painter.h"
#include "platform/report/preview.h"
#include "platform/ui/scripted_ui.h"
#include "reports/printouts.h"
#include "reports/report_commands.h"
#include "schema/connect_key.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr double kScale = 0.055;  // pixels a twip: a Letter page 673 pixels wide

void savePages(const report::Pages& r, const std::vector<int>& numbers, const QString& path)
{
    const QSize page(static_cast<int>(r.paper().width() * kScale), static_cast<int>(r.paper().height() * kScale));
    const int gap = 16;
    QImage image(static_cast<int>(numbers.size()) * (page.width() + gap) + gap, page.height() + 2 * gap, QImage::Format_RGB32);
    image.fill(QColor(0x80, 0x80, 0x80));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    report::PagePainter pages;
    int left = gap;
    for (const int n : numbers) {
        painter.fillRect(QRect(QPoint(left, gap), page), Qt::white);
        pages.paint(painter, r.page(std::min(n, r.pageCount())), kScale, QPointF(left, gap));
        left += page.width() + gap;
    }
    painter.end();
    if (!image.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: report_shots <demo.qdb> <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("demo.qdb"));
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), file)) {
        std::fprintf(stderr, "cannot copy %s\n", argv[1]);
        return 1;
    }
    ui::ScopedScriptedUi script;
    frmMain f;
    InstallCommands(f);
    f.S.AppDir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/");
    f.S.ViewName = QStringLiteral("Member View");
    f.S.DbConnect = db::DescrambleConnect(db::kScrambledConnect);
    f.timer = [] {
        static float now = 100.0F;
        return now += 1.0F;
    };
    f.resize(1024, 768);
    f.S.DbFileName = file;
    f.files->mnuFileOpen_Click();
    if (f.S.OpenDbPath != file) {
        std::fprintf(stderr, "the demo file did not open\n");
        for (const ui::Message& m : script->messages())
            std::fprintf(stderr, "  %s\n", qPrintable(m.prompt));
        return 1;
    }
    auto& commands = static_cast<ReportCommands&>(*f.reports);

    const auto run = [&](int type, std::function<void(Printouts&)> select, const QString& name) {
        script->queueDialog([=](QDialog& d) {
            auto& p = static_cast<Printouts&>(d);
            ui::click(p, QStringLiteral("PrnOp(%1)").arg(type));
            if (select)
                select(p);
            ui::click(p, "Command1");
        });
        script->queueDialog([=](QDialog& d) {
            auto& preview = dynamic_cast<report::ReportPreview&>(d);
            savePages(preview.report(), {1, 2}, folder + u'/' + name + QStringLiteral(".png"));
            preview.close();
        });
        f.mnuFilePrint_Click();
    };
    const auto firstEntries = [](int count) {
        return [count](Printouts& p) {
            for (int i = 0; i < count && i < p.PrnList->count(); ++i)
                p.PrnList->item(i)->setSelected(true);
        };
    };
    run(0, firstEntries(3), QStringLiteral("report-member-statements"));
    run(1, {}, QStringLiteral("report-accountant"));
    run(2, firstEntries(2), QStringLiteral("report-category"));

    // The filtered statement in the Member View, and its criteria page in place of a printer.
    f.S.MemberFilter = QStringLiteral("[Lastname] Like 'S*' ");
    f.S.FilterCaptions.fill(QStringLiteral(" "));
    f.S.FilterCaptions[2] = QStringLiteral(" S*");
    f.S.DonationFilter = QStringLiteral(" WHERE [PaymentAmount] >100 ");
    f.S.FilterCaptions[9] = QStringLiteral(">");
    f.S.FilterCaptions[10] = QStringLiteral("100");
    commands.PrintOnDefaultPrinter = [&](const report::Report& r) {
        savePages(r, {1}, folder + QStringLiteral("/report-filter-criteria.png"));
        return true;
    };
    script->queueAnswer(ui::Yes);
    run(3, {}, QStringLiteral("report-current-filter"));

    // File > Fund Totals for last year, as the dialog proposes it: its preview's page, and the
    // same page as the PDF the dialog writes, to be looked at with pdftoppm.
    script->queueDialog([](QDialog& d) {
        ui::click(d, "cmdPreview");
        ui::click(d, "cmdPdf");
        ui::click(d, "cmdClose");
    });
    script->queueDialog([=](QDialog& d) {
        auto& preview = dynamic_cast<report::ReportPreview&>(d);
        savePages(preview.report(), {1}, folder + QStringLiteral("/report-fund-totals.png"));
        preview.close();
    });
    script->queueFile(folder + QStringLiteral("/report-fund-totals.pdf"));
    f.mnuFileFundTotals_Click();
    return 0;
}
