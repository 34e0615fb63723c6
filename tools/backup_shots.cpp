// Draws the user guide's pictures of the file's safety into PNG files in the folder given:
// restore-backup.png, the list of a file's backups with an unreadable one among them;
// set-file-password.png and file-password.png, the two dialogs of a file's own password.
// Run it on a real display or under Xvfb, so that the dialog is drawn as a user sees it:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/backup_shots docs/images
#include "db/passphrase_dialogs.h"
#include "db/restore_dialog.h"
#include "frame/main_state.h"
#include "shots.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTreeWidget>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::optional<QDir> argument = shots::folderArgument(argc, argv, "backup_shots");
    if (!argument)
        return 2;
    const QDir& folder = *argument;
    MainState S;
    std::vector<db::BackupSummary> backups;
    const QDateTime first(QDate(2026, 11, 27), QTime(8, 58, 12));
    const qint64 members[] = {1183, 1184, 1190, 1190, 1191, 1195, 1201};
    for (int i = 0; i < 7; ++i) {
        db::BackupSummary b;
        b.entry.when = first.addDays(i * 2).addSecs(i * 3607);
        b.entry.path = QStringLiteral("/home/treasurer/Club %1.qdb").arg(i);
        b.bytes = 1650000 + i * 41000;
        b.readable = i != 2;
        b.members = members[i];
        b.donations = 11840 + i * 97;
        if (!b.readable)
            b.problem = QStringLiteral("Not a valid password, or the file is not a database file. (error 3031)");
        backups.push_back(b);
    }
    RestoreBackup dialog(S, QStringList{QStringLiteral("/home/treasurer/Documents/Backups")}, backups);
    dialog.show();
    shots::settle();
    dialog.lstBackups->setCurrentItem(dialog.lstBackups->topLevelItem(1));
    if (!shots::save(dialog, folder.filePath(QStringLiteral("restore-backup.png"))))
        return 1;

    SetFilePassword set(S);
    set.txtAdmin->setText(QStringLiteral("admin"));
    set.txtNew->setText(QStringLiteral("our long file password"));
    set.txtConfirm->setText(QStringLiteral("our long file password"));
    set.show();
    shots::settle();
    if (!shots::save(set, folder.filePath(QStringLiteral("set-file-password.png"))))
        return 1;

    FilePassword ask(S, QStringLiteral("/home/treasurer/Documents/Club.qdb"));
    ask.txtPassword->setText(QStringLiteral("our long"));
    ask.show();
    shots::settle();
    return shots::save(ask, folder.filePath(QStringLiteral("file-password.png"))) ? 0 : 1;
}
