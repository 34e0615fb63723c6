// File > New Database > Clone and Clear: a copy of the template filled with the open file's
// members, password list, organization data and destinations, without donations, then opened in
// place of the source. The copy is filled under a temporary name in one transaction and takes
// the chosen name only when complete, so a stop at any moment never leaves an empty "clone"
// under that name. When the filling fails the half-made file is removed, the source (only ever
// read) is opened again, and one message says so. A source with a passphrase of its own gives
// the clone the same passphrase.
#include "db/file_commands.h"

#include "db/backup.h"
#include "db/clone_fill.h"
#include "db/compact_file.h"
#include "db/file_key.h"
#include "db/template_copy.h"
#include "frame/frm_main.h"
#include "platform/dao/derived_keys.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "schema/connect_key.h"

#include <QFile>

namespace {

// The filled clone, made from the template under the program's key, written again under the
// source's passphrase (checked as Repair / Compress checks its copy); throws on a failure.
void keyWithPassphrase(const QString& work, const QString& programPassword, const QByteArray& passphrase)
{
    const db::CompactResult result = db::compactInPlace(work, programPassword,
                                                        QString::fromLatin1(sqlite::newPassphraseKey(passphrase)));
    if (result.failure)
        throw jet::DbError(result.failure->number, result.failure->description);
    if (!result.setAside.isEmpty())
        QFile::remove(result.setAside);
}

} // namespace

void FileCommands::mnuFileNewClone_Click()
{
    auto& S = f.S;
    if (S.OpenDbPath.isEmpty())
        return;
    if (!db::BackupBeforeCommand(f))
        return;
    const QString source = S.OpenDbPath;
    QString work;
    CreateFromTemplate(QStringLiteral("File Name for CLONE Data Base"), &work);
    if (S.DbFileName.isEmpty()) {
        S.DialogCancelled = false;
        return;
    }
    const QString clone = S.DbFileName;
    // The close forgets the source's passphrase: the fill reads the source with it, the clone
    // takes it too, and both opens after are given it.
    const QString sourceKey = QString::fromUtf8(db::fileKey(S));
    const QByteArray passphrase = S.Passphrase;
    f.mnuFileClose_Click();

    ui::current().setBusyPointer(true);
    QString reason;
    try {
        const QString programPassword = db::passwordOfConnect(S.DbConnect);
        db::fillClone(work, source, programPassword, sourceKey);
        if (!passphrase.isEmpty())
            keyWithPassphrase(work, programPassword, passphrase);
        // Never over a file: one may have appeared under the name since it was tested.
        QFile made(work);
        if (!made.rename(clone))
            throw jet::DbError(jet::err::EngineError, QStringLiteral("The finished clone cannot take its name (%1).").arg(made.errorString()));
    } catch (const jet::DbError& e) {
        reason = e.reason();
    } catch (const std::exception& e) {
        reason = QString::fromLocal8Bit(e.what());
    }
    ui::current().setBusyPointer(false);

    if (!reason.isEmpty()) {
        db::removeUnfinishedFile(work);
        making_.release();
        S.DbFileName = source;
        offeredPassphrase_ = passphrase;
        f.mnuFileOpen_Click();
        S.LastAnswer = ui::dataError(QStringLiteral("The clone could not be made, and no part of it was kept:\n%1\n\n%2\n\n"
                                                  "%3 was not changed.")
                                       .arg(clone, reason, source));
        return;
    }
    S.DbFileName = clone;
    offeredPassphrase_ = passphrase;
    f.mnuFileOpen_Click();
    making_.release();
}
