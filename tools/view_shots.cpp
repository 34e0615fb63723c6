// Draws the user guide's pictures of the Executive mode, the two views and the two delete and
// password dialogs, on a demo file made for the purpose, into PNG files in the folder given:
// executive-window.png, list-view.png, pass-box.png, del-form.png, delete-donation.png.
// The dialogs are answered by the scripted UI, so the program's own commands run unattended.
// Run it on a real display or under Xvfb, so that the window is drawn as a user sees it:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/view_shots docs/images
#include "app/install_commands.h"
#include "db/file_commands.h"
#include "demo/demo_data.h"
#include "frame/frm_main.h"
#include "platform/data/data_control.h"
#include "platform/settings/settings.h"
#include "platform/ui/scripted_ui.h"
#include "records/del_form.h"
#include "shots.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

using shots::save;
using shots::settle;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::optional<QDir> argument = shots::folderArgument(argc, argv, "view_shots");
    if (!argument)
        return 2;
    const QDir& folder = *argument;
    QTemporaryDir temp;
    const settings::ScopedFile settingsFile(temp.filePath(QStringLiteral("quil.ini")));
    const QString file = temp.filePath(QStringLiteral("Demo.qdb"));
    db::writeDemo(file, db::DemoOptions{});
    ui::ScopedScriptedUi scripted;
    bool ok = true;

    frmMain f;
    InstallCommands(f);
    if (!f.Form_Load(QString()))
        return 1;
    f.resize(1000, 700);
    f.show();
    settle();
    f.S.DbFileName = file;
    f.files->mnuFileOpen_Click();

    // The password dialog as it is filled in, then the Executive command with it.
    scripted->queueDialog([&](QDialog& d) {
        ui::child<QLineEdit>(d, "txtPassword").setText(QStringLiteral("admin"));
        d.show();
        ok = save(d, folder.filePath(QStringLiteral("pass-box.png"))) && ok;
        ui::click(d, "cmdOK");
    });
    f.mnuExecMode_Click();
    ok = save(f, folder.filePath(QStringLiteral("executive-window.png"))) && ok;

    // Delete Member's confirmation for the member shown, left with Cancel.
    scripted->queueDialog([&](QDialog& d) {
        d.show();
        ok = save(d, folder.filePath(QStringLiteral("del-form.png"))) && ok;
        ui::click(d, "Command2");
    });
    f.mnuEditDelMem_Click();

    f.mnuListView_Click();
    f.grdDataGrid->selectRow(2);
    f.grdDataGrid->setFocus();
    settle();
    f.grdDataGrid->clearFocus();
    ok = save(f, folder.filePath(QStringLiteral("list-view.png"))) && ok;

    // The question of Delete Donation, drawn as the platform's message box shows it.
    f.S.LastAnswer = 0;
    scripted->queueAnswer(ui::No);
    f.mnuEditDelPay_Click();
    if (!scripted->messages().empty()) {
        const ui::Message m = scripted->messages().back();
        QMessageBox box(QMessageBox::Question, m.title, m.prompt, QMessageBox::Yes | QMessageBox::No, &f);
        box.show();
        ok = save(box, folder.filePath(QStringLiteral("delete-donation.png"))) && ok;
    }
    f.Form_Unload();
    return ok ? 0 : 1;
}
