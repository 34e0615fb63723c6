#include "reports/fund_totals_dialog.h"

#include "platform/jet/db_error.h"
#include "platform/report/preview.h"
#include "platform/report/render.h"
#include "platform/report/report_error.h"
#include "platform/ui/object_names.h"
#include "platform/ui/save_target.h"
#include "platform/ui/ui.h"
#include "platform/ui/work_progress.h"
#include "platform/vb/format.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Fund Totals");

} // namespace

FundTotals::FundTotals(MainState& S, std::shared_ptr<dao::Database> db, reports::Letterhead letterhead, QWidget* mainWindow)
    : QDialog(mainWindow), S(S), db_(std::move(db)), letterhead_(std::move(letterhead)), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("FundTotals"));
    setWindowTitle(kTitle);
    auto* note = new QLabel(QStringLiteral("The gifts dated from the first day to the last, both included, "
                                           "counted and added up for each destination."),
                            this);
    note->setWordWrap(true);
    lblFrom = ui::named(new QLabel(QStringLiteral("&From"), this), "lblFrom");
    lblTo = ui::named(new QLabel(QStringLiteral("&To"), this), "lblTo");
    txtFrom = ui::named(new QLineEdit(this), "txtFrom");
    txtTo = ui::named(new QLineEdit(this), "txtTo");
    lblFrom->setBuddy(txtFrom);
    lblTo->setBuddy(txtTo);
    txtFrom->setMaxLength(40);
    txtTo->setMaxLength(40);
    // The books are closed for a year gone by.
    const int lastYear = vb::DateTime::today().date().year() - 1;
    txtFrom->setText(vb::shortDate(vb::DateTime(QDate(lastYear, 1, 1))));
    txtTo->setText(vb::shortDate(vb::DateTime(QDate(lastYear, 12, 31))));

    cmdPreview = ui::named(new QPushButton(QStringLiteral("&Preview"), this), "cmdPreview");
    cmdPdf = ui::named(new QPushButton(QStringLiteral("Save as P&DF..."), this), "cmdPdf");
    cmdClose = ui::named(new QPushButton(QStringLiteral("&Close"), this), "cmdClose");
    cmdPreview->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(lblFrom, 0, 0);
    grid->addWidget(txtFrom, 0, 1);
    grid->addWidget(lblTo, 1, 0);
    grid->addWidget(txtTo, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdPreview);
    buttons->addWidget(cmdPdf);
    buttons->addWidget(cmdClose);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(note);
    outer->addLayout(grid);
    outer->addLayout(buttons);
    setMinimumWidth(360);
    txtFrom->setFocus();

    connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    connect(cmdPdf, &QPushButton::clicked, this, [this] { cmdPdf_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

FundTotals::~FundTotals() = default;

void FundTotals::cmdPreview_Click()
{
    readPeriod() && sumFunds() && anyGifts() && makePage() && showPreview();
}

void FundTotals::cmdPdf_Click()
{
    readPeriod() && sumFunds() && anyGifts() && makePage() && writePdf();
}

void FundTotals::cmdClose_Click()
{
    reject();
}

void FundTotals::reject()
{
    S.DialogCancelled = true;
    QDialog::reject();
}

bool FundTotals::readPeriod()
{
    const reports::PeriodReading read = reports::readPeriod(txtFrom->text(), txtTo->text());
    if (!read.period) {
        S.LastAnswer = ui::message(ui::Beep::No, read.refusal, ui::Buttons::OKOnly, ui::Icon::Exclamation, kTitle);
        QLineEdit* wrong = read.wrongBox == 0 ? txtFrom : txtTo;
        wrong->setFocus();
        wrong->selectAll();
        return false;
    }
    period_ = read.period;
    return true;
}

bool FundTotals::sumFunds()
{
    funds_.clear();
    page_.reset();
    ui::WorkProgress progress(this, QStringLiteral("FundTotalsProgress"), kTitle, QStringLiteral("Adding up the gifts"));
    ui::current().setBusyPointer(true);
    try {
        std::optional<std::vector<reports::FundTotal>> sums = reports::fundTotals(
            *db_, vb::DateTime(period_->first), vb::DateTime(period_->last), [&] { return progress.tell(0, 0); });
        ui::current().setBusyPointer(false);
        if (!sums)
            return false;  // the user cancelled: nothing to tell
        funds_ = std::move(*sums);
        return true;
    } catch (const std::exception& e) {
        ui::current().setBusyPointer(false);
        progress.close();
        S.LastAnswer = ui::dataError(QStringLiteral("The gifts could not be read.\n\n%1").arg(jet::reasonOf(e)));
        return false;
    }
}

bool FundTotals::anyGifts()
{
    if (!funds_.empty())
        return true;
    S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("There are no gifts in the period %1.").arg(reports::periodInWords(*period_)),
                               ui::Buttons::OKOnly, ui::Icon::Information, kTitle);
    txtFrom->setFocus();
    return false;
}

bool FundTotals::makePage()
{
    try {
        page_ = reports::fundTotalsReport(funds_, *period_, letterhead_);
        return true;
    } catch (const report::ReportError& e) {
        S.LastAnswer = ui::message(ui::Beep::Yes, e.message(), ui::Buttons::OKOnly, ui::Icon::Critical, kTitle);
        return false;
    }
}

bool FundTotals::showPreview()
{
    report::ReportPreview preview(*page_, kTitle, mainWindow_->frameGeometry(), this);
    ui::current().runModal(preview);
    return true;
}

bool FundTotals::writePdf()
{
    const QString year = period_->first.year() == period_->last.year() ? QString::number(period_->first.year())
                                                                        : QStringLiteral("%1-%2").arg(period_->first.year()).arg(period_->last.year());
    ui::SaveRequest request{kTitle, QStringLiteral("Fund Totals %1.pdf").arg(year), QStringLiteral("PDF Files|*.pdf"),
                            report::withPdfExtension};
    request.askBeforeReplacing = true;
    const QString path = ui::chooseSaveTarget(request);
    if (path.isEmpty())
        return false;
    ui::WorkProgress progress(this, QStringLiteral("FundTotalsProgress"), kTitle, QStringLiteral("Writing the PDF"));
    try {
        const report::ExportResult result =
            report::exportPdf(*page_, path, {1, page_->pageCount()}, kTitle, [&](int done, int total) { return progress.tell(done, total); });
        progress.close();
        if (result != report::ExportResult::Written)
            return false;
    } catch (const report::ReportError& e) {
        progress.close();
        S.LastAnswer = ui::message(ui::Beep::Yes, e.message() + QStringLiteral("\n\nNo file has been written."), ui::Buttons::OKOnly,
                                   ui::Icon::Critical, QStringLiteral("File Error"));
        return false;
    }
    S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("The fund totals were written to '%1'.").arg(path), ui::Buttons::OKOnly,
                               ui::Icon::Information, kTitle);
    return true;
}
