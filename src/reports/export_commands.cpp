#include "reports/export_commands.h"

#include "frame/frm_main.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/ui/save_target.h"
#include "platform/ui/ui.h"
#include "platform/ui/work_progress.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"
#include "reports/csv_export.h"
#include "reports/csv_writer.h"
#include "reports/fund_range_dialog.h"

#include <QFileInfo>

namespace {

const QString kCsvFilter = QStringLiteral("CSV Files (comma-separated)|*.csv");

QString count(std::int64_t n)
{
    return n == 0 ? QStringLiteral("0") : vb::format(vb::Value(static_cast<double>(n)), u"##,###");
}

} // namespace

ExportCommands::ExportCommands(frmMain& f) : f(f) {}

QString ExportCommands::chooseFile(const QString& title, const QString& suggested)
{
    ui::SaveRequest request{title, suggested, kCsvFilter, [](const QString& chosen) {
                                return QFileInfo(chosen).suffix().isEmpty() ? chosen + QStringLiteral(".csv") : chosen;
                            }};
    request.askBeforeReplacing = true;
    return ui::chooseSaveTarget(request);
}

template <class Work>
void ExportCommands::run(const QString& title, const QString& path, const QString& what, Work work)
{
    ui::WorkProgress progress(&f, QStringLiteral("ExportProgress"), title, QStringLiteral("Writing %1").arg(QFileInfo(path).fileName()),
                              [](std::int64_t done, std::int64_t total) {
                                  return total > 0 ? QStringLiteral("%1 of %2 lines").arg(count(done), count(total))
                                                   : QStringLiteral("%1 lines").arg(count(done));
                              });
    const reports::ExportProgress tell = [&](std::int64_t done, std::int64_t total) { return progress.tell(done, total); };

    std::int64_t written = 0;
    reports::ExportResult result = reports::ExportResult::Cancelled;
    ui::current().setBusyPointer(true);
    try {
        result = work(tell, &written);
    } catch (const reports::csv::WriteError& e) {
        ui::current().setBusyPointer(false);
        progress.close();
        f.S.LastAnswer = ui::message(ui::Beep::Yes,
                                     QStringLiteral("The file '%1' cannot be written: %2\n\nNo file has been written.").arg(path, e.reason()),
                                     ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("File Error"));
        return;
    }
    ui::current().setBusyPointer(false);
    progress.close();
    if (result == reports::ExportResult::Written)
        f.S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("%1 %2 written to '%3'.").arg(count(written), what, path),
                                     ui::Buttons::OKOnly, ui::Icon::Information, QStringLiteral("QUIL"));
}

void ExportCommands::mnuFileExportMembers_Click()
{
    if (!f.S.db)
        return;
    const QString title = QStringLiteral("Export Members");
    const QString path = chooseFile(title, QStringLiteral("Members.csv"));
    if (path.isEmpty())
        return;
    run(title, path, QStringLiteral("members"), [&](const reports::ExportProgress& tell, std::int64_t* written) {
        return reports::exportMembers(*f.S.db, path, tell, written);
    });
}

void ExportCommands::mnuFileExportDonations_Click()
{
    if (!f.S.db)
        return;
    dao::Recordset* grid = f.datSecondaryRS->recordset();
    if (!grid) {
        f.S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("There are no donations in view to export."),
                                     ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL"));
        return;
    }
    // The query as the grid holds it now; a copy, so that a requery meanwhile changes nothing.
    const jet::SelectPlan plan = grid->plan();
    const QString title = QStringLiteral("Export Donations");
    const QString path = chooseFile(title, QStringLiteral("Donations.csv"));
    if (path.isEmpty())
        return;
    run(title, path, QStringLiteral("donations"), [&](const reports::ExportProgress& tell, std::int64_t* written) {
        return reports::exportDonations(*f.S.db, plan, path, tell, written);
    });
}

void ExportCommands::mnuFileExportFunds_Click()
{
    if (!f.S.db)
        return;
    std::optional<vb::DateTime> from;
    std::optional<vb::DateTime> to;
    {
        FundRange range(f.S, &f);
        ui::current().runModal(range);
        if (f.S.DialogCancelled) {
            f.S.DialogCancelled = false;
            return;
        }
        from = range.from;
        to = range.to;
    }
    const QString title = QStringLiteral("Export Fund Totals");
    const QString path = chooseFile(title, QStringLiteral("Fund Totals.csv"));
    if (path.isEmpty())
        return;
    run(title, path, QStringLiteral("funds"), [&](const reports::ExportProgress& tell, std::int64_t* written) {
        return reports::exportFundTotals(*f.S.db, from, to, path, tell, written);
    });
}
