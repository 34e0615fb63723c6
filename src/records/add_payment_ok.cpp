// OK and Cancel of the Add Donations dialog: checking an entry, the lines of a multiple
// donation and their running balance, and the remembered date.
#include "records/add_payment_dialog.h"

#include "platform/data/data_control.h"
#include "platform/ui/ui.h"
#include "platform/vb/convert.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"
#include "schema/number_limits.h"

#include <QComboBox>
#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <stdexcept>

namespace {

// The smallest amount a donation or a line may have.
constexpr vb::Currency kSmallestAmount = vb::Currency::fromRaw(db::kGiftAmounts.lowest);
// A typed check number is at least 1: no check is an empty box.
constexpr db::NumberRange kTypedChecks{1, db::kCheckNumbers.highest, db::kCheckNumbers.unit};

QString balanceText(vb::Currency balance)
{
    return vb::format(vb::Value(balance), u"$##,##0.00");
}

void makeBold(QLabel* label)
{
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

} // namespace

void AddPayment::Command1_Click()
{
    if (!rememberDate() || !readAmount() || !readCheckNumber())
        return;
    if (Text1[1]->text().isEmpty() && Option2->isEnabled()) {
        // Without a check number the entry is a single donation; the user presses OK again.
        Option2->setChecked(false);
        Option2->setEnabled(false);
        Option1->setChecked(true);
        return;
    }
    if (Combo1->currentText().isEmpty() && !Option2->isChecked()) {
        S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("Must enter a Destination"), ui::Buttons::OKOnly,
                                   ui::Icon::Information, QStringLiteral("QUIL"));
        return;
    }
    entry.DonationDestination = Combo1->currentText();
    const auto date = vb::readDate(Text1[3]->text());
    if (!date) {
        S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("Not a valid Date"), ui::Buttons::OKOnly,
                                   ui::Icon::Information, QStringLiteral("QUIL"));
        return;
    }
    entry.DonationDate = *date;

    if (Option2->isChecked()) {
        if (!entry.SplitBalance) {
            startSplit();
            return;
        }
        if (!takeLine())
            return;
    }
    finish();
}

void AddPayment::Command2_Click()
{
    // A date that cannot be read cannot be remembered: it is forgotten.
    entry.RememberedDate.reset();
    if (Check1->isChecked())
        if (const auto date = vb::readDate(Text1[3]->text()))
            entry.RememberedDate = *date;
    releaseDestinations();
    entry.SplitInProgress = false;
    S.DialogCancelled = true;
    QDialog::reject();
}

void AddPayment::reject()
{
    Command2_Click();
}

bool AddPayment::rememberDate()
{
    if (!Check1->isChecked()) {
        entry.RememberedDate.reset();
        return true;
    }
    const auto date = vb::readDate(Text1[3]->text());
    if (!date) {
        S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("Not a valid Date"), ui::Buttons::OKOnly,
                                   ui::Icon::Information, QStringLiteral("QUIL"));
        return false;
    }
    entry.RememberedDate = *date;
    return true;
}

bool AddPayment::readAmount()
{
    std::optional<vb::Currency> amount;
    bool beyond = false;
    try {
        amount = vb::readCurrency(Text1[0]->text());
    } catch (const std::overflow_error&) {
        beyond = true;  // beyond even the currency
    }
    if (beyond || (amount && *amount > vb::Currency::fromRaw(db::kGiftAmounts.highest))) {
        S.LastAnswer = ui::message(ui::Beep::No, db::outOfRange(u"Amount", db::kGiftAmounts), ui::Buttons::OKOnly,
                                   ui::Icon::Information, QStringLiteral("QUIL"));
        return false;
    }
    if (!amount || *amount < kSmallestAmount) {
        S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("Amount must be a number greater than Zero"), ui::Buttons::OKOnly,
                                   ui::Icon::Information, QStringLiteral("QUIL"));
        return false;
    }
    entry.DonationAmount = *amount;
    return true;
}

bool AddPayment::readCheckNumber()
{
    // Once a multiple donation has started, the box shows its balance: the check number was
    // taken with the total. Before that it is read at every OK, so that a number corrected
    // after a refused entry is the one written.
    if (entry.SplitBalance)
        return true;
    entry.CheckNumber = 0;
    const QString text = Text1[1]->text();
    if (text.isEmpty())
        return true;
    const auto number = vb::readNumber(text);
    if (!number || *number < 1) {
        S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("Check must be a number greater than Zero"), ui::Buttons::OKOnly,
                                   ui::Icon::Information, QStringLiteral("QUIL"));
        return false;
    }
    // Compared as a double first: rounding a number beyond 64 bits would fail.
    const auto largest = static_cast<double>(kTypedChecks.highest);
    if (*number > largest || !kTypedChecks.holds(vb::roundHalfEven(*number))) {
        S.LastAnswer = ui::message(ui::Beep::No, db::outOfRange(u"Check #", kTypedChecks), ui::Buttons::OKOnly,
                                   ui::Icon::Information, QStringLiteral("QUIL"));
        return false;
    }
    entry.CheckNumber = static_cast<std::int32_t>(vb::roundHalfEven(*number));
    return true;
}

void AddPayment::startSplit()
{
    entry.SplitInProgress = true;
    Combo1->setEnabled(true);
    setComboText({});
    entry.SplitBalance = entry.DonationAmount;
    Text1[0]->clear();
    Text1[1]->setEnabled(false);
    Text1[1]->setText(balanceText(*entry.SplitBalance));
    for (QWidget* w : std::initializer_list<QWidget*>{Text1[3], Command3, Command4, Option1, Option2})
        w->setEnabled(false);
    Label1[1]->setText(QStringLiteral("Balance"));
    makeBold(Label1[1]);
    makeBold(Label1[0]);
    Text1[0]->setFocus();
}

bool AddPayment::takeLine()
{
    entry.SplitInProgress = true;
    Combo1->setEnabled(true);
    const vb::Currency amount = entry.DonationAmount;
    if (amount > *entry.SplitBalance) {
        S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("Excessive Amount"), ui::Buttons::OKOnly,
                                   ui::Icon::Information, QStringLiteral("QUIL"));
        return false;
    }
    const QString destination = Combo1->currentText();
    if (destination.isEmpty()) {
        S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("Must enter a Destination"), ui::Buttons::OKOnly,
                                   ui::Icon::Information, QStringLiteral("QUIL"));
        return false;
    }
    *entry.SplitBalance -= amount;
    lastLineAmount_ = Text1[0]->text();
    A_List->addItem(amount.toString());
    D_List->addItem(destination);
    Text1[1]->setText(balanceText(*entry.SplitBalance));
    Text1[0]->clear();
    Text1[0]->setFocus();
    setComboText({});
    // A remainder below the smallest amount could never be given a line (it shows as $0.00):
    // the check is then fully distributed.
    return *entry.SplitBalance < kSmallestAmount;
}

void AddPayment::finish()
{
    const bool single = A_List->count() == 0;
    if (single) {
        A_List->addItem(entry.DonationAmount.toString());
        D_List->addItem(entry.DonationDestination);
    }
    if (WriteLines && !WriteLines()) {
        if (single) {
            A_List->clear();
            D_List->clear();
        } else {
            giveBackLastLine();
        }
        return;
    }
    entry.SplitInProgress = false;
    S.DialogCancelled = false;
    releaseDestinations();
    accept();
}

void AddPayment::giveBackLastLine()
{
    const int last = A_List->count() - 1;
    if (last < 0 || !entry.SplitBalance)
        return;
    const auto amount = vb::Currency::fromDecimalText(A_List->item(last)->text());
    const QString destination = D_List->item(last) ? D_List->item(last)->text() : QString();
    delete A_List->takeItem(last);
    delete D_List->takeItem(last);
    *entry.SplitBalance += amount.value_or(vb::Currency());
    Text1[1]->setText(balanceText(*entry.SplitBalance));
    Text1[0]->setText(lastLineAmount_);
    setComboText(destination);
    Text1[0]->setFocus();
}
