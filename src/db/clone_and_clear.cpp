// File > New Database > Clone and Clear: a copy of the template filled with the open file's
// members, password list, organization data and destinations, without donations, then opened in
// place of the source. The filling is one transaction; when it fails the half-made file is
// removed, the source (only ever read) is opened again, and one message says so.
#include "db/file_commands.h"

#include "db/clone_fill.h"
#include "db/template_copy.h"
#include "frame/frm_main.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "schema/connect_key.h"

void FileCommands::mnuFileNewClone_Click()
{
    auto& S = f.S;
    if (S.OpenDbPath.isEmpty())
        return;
    const QString source = S.OpenDbPath;
    CreateFromTemplate(QStringLiteral("File Name for CLONE Data Base"));
    if (S.DbFileName.isEmpty()) {
        S.DialogCancelled = false;
        return;
    }
    const QString clone = S.DbFileName;
    f.mnuFileClose_Click();

    ui::current().setBusyPointer(true);
    QString reason;
    try {
        db::fillClone(clone, source, db::passwordOfConnect(S.DbConnect));
    } catch (const jet::DbError& e) {
        reason = e.reason();
    } catch (const std::exception& e) {
        reason = QString::fromLocal8Bit(e.what());
    }
    ui::current().setBusyPointer(false);

    if (!reason.isEmpty()) {
        db::removeUnfinishedFile(clone);
        S.DbFileName = source;
        f.mnuFileOpen_Click();
        S.LastAnswer = ui::message(ui::Beep::Yes,
                                   QStringLiteral("The clone could not be made, and no part of it was kept:\n%1\n\n%2\n\n"
                                                  "%3 was not changed.")
                                       .arg(clone, reason, source),
                                   ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL Data Error"));
        return;
    }
    S.DbFileName = clone;
    f.mnuFileOpen_Click();
}
