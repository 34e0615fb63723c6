// The report dispatcher: the work table of the chosen report type, its title, the date
// condition, then the previewed report, or the mail-merge file.
#include "reports/report_commands.h"

#include "frame/frm_main.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "reports/printouts.h"

#include <exception>

void ReportCommands::reportFailure(const QString& reason)
{
    f.HideBusyPanel();
    ui::current().setBusyPointer(false);
    f.S.FilterReportActive = false;
    f.S.LastAnswer = ui::dataError(QStringLiteral("The report could not be made.\n\n") + reason);
}

// A run that failed after its fill leaves the work table as it found it when the file lets it
// (the one message is about the failure; the next report of the kind empties the table anyway).
void ReportCommands::emptyFilled()
{
    if (!filled_)
        return;
    const auto clear = filled_;
    filled_ = nullptr;
    try {
        (this->*clear)();
    } catch (const std::exception&) {
    }
}

void ReportCommands::RunReport()
{
    using namespace reports;
    auto& S = f.S;
    f.ShowBusyPanel();
    filled_ = nullptr;
    S.FilterReportActive = false;
    S.ReportPaymentSource = QStringLiteral("Payments");
    S.ReportMemberSource = QStringLiteral("Members");

    // The date condition is applied by the report queries, not by the fills.
    const auto dateClauseAndPause = [this] {
        BuildDateClause();
        f.WaitOneSecond();
    };
    try {
        switch (S.ReportType) {
        case MemberStatements:
            S.ReportTitle = QStringLiteral("Member Report");
            FillSelectedMembers();
            filled_ = &ReportCommands::ClearMemFullName;
            dateClauseAndPause();
            ShowMemberReport();
            break;
        case AccountantStatement:
            S.ReportTitle = QStringLiteral("Accountant Report");
            dateClauseAndPause();
            ShowListReport();
            break;
        case CategoryStatements:
            S.ReportTitle = QStringLiteral("Category Report");
            dateClauseAndPause();
            ShowListReport();
            break;
        case CurrentFilteredStatement:
            S.ReportTitle = QStringLiteral("Current Filtered Report");
            S.FilterReportActive = true;
            if (S.ListViewActive) {
                if (!S.DonationFilter.isEmpty())
                    S.ReportPaymentSource = QStringLiteral("Select * from Payments ") + S.DonationFilter;
                FillPaymentList();
                filled_ = &ReportCommands::ClearListTable;
                dateClauseAndPause();
                ShowListReport();
            } else {
                if (!S.DonationFilter.isEmpty())
                    S.ReportPaymentSource = QStringLiteral("Payments ") + S.DonationFilter;
                if (!S.MemberFilter.isEmpty())
                    S.ReportMemberSource = QStringLiteral("Select * from Members WHERE ") + S.MemberFilter;
                FillFilteredMembers();
                filled_ = &ReportCommands::ClearMemFullName;
                dateClauseAndPause();
                ShowMemberReport();
            }
            break;
        case MailMergeFile:
            WriteMailMergeFile();
            break;
        default:
            // No type was chosen: nothing to run.
            f.HideBusyPanel();
            break;
        }
    } catch (const jet::DbError& e) {
        emptyFilled();
        reportFailure(e.reason());
    } catch (const std::exception& e) {
        emptyFilled();
        reportFailure(QString::fromLocal8Bit(e.what()));
    }
    S.FilterReportActive = false;
}
