#include "db/restore_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kIndexRole = Qt::UserRole + 1;

} // namespace

RestoreBackup::RestoreBackup(MainState& S, const QStringList& folders, std::vector<db::BackupSummary> backups, QWidget* parent)
    : QDialog(parent), S(S), backups_(std::move(backups))
{
    setObjectName(QStringLiteral("RestoreBackup"));
    setWindowTitle(QStringLiteral("Restore Backup"));
    QStringList shown;
    for (const QString& folder : folders)
        shown << QDir::toNativeSeparators(folder);
    lblFolder = new QLabel(QStringLiteral("Backups in %1").arg(shown.join(QStringLiteral(" and in "))), this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    lblFolder->setWordWrap(true);

    lstBackups = new QTreeWidget(this);
    lstBackups->setObjectName(QStringLiteral("lstBackups"));
    lstBackups->setRootIsDecorated(false);
    lstBackups->setUniformRowHeights(true);
    lstBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    const bool twoFolders = folders.size() > 1;
    QStringList headers{QStringLiteral("Made"), QStringLiteral("Size"), QStringLiteral("Members"), QStringLiteral("Donations")};
    if (twoFolders)
        headers << QStringLiteral("Folder");
    lstBackups->setHeaderLabels(headers);
    const QLocale locale;
    for (std::size_t i = backups_.size(); i-- > 0;) {
        const db::BackupSummary& b = backups_[i];
        auto* item = new QTreeWidgetItem(lstBackups);
        QString made = b.entry.when.toString(QStringLiteral("yyyy-MM-dd  HH:mm:ss"));
        if (b.entry.sequence > 1)
            made += QStringLiteral(" (%1)").arg(b.entry.sequence);
        if (!b.entry.label.isEmpty())
            made += QStringLiteral(", ") + b.entry.label;
        item->setText(0, made);
        item->setToolTip(0, QDir::toNativeSeparators(b.entry.path));
        if (twoFolders)
            item->setText(4, QDir::toNativeSeparators(QFileInfo(b.entry.path).absolutePath()));
        item->setText(1, sizeText(b.bytes));
        if (b.readable) {
            item->setText(2, locale.toString(b.members));
            item->setText(3, locale.toString(b.donations));
        } else if (b.locked) {
            item->setText(2, QStringLiteral("file password"));
        } else {
            item->setText(2, QStringLiteral("unreadable"));
            item->setToolTip(2, b.problem);
        }
        for (int c = 1; c < 4; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, kIndexRole, static_cast<int>(i));
    }
    lstBackups->header()->setStretchLastSection(false);
    lstBackups->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < lstBackups->columnCount(); ++c)
        lstBackups->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);

    lblNote = new QLabel(backups_.empty() ? QStringLiteral("This file has no backups yet.")
                                          : QStringLiteral("Restore replaces the open file by the backup chosen. "
                                                           "The file as it is now is kept as a backup first."),
                         this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);

    cmdRestore = new QPushButton(QStringLiteral("&Restore"), this);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdRestore->setEnabled(false);
    cmdCancel->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdCancel);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(lblFolder);
    outer->addWidget(lstBackups, 1);
    outer->addWidget(lblNote);
    outer->addLayout(buttons);
    resize(twoFolders ? 760 : 560, 340);

    connect(lstBackups, &QTreeWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
    connect(lstBackups, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (cmdRestore->isEnabled())
            cmdRestore_Click();
    });
    connect(cmdRestore, &QPushButton::clicked, this, [this] { cmdRestore_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    if (lstBackups->topLevelItemCount() > 0)
        lstBackups->setCurrentItem(lstBackups->topLevelItem(0));
    lstBackups->setFocus();
}

QString RestoreBackup::sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg((bytes + 512) / 1024);
    return QStringLiteral("%1 MB").arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

const db::BackupSummary* RestoreBackup::current() const
{
    const QTreeWidgetItem* item = lstBackups->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    const int index = item->data(0, kIndexRole).toInt();
    return index >= 0 && std::size_t(index) < backups_.size() ? &backups_[std::size_t(index)] : nullptr;
}

void RestoreBackup::selectionChanged()
{
    const db::BackupSummary* b = current();
    cmdRestore->setEnabled(b && (b->readable || b->locked));
    if (b && b->locked)
        lblNote->setText(QStringLiteral("This backup has a file password of its own (it was made before the file's was set "
                                        "or changed): Restore asks for it."));
    else if (b && !b->readable)
        lblNote->setText(QStringLiteral("This backup cannot be read: %1").arg(b->problem));
    else if (b)
        lblNote->setText(QStringLiteral("Restore replaces the open file by the backup chosen. "
                                        "The file as it is now is kept as a backup first."));
}

void RestoreBackup::cmdRestore_Click()
{
    const db::BackupSummary* b = current();
    if (!b || !(b->readable || b->locked))
        return;
    chosen = b->entry.path;
    chosenLocked = b->locked;
    chosenWhen = b->entry.when;
    S.DialogCancelled = false;
    accept();
}

void RestoreBackup::cmdCancel_Click()
{
    S.DialogCancelled = true;
    QDialog::reject();
}

void RestoreBackup::reject()
{
    cmdCancel_Click();
}
