// File > Set File Password: sets, changes or removes the open file's own passphrase. The file is
// rewritten under the new key as Repair / Compress rewrites it (a backup first, a checked copy,
// one rename) and opened again with it; a failure leaves the file as it was, under its old key,
// and opens it again.
#include "db/set_file_password.h"

#include "db/backup.h"
#include "db/compact_file.h"
#include "db/file_commands.h"
#include "db/file_key.h"
#include "db/passphrase_dialogs.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/derived_keys.h"
#include "platform/dao/recordset.h"
#include "platform/jet/translator.h"
#include "platform/ui/ui.h"
#include "schema/connect_key.h"

#include <QFile>
#include <QLineEdit>

namespace db {

std::optional<QString> filePasswordRefusal(const FilePasswordEntry& entry)
{
    if (!entry.administratorMatches)
        return QStringLiteral("The Administrator password is not correct. Only the Administrator can set the file password.");
    if (entry.typed != entry.again)
        return QStringLiteral("The two new passwords are not the same. Type the new file password twice, the same both times.");
    if (entry.typed.isEmpty())
        return entry.fileHasOne ? std::nullopt
                                : std::optional<QString>(QStringLiteral("This file has no file password to remove. "
                                                                        "Type a new file password twice to set one."));
    if (entry.typed.size() < kShortestFilePassword)
        return QStringLiteral("A file password needs at least %1 characters.").arg(kShortestFilePassword);
    return std::nullopt;
}

bool isAdministratorPassword(dao::Database& db, const QString& typed)
{
    if (typed.isEmpty() || typed.contains(QChar(0)))
        return false;
    auto matches = db.openRecordset(QStringLiteral("SELECT [PassName] FROM [Passwords] WHERE [PassName] = 'Administrator' AND "
                                                   "[MyPassWord] = ")
                                    + jet::quoted(typed));
    return matches->recordCount() > 0;
}

} // namespace db

void FileCommands::mnuFileSetPassword_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    db::FilePasswordEntry entry;
    QString admin;
    {
        SetFilePassword dialog(S, &f);
        ui::current().runModal(dialog);
        admin = dialog.txtAdmin->text();
        entry.typed = dialog.txtNew->text();
        entry.again = dialog.txtConfirm->text();
    }
    if (S.DialogCancelled) {
        S.DialogCancelled = false;
        return;
    }
    entry.administratorMatches = db::isAdministratorPassword(*S.db, admin);
    entry.fileHasOne = !S.Passphrase.isEmpty();
    if (const auto refusal = db::filePasswordRefusal(entry)) {
        S.LastAnswer = ui::message(ui::Beep::Yes, *refusal, ui::Buttons::OKOnly, ui::Icon::Exclamation,
                                   QStringLiteral("Set File Password"));
        return;
    }
    if (!db::BackupBeforeCommand(f))
        return;

    const QString source = S.db->name();
    QByteArray passphrase = entry.typed.toUtf8();
    const QString oldKey = QString::fromUtf8(db::fileKey(S));
    QByteArray oldPassphrase = S.Passphrase;
    const QString newKey = passphrase.isEmpty() ? db::passwordOfConnect(S.DbConnect)
                                                : QString::fromLatin1(sqlite::newPassphraseKey(passphrase));
    // The file stays this program's while it is closed, rewritten and opened again.
    const db::FileLock keep = lock_;
    f.mnuFileClose_Click();

    ui::current().setBusyPointer(true);
    const db::CompactResult result = db::compactInPlace(source, oldKey, newKey);
    ui::current().setBusyPointer(false);
    if (result.failure) {
        S.LastAnswer = ui::dataError(QStringLiteral("The file password was not changed; the file is as it was.\n\n%1   %2")
                                         .arg(result.failure->number)
                                         .arg(result.failure->description));
        sqlite::forgetPassphrase(passphrase);
        offeredPassphrase_ = std::exchange(oldPassphrase, {});
    } else {
        if (!result.setAside.isEmpty())
            QFile::remove(result.setAside);
        S.LastAnswer = ui::message(ui::Beep::No,
                                   passphrase.isEmpty() ? QStringLiteral("The file password was removed.")
                                                        : QStringLiteral("The file password was set. Keep it safe: "
                                                                         "without it the file and its new backups cannot be opened."),
                                   ui::Buttons::OKOnly, ui::Icon::Information, QStringLiteral("Set File Password"));
        sqlite::forgetPassphrase(oldPassphrase);
        offeredPassphrase_ = std::exchange(passphrase, {});
    }
    S.DbFileName = source;
    f.mnuFileOpen_Click();
}
