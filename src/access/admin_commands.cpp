#include "access/admin_commands.h"

#include "access/admin.h"
#include "access/org_data.h"
#include "frame/frm_main.h"
#include "platform/ui/ui.h"

#include <QDir>

AdminCommands::AdminCommands(frmMain& f) : f(f) {}

void AdminCommands::mnuAdminMode_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    Admin dialog(S, S.db, &f);
    // A file without the administrator entry has told the user so and offers no list.
    if (dialog.AdminFound)
        ui::current().runModal(dialog);
    S.DialogCancelled = false;
}

void AdminCommands::mnuQuilProperties_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    // The logo chooser may change the process's current folder; the reports' file dialogs and
    // relative paths expect the one from before.
    S.SavedFolder = QDir::currentPath();
    {
        OrgData dialog(S, S.db, &f);
        ui::current().runModal(dialog);
    }
    QDir::setCurrent(S.SavedFolder);
}
