#include "filters/donat_query.h"

#include "frame/main_state.h"
#include "platform/ui/object_names.h"
#include "platform/ui/ui.h"
#include "schema/schema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr std::array<const char*, 6> kInstructions{
    "Enter in the criteria that you want to find in the Donation profiles.",
    "You can leave some fields blank if that data isn't important.",
    "Use the < > = to filter the values you want to display.",
    "From and To will select dates that are between and including the entries.",
    "Leave all fields blank to remove the filter  ( Show All ).",
    "Using wildcards ( * )  is not needed or recommended.",
};

constexpr std::array<const char*, 4> kRows{"Payment Amount", "Check Number", "Destination", "Payment Date"};

// The rows' first and second value boxes, and their range box (-1: none).
constexpr std::array<int, 4> kFirstBox{0, 2, 4, 5};
constexpr std::array<int, 4> kSecondBox{1, 3, -1, 6};

constexpr int kAmount = 0, kCheck = 1, kDestination = 2, kDate = 3;

QStringList itemsOf(int row)
{
    switch (row) {
    case kDestination: return {QStringLiteral("Exactly"), QStringLiteral("Contains")};
    case kDate: return {QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<"), QStringLiteral("From")};
    default: return {QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<")};
    }
}

} // namespace

DonatQuery::DonatQuery(MainState& S, QWidget* parent) : QDialog(parent), S(S)
{
    setObjectName(QStringLiteral("DonatQuery"));
    setWindowTitle(QStringLiteral("Filter Donations"));
    createControls();
    layOutControls();
    connectHandlers();
    Form_Load();
}

void DonatQuery::createControls()
{
    Frame1 = new QGroupBox(QStringLiteral("Instructions"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    for (std::size_t i = 0; i < Label1.size(); ++i) {
        Label1[i] = new QLabel(QLatin1String(kInstructions[i]), Frame1);
        Label1[i]->setObjectName(ui::elementName("Label1", static_cast<int>(i)));
    }
    for (int row = 0; row < 4; ++row) {
        const auto r = static_cast<std::size_t>(row);
        Label5[r] = new QLabel(QLatin1String(kRows[r]), this);
        Label5[r]->setObjectName(ui::elementName("Label5", row));
        // A drop-down list: one of its items, or none, never typed text.
        CB[r] = new QComboBox(this);
        CB[r]->setObjectName(ui::elementName("CB", row));
        CB[r]->setEditable(false);
        CB[r]->addItems(itemsOf(row));
        Label5[r]->setBuddy(CB[r]);
    }
    for (int i = 0; i < 7; ++i) {
        TB[static_cast<std::size_t>(i)] = new QLineEdit(this);
        TB[static_cast<std::size_t>(i)]->setObjectName(ui::elementName("TB", i));
    }
    // A destination longer than the field can neither be nor be contained in one.
    TB[4]->setMaxLength(db::textFieldSize(u"Payments", u"Destination"));
    TB[4]->setMinimumWidth(TB[4]->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
    for (int i : {0, 1, 3}) {
        CK[static_cast<std::size_t>(i)] = new QCheckBox(i == kDate ? QStringLiteral("To") : QStringLiteral("<"), this);
        CK[static_cast<std::size_t>(i)]->setObjectName(ui::elementName("CK", i));
    }

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("&Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    // Enter in a box presses no button: only a click, Alt+O or Alt+C does.
    for (QPushButton* b : {Command1, Command2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
}

void DonatQuery::layOutControls()
{
    auto* instructions = new QVBoxLayout(Frame1);
    for (QLabel* line : Label1)
        instructions->addWidget(line);

    // Each row: its caption, then operator, first value, range box and second value.
    auto* grid = new QGridLayout;
    for (int row = 0; row < 4; ++row) {
        const auto r = static_cast<std::size_t>(row);
        grid->addWidget(Label5[r], 2 * row, 0, 1, 4);
        grid->addWidget(CB[r], 2 * row + 1, 0);
        if (row == kDestination) {
            grid->addWidget(TB[4], 2 * row + 1, 1, 1, 3);
            continue;
        }
        grid->addWidget(TB[static_cast<std::size_t>(kFirstBox[r])], 2 * row + 1, 1);
        grid->addWidget(CK[r], 2 * row + 1, 2);
        grid->addWidget(TB[static_cast<std::size_t>(kSecondBox[r])], 2 * row + 1, 3);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Frame1);
    outer->addLayout(grid);
    outer->addLayout(buttons);

    QWidget* const order[] = {CB[0], TB[0], CK[0], TB[1], CB[1], TB[2], CK[1], TB[3],
                              CB[2], TB[4], CB[3], TB[5], CK[3], TB[6], Command1, Command2};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    CB[0]->setFocus();
}

void DonatQuery::connectHandlers()
{
    for (int row = 0; row < 4; ++row)
        connect(CB[static_cast<std::size_t>(row)], &QComboBox::activated, this, [this, row] { CB_Click(row); });
    for (int i : {0, 1, 3})
        connect(CK[static_cast<std::size_t>(i)], &QCheckBox::clicked, this, [this, i] { CK_Click(i); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void DonatQuery::Form_Load()
{
    for (QComboBox* box : CB)
        box->setCurrentIndex(-1);
    for (QLineEdit* box : TB)
        box->clear();
    for (int i : {0, 1}) {
        CK[static_cast<std::size_t>(i)]->setChecked(false);
        CK[static_cast<std::size_t>(i)]->setEnabled(false);
    }
    CK[3]->setChecked(true);
    CK[3]->setEnabled(false);
    for (int i : {1, 3, 6})
        TB[static_cast<std::size_t>(i)]->setEnabled(false);
}

void DonatQuery::CB_Click(int Index)
{
    switch (Index) {
    case kAmount:
    case kCheck: {
        // An upper bound goes only with "greater than".
        QCheckBox* range = CK[static_cast<std::size_t>(Index)];
        QLineEdit* second = TB[static_cast<std::size_t>(kSecondBox[static_cast<std::size_t>(Index)])];
        if (CB[static_cast<std::size_t>(Index)]->currentText() == u">") {
            range->setEnabled(true);
            second->setEnabled(true);
        } else {
            range->setChecked(false);
            range->setEnabled(false);
            second->setEnabled(false);
        }
        break;
    }
    case kDate:
        if (CB[kDate]->currentText() == u"From") {
            CK[3]->setEnabled(true);
            CK[3]->setChecked(true);
            TB[6]->setEnabled(true);
        } else {
            CK[3]->setEnabled(false);
            TB[6]->setEnabled(false);
        }
        break;
    default:
        break;
    }
}

void DonatQuery::CK_Click(int Index)
{
    if (Index != kDate || CK[3]->isChecked())
        return;
    // Without its end the range is "later than the From date".
    CB[kDate]->setCurrentIndex(CB[kDate]->findText(QStringLiteral(">")));
    TB[6]->setEnabled(false);
    CB_Click(kDate);
}

void DonatQuery::Command1_Click()
{
    if (!buildClause())
        return;
    keepCriteria();
    S.DialogCancelled = false;
    accept();
}

void DonatQuery::Command2_Click()
{
    S.DialogCancelled = true;
    QDialog::reject();
}

void DonatQuery::reject()
{
    Command2_Click();
}

bool DonatQuery::buildClause()
{
    filters::DonationCriteria criteria;
    for (std::size_t i = 0; i < CB.size(); ++i)
        criteria.operators[i] = CB[i]->currentText();
    for (std::size_t i = 0; i < TB.size(); ++i)
        criteria.values[i] = TB[i]->text();
    criteria.ranges = {CK[0]->isChecked(), CK[1]->isChecked()};
    clause_ = filters::donationClause(criteria);
    if (clause_.refusal.isEmpty())
        return true;
    // The dialog stays open with everything typed, for a correction or Cancel.
    S.LastAnswer = ui::message(ui::Beep::No, clause_.refusal, ui::Buttons::OKOnly, ui::Icon::None, S.AppTitle);
    return false;
}

void DonatQuery::keepCriteria()
{
    S.DonationFilter = clause_.filter;
    for (std::size_t i = 0; i < clause_.captions.size(); ++i)
        S.FilterCaptions[filters::kFirstDonationCaption + i] = clause_.captions[i];
}
