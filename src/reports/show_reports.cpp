// The previewed reports: ListRPT over ListTable (Category Statements over the chosen donations in
// Payments) and MemberRPT over MemFullName with each member's donations, read through the open
// database (the report connection's text names the same file).
// After the preview the criteria page is offered for the Current Filtered Statement and the work
// table is emptied.
#include "reports/report_commands.h"

#include "frame/frm_main.h"
#include "frame/report_logo.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/jet/db_error.h"
#include "platform/report/preview.h"
#include "platform/report/report.h"
#include "platform/ui/ui.h"
#include "platform/vb/format.h"
#include "platform/vb/skip_on_failure.h"
#include "reports/donation_rows.h"
#include "reports/printouts.h"
#include "reports/recordset_rows.h"
#include "reports/report_layouts.h"
#include "reports/shaped_recordset.h"

#include <exception>

namespace {

const QString kCountFormat = QStringLiteral("##,###");
const QString kTotalFormat = QStringLiteral("$##,##0.00");

// The cover's controls 1 to 4, 6, 7 and 9; the page header's logo and its four organization
// lines from `firstOrgLine`. Controls are counted from 1 in the order they stand.
void fillHeadings(report::Layout& layout, const frmMain& f, int logoControl, int firstOrgLine)
{
    const MainState& S = f.S;
    std::vector<report::Control>& cover = layout.section(u"Section4").controls;
    const QString org[] = {S.OrgName, S.OrgAdd, S.OrgPhone, S.OrgEmail};
    for (std::size_t i = 0; i < 4; ++i)
        cover[i].caption = org[i];
    cover[5].caption = S.ReportRecordCount;
    cover[6].caption = S.ReportTitle;
    cover[8].caption = S.ReportGrandTotal;
    std::vector<report::Control>& header = layout.section(u"Section2").controls;
    header[static_cast<std::size_t>(logoControl - 1)].picture = ReportLogo(S);
    for (std::size_t i = 0; i < 4; ++i)
        header[static_cast<std::size_t>(firstOrgLine - 1) + i].caption = org[i];
}

} // namespace

void ReportCommands::preview(const report::Report& report, const QString& caption)
{
    f.HideBusyPanel();
    ui::current().setBusyPointer(false);
    report::ReportPreview window(report, caption, f.frameGeometry(), &f);
    ui::current().runModal(window);
}

void ReportCommands::emptyAfterReport(void (ReportCommands::*clear)())
{
    filled_ = nullptr;
    QString reason;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            (this->*clear)();
            return;
        } catch (const jet::DbError& e) {
            reason = e.reason();
        } catch (const std::exception& e) {
            reason = QString::fromLocal8Bit(e.what());
        }
    }
    f.S.LastAnswer = ui::dataError(QStringLiteral("The report was shown, but its rows could not be removed from the file's work "
                                                  "table; the next report of its kind removes them first. Your members and "
                                                  "donations are unchanged.\n\n%1")
                                       .arg(reason));
}

void ReportCommands::ShowListReport()
{
    auto& S = f.S;
    // The Accountant Statement and Category Statements read their donations where they are
    // (donation_rows.h); the Current Filtered Statement reads the work table its fill wrote.
    const bool inPlace = S.ReportType == reports::AccountantStatement || S.ReportType == reports::CategoryStatements;
    {
        std::shared_ptr<report::DataSource> rows;
        QString totalSource;
        if (S.ReportType == reports::CategoryStatements) {
            rows = reports::openCategoryRows(*S.db, Selection.destinations, S.DateClause);
            totalSource = QStringLiteral("SELECT SUM (PaymentAmount) AS [Gtotal] FROM Payments")
                          + reports::categoryWhere(Selection.destinations, S.DateClause);
        } else if (S.ReportType == reports::AccountantStatement) {
            rows = reports::openAccountantRows(*S.db, S.DateClause);
            totalSource = QStringLiteral("SELECT SUM (PaymentAmount) AS [Gtotal] FROM Payments ") + S.DateClause;
        } else {
            rows = std::make_shared<reports::RecordsetRows>(
                S.db->openRecordset(QStringLiteral("SELECT * FROM ListTable ") + S.DateClause + QStringLiteral(" Order by [PaymentDate]")));
            totalSource = QStringLiteral("SELECT SUM (PaymentAmount) AS [Gtotal] FROM ListTable ") + S.DateClause;
        }
        S.ReportRecordCount = vb::format(vb::Value(static_cast<std::int64_t>(rows->count())), kCountFormat);
        std::optional<vb::Currency> total;
        try {
            auto sum = S.db->openRecordset(totalSource);
            const vb::Value v = sum->field(QStringLiteral("Gtotal"));
            total = v.isNull() ? vb::Currency() : v.toCurrency();
        } catch (const std::exception& e) {
            // A total that cannot be computed is printed as such; a file that fails ends the run.
            if (!jet::isUncomputableTotal(e))
                throw;
        }
        S.ReportGrandTotal = vb::formatTotal(total, kTotalFormat);

        report::Layout layout = reports::ListRPT();
        fillHeadings(layout, f, 15, 2);
        const report::Report report(layout, rows);
        preview(report, layout.caption);
        if (S.FilterReportActive)
            PrintFilterCriteria();
    }
    f.activateWindow();
    if (!inPlace)
        emptyAfterReport(&ReportCommands::ClearListTable);
}

void ReportCommands::ShowMemberReport()
{
    auto& S = f.S;
    {
        auto shaped = std::make_shared<reports::ShapedRecordset>(
            S.db, QStringLiteral("SHAPE {SELECT * FROM MemFullName} APPEND ") + QStringLiteral("({SELECT * FROM ")
                      + S.ReportPaymentSource + S.DateClause + QStringLiteral(" Order by [PaymentDate]} AS QuilPay ")
                      + QStringLiteral("RELATE MemberID TO MemberID),SUM(QuilPay.paymentamount) AS Gtotal"));
        S.ReportRecordCount = vb::format(vb::Value(static_cast<std::int64_t>(shaped->count())), kCountFormat);
        // Members without a donation in the range have no total and add nothing.
        const int gtotal = report::indexOfName(shaped->fieldNames(), u"Gtotal");
        vb::CurrencySum total;
        for (int p = 0; p < shaped->count(); ++p) {
            const vb::Value v = shaped->row(p)[static_cast<std::size_t>(gtotal)];
            if (v.type() == vb::Type::Currency)
                total.add(v.asCurrency());
            else if (!v.isNull())
                total.spoil();  // a member's own total that could not be computed
        }
        S.ReportGrandTotal = vb::formatTotal(total.value(), kTotalFormat);

        report::Layout layout = reports::MemberRPT();
        // The member block shows the first five fields of MemFullName, by position.
        report::bindTextBoxesInOrder(layout.section(u"Section6"), shaped->fieldNames().mid(0, 5));
        fillHeadings(layout, f, 2, 3);
        const report::Report report(layout, shaped);
        preview(report, layout.caption);
        if (S.FilterReportActive)
            PrintFilterCriteria();
    }
    f.activateWindow();
    emptyAfterReport(&ReportCommands::ClearMemFullName);
}
