// File > Repair / Compress: a backup first, then the open file closed, rewritten in place with the same key (or passphrase) and opened
// again. A failure leaves the original under its path, unchanged, and the window without a file.
#include "db/file_commands.h"

#include "db/backup.h"
#include "db/compact_file.h"
#include "db/file_key.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/derived_keys.h"
#include "platform/ui/ui.h"

#include <QFile>

void FileCommands::mnuCompact_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    if (!db::BackupBeforeCommand(f))
        return;
    const QString source = S.db->name();
    const QString key = QString::fromUtf8(db::fileKey(S));
    // A file of its own passphrase is written again under it, with a salt of its own, and opened
    // again with it.
    const QString newKey = S.Passphrase.isEmpty() ? QString() : QString::fromLatin1(sqlite::newPassphraseKey(S.Passphrase));
    // The file stays this program's while it is closed, rewritten and opened again.
    const db::FileLock keep = lock_;
    offeredPassphrase_ = S.Passphrase;
    f.mnuFileClose_Click();

    ui::current().setBusyPointer(true);
    const db::CompactResult result = db::compactInPlace(source, key, newKey);
    if (result.failure) {
        S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("%1   %2").arg(result.failure->number).arg(result.failure->description),
                                   ui::Buttons::OKOnly, ui::Icon::Critical,
                                   QStringLiteral("Error when repairing/Compressing database"));
        ui::current().setBusyPointer(false);
        sqlite::forgetPassphrase(offeredPassphrase_);
        return;
    }
    S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("Database Repaired / Compressed successfully"),
                               ui::Buttons::OKOnly, ui::Icon::Information, QStringLiteral("QUIL"));
    if (!result.setAside.isEmpty())
        QFile::remove(result.setAside);
    ui::current().setBusyPointer(false);
    S.DbFileName = source;
    f.mnuFileOpen_Click();
}
