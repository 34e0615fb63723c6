#include "reports/fund_range_dialog.h"

#include "platform/ui/ui.h"
#include "platform/vb/convert.h"
#include "platform/vb/format.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FundRange::FundRange(MainState& S, QWidget* parent) : QDialog(parent), S(S)
{
    setObjectName(QStringLiteral("FundRange"));
    setWindowTitle(QStringLiteral("Fund Totals"));
    lblFrom = new QLabel(QStringLiteral("&From"), this);
    lblTo = new QLabel(QStringLiteral("&To"), this);
    txtFrom = new QLineEdit(this);
    txtTo = new QLineEdit(this);
    lblFrom->setObjectName(QStringLiteral("lblFrom"));
    lblTo->setObjectName(QStringLiteral("lblTo"));
    txtFrom->setObjectName(QStringLiteral("txtFrom"));
    txtTo->setObjectName(QStringLiteral("txtTo"));
    lblFrom->setBuddy(txtFrom);
    lblTo->setBuddy(txtTo);
    const vb::DateTime today = vb::DateTime::today();
    txtFrom->setText(vb::shortDate(vb::DateTime(QDate(today.date().year(), 1, 1))));
    txtTo->setText(vb::shortDate(today));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdOK->setDefault(true);

    auto* note = new QLabel(QStringLiteral("Donations dated from the first day to the last, both included. "
                                           "An empty box sets no bound."),
                            this);
    note->setWordWrap(true);
    auto* grid = new QGridLayout;
    grid->addWidget(lblFrom, 0, 0);
    grid->addWidget(txtFrom, 0, 1);
    grid->addWidget(lblTo, 1, 0);
    grid->addWidget(txtTo, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(note);
    outer->addLayout(grid);
    outer->addLayout(buttons);
    txtFrom->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

bool FundRange::readBox(QLineEdit* box, std::optional<vb::DateTime>& date)
{
    date.reset();
    const QString text = box->text().trimmed();
    if (text.isEmpty())
        return true;
    date = vb::readDate(text);
    if (date)
        return true;
    S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("Not a valid Date"), ui::Buttons::OKOnly,
                               ui::Icon::Information, QStringLiteral("QUIL"));
    box->setFocus();
    box->selectAll();
    return false;
}

void FundRange::cmdOK_Click()
{
    if (!readBox(txtFrom, from) || !readBox(txtTo, to))
        return;
    if (from && to && from->date() > to->date()) {
        S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("The first day comes after the last day"),
                                   ui::Buttons::OKOnly, ui::Icon::Information, QStringLiteral("QUIL"));
        return;
    }
    S.DialogCancelled = false;
    accept();
}

void FundRange::cmdCancel_Click()
{
    S.DialogCancelled = true;
    QDialog::reject();
}

void FundRange::reject()
{
    cmdCancel_Click();
}
