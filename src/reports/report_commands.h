#pragma once
// The main window's commands for reports. One class for the subsystem; its handlers are defined
// in the file of their job: the Print command and its run (print_command.cpp), the dispatcher
// (run_report.cpp), the date condition (date_clause.cpp), the work tables (work_table_commands.cpp,
// over work_tables.h), the previewed reports and the criteria page (show_reports.cpp,
// criteria_page.cpp), the mail-merge file (mail_merge_file.cpp).
#include "frame/seams.h"
#include "reports/mail_merge_rtf.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

class frmMain;
class Printouts;

namespace report { class Report; }
namespace reports { class GivingStatementPages; }

namespace reports {
// Prints a report's first page on the system's default printer, without a dialog; false when
// the system has no printer.
bool printOnDefaultPrinter(const report::Report& report);
// The mail-merge file's path for the name chosen: ".rtf" added unless it ends so in any case.
QString mailMergePath(const QString& chosen);
} // namespace reports

// What the report run reads from the Select Report dialog after OK: the date box and the
// selected entries in the list's order.
struct ReportSelection {
    bool allDates = true;
    std::vector<std::int64_t> memberIds;  // member entries (Member Statements, the mail merge)
    QStringList destinations;             // destination entries (Category Statements)
};

class ReportCommands final : public seam::Reports {
public:
    explicit ReportCommands(frmMain& f);

    // ---- The Print command --------------------------------------------------------------------
    // File > Print: Select Report, then the report chosen; the current folder is put back after.
    void mnuFilePrint_Click() override;
    // Runs the report the dialog accepted, with repositions suppressed, and requeries the view.
    void PrintSelectedReport(const Printouts& dialog);
    // The dispatcher: fills a work table, builds the date condition and shows the report, or
    // writes the mail-merge file. A failure ends the run with one message.
    void RunReport();
    // DateClause from the date box and the range OK stored.
    void BuildDateClause();

    // File > Fund Totals: a period's gifts per destination, previewed or saved as PDF
    // (fund_totals_command.cpp).
    void mnuFileFundTotals_Click() override;
    // "Print the deposit list?" as a batch ends, and on Yes the list in the preview
    // (deposit_list_command.cpp).
    void OfferDepositList(const BatchGifts& batch) override;

    // ---- Work tables ----------------------------------------------------------------------------
    void ClearListTable();
    void ClearMemFullName();
    void FillPaymentList();
    void FillSelectedMembers();
    void FillFilteredMembers();

    // ---- Output ---------------------------------------------------------------------------------
    // ListRPT over ListTable (for Category Statements over the chosen donations in Payments),
    // MemberRPT over MemFullName and each member's donations: the preview, then (for the Current
    // Filtered Statement) the criteria page; the work table is emptied after.
    void ShowListReport();
    void ShowMemberReport();
    // "Print Filter Criteria ?" and, on Yes, CurFltRpt's one page to the default printer (or, with
    // no printer, to a PDF file the user names).
    void PrintFilterCriteria();
    // The selected members' names and addresses as the mail-merge RTF file the user names.
    void WriteMailMergeFile();

    // ---- Giving statements (giving_statements_command.cpp) --------------------------------------
    // File > Giving Statements: the dialog, then the period's statements in the preview, in one
    // PDF, or in a PDF per donor.
    void mnuFileGivingStatements_Click() override;
    // The donors without a usable address listed, with the offer to print the list; false when
    // the user would rather stop.
    bool OfferAddressList(const reports::GivingStatementPages& pages);
    void WriteCombinedStatements(const reports::GivingStatementPages& pages);
    void WriteStatementPerDonor(const reports::GivingStatementPages& pages);

    ReportSelection Selection;

    // Prints a report's first page on the default printer; false when there is no printer. Tests
    // put their own here.
    std::function<bool(const report::Report&)> PrintOnDefaultPrinter;
    // Makes the mail-merge file's bytes from its rows; tests look at the rows here.
    std::function<QByteArray(const std::vector<reports::MailMergeRow>&)> MailMergeWriter = reports::mailMergeRtf;

private:
    // Shows a report in the modal preview; the busy panel goes first.
    void preview(const report::Report& report, const QString& caption);
    // The report run's failure: one message, the busy panel gone.
    void reportFailure(const QString& reason);
    // Empties the work table after its report was shown. A refusal is tried once more (a
    // passing fault of the disk), then told: the report was shown, its rows stay until the
    // next report of its kind empties the table first.
    void emptyAfterReport(void (ReportCommands::*clear)());
    // After a failure part-way: the work table the run filled emptied, if the file lets it.
    void emptyFilled();

    // The work table the run filled and not yet emptied, so a failure part-way empties it.
    void (ReportCommands::*filled_)() = nullptr;

    frmMain& f;
};
