// The preview window offscreen, driven through the scripted UI: its caption and size, page
// navigation by buttons, keys and the page box, zoom, Print through the print dialog, Export to
// PDF with its pages, its file, a replace question and Cancel, and errors while a page is made.
#include "support/pdf_tools.h"
#include "report_fixture.h"

#include "platform/jet/db_error.h"
#include "platform/report/export_pages_dialog.h"
#include "platform/report/page_view.h"
#include "platform/report/preview.h"
#include "platform/ui/scripted_ui.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace reporttest;
using namespace quiltest;
using report::ReportPreview;

const QRect kMainWindow(100, 50, 1000, 800);

class PreviewTest : public ::testing::Test {
protected:
    // Runs the preview modally; the script works on it while it is open.
    int run(const report::Report& report, const std::function<void(ReportPreview&)>& script,
            const QString& caption = QStringLiteral("QUIL Data Report"))
    {
        ReportPreview preview(report, caption, kMainWindow);
        ui_->queueDialog([&](QDialog& d) { script(static_cast<ReportPreview&>(d)); });
        return ui::current().runModal(preview);
    }

    static void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(w, k, m); }

    ui::ScopedScriptedUi ui_;
    quiltest::TempDir dir_;
    const report::Report forty_{listLayout(), numberedRows(40), testOptions()};  // five pages
};

TEST_F(PreviewTest, OpensOnTheFirstPageSizedFromTheMainWindow)
{
    EXPECT_EQ(ReportPreview::sizeFor(kMainWindow), QSize(993, 793));  // 100 twips are 7 pixels
    EXPECT_EQ(ReportPreview::sizeFor(QRect()), QSize(480, 360));
    run(forty_, [](ReportPreview& p) {
        EXPECT_EQ(p.windowTitle(), "QUIL Data Report");
        EXPECT_EQ(p.objectName(), "TestList");
        EXPECT_TRUE(p.isModal());
        EXPECT_EQ(p.size(), QSize(993, 793));
        EXPECT_EQ(p.currentPage(), 1);
        EXPECT_EQ(p.txtPage->text(), "1");
        EXPECT_EQ(p.lblPages->text(), "of 5");
        EXPECT_EQ(p.picPage->page().number, 1);
        EXPECT_FALSE(p.cmdFirst->isEnabled());
        EXPECT_FALSE(p.cmdPrevious->isEnabled());
        EXPECT_TRUE(p.cmdLast->isEnabled());
        p.reject();
    });
    run(forty_, [](ReportPreview& p) {
        EXPECT_EQ(p.windowTitle(), "Current Filter Report");
        p.reject();
    }, QStringLiteral("Current Filter Report"));
}

TEST_F(PreviewTest, ButtonsKeysAndThePageBoxTurnPages)
{
    struct Step {
        const char* what;
        std::function<void(ReportPreview&)> act;
        int page;
    };
    const std::vector<Step> steps = {
        {"Next", [](ReportPreview& p) { ui::click(p, "cmdNext"); }, 2},
        {"Page Down", [](ReportPreview& p) { key(p.picPage, Qt::Key_PageDown); }, 3},
        {"Page Down in the page box", [](ReportPreview& p) { key(p.txtPage, Qt::Key_PageDown); }, 4},
        {"Previous", [](ReportPreview& p) { ui::click(p, "cmdPrevious"); }, 3},
        {"Page Up on a button", [](ReportPreview& p) { key(p.cmdNext, Qt::Key_PageUp); }, 2},
        {"End", [](ReportPreview& p) { key(p.picPage, Qt::Key_End); }, 5},
        {"Page Down on the last page", [](ReportPreview& p) { key(p.picPage, Qt::Key_PageDown); }, 5},
        {"Home", [](ReportPreview& p) { key(p.cboZoom, Qt::Key_Home); }, 1},
        {"Page Up on the first page", [](ReportPreview& p) { key(p.picPage, Qt::Key_PageUp); }, 1},
        {"Last", [](ReportPreview& p) { ui::click(p, "cmdLast"); }, 5},
        {"First", [](ReportPreview& p) { ui::click(p, "cmdFirst"); }, 1},
        {"page box 4",
         [](ReportPreview& p) {
             p.txtPage->selectAll();
             QTest::keyClicks(p.txtPage, "4");
             key(p.txtPage, Qt::Key_Return);
         },
         4},
        {"Home and End in the page box edit it",
         [](ReportPreview& p) {
             key(p.txtPage, Qt::Key_End);
             key(p.txtPage, Qt::Key_Home);
         },
         4},
        {"page box refuses 9",
         [](ReportPreview& p) {
             p.txtPage->selectAll();
             QTest::keyClicks(p.txtPage, "9");
             key(p.txtPage, Qt::Key_Return);
         },
         4},
    };
    run(forty_, [&](ReportPreview& p) {
        for (const Step& s : steps) {
            s.act(p);
            EXPECT_EQ(p.currentPage(), s.page) << s.what;
            EXPECT_EQ(p.picPage->page().number, s.page) << s.what;
            EXPECT_EQ(p.cmdNext->isEnabled(), s.page < 5) << s.what;
            EXPECT_EQ(p.cmdPrevious->isEnabled(), s.page > 1) << s.what;
        }
        key(p.picPage, Qt::Key_Escape);
        EXPECT_FALSE(p.isVisible());
    });
    EXPECT_TRUE(ui_->notes().isEmpty()) << ui_->notes().join(u'\n').toStdString();
}

TEST_F(PreviewTest, ZoomFitsThePageOrItsWidthOrShowsItsSize)
{
    run(forty_, [](ReportPreview& p) {
        const QSize room = p.scrPage->viewport()->size();
        p.setZoom(ReportPreview::Zoom::WholePage);
        EXPECT_LE(p.picPage->width(), room.width());
        EXPECT_LE(p.picPage->height(), room.height());
        EXPECT_EQ(p.cboZoom->currentText(), "Whole Page");
        p.setZoom(ReportPreview::Zoom::PageWidth);
        EXPECT_LE(p.picPage->width(), p.scrPage->width());
        EXPECT_GT(p.picPage->width(), p.scrPage->width() * 3 / 4);
        // Taller than the window: the arrows scroll it, and a new page starts at its top.
        QScrollBar* bar = p.scrPage->verticalScrollBar();
        ASSERT_GT(bar->maximum(), 0);
        key(p.picPage, Qt::Key_Down);
        key(p.picPage, Qt::Key_Down);
        const int scrolled = bar->value();
        EXPECT_GT(scrolled, 0);
        key(p.picPage, Qt::Key_Up);
        EXPECT_LT(bar->value(), scrolled);
        key(p.picPage, Qt::Key_PageDown);
        EXPECT_EQ(bar->value(), 0);
        p.setZoom(ReportPreview::Zoom::Actual);
        EXPECT_DOUBLE_EQ(p.picPage->scale(), p.logicalDpiX() / 1440.0);
        EXPECT_EQ(p.cboZoom->currentText(), "100%");
        p.reject();
    });
}

TEST_F(PreviewTest, PrintGoesThroughThePrintDialogAndItsPageRange)
{
    const QString printed = dir_.file("printed.pdf");
    int printerDialogs = 0;
    run(forty_, [&](ReportPreview& p) {
        // Ctrl+P, and the dialog cancelled: nothing printed.
        ui_->queueDialog([&](QDialog& d) {
            ++printerDialogs;
            EXPECT_EQ(d.objectName(), "PrintDialog");
            d.reject();
        });
        key(p.picPage, Qt::Key_P, Qt::ControlModifier);
        // Print, pages 2 to 3 to a file.
        ui_->queueDialog([&](QDialog& d) {
            ++printerDialogs;
            auto& dialog = static_cast<QPrintDialog&>(d);
            EXPECT_EQ(dialog.minPage(), 1);
            EXPECT_EQ(dialog.maxPage(), 5);
            QPrinter* printer = dialog.printer();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printed);
            printer->setPrintRange(QPrinter::PageRange);
            printer->setPageRanges(QPageRanges::fromString("2-3"));
            d.done(QDialog::Accepted);
        });
        ui::click(p, "cmdPrint");
        p.reject();
    });
    EXPECT_EQ(printerDialogs, 2);
    EXPECT_EQ(pdfPages(printed), 2);
    const QString text = pdfText(printed);
    EXPECT_TRUE(text.contains("Page 2 of 5"));
    EXPECT_TRUE(text.contains("Page 3 of 5"));
    EXPECT_FALSE(text.contains("Page 1 of 5"));
}

TEST_F(PreviewTest, ExportAsksForPagesAndAFileAndAddsTheExtension)
{
    const QString chosen = dir_.file("statement");
    run(forty_, [&](ReportPreview& p) {
        ui::click(p, "cmdNext");
        ui_->queueDialog([&](QDialog& d) {
            EXPECT_EQ(d.objectName(), "ExportPages");
            ui::child<QRadioButton>(d, "optPages").setChecked(true);
            ui::child<QSpinBox>(d, "txtFrom").setValue(2);
            ui::child<QSpinBox>(d, "txtTo").setValue(4);
            ui::click(d, "cmdOK");
        });
        ui_->queueFile(chosen);
        ui::click(p, "cmdExport");
        // The page shown, to a file that exists now: the question, answered No, keeps it.
        ui_->queueDialog([&](QDialog& d) {
            ui::child<QRadioButton>(d, "optCurrent").setChecked(true);
            ui::click(d, "cmdOK");
        });
        ui_->queueFile(chosen + ".pdf");
        ui_->queueAnswer(ui::No);
        ui::click(p, "cmdExport");
        // Cancelled at the pages, or at the file: nothing more happens.
        ui_->queueDialog([](QDialog& d) { ui::click(d, "cmdCancel"); });
        ui::click(p, "cmdExport");
        ui_->queueDialog([](QDialog& d) { ui::click(d, "cmdOK"); });
        ui_->queueFileCancel();
        ui::click(p, "cmdExport");
        p.reject();
    });
    const std::vector<ui::FileRequest> files = ui_->fileRequests();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].kind, ui::FileDialogKind::Save);
    EXPECT_EQ(files[0].title, "Export to PDF");
    EXPECT_EQ(files[0].initialName, "QUIL Data Report.pdf");
    ASSERT_EQ(ui_->messages().size(), 1u);
    EXPECT_TRUE(ui_->messages()[0].prompt.contains("already exists"));
    EXPECT_EQ(pdfPages(chosen + ".pdf"), 3);
    EXPECT_TRUE(pdfText(chosen + ".pdf").contains("Page 4 of 5"));
    EXPECT_FALSE(QFile::exists(chosen));
}

TEST_F(PreviewTest, CancelOnTheProgressStopsTheExportAndWritesNothing)
{
    const QString path = dir_.file("cancelled.pdf");
    bool cancelled = false;
    run(forty_, [&](ReportPreview& p) {
        ui_->queueDialog([&](QDialog& d) {
            // Cancel is pressed as soon as the export lets events run.
            QTimer::singleShot(0, &p, [&] {
                if (auto* progress = p.findChild<QProgressDialog*>("ReportProgress")) {
                    progress->cancel();
                    cancelled = true;
                }
            });
            ui::click(d, "cmdOK");
        });
        ui_->queueFile(path);
        ui::click(p, "cmdExport");
        EXPECT_FALSE(ui::current().isBusyPointer());
        p.reject();
    });
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(ui_->messages().empty());
}

TEST_F(PreviewTest, AnExportThatCannotBeWrittenSaysSo)
{
    const QString path = dir_.file("missing folder/report.pdf");
    run(forty_, [&](ReportPreview& p) {
        ui_->queueDialog([](QDialog& d) { ui::click(d, "cmdOK"); });
        ui_->queueFile(path);
        ui::click(p, "cmdExport");
        EXPECT_TRUE(p.isVisible());
        p.reject();
    });
    ASSERT_EQ(ui_->messages().size(), 1u);
    EXPECT_EQ(ui_->messages()[0].title, "File Error");
    EXPECT_TRUE(ui_->messages()[0].prompt.contains(path));
    EXPECT_EQ(ui_->messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(ui_->beepCount(), 1);
}

TEST_F(PreviewTest, APageThatCannotBeReadIsAMessageAndThePreviewStays)
{
    // Rows from the 14th on fail as a database does.
    class FailingRows : public report::DataSource {
    public:
        QStringList fieldNames() const override { return {"n", "amount"}; }
        int count() override { return 40; }
        std::vector<vb::Value> row(int index) override
        {
            if (index >= 13)
                throw jet::DbError(jet::err::DiskOrNetworkError, "Disk or network error.");
            return {vb::Value(index + 1), vb::Value()};
        }
    };
    const report::Report failing(listLayout(), std::make_shared<FailingRows>(), testOptions());
    run(failing, [&](ReportPreview& p) {
        key(p.picPage, Qt::Key_PageDown);
        EXPECT_EQ(p.currentPage(), 2);
        key(p.picPage, Qt::Key_PageDown);
        EXPECT_EQ(p.currentPage(), 2);
        EXPECT_EQ(p.picPage->page().number, 2);
        EXPECT_EQ(p.txtPage->text(), "2");
        p.reject();
    });
    ASSERT_EQ(ui_->messages().size(), 1u);
    EXPECT_EQ(ui_->messages()[0].title, "QUIL Data Error");
    EXPECT_EQ(ui_->messages()[0].prompt, "Disk or network error. (error 3043)");
}

} // namespace
