#include "db/passphrase_dialogs.h"

#include "frame/main_state.h"
#include "platform/ui/ui.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* maskedBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setEchoMode(QLineEdit::Password);
    // Every typed character shows as "*", whatever the style's own mask character is.
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return box;
}

// OK (the default) and Cancel on a row of their own, OK accepting with DialogCancelled cleared.
QHBoxLayout* okCancel(QDialog* dialog, MainState& S, QPushButton*& ok, QPushButton*& cancel)
{
    ok = new QPushButton(QStringLiteral("&OK"), dialog);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("&Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, dialog, [dialog, &S] {
        S.DialogCancelled = false;
        dialog->accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace

std::int16_t tellFilePasswordNotCorrect(const QString& path)
{
    return ui::message(ui::Beep::Yes, QStringLiteral("The password for %1 is not correct.").arg(QDir::toNativeSeparators(path)),
                       ui::Buttons::OKOnly, ui::Icon::Exclamation, QStringLiteral("File Password"));
}

FilePassword::FilePassword(MainState& S, const QString& path, QWidget* parent) : QDialog(parent), S(S)
{
    setObjectName(QStringLiteral("FilePassword"));
    setWindowTitle(QStringLiteral("File Password"));
    lblFile = new QLabel(QStringLiteral("The file %1 has a password of its own.\nType it to open the file.")
                             .arg(QDir::toNativeSeparators(path)),
                         this);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->setWordWrap(true);
    txtPassword = maskedBox(this, "txtPassword");
    auto* label = new QLabel(QStringLiteral("&Password:"), this);
    label->setBuddy(txtPassword);
    auto* entry = new QHBoxLayout;
    entry->addWidget(label);
    entry->addWidget(txtPassword, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFile);
    layout->addLayout(entry);
    layout->addLayout(okCancel(this, S, cmdOK, cmdCancel));
    setMinimumWidth(380);
    txtPassword->setFocus();
}

void FilePassword::reject()
{
    S.DialogCancelled = true;
    QDialog::reject();
}

SetFilePassword::SetFilePassword(MainState& S, QWidget* parent) : QDialog(parent), S(S)
{
    setObjectName(QStringLiteral("SetFilePassword"));
    setWindowTitle(QStringLiteral("Set File Password"));
    lblWarning = new QLabel(
        QStringLiteral("With a file password, the file and its backups open only for someone who types it.\n"
                       "A forgotten file password cannot be recovered: nobody, not even QUIL, can open the file without it.\n"
                       "Leave both new boxes empty to remove the file password."),
        this);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    lblWarning->setWordWrap(true);
    txtAdmin = maskedBox(this, "txtAdmin");
    txtNew = maskedBox(this, "txtNew");
    txtConfirm = maskedBox(this, "txtConfirm");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Administrator password:"), txtAdmin);
    form->addRow(QStringLiteral("&New file password:"), txtNew);
    form->addRow(QStringLiteral("&Type it again:"), txtConfirm);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblWarning);
    layout->addLayout(form);
    layout->addLayout(okCancel(this, S, cmdOK, cmdCancel));
    setMinimumWidth(540);
    txtAdmin->setFocus();
}

void SetFilePassword::reject()
{
    S.DialogCancelled = true;
    QDialog::reject();
}
