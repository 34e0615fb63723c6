#pragma once
// The list of a file's backups (RestoreBackup, "Restore Backup"): when each was made, its size and
// how many members and donations it holds, newest first. A backup that cannot be read with the
// file's key is listed as such and cannot be chosen. The backups may come from two folders (beside
// the file and the one Back Up To writes to); then a last column names each one's folder.
#include "db/backup_file.h"
#include "frame/main_state.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

class RestoreBackup : public QDialog {
    Q_OBJECT

public:
    RestoreBackup(MainState& S, const QStringList& folders, std::vector<db::BackupSummary> backups, QWidget* parent = nullptr);

    QLabel* lblFolder = nullptr;
    QTreeWidget* lstBackups = nullptr;  // columns: made, size, members, donations (, folder)
    QLabel* lblNote = nullptr;
    QPushButton* cmdRestore = nullptr;  // enabled for a readable or a locked backup only
    QPushButton* cmdCancel = nullptr;

    void cmdRestore_Click();
    void cmdCancel_Click();
    void reject() override;

    // The backup Restore chose; empty until then.
    QString chosen;
    QDateTime chosenWhen;
    bool chosenLocked = false;  // its passphrase is still to be asked

    // "17.3 MB", "812 KB", "900 bytes".
    static QString sizeText(qint64 bytes);

private:
    void selectionChanged();
    const db::BackupSummary* current() const;

    MainState& S;
    std::vector<db::BackupSummary> backups_;
};
