// File > Restore Backup: one of the file's backups, beside it or in the folder Back Up To writes
// to, replaces it. The chosen backup is copied beside the file and checked, the file as it is is
// backed up, and only then does the copy take the file's name, in one rename; the file is opened
// again. A failure at any step leaves the file as it was and open, with one message.
#include "db/file_commands.h"

#include "db/backup_file.h"
#include "db/passphrase_dialogs.h"
#include "db/restore_dialog.h"
#include "db/template_copy.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/derived_keys.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui.h"
#include "schema/connect_key.h"

#include <QFileInfo>
#include <algorithm>

bool FileCommands::askBackupPassphrase(const QString& backup, QByteArray& passphrase)
{
    for (;;) {
        if (!askFilePassword(backup, passphrase))
            return false;
        try {
            sqlite::Connection c(backup, passphrase, sqlite::Connection::Mode::ReadOnly);
            c.verifyReadable(backup);
            return true;
        } catch (const jet::DbError& e) {
            sqlite::forgetPassphrase(passphrase);
            if (e.number() != jet::err::NotValidPassword) {
                // Read with its passphrase, the backup is what it is: its own message follows.
                f.S.LastAnswer = ui::dataError(e.description());
                return false;
            }
            f.S.LastAnswer = tellFilePasswordNotCorrect(backup);
        }
    }
}

void FileCommands::mnuFileRestore_Click()
{
    auto& S = f.S;
    if (!S.db || S.OpenDbPath.isEmpty())
        return;
    const QString file = S.db->name();
    // Each backup is read with the key it was made under: a passphrase of its own is the file's
    // (or, made before it was set or changed, asked for when chosen); otherwise the program's.
    const QByteArray program = db::passwordOfConnect(S.DbConnect).toUtf8();
    const auto keyOf = [&](const QString& backup) {
        return sqlite::carriesPassphrase(backup) && !S.Passphrase.isEmpty() ? S.Passphrase : program;
    };

    // The backups beside the file and those in the folder Back Up To writes to, one list by time.
    QStringList folders{db::backupFolder(file)};
    const QString away = settings::backupToFolder(file);
    const QFileInfo awayInfo(away);
    // A folder unplugged is left out; one that is the Backups folder itself is listed once.
    if (!away.isEmpty() && awayInfo.isDir() && awayInfo.canonicalFilePath() != QFileInfo(folders[0]).canonicalFilePath())
        folders << away;
    ui::current().setBusyPointer(true);
    std::vector<db::BackupEntry> entries;
    for (const QString& folder : folders)
        for (db::BackupEntry& entry : db::listBackupsIn(folder, file))
            entries.push_back(std::move(entry));
    // Oldest first as each folder lists them; of two made in one second, the one beside the file first.
    std::stable_sort(entries.begin(), entries.end(), [](const db::BackupEntry& a, const db::BackupEntry& b) {
        return a.when != b.when ? a.when < b.when : a.sequence < b.sequence;
    });
    std::vector<db::BackupSummary> backups;
    for (const db::BackupEntry& entry : entries) {
        db::BackupSummary summary = db::summarizeBackup(entry, keyOf(entry.path));
        summary.locked = !summary.readable && sqlite::carriesPassphrase(entry.path);
        backups.push_back(std::move(summary));
    }
    ui::current().setBusyPointer(false);

    QString chosen;
    QDateTime when;
    bool locked = false;
    {
        RestoreBackup dialog(S, folders, std::move(backups), &f);
        ui::current().runModal(dialog);
        chosen = dialog.chosen;
        when = dialog.chosenWhen;
        locked = dialog.chosenLocked;
    }
    if (S.DialogCancelled || chosen.isEmpty()) {
        S.DialogCancelled = false;
        return;
    }
    QByteArray key = keyOf(chosen);
    if (locked && !askBackupPassphrase(chosen, key))
        return;
    // The file restored takes the backup's key, and the open after it is handed its passphrase.
    QByteArray passphrase = sqlite::carriesPassphrase(chosen) ? key : QByteArray();
    S.LastAnswer = ui::message(ui::Beep::No,
                               QStringLiteral("Replace the file\n%1\nby its backup made %2?\n\n"
                                              "The file as it is now is kept as a backup first.")
                                   .arg(file, when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                               ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("Restore Backup"));
    if (S.LastAnswer != ui::Yes) {
        sqlite::forgetPassphrase(passphrase);
        return;
    }

    const auto refuse = [&](const QString& reason) {
        S.LastAnswer = ui::dataError(QStringLiteral("The backup could not be restored, and nothing has been written:\n%1\n\n"
                                                  "%2\n\n%3 was not changed.")
                                       .arg(chosen, reason, file));
    };
    ui::current().setBusyPointer(true);
    QString staged;
    try {
        staged = db::stageRestore(chosen, file, key);
    } catch (const std::exception& e) {
        ui::current().setBusyPointer(false);
        refuse(db::reasonOf(e));
        return;
    }
    if (!BackupBeforeCommand()) {
        db::removeUnfinishedFile(staged);
        ui::current().setBusyPointer(false);
        return;
    }
    // The file stays this program's while it is closed, replaced and opened again.
    const db::FileLock keep = lock_;
    QByteArray before = S.Passphrase;
    f.mnuFileClose_Click();
    QString failure;
    try {
        db::replaceByStaged(staged, file);
        offeredPassphrase_ = std::exchange(passphrase, {});
        sqlite::forgetPassphrase(before);
    } catch (const std::exception& e) {
        failure = db::reasonOf(e);
        offeredPassphrase_ = std::exchange(before, {});
        sqlite::forgetPassphrase(passphrase);
    }
    ui::current().setBusyPointer(false);
    S.DbFileName = file;
    f.mnuFileOpen_Click();
    if (!failure.isEmpty())
        refuse(failure);
}
