// The criteria page of the Current Filtered Statement: after its preview, "Print Filter Criteria ?"
// and on Yes the one page of CurFltRpt with the filters' criteria as typed, to the default
// printer without a dialog. A system without a printer offers to save the page as a PDF file
// instead of printing nothing.
#include "reports/report_commands.h"

#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/report/render.h"
#include "platform/report/report.h"
#include "platform/report/report_error.h"
#include "platform/ui/save_target.h"
#include "platform/ui/ui.h"
#include "reports/recordset_rows.h"
#include "reports/report_layouts.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace reports {

bool printOnDefaultPrinter(const report::Report& report)
{
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull())
        return false;
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setPrintRange(QPrinter::CurrentPage);
    report::printReport(report, printer, 1);
    return true;
}

} // namespace reports

void ReportCommands::PrintFilterCriteria()
{
    auto& S = f.S;
    S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("Print Filter Criteria ?"), ui::Buttons::YesNo, ui::Icon::Question,
                               QStringLiteral("QUIL"));
    if (S.LastAnswer != ui::Yes)
        return;

    // The one-page layout reads a placeholder: member 1's donations. It prints whether or not
    // there are any.
    auto rows = std::make_shared<reports::RecordsetRows>(
        S.db->openRecordset(QStringLiteral("SELECT MemberID FROM payments WHERE MemberID = 1")));
    report::Layout layout = reports::CurFltRpt();
    std::vector<report::Control>& page = layout.section(u"Section2").controls;
    for (std::size_t i = 0; i < S.FilterCaptions.size(); ++i)
        page[9 + i].caption = S.FilterCaptions[i];
    const report::Report report(layout, rows);
    try {
        if (PrintOnDefaultPrinter(report))
            return;
        const QString path = ui::chooseSaveTarget({QStringLiteral("No Printer: Save the Filter Criteria as PDF"),
                                                   QStringLiteral("Filter Criteria.pdf"), QStringLiteral("*.pdf"),
                                                   report::withPdfExtension});
        if (path.isEmpty())
            return;
        report::exportPdf(report, path, {1, 1}, layout.caption);
    } catch (const report::ReportError& e) {
        S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("The filter criteria were not printed.\n\n") + QString::fromLocal8Bit(e.what()),
                                   ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("File Creation Error"));
    }
}
