// File > Print: the Select Report dialog, then the report it accepted, with the member and
// donation repositions suppressed while the report runs, and the view re-run afterwards.
#include "reports/report_commands.h"

#include "frame/frm_main.h"
#include "platform/data/data_control.h"
#include "platform/ui/ui.h"
#include "reports/printouts.h"

#include <QDir>

ReportCommands::ReportCommands(frmMain& f) : f(f)
{
    PrintOnDefaultPrinter = [](const report::Report& r) { return reports::printOnDefaultPrinter(r); };
}

void ReportCommands::mnuFilePrint_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    S.SavedFolder = QDir::currentPath();
    {
        // Hidden, not gone, after OK: the run reads its choices; it goes at the end of the run.
        Printouts dialog(S, S.db, &f);
        ui::current().runModal(dialog);
        if (S.DialogCancelled)
            S.DialogCancelled = false;
        else
            PrintSelectedReport(dialog);
    }
    // The mail-merge file dialog may have moved the current folder.
    QDir::setCurrent(S.SavedFolder);
}

void ReportCommands::PrintSelectedReport(const Printouts& dialog)
{
    auto& S = f.S;
    S.SuppressReposition = true;
    ui::current().processEvents();
    Selection.allDates = dialog.allDates();
    Selection.memberIds = dialog.selectedMemberIds();
    Selection.destinations = dialog.selectedDestinations();
    RunReport();
    Selection = {};
    f.datSecondaryRS->setRecordset(nullptr);
    S.SuppressReposition = false;
    f.records->RequeryView();
}
