// The Add Donations dialog: its controls, loading, the enabling rule and the destination list.
// OK and Cancel are in add_payment_ok.cpp.
#include "records/add_payment_dialog.h"

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"
#include "platform/jet/translator.h"
#include "platform/ui/elided_label.h"
#include "platform/ui/object_names.h"
#include "platform/ui/ui.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"
#include "schema/schema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace {

// A destination is kept both in the list (Dest) and in each donation (Payments): the box takes
// no more than both can store.
int destinationLength()
{
    return std::min(db::textFieldSize(u"Dest", u"DestItem"), db::textFieldSize(u"Payments", u"Destination"));
}

const QString kDestQuery = QStringLiteral("SELECT * FROM Dest");

} // namespace

AddPayment::AddPayment(MainState& S, DonationEntry& entry, std::shared_ptr<dao::Database> database, QWidget* parent)
    : QDialog(parent), S(S), entry(entry), database_(std::move(database))
{
    setObjectName(QStringLiteral("AddPayment"));
    setWindowTitle(QStringLiteral("Add Donations"));
    createControls();
    layOutControls();
    connectHandlers();
    Form_Load();
}

AddPayment::~AddPayment() = default;

void AddPayment::createControls()
{
    Frame1 = ui::named(new QGroupBox(QStringLiteral("Enter Donation Info"), this), QStringLiteral("Frame1"));
    Label2 = ui::named(new ui::ElidedLabel(Frame1), QStringLiteral("Label2"));
    const char* const captions[4] = {"Amount", "Check #", "Destination", "Donation Date"};
    for (int i = 0; i < 4; ++i)
        Label1[i] = ui::named(new QLabel(QLatin1String(captions[i]), Frame1), ui::elementName("Label1", i));
    for (int i : {0, 1, 3})
        Text1[i] = ui::named(new QLineEdit(Frame1), ui::elementName("Text1", i));

    Combo1 = ui::named(new QComboBox(Frame1), QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    // Qt's completer would also choose the list item it completes to, and typed text is never a
    // chosen item here; the dialog completes typing itself. Enter adds nothing to the list.
    Combo1->setCompleter(nullptr);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->lineEdit()->setMaxLength(destinationLength());
    // The list holds the file's destinations; a long one must not widen the dialog.
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->setMinimumContentsLength(30);
    for (int i : {0, 2, 3})
        Label1[i]->setBuddy(i == 2 ? static_cast<QWidget*>(Combo1) : Text1[i]);

    Check1 = ui::named(new QCheckBox(QStringLiteral("Remember &Date"), Frame1), QStringLiteral("Check1"));
    Option1 = ui::named(new QRadioButton(QStringLiteral("&Single Donation"), Frame1), QStringLiteral("Option1"));
    Option2 = ui::named(new QRadioButton(QStringLiteral("&Multiple Donation"), Frame1), QStringLiteral("Option2"));
    Option1->setChecked(true);
    Option2->setEnabled(false);
    Command3 = ui::named(new QPushButton(QString(8, u' ') + QStringLiteral("&Add item") + QString(13, u' ')
                                         + QStringLiteral("to Destination"),
                                     Frame1),
                     QStringLiteral("Command3"));
    Command4 = ui::named(new QPushButton(QString(4, u' ') + QStringLiteral("&Remove item") + QString(8, u' ')
                                         + QStringLiteral("from Destination"),
                                     Frame1),
                     QStringLiteral("Command4"));
    Command3->setEnabled(false);
    Command4->setEnabled(false);

    Command1 = ui::named(new QPushButton(QStringLiteral("&OK"), this), QStringLiteral("Command1"));
    Command2 = ui::named(new QPushButton(QStringLiteral("&Cancel"), this), QStringLiteral("Command2"));
    // Enter in any box presses OK, so that a donation is recorded from the keyboard alone
    // (amount, Tab to the destination, Enter). A half-filled entry is still refused by OK's
    // rules, with their messages. A button that has the focus takes Enter itself: Enter on
    // Cancel cancels, on Add item adds. Escape cancels (QDialog's reject).
    for (QPushButton* b : {Command1, Command2, Command3, Command4})
        b->setAutoDefault(true);
    Command1->setDefault(true);

    A_List = ui::named(new QListWidget(this), QStringLiteral("A_List"));
    D_List = ui::named(new QListWidget(this), QStringLiteral("D_List"));
    Data1 = ui::named(new data::DataControl(this), QStringLiteral("Data1"));
    for (QWidget* hidden : std::initializer_list<QWidget*>{A_List, D_List, Data1})
        hidden->hide();
}

void AddPayment::layOutControls()
{
    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(Label2, 0, 0, 1, 4);
    grid->addWidget(Label1[0], 1, 0);
    grid->addWidget(Text1[0], 1, 1);
    grid->addWidget(Label1[1], 1, 2);
    grid->addWidget(Text1[1], 1, 3);
    grid->addWidget(Label1[2], 2, 0);
    grid->addWidget(Combo1, 2, 1, 1, 3);
    grid->addWidget(Label1[3], 3, 0);
    grid->addWidget(Text1[3], 3, 1);
    grid->addWidget(Check1, 3, 2, 1, 2);
    grid->addWidget(Option1, 4, 1);
    grid->addWidget(Option2, 4, 2, 1, 2);
    grid->addWidget(Command3, 5, 0, 1, 2);
    grid->addWidget(Command4, 5, 2, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Frame1);
    outer->addLayout(buttons);

    setTabOrder(Text1[0], Text1[1]);
    setTabOrder(Text1[1], Combo1);
    setTabOrder(Combo1, Text1[3]);
    setTabOrder(Text1[3], Check1);
    setTabOrder(Check1, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command1);
    setTabOrder(Command1, Command2);
    Text1[0]->setFocus();
}

void AddPayment::connectHandlers()
{
    for (int i : {0, 1, 3})
        connect(Text1[i], &QLineEdit::textChanged, this, [this] { RefreshDonationControls(); });
    for (QRadioButton* option : {Option1, Option2})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                RefreshDonationControls();
        });
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo1_Change(); });
    // Keys reach the box itself when the combo box has the focus, which hands them on.
    Combo1->installEventFilter(this);
    Combo1->lineEdit()->installEventFilter(this);
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
}

void AddPayment::Form_Load()
{
    A_List->clear();
    D_List->clear();
    entry.SplitBalance.reset();
    entry.SplitInProgress = false;
    entry.CheckNumber = 0;

    if (database_) {
        Data1->setDatabase(database_);
        Data1->setRecordSource(kDestQuery);
        try {
            Data1->setRecordset(database_->openRecordset(kDestQuery));
            dao::Recordset* rs = Data1->recordset();
            QStringList items;
            for (rs->moveFirst(); !rs->isEOF(); rs->moveNext()) {
                const vb::Value item = rs->field(QStringLiteral("DestItem"));
                if (!item.isNull())
                    items << item.toText();
            }
            // The typed text and the list selection start empty, whatever the list holds.
            Combo1->addItems(items);
            Combo1->setCurrentIndex(-1);
        } catch (const jet::DbError& e) {
            // Donations can still be entered with typed destinations.
            S.LastAnswer = ui::dataError(QStringLiteral("The list of destinations cannot be read.\n\n") + e.reason());
        }
    }

    Label2->setText(QStringLiteral("Donation for ") + S.DonorName);
    if (entry.RememberedDate) {
        Text1[3]->setText(vb::Value(*entry.RememberedDate).toText());
        Check1->setChecked(true);
    } else {
        Text1[3]->setText(vb::shortDate(vb::DateTime::today()));
        Check1->setChecked(false);
    }
}

void AddPayment::RefreshDonationControls()
{
    if (!entry.SplitInProgress) {
        // A multiple donation is one check split over destinations: it needs the check number.
        if (!Text1[1]->text().isEmpty()) {
            Option2->setEnabled(true);
        } else {
            Option1->setChecked(true);
            Option2->setEnabled(false);
        }
    }
    if (Option2->isChecked()) {
        // The first entry of a multiple donation is the check's total, which has no destination.
        if (!entry.SplitInProgress) {
            setComboText({});
            Combo1->setEnabled(false);
        }
        Command4->setEnabled(false);
    }
    if (Option1->isChecked())
        Combo1->setEnabled(true);
    if (Combo1->currentIndex() < 0) {
        Command4->setEnabled(false);
    } else {
        Command4->setEnabled(true);
        Command3->setEnabled(false);
    }
}

bool AddPayment::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Combo1 || watched == Combo1->lineEdit()) && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        charTyped_ = !text.isEmpty() && text.front().isPrint();
    }
    return QDialog::eventFilter(watched, event);
}

void AddPayment::Combo1_Change()
{
    // Typed text is never a chosen item, even when it reads like one.
    clearComboSelection();
    // A completion after an erase would give back what the user just took away.
    if (std::exchange(charTyped_, false))
        completeTypedDestination();
    const QString typed = Combo1->currentText();
    const bool known = findDestination(typed) != nullptr;
    Command3->setEnabled(!typed.isEmpty() && !known);
    RefreshDonationControls();
}

void AddPayment::Combo1_Click()
{
    RefreshDonationControls();
}

void AddPayment::Command3_Click()
{
    const QString item = Combo1->currentText();
    dao::Recordset* rs = Data1->recordset();
    if (item.isEmpty() || !rs)
        return;
    // The row first: a destination the file refused must not show in the list as if it were kept.
    try {
        rs->addNew();
        rs->setField(QStringLiteral("DestItem"), item);
        rs->update();
    } catch (const jet::DbError& e) {
        rs->cancelUpdate();
        S.LastAnswer = ui::dataError(QStringLiteral("The destination was not added.\n\n") + e.reason());
        return;
    }
    addComboItem(item);
    Command3->setEnabled(false);
}

void AddPayment::Command4_Click()
{
    const int index = Combo1->currentIndex();
    if (index < 0)
        return;
    const QString item = Combo1->itemText(index);
    // Only the destination's own row goes; when it is gone already, nothing else is deleted.
    // A look-up the file failed is no answer: the item stays listed, as its row stays stored.
    try {
        dao::Recordset* rs = Data1->recordset();
        if (rs) {
            rs->findFirst(QStringLiteral("DestItem = ") + jet::quoted(item));
            if (!rs->noMatch())
                rs->deleteCurrent();
        }
    } catch (const jet::DbError& e) {
        S.LastAnswer = ui::dataError(QStringLiteral("The destination was not removed.\n\n") + e.reason());
        return;
    }
    Combo1->removeItem(index);
    setComboText({});
    Command4->setEnabled(false);
}

void AddPayment::setComboText(const QString& text)
{
    const bool changed = Combo1->currentText() != text;
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(text);
    if (changed)
        Combo1_Change();
}

void AddPayment::clearComboSelection()
{
    if (Combo1->currentIndex() < 0)
        return;
    const QString text = Combo1->currentText();
    const int cursor = Combo1->lineEdit()->cursorPosition();
    Combo1->setCurrentIndex(-1);  // also empties an editable box's text
    Combo1->setEditText(text);
    Combo1->lineEdit()->setCursorPosition(cursor);
}

void AddPayment::addComboItem(const QString& text)
{
    // A combo box that was empty makes its first item the chosen one; this list does not.
    const int index = Combo1->currentIndex();
    const QString typed = Combo1->currentText();
    Combo1->addItem(text);
    if (Combo1->currentIndex() != index) {
        Combo1->setCurrentIndex(index);
        Combo1->setEditText(typed);
    }
}

void AddPayment::completeTypedDestination()
{
    QLineEdit* box = Combo1->lineEdit();
    const QString typed = box->text();
    if (typed.isEmpty() || box->hasSelectedText() || box->cursorPosition() != typed.size())
        return;
    // The first in the list's order, as the list shows them; the destination as the list spells
    // it, so donations to one fund are not kept under several spellings.
    for (int i = 0; i < Combo1->count(); ++i) {
        const QString item = Combo1->itemText(i);
        if (item.startsWith(typed, Qt::CaseInsensitive)) {
            box->setText(item);
            box->setSelection(static_cast<int>(typed.size()), static_cast<int>(item.size() - typed.size()));
            return;
        }
    }
}

dao::Recordset* AddPayment::findDestination(const QString& item)
{
    dao::Recordset* rs = Data1->recordset();
    if (!rs)
        return nullptr;
    try {
        rs->findFirst(QStringLiteral("DestItem = ") + jet::quoted(item));
    } catch (const jet::DbError&) {
        return nullptr;
    }
    return rs->noMatch() ? nullptr : rs;
}

void AddPayment::releaseDestinations()
{
    Data1->setRecordset(nullptr);
}
