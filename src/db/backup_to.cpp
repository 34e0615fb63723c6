// File > Back Up To...: a checked backup of the open file in a folder the user chooses, away from
// the computer (a USB stick, a synced folder), so that a dead disk or a stolen laptop does not
// take the file and its backups together. The folder is remembered for the file once a backup is
// in it, and from then on the day's backup is copied there as well (file_jobs_commands.cpp).
#include "db/file_commands.h"

#include "db/backup_file.h"
#include "db/file_key.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui.h"

#include <QDir>

void FileCommands::mnuFileBackupTo_Click()
{
    auto& S = f.S;
    if (!S.db || !S.db->isOpen() || S.OpenDbPath.isEmpty())
        return;
    const QString file = S.db->name();
    bool cancelled = false;
    const QString chosen = ui::current().folderDialog(QStringLiteral("Back Up To"), settings::backupToFolder(file), &cancelled);
    if (chosen.isEmpty())
        return;
    const QString folder = QDir(chosen).absolutePath();
    if (!settleBeforeCopy())
        return;

    ui::current().setBusyPointer(true);
    QString made;
    try {
        S.db->finishPendingReads();
        made = db::writeBackupTo(S.db->connection(), file, db::fileKey(S), folder);
    } catch (const db::BackupError& e) {
        ui::current().setBusyPointer(false);
        reportBackupFailure(e.folder, e.reason, false);
        return;
    } catch (const std::exception& e) {
        ui::current().setBusyPointer(false);
        reportBackupFailure(QDir::toNativeSeparators(folder), db::reasonOf(e), false);
        return;
    }
    ui::current().setBusyPointer(false);
    // Kept only once a backup is there: a folder that cannot take one is no place for the day's.
    settings::setBackupToFolder(file, folder);
    // Whatever the status line said of the folder away, it has just taken a backup.
    f.ShowStatusNote({});
    S.LastAnswer = ui::message(ui::Beep::No,
                               QStringLiteral("The backup\n%1\nwas made and checked.\n\n"
                                              "From now on the day's first backup of this file is copied to this folder too.")
                                   .arg(QDir::toNativeSeparators(made)),
                               ui::Buttons::OKOnly, ui::Icon::Information, QStringLiteral("Back Up To"));
}
