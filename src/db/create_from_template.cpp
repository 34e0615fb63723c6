// CreateFromTemplate: the new file's name from the file dialog, then a copy of the template
// "Base.dat" under it. Every reason no file can be made is told once, and nothing is left on disk
// then: the copy is written under a temporary name in the target folder and renamed when whole.
#include "db/file_commands.h"
#include "db/template_copy.h"

#include "frame/frm_main.h"
#include "platform/ui/save_target.h"
#include "platform/ui/ui.h"
#include "schema/own_files.h"
#include "schema/template.h"

namespace {

void fail(frmMain& f, const QString& prompt, const QString& title)
{
    f.S.LastAnswer = ui::message(ui::Beep::Yes, prompt, ui::Buttons::OKOnly, ui::Icon::Critical, title);
    f.S.DbFileName.clear();
}

} // namespace

void FileCommands::CreateFromTemplate(const QString& title, QString* unnamed)
{
    auto& S = f.S;
    S.DbFileName = ChooseDatabaseFile(title);
    if (S.DbFileName.isEmpty())
        return;

    const db::NameTest test = db::testNewFileName(S.DbFileName);
    if (test.exists) {
        fail(f, QStringLiteral("File Exists"), QStringLiteral("File Creation Error"));
        return;
    }
    // A new name can still be one the program keeps: its Backups folder lists what lies there.
    if (const QString refusal = db::ownFileRefusal(S.DbFileName, S.OpenDbPath, S.AppDir + QString::fromLatin1(db::kTemplateFileName));
        !refusal.isEmpty()) {
        ui::tellTargetRefused(title, S.DbFileName, refusal);
        S.DbFileName.clear();
        return;
    }
    if (test.error) {
        fail(f, QStringLiteral("Error %1 - %2").arg(test.error->number).arg(test.error->description),
             QStringLiteral("File Error"));
        return;
    }

    // The name is this program's while the file is made and opened: another program making a file
    // of that name meanwhile is told, and the work file in the folder is nobody's leftover.
    db::LockAttempt claim = db::lockDatabaseFile(S.DbFileName);
    if (claim.refusal) {
        fail(f, QStringLiteral("%1\n\n%2").arg(S.DbFileName, claim.refusal->reason()), QStringLiteral("File Creation Error"));
        return;
    }

    const QString templatePath = S.AppDir + QString::fromLatin1(db::kTemplateFileName);
    if (!db::templateExists(S.AppDir)) {
        fail(f, QStringLiteral("Missing Program File(s)"), QStringLiteral("File Creation Error"));
        return;
    }
    // A damaged template would give a file that cannot be opened; better to say so now, with the
    // open file still open.
    if (const auto damage = db::templateDamage(S.AppDir, S.DbConnect)) {
        fail(f, QStringLiteral("The program's template file\n%1\ncannot be used: %2\n\nNo file was made.")
                    .arg(templatePath, *damage),
             QStringLiteral("File Creation Error"));
        return;
    }
    if (const auto error = db::copyTemplate(S.AppDir, S.DbFileName, S.DbConnect, unnamed)) {
        fail(f, QStringLiteral("Error %1 - %2").arg(error->number).arg(error->description),
             QStringLiteral("File Creation Error"));
        return;
    }
    making_ = std::move(claim.lock);
}
