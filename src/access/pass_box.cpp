#include "access/pass_box.h"

#include "frame/main_state.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PassBox::PassBox(MainState& S, QWidget* parent) : QDialog(parent), S(S)
{
    setObjectName(QStringLiteral("PassBox"));
    setWindowTitle(QStringLiteral("Enter Password"));

    lblLabels = new QLabel(QStringLiteral("&Password:"), this);
    lblLabels->setObjectName(QStringLiteral("lblLabels"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    // Every typed character shows as "*", whatever the style's own mask character is.
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    lblLabels->setBuddy(txtPassword);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &PassBox::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &PassBox::cmdCancel_Click);

    auto* entry = new QHBoxLayout;
    entry->addWidget(lblLabels);
    entry->addWidget(txtPassword, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addLayout(buttons);
    setMinimumWidth(320);
    txtPassword->setFocus();
}

void PassBox::cmdOK_Click()
{
    S.DialogCancelled = false;
    accept();
}

void PassBox::cmdCancel_Click()
{
    reject();
}

void PassBox::reject()
{
    S.DialogCancelled = true;
    QDialog::reject();
}
