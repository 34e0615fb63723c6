#include "filters/mem_query.h"

#include "frame/main_state.h"
#include "platform/ui/object_names.h"
#include "platform/ui/ui.h"
#include "schema/schema.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr std::array<const char*, 5> kInstructions{
    "Enter in the criteria that you want to find in the member profiles.",
    "You can leave some fields blank if that data isn't important.",
    "You can use wildcards like A* to find all items starting with A.",
    "You can enter *Main* to find everyone who lives on Main St.",
    "Leave all fields blank to remove the filter  ( Show All )",
};

constexpr std::array<const char*, filters::kMemberBoxes> kCaptions{
    "MemberID:", "First Name:", "Last Name:", "Address:", "City:", "State:", "Zip Code:", "Home Phone:", "Notes:",
};

} // namespace

MemQuery::MemQuery(MainState& S, QWidget* parent) : QDialog(parent), S(S)
{
    setObjectName(QStringLiteral("MemQuery"));
    setWindowTitle(QStringLiteral("Filter Members"));
    createControls();
    layOutControls();
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    Form_Load();
}

void MemQuery::createControls()
{
    Frame1 = new QGroupBox(QStringLiteral("Instructions"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    for (std::size_t i = 0; i < Label1.size(); ++i) {
        Label1[i] = new QLabel(QLatin1String(kInstructions[i]), Frame1);
        Label1[i]->setObjectName(ui::elementName("Label1", static_cast<int>(i)));
    }

    const auto columns = db::memberColumns();
    for (int i = 0; i < filters::kMemberBoxes; ++i) {
        const auto k = static_cast<std::size_t>(i);
        lblLabels[k] = new QLabel(QLatin1String(kCaptions[k]), this);
        lblLabels[k]->setObjectName(ui::elementName("lblLabels", i));
        if (i == kNotes) {
            auto* notes = new QPlainTextEdit(this);
            notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            // Tab moves on to OK instead of typing a tab into the criteria.
            notes->setTabChangesFocus(true);
            notes->setFixedHeight(notes->fontMetrics().lineSpacing() * 3 + 2 * notes->frameWidth() + 8);
            TF[k] = notes;
        } else {
            auto* line = new QLineEdit(this);
            // As long as the field it searches: a longer pattern could never match.
            const int size = db::textFieldSize(u"Members", QString::fromLatin1(columns[k].name));
            if (size > 0)
                line->setMaxLength(size);
            if (i == kMemberId)
                line->setFixedWidth(line->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 10 + 12);
            TF[k] = line;
        }
        TF[k]->setObjectName(ui::elementName("TF", i));
        lblLabels[k]->setBuddy(TF[k]);
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

void MemQuery::layOutControls()
{
    auto* instructions = new QVBoxLayout(Frame1);
    for (QLabel* line : Label1)
        instructions->addWidget(line);

    auto* grid = new QGridLayout;
    for (int i = 0; i < filters::kMemberBoxes; ++i) {
        const auto k = static_cast<std::size_t>(i);
        grid->addWidget(lblLabels[k], i, 0, i == kNotes ? Qt::AlignRight | Qt::AlignTop : Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(TF[k], i, 1, i == kMemberId ? Qt::AlignLeft : Qt::Alignment());
    }
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Frame1);
    outer->addLayout(grid);
    outer->addLayout(buttons);

    // First Name to Notes, the buttons, and the member number last.
    for (int i = 1; i < kNotes; ++i)
        setTabOrder(TF[static_cast<std::size_t>(i)], TF[static_cast<std::size_t>(i) + 1]);
    setTabOrder(TF[kNotes], Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, TF[kMemberId]);
    TF[1]->setFocus();
}

QString MemQuery::text(int index) const
{
    QWidget* box = TF.at(static_cast<std::size_t>(index));
    if (index == kNotes)
        return static_cast<QPlainTextEdit*>(box)->toPlainText();
    return static_cast<QLineEdit*>(box)->text();
}

void MemQuery::setText(int index, const QString& text)
{
    QWidget* box = TF.at(static_cast<std::size_t>(index));
    if (index == kNotes)
        static_cast<QPlainTextEdit*>(box)->setPlainText(text);
    else
        static_cast<QLineEdit*>(box)->setText(text);
}

void MemQuery::Form_Load()
{
    ui::current().setBusyPointer(false);
}

void MemQuery::Command1_Click()
{
    if (!buildCondition())
        return;
    keepCriteria();
    S.DialogCancelled = false;
    accept();
}

void MemQuery::Command2_Click()
{
    S.DialogCancelled = true;
    QDialog::reject();
}

void MemQuery::reject()
{
    Command2_Click();
}

bool MemQuery::buildCondition()
{
    std::array<QString, filters::kMemberBoxes> boxes;
    for (int i = 0; i < filters::kMemberBoxes; ++i)
        boxes[static_cast<std::size_t>(i)] = text(i);
    condition_ = filters::memberCondition(boxes);
    if (condition_.refusal.isEmpty())
        return true;
    S.LastAnswer = ui::message(ui::Beep::No, condition_.refusal, ui::Buttons::OKOnly, ui::Icon::None, S.AppTitle);
    return false;
}

void MemQuery::keepCriteria()
{
    S.MemberFilter = condition_.condition;
    for (int i = 0; i < filters::kMemberBoxes; ++i)
        S.FilterCaptions[static_cast<std::size_t>(i)] = u' ' + text(i);
}
