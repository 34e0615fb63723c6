#include "records/edit_mem_data.h"

#include "frame/main_state.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

EditMemData::EditMemData(MainState& S, const QString& value, int maxLength, QWidget* parent) : QDialog(parent), S(S)
{
    setObjectName(QStringLiteral("EditMemData"));
    setWindowTitle(QStringLiteral("Edit Member Data"));

    Label1 = new QLabel(QStringLiteral("Enter New Data"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    if (maxLength > 0)
        Text1->setMaxLength(maxLength);
    Text1->setText(value);
    Text1->selectAll();
    Label1->setBuddy(Text1);

    OkBut = new QPushButton(QStringLiteral("O&K"), this);
    OkBut->setObjectName(QStringLiteral("OkBut"));
    CanBut = new QPushButton(QStringLiteral("&Cancel"), this);
    CanBut->setObjectName(QStringLiteral("CanBut"));
    // Enter in the box is OK through returnPressed alone; a default button would press it twice.
    for (QPushButton* b : {OkBut, CanBut}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(OkBut, &QPushButton::clicked, this, &EditMemData::OkBut_Click);
    connect(CanBut, &QPushButton::clicked, this, &EditMemData::CanBut_Click);
    connect(Text1, &QLineEdit::returnPressed, this, &EditMemData::OkBut_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBut);
    buttons->addWidget(CanBut);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    setMinimumWidth(360);
    Text1->setFocus();
}

void EditMemData::OkBut_Click()
{
    accept();
}

void EditMemData::CanBut_Click()
{
    reject();
}

void EditMemData::reject()
{
    S.DialogCancelled = true;
    QDialog::reject();
}
