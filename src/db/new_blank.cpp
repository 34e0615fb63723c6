// File > New Database > New Blank Database: a copy of the template under a new name, opened in
// place of the file that was open.
#include "db/file_commands.h"

#include "frame/frm_main.h"

#include <QLineEdit>

void FileCommands::mnuFileNewBlank_Click()
{
    auto& S = f.S;
    CreateFromTemplate(QStringLiteral("File Name for NEW Data Base"));
    if (!S.DbFileName.isEmpty()) {
        const QString made = S.DbFileName;
        if (!S.OpenDbPath.isEmpty())
            f.mnuFileClose_Click();
        S.DbFileName = made;
        f.mnuFileOpen_Click();
        making_.release();
        f.EntNme->setText(QString());
    }
    S.DialogCancelled = false;
}
