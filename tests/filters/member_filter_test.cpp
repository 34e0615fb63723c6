// Filter Members through the real window: the dialog as it opens (instructions, captions, box
// limits, tab order, empty every time), and its rules from OK to the view: the condition and
// the captions written, the member query, the blue member fields, the last member current, the
// refusals that keep the dialog open and the filter in force, Cancel, and the fall-back to all
// members when nobody matches.
#include "filter_window.h"
#include "filters/mem_query.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <map>

namespace {

using filtertest::FilterWindowTest;
using filtertest::kAllMembers;
using filtertest::kBlue;

// The widgets Tab reaches from `start`, in order, by objectName, until it comes back.
QStringList tabChain(QWidget* start)
{
    QStringList names;
    QWidget* w = start;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start && names.size() < 40);
    return names;
}

bool fieldsBlue(const frmMain& f)
{
    for (QWidget* field : f.txtFields)
        if (field->palette().color(QPalette::Text) != kBlue)
            return false;
    return true;
}

bool fieldsNormal(const frmMain& f)
{
    for (QWidget* field : f.txtFields)
        if (field->palette().color(QPalette::Text) != f.palette().color(QPalette::WindowText))
            return false;
    return true;
}

TEST_F(FilterWindowTest, TheMemberFilterDialogOpensEmptyWithItsInstructionsLimitsAndTabOrder)
{
    frmMain& f = executive();
    bool inspected = false;
    ui().queueDialog([&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), "MemQuery");
        EXPECT_EQ(dialog.windowTitle(), "Filter Members");
        EXPECT_EQ(ui::child<QGroupBox>(dialog, "Frame1").title(), "Instructions");
        const char* instructions[] = {
            "Enter in the criteria that you want to find in the member profiles.",
            "You can leave some fields blank if that data isn't important.",
            "You can use wildcards like A* to find all items starting with A.",
            "You can enter *Main* to find everyone who lives on Main St.",
            "Leave all fields blank to remove the filter  ( Show All )",
        };
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(ui::child<QLabel>(dialog, QStringLiteral("Label1(%1)").arg(i)).text(), instructions[i]);
        const struct {
            const char* label;
            int maxLength;  // 0: no limit of its own
        } boxes[] = {
            {"MemberID:", 0}, {"First Name:", 50}, {"Last Name:", 50}, {"Address:", 255}, {"City:", 50},
            {"State:", 50},   {"Zip Code:", 20},   {"Home Phone:", 30}, {"Notes:", 0},
        };
        for (int i = 0; i < 9; ++i) {
            SCOPED_TRACE(i);
            auto& label = ui::child<QLabel>(dialog, QStringLiteral("lblLabels(%1)").arg(i));
            EXPECT_EQ(label.text(), boxes[i].label);
            EXPECT_EQ(label.buddy()->objectName(), QStringLiteral("TF(%1)").arg(i));
            if (i == 8) {
                auto& notes = ui::child<QPlainTextEdit>(dialog, "TF(8)");
                EXPECT_EQ(notes.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
                EXPECT_TRUE(notes.toPlainText().isEmpty());
                continue;
            }
            auto& box = ui::child<QLineEdit>(dialog, QStringLiteral("TF(%1)").arg(i));
            EXPECT_TRUE(box.text().isEmpty());
            EXPECT_EQ(box.maxLength(), boxes[i].maxLength ? boxes[i].maxLength : QLineEdit().maxLength());
        }
        EXPECT_EQ(ui::child<QPushButton>(dialog, "Command1").text(), "&OK");
        EXPECT_EQ(ui::child<QPushButton>(dialog, "Command2").text(), "&Cancel");
        EXPECT_LT(ui::child<QLineEdit>(dialog, "TF(0)").width(), ui::child<QLineEdit>(dialog, "TF(1)").width())
            << "the member number has a narrow box";
        EXPECT_EQ(dialog.focusWidget(), &ui::child<QLineEdit>(dialog, "TF(1)"));
        EXPECT_EQ(tabChain(dialog.focusWidget()),
                  QStringList({"TF(1)", "TF(2)", "TF(3)", "TF(4)", "TF(5)", "TF(6)", "TF(7)", "TF(8)", "Command1", "Command2",
                               "TF(0)"}));
        EXPECT_FALSE(ui().isBusyPointer()) << "the dialog shows the normal pointer";
        ui::child<QLineEdit>(dialog, "TF(2)").setText("Sm*");
        ui::click(dialog, "Command1");
        inspected = true;
    });
    ui().setBusyPointer(true);
    f.mnuFilterMem->trigger();
    ASSERT_TRUE(inspected);
    EXPECT_EQ(f.S.MemberFilter, "[Lastname] Like 'Sm*' ");

    // Shown again, it is empty: accepting it unchanged removes the filter.
    ui().queueDialog([&](QDialog& dialog) {
        auto& query = static_cast<MemQuery&>(dialog);
        for (int i = 0; i < 9; ++i)
            EXPECT_TRUE(query.text(i).isEmpty()) << i;
        ui::click(dialog, "Command1");
    });
    f.mnuFilterMem->trigger();
    EXPECT_TRUE(f.S.MemberFilter.isEmpty());
    EXPECT_EQ(f.datPrimaryRS->recordSource(), kAllMembers);
    EXPECT_EQ(ui().pendingScripts(), 0);
}

// What a row of the table types and presses; "cancel" presses Cancel instead of OK, "escape"
// closes the dialog as Escape and the close box do.
struct MemberRule {
    std::map<int, QString> typed;
    const char* press;             // "ok", "cancel", "escape"
    const char* filter;            // MemberFilter afterwards; nullptr: the filter before stays
    const char* messages;          // prompts shown, joined with " / "
    const char* members;           // the members shown afterwards
    bool blue;                     // member fields blue afterwards
};

TEST_F(FilterWindowTest, TheMemberFilterRulesFromOkToTheView)
{
    frmMain& f = executive();
    const QString prior = QStringLiteral("[State] Like 'MA' ");
    const MemberRule rules[] = {
        // The program's example: the condition, the blue fields, the last member current.
        {{{1, "A*"}, {4, "Boston"}}, "ok", "[Firstname] Like 'A*' and [City] Like 'Boston' ", "", "2 3", true},
        {{{0, "6"}, {2, "S*"}}, "ok", "[MemberID] = 6 and [Lastname] Like 'S*' ", "", "6", true},
        {{{2, "O'Brien"}}, "ok", "[Lastname] Like 'O''Brien' ", "", "4", true},
        {{{3, "*#4"}}, "ok", "[Address] Like '*[#]4' ", "", "3", true},
        {{{4, "MONTRÉAL"}}, "ok", "[City] Like 'MONTRÉAL' ", "", "5", true},
        // All boxes empty: every member, in the normal colour.
        {{}, "ok", "", "", "1 2 3 4 5 6 7 8 9", false},
        // Nobody matches: the fall-back, once, to every member in the normal colour.
        {{{0, "abc"}}, "ok", "", "No Records Found For Current Filter", "1 2 3 4 5 6 7 8 9", false},
        {{{4, "Bos"}}, "ok", "", "No Records Found For Current Filter", "1 2 3 4 5 6 7 8 9", false},
        {{{8, QString(10000, u'x')}}, "ok", "", "No Records Found For Current Filter", "1 2 3 4 5 6 7 8 9", false},
        {{{2, "x' or '1'='1"}}, "ok", "", "No Records Found For Current Filter", "1 2 3 4 5 6 7 8 9", false},
        // A number too large for any member: the dialog stays open, the filter stays in force.
        {{{0, "1e999"}}, "ok", nullptr, "The Member ID is too large.", "2 3 4 6 8 9", true},
        // Cancel, Escape: nothing changes.
        {{{1, "A*"}}, "cancel", nullptr, "", "2 3 4 6 8 9", true},
        {{{1, "A*"}}, "escape", nullptr, "", "2 3 4 6 8 9", true},
    };
    for (const MemberRule& rule : rules) {
        QStringList typedText;
        for (const auto& [box, text] : rule.typed)
            typedText << QStringLiteral("%1=%2").arg(box).arg(text.left(20));
        SCOPED_TRACE((typedText.join(", ") + u' ' + QLatin1String(rule.press)).toStdString());

        // A filter in force before, with its captions.
        f.S.MemberFilter = prior;
        f.datPrimaryRS->setRecordSource(kAllMembers + QStringLiteral("WHERE ") + prior);
        f.records->SetMemberFieldsColour(true);
        f.records->RequeryView();
        f.S.FilterCaptions.fill(QStringLiteral("before"));
        ui().clearLog();

        bool openAfterOk = false;
        ui().queueDialog([&](QDialog& dialog) {
            auto& query = static_cast<MemQuery&>(dialog);
            for (const auto& [box, text] : rule.typed)
                query.setText(box, text);
            const QString press = QLatin1String(rule.press);
            if (press == u"escape") {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(&dialog, &escape);
                EXPECT_FALSE(dialog.isVisible()) << "Escape closes the dialog";
                return;
            }
            ui::click(dialog, press == u"ok" ? QStringLiteral("Command1") : QStringLiteral("Command2"));
            openAfterOk = dialog.isVisible();
            if (openAfterOk)
                ui::click(dialog, "Command2");
        });
        f.mnuFilterMem->trigger();

        EXPECT_EQ(prompts(), QString::fromUtf8(rule.messages));
        EXPECT_EQ(memberIds(f), QString::fromUtf8(rule.members));
        EXPECT_EQ(fieldsBlue(f), rule.blue);
        EXPECT_EQ(fieldsNormal(f), !rule.blue);
        EXPECT_FALSE(f.S.DialogCancelled);
        // After every re-run the last member of the query stands current.
        EXPECT_EQ(f.datPrimaryRS->recordset()->absolutePosition() + 1, f.datPrimaryRS->recordset()->recordCount());
        if (!rule.filter) {
            EXPECT_EQ(f.S.MemberFilter, prior);
            EXPECT_EQ(f.datPrimaryRS->recordSource(), kAllMembers + QStringLiteral("WHERE ") + prior);
            EXPECT_EQ(f.S.FilterCaptions[0], "before") << "the captions stay";
            EXPECT_EQ(openAfterOk, QLatin1String(rule.press) == u"ok") << "a refused OK keeps the dialog open";
            continue;
        }
        EXPECT_FALSE(openAfterOk);
        const QString filter = QString::fromUtf8(rule.filter);
        EXPECT_EQ(f.S.MemberFilter, filter);
        EXPECT_EQ(f.datPrimaryRS->recordSource(), filter.isEmpty() ? kAllMembers : kAllMembers + QStringLiteral("WHERE ") + filter);
        // The criteria as typed, each after one blank, " " for an empty box.
        for (int i = 0; i < 9; ++i) {
            const auto typed = rule.typed.find(i);
            EXPECT_EQ(f.S.FilterCaptions[static_cast<std::size_t>(i)], u' ' + (typed == rule.typed.end() ? QString() : typed->second)) << i;
        }
        EXPECT_EQ(f.S.FilterCaptions[9], "before") << "the donation filter's captions are not this dialog's";
        EXPECT_EQ(ui().beepCount(), filter.isEmpty() && !rule.typed.empty() ? 1 : 0);
    }
}

TEST_F(FilterWindowTest, AMemberFilterThatFindsNobodyBeepsOnceAndShowsEveryMemberAgain)
{
    frmMain& f = executive();
    ui().queueDialog([](QDialog& dialog) {
        static_cast<MemQuery&>(dialog).setText(2, "Nobody*");
        ui::click(dialog, "Command1");
    });
    f.mnuFilterMem->trigger();
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].prompt, "No Records Found For Current Filter");
    EXPECT_EQ(ui().messages()[0].title, "Bad Query");
    EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(ui().beepCount(), 1);
    EXPECT_TRUE(f.S.MemberFilter.isEmpty());
    EXPECT_EQ(f.datPrimaryRS->recordSource(), kAllMembers);
    EXPECT_EQ(currentMember(f), 9);
    EXPECT_EQ(f.txtFields.text(2), "Brown");
    EXPECT_TRUE(fieldsNormal(f));
    // The criteria typed are kept for the report, as typed.
    EXPECT_EQ(f.S.FilterCaptions[2], " Nobody*");
    // The filter's end left no dialog to answer and no retry pending.
    EXPECT_EQ(ui().pendingScripts(), 0);
    EXPECT_TRUE(ui().notes().isEmpty());
}

} // namespace
