// Draws the user guide's pictures of the administration dialogs and File > New Database, filled
// in as the guide's examples fill them, into PNG files in the folder given: password-list.png,
// organization-data.png and file-new-menu.png. It works on a template copy in a temporary folder.
// Run it on a real display or under Xvfb, so that the dialogs are drawn as a user sees them:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/admin_dialog_shots docs/images
#include "access/admin.h"
#include "access/org_data.h"
#include "app/install_commands.h"
#include "frame/frm_main.h"
#include "platform/dao/engine.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "platform/ui/scripted_ui.h"
#include "schema/connect_key.h"
#include "schema/template.h"
#include "shots.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

using shots::settle;

bool save(QWidget& widget, const QString& path)
{
    shots::present(widget);
    return shots::save(widget, path);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::optional<QDir> argument = shots::folderArgument(argc, argv, "admin_dialog_shots");
    if (!argument)
        return 2;
    const QDir& folder = *argument;
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("Friends of the Library.qdb"));
    db::writeTemplate(file);

    bool ok = true;
    {
        ui::ScopedScriptedUi scripted;
        frmMain f;
        InstallCommands(f);
        f.S.AppDir = temp.path() + u'/';
        f.S.DbConnect = db::DescrambleConnect(db::kScrambledConnect);
        f.S.ViewName = QStringLiteral("Member View");
        f.S.DbFileName = file;
        f.files->mnuFileOpen_Click();

        {
            Admin admin(f.S, f.S.db, &f);
            admin.show();
            admin.Text1->setText(QString::fromLatin1(db::templ::AdminPassword));
            admin.Command1_Click();
            admin.Command2_Click();
            admin.Grid1Model->setData(admin.Grid1Model->index(1, 0), QStringLiteral("Treasurer"));
            admin.Grid1Model->setData(admin.Grid1Model->index(1, 1), QStringLiteral("ledger2024"));
            admin.Command2_Click();
            admin.Grid1Model->setData(admin.Grid1Model->index(2, 0), QStringLiteral("Secretary"));
            admin.Grid1Model->setData(admin.Grid1Model->index(2, 1), QStringLiteral("minutes"));
            admin.Grid1->resizeColumnToContents(0);
            admin.resize(420, 320);
            ok = save(admin, folder.filePath(QStringLiteral("password-list.png"))) && ok;
            admin.Command1_Click();
        }
        {
            OrgData org(f.S, f.S.db, &f);
            const char* values[] = {"Friends of the Library", "12 Elm Street, Springfield, IL 62701",
                                    "(217) 555-0142 / (217) 555-0143", "treasurer@friendsofthelibrary.org",
                                    "/home/friends/pictures/library-logo.jpg"};
            for (int i = 0; i < OrgData::kBoxes; ++i)
                org.Text1[static_cast<std::size_t>(i)]->setText(QString::fromLatin1(values[i]));
            ok = save(org, folder.filePath(QStringLiteral("organization-data.png"))) && ok;
        }
        {
            // File > New Database, opened over the window in Executive mode's state.
            f.mnuFileNewClone->setEnabled(true);
            f.mnuCompact->setEnabled(true);
            f.mnuQuilProperties->setEnabled(true);
            f.resize(900, 560);
            f.show();
            settle();
            QMenu* fileMenu = f.menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
            QMenu* newMenu = f.menuBar()->findChild<QMenu*>(QStringLiteral("mnuFileNew"));
            fileMenu->popup(f.mapToGlobal(QPoint(0, f.menuBar()->height())));
            settle();
            fileMenu->setActiveAction(newMenu->menuAction());
            newMenu->popup(fileMenu->mapToGlobal(QPoint(fileMenu->width(), 0)));
            settle();
            QPixmap shot = f.screen()->grabWindow(0, f.frameGeometry().x(), f.frameGeometry().y(),
                                                  fileMenu->width() + newMenu->width() + 40, fileMenu->height() + 80);
            const QString path = folder.filePath(QStringLiteral("file-new-menu.png"));
            const bool saved = shots::write(shot, path);
            ok = saved && ok;
            newMenu->hide();
            fileMenu->hide();
        }
        f.files->mnuFileClose_Click();
    }
    dao::Engine::instance().defaultWorkspace().close();
    return ok ? 0 : 1;
}
