// Filter Donations through the real window: the dialog as it opens, its range controls kept in
// step with the operators, its rules from OK to the view (the clause and the captions written
// only on success, the refusals that keep the dialog open and the filter in force, Cancel), the
// grid in Member View member by member with its blue text and blue background, and List View's
// whole list narrowed, or emptied and the filter dropped once.
#include "filter_window.h"
#include "filters/donat_query.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <map>
#include <vector>

namespace {

using filtertest::FilterWindowTest;
using filtertest::kBlue;
using filtertest::kDonationSelect;

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

// An operator chosen from a box's list, as a click on the item does it.
void choose(QDialog& dialog, int row, const QString& item)
{
    auto& box = ui::child<QComboBox>(dialog, QStringLiteral("CB(%1)").arg(row));
    const int index = box.findText(item);
    ASSERT_GE(index, 0) << item.toStdString();
    box.setCurrentIndex(index);
    emit box.activated(index);
}

// The range controls, as "CK(0) [ ]- TB(1) - ..." : [x] ticked, [ ] not; + enabled, - disabled.
QString rangeState(QDialog& dialog)
{
    QStringList parts;
    for (const auto& [check, box] : {std::pair{0, 1}, {1, 3}, {3, 6}}) {
        auto& ck = ui::child<QCheckBox>(dialog, QStringLiteral("CK(%1)").arg(check));
        auto& tb = ui::child<QLineEdit>(dialog, QStringLiteral("TB(%1)").arg(box));
        parts << QStringLiteral("CK(%1) %2%3 TB(%4) %5")
                     .arg(check)
                     .arg(ck.isChecked() ? "[x]" : "[ ]")
                     .arg(ck.isEnabled() ? '+' : '-')
                     .arg(box)
                     .arg(tb.isEnabled() ? '+' : '-');
    }
    parts << QStringLiteral("CB(3) '%1'").arg(ui::child<QComboBox>(dialog, "CB(3)").currentText());
    return parts.join(QStringLiteral(" | "));
}

TEST_F(FilterWindowTest, TheDonationFilterDialogOpensEmptyAndKeepsItsRangeControlsInStep)
{
    frmMain& f = executive();
    bool inspected = false;
    ui().queueDialog([&](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), "DonatQuery");
        EXPECT_EQ(dialog.windowTitle(), "Filter Donations");
        EXPECT_EQ(ui::child<QGroupBox>(dialog, "Frame1").title(), "Instructions");
        const char* instructions[] = {
            "Enter in the criteria that you want to find in the Donation profiles.",
            "You can leave some fields blank if that data isn't important.",
            "Use the < > = to filter the values you want to display.",
            "From and To will select dates that are between and including the entries.",
            "Leave all fields blank to remove the filter  ( Show All ).",
            "Using wildcards ( * )  is not needed or recommended.",
        };
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(ui::child<QLabel>(dialog, QStringLiteral("Label1(%1)").arg(i)).text(), instructions[i]);
        const struct {
            const char* caption;
            QStringList items;
        } rows[] = {
            {"Payment Amount", {"=", ">", "<"}},
            {"Check Number", {"=", ">", "<"}},
            {"Destination", {"Exactly", "Contains"}},
            {"Payment Date", {"=", ">", "<", "From"}},
        };
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(ui::child<QLabel>(dialog, QStringLiteral("Label5(%1)").arg(r)).text(), rows[r].caption);
            auto& box = ui::child<QComboBox>(dialog, QStringLiteral("CB(%1)").arg(r));
            EXPECT_FALSE(box.isEditable()) << "pick only";
            QStringList items;
            for (int i = 0; i < box.count(); ++i)
                items << box.itemText(i);
            EXPECT_EQ(items, rows[r].items);
            EXPECT_EQ(box.currentIndex(), -1) << "no item chosen";
        }
        for (int i = 0; i < 7; ++i)
            EXPECT_TRUE(ui::child<QLineEdit>(dialog, QStringLiteral("TB(%1)").arg(i)).text().isEmpty());
        EXPECT_EQ(ui::child<QLineEdit>(dialog, "TB(4)").maxLength(), 50);
        EXPECT_EQ(ui::child<QCheckBox>(dialog, "CK(0)").text(), "<");
        EXPECT_EQ(ui::child<QCheckBox>(dialog, "CK(1)").text(), "<");
        EXPECT_EQ(ui::child<QCheckBox>(dialog, "CK(3)").text(), "To");
        EXPECT_EQ(dialog.focusWidget(), &ui::child<QComboBox>(dialog, "CB(0)"));
        EXPECT_EQ(tabChain(dialog.focusWidget()),
                  QStringList({"CB(0)", "TB(0)", "CK(0)", "TB(1)", "CB(1)", "TB(2)", "CK(1)", "TB(3)", "CB(2)", "TB(4)",
                               "CB(3)", "TB(5)", "CK(3)", "TB(6)", "Command1", "Command2"}));

        // Each step, and the range controls after it.
        const std::vector<std::pair<std::function<void()>, const char*>> steps = {
            {[] {}, "CK(0) [ ]- TB(1) - | CK(1) [ ]- TB(3) - | CK(3) [x]- TB(6) - | CB(3) ''"},
            {[&] { choose(dialog, 0, ">"); }, "CK(0) [ ]+ TB(1) + | CK(1) [ ]- TB(3) - | CK(3) [x]- TB(6) - | CB(3) ''"},
            {[&] { ui::click(dialog, "CK(0)"); }, "CK(0) [x]+ TB(1) + | CK(1) [ ]- TB(3) - | CK(3) [x]- TB(6) - | CB(3) ''"},
            {[&] { ui::child<QLineEdit>(dialog, "TB(1)").setText("20"); choose(dialog, 0, "="); },
             "CK(0) [ ]- TB(1) - | CK(1) [ ]- TB(3) - | CK(3) [x]- TB(6) - | CB(3) ''"},
            {[&] { choose(dialog, 0, ">"); }, "CK(0) [ ]+ TB(1) + | CK(1) [ ]- TB(3) - | CK(3) [x]- TB(6) - | CB(3) ''"},
            {[&] { choose(dialog, 1, ">"); ui::click(dialog, "CK(1)"); },
             "CK(0) [ ]+ TB(1) + | CK(1) [x]+ TB(3) + | CK(3) [x]- TB(6) - | CB(3) ''"},
            {[&] { choose(dialog, 1, "<"); }, "CK(0) [ ]+ TB(1) + | CK(1) [ ]- TB(3) - | CK(3) [x]- TB(6) - | CB(3) ''"},
            {[&] { choose(dialog, 2, "Contains"); }, "CK(0) [ ]+ TB(1) + | CK(1) [ ]- TB(3) - | CK(3) [x]- TB(6) - | CB(3) ''"},
            {[&] { choose(dialog, 3, "From"); }, "CK(0) [ ]+ TB(1) + | CK(1) [ ]- TB(3) - | CK(3) [x]+ TB(6) + | CB(3) 'From'"},
            // Unticking "To" turns the range into "later than".
            {[&] { ui::click(dialog, "CK(3)"); }, "CK(0) [ ]+ TB(1) + | CK(1) [ ]- TB(3) - | CK(3) [ ]- TB(6) - | CB(3) '>'"},
            {[&] { choose(dialog, 3, "From"); }, "CK(0) [ ]+ TB(1) + | CK(1) [ ]- TB(3) - | CK(3) [x]+ TB(6) + | CB(3) 'From'"},
            {[&] { choose(dialog, 3, "="); }, "CK(0) [ ]+ TB(1) + | CK(1) [ ]- TB(3) - | CK(3) [x]- TB(6) - | CB(3) '='"},
        };
        for (std::size_t i = 0; i < steps.size(); ++i) {
            steps[i].first();
            EXPECT_EQ(rangeState(dialog), steps[i].second) << "step " << i;
        }
        // A disabled second value keeps its text, unused.
        EXPECT_EQ(ui::child<QLineEdit>(dialog, "TB(1)").text(), "20");
        inspected = true;
        ui::click(dialog, "Command2");
    });
    f.mnuFilterDonat->trigger();
    ASSERT_TRUE(inspected);

    // Shown again, nothing of before is left.
    ui().queueDialog([&](QDialog& dialog) {
        EXPECT_EQ(ui::child<QComboBox>(dialog, "CB(0)").currentIndex(), -1);
        EXPECT_TRUE(ui::child<QLineEdit>(dialog, "TB(1)").text().isEmpty());
        EXPECT_EQ(rangeState(dialog), "CK(0) [ ]- TB(1) - | CK(1) [ ]- TB(3) - | CK(3) [x]- TB(6) - | CB(3) ''");
        ui::click(dialog, "Command2");
    });
    f.mnuFilterDonat->trigger();
    EXPECT_EQ(ui().pendingScripts(), 0);
}

// What a row of the table chooses, types and ticks, then presses.
struct DonationRule {
    std::map<int, QString> operators;  // CB index -> item
    std::map<int, QString> values;     // TB index -> text
    std::vector<int> ticks;            // CK indexes clicked (after the operators are chosen)
    const char* press;                 // "ok", "cancel", "escape"
    const char* filter;                // DonationFilter afterwards; nullptr: the filter before stays
    const char* messages;              // prompts shown, joined with " / "
    const char* grid;                  // payment ids the grid shows for the member in view (member 2)
    const char* captions;              // FilterCaptions 9..22 not " ", as "9=> 10=100"; with filter only
};

QString usedCaptions(const frmMain& f)
{
    QStringList used;
    for (int i = 9; i <= 22; ++i)
        if (f.S.FilterCaptions[static_cast<std::size_t>(i)] != u" ")
            used << QStringLiteral("%1=%2").arg(i).arg(f.S.FilterCaptions[static_cast<std::size_t>(i)]);
    return used.join(u' ');
}

TEST_F(FilterWindowTest, TheDonationFilterRulesFromOkToTheGrid)
{
    frmMain& f = executive();
    // Member 2 alone, so that the view stands on that member after every re-run; both filters
    // can be in force at once.
    f.S.MemberFilter = QStringLiteral("[MemberID] = 2 ");
    f.datPrimaryRS->setRecordSource(filtertest::kAllMembers + QStringLiteral("WHERE [MemberID] = 2 "));
    const QString prior = QStringLiteral(" WHERE [PaymentAmount] =100 ");
    const DonationRule rules[] = {
        // The program's example.
        {{{0, ">"}, {2, "Contains"}}, {{0, "100"}, {4, "Roof"}}, {}, "ok",
         " WHERE [PaymentAmount] >100 and [Destination] Like '*Roof*' ", "", "2", "9=> 10=100 17=Contains 18=Roof"},
        // A range, strictly between its bounds.
        {{{0, ">"}}, {{0, "100"}, {1, "200"}}, {0}, "ok", " WHERE [PaymentAmount] >100 and [PaymentAmount] <200 ", "", "2",
         "9=> 10=100 11=< 12=200"},
        // A value the user typed the way people write it, kept as typed in the captions.
        {{{0, "="}}, {{0, "$150.50"}}, {}, "ok", " WHERE [PaymentAmount] =150.5 ", "", "2", "9== 10=$150.50"},
        {{{1, ">"}}, {{2, "1000"}, {3, "1002"}}, {1}, "ok", " WHERE [CheckNumber] Between 1001 and 1001 ", "", "1",
         "13=> 14=1000 15=1002 16=<"},
        {{{3, "From"}}, {{5, "2001-01-01"}, {6, "June 1, 2001"}}, {}, "ok", " WHERE [PaymentDate] Between #1/1/2001# and #6/1/2001# ",
         "", "1", "19=From 20=2001-01-01 21=To 22=June 1, 2001"},
        {{{3, ">"}}, {{5, "3/1/01"}}, {}, "ok", " WHERE [PaymentDate] >#3/1/2001# ", "", "2", "19=> 20=3/1/01"},
        // An operator without its value, a value without its operator: the row is not used.
        {{{0, ">"}, {3, "="}}, {{4, "Roof"}}, {}, "ok", "", "", "1 2", ""},
        // Nothing passes for this member: an empty grid, no message in Member View.
        {{{2, "Exactly"}}, {{4, "Nothing like it"}}, {}, "ok", " WHERE [Destination] = 'Nothing like it' ", "", "", nullptr},
        // Values that cannot be used: the dialog stays open, the filter and its captions stay.
        {{{3, "<"}}, {{5, "not a date"}}, {}, "ok", nullptr, "Invalid  'From'  Date", "1", nullptr},
        {{{3, "="}}, {{5, "2/30/2001"}}, {}, "ok", nullptr, "Invalid  'From'  Date", "1", nullptr},
        {{{3, "From"}}, {{5, "1/1/2001"}}, {}, "ok", nullptr, "Invalid  'To'  Date", "1", nullptr},
        {{{0, ">"}}, {{0, "abc"}}, {}, "ok", nullptr, "The Payment Amount must be a number, such as 25 or 12.50.", "1", nullptr},
        {{{0, "="}}, {{0, "922337203685478"}}, {}, "ok", nullptr, "The Payment Amount is too large.", "1", nullptr},
        {{{1, "="}}, {{2, "12,50"}}, {}, "ok", nullptr, "The Check Number must be a number, such as 1001.", "1", nullptr},
        // Cancel and Escape change nothing.
        {{{0, ">"}}, {{0, "1"}}, {}, "cancel", nullptr, "", "1", nullptr},
        {{{0, ">"}}, {{0, "1"}}, {}, "escape", nullptr, "", "1", nullptr},
    };
    for (const DonationRule& rule : rules) {
        QStringList what;
        for (const auto& [row, item] : rule.operators)
            what << QStringLiteral("CB(%1)=%2").arg(row).arg(item);
        for (const auto& [box, text] : rule.values)
            what << QStringLiteral("TB(%1)=%2").arg(box).arg(text);
        SCOPED_TRACE((what.join(", ") + u' ' + QLatin1String(rule.press)).toStdString());

        // A filter in force before, with its captions, as the command leaves it.
        f.S.DonationFilter = prior;
        f.S.DonationSelect = kDonationSelect + u' ';
        f.S.GridQueryState = 6;
        f.records->SetGridTextColour(true);
        f.records->RequeryView();
        f.S.FilterCaptions.fill(QStringLiteral("before"));
        ui().clearLog();

        bool openAfterOk = false;
        ui().queueDialog([&](QDialog& dialog) {
            for (const auto& [row, item] : rule.operators)
                choose(dialog, row, item);
            for (int k : rule.ticks)
                ui::click(dialog, QStringLiteral("CK(%1)").arg(k));
            for (const auto& [box, text] : rule.values)
                ui::child<QLineEdit>(dialog, QStringLiteral("TB(%1)").arg(box)).setText(text);
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
        const int passes = ui().processEventsCount();
        f.mnuFilterDonat->trigger();

        EXPECT_EQ(prompts(), QString::fromUtf8(rule.messages));
        for (const ui::Message& m : ui().messages()) {
            EXPECT_EQ(m.icon, ui::Icon::None);
            EXPECT_EQ(m.title, "QUIL");
        }
        EXPECT_EQ(ui().beepCount(), 0);
        EXPECT_EQ(currentMember(f), 2);
        EXPECT_EQ(f.S.MemberFilter, "[MemberID] = 2 ") << "the member filter is another matter";
        EXPECT_EQ(gridIds(f), QString::fromUtf8(rule.grid));
        EXPECT_FALSE(f.S.DialogCancelled);
        // The busy panel was shown and painted, and is gone again.
        EXPECT_GT(ui().processEventsCount(), passes);
        EXPECT_TRUE(f.Picture2->isHidden());
        EXPECT_FALSE(ui().isBusyPointer());
        if (!rule.filter) {
            EXPECT_EQ(f.S.DonationFilter, prior);
            EXPECT_EQ(f.S.GridQueryState, 6);
            EXPECT_EQ(grid(f).foreColor(), kBlue);
            EXPECT_EQ(f.S.FilterCaptions[9], "before") << "the captions stay";
            EXPECT_EQ(openAfterOk, QLatin1String(rule.press) == u"ok") << "a refused OK keeps the dialog open";
            continue;
        }
        EXPECT_FALSE(openAfterOk);
        const QString filter = QString::fromUtf8(rule.filter);
        EXPECT_EQ(f.S.DonationFilter, filter);
        EXPECT_EQ(f.S.FilterCaptions[8], "before") << "the member filter's captions are not this dialog's";
        if (rule.captions) {
            EXPECT_EQ(usedCaptions(f), QString::fromUtf8(rule.captions));
        }
        if (filter.isEmpty()) {
            EXPECT_EQ(f.S.GridQueryState, 5);
            EXPECT_FALSE(grid(f).foreColor().isValid()) << "the normal text colour";
            EXPECT_EQ(f.datSecondaryRS->recordSource(), kDonationSelect + " WHERE [MemberID]= 2 Order by  PaymentDate");
        } else {
            EXPECT_EQ(f.S.GridQueryState, 6);
            EXPECT_EQ(f.S.DonationSelect, kDonationSelect + u' ');
            EXPECT_EQ(grid(f).foreColor(), kBlue);
            EXPECT_EQ(f.datSecondaryRS->recordSource(), kDonationSelect + u' ' + filter + " AND [MemberID]= 2 Order by  PaymentDate");
        }
        EXPECT_EQ(grid(f).backColor().isValid(), !filter.isEmpty() && QString::fromUtf8(rule.grid).isEmpty())
            << "blue: no donation of this member passes";
    }
}


// Filter Donations with the given choices and texts, accepted with OK.
void queueFilter(ui::ScriptedUi& script, std::map<int, QString> operators, std::map<int, QString> values)
{
    script.queueDialog([operators = std::move(operators), values = std::move(values)](QDialog& dialog) {
        for (const auto& [row, item] : operators)
            choose(dialog, row, item);
        for (const auto& [box, text] : values)
            ui::child<QLineEdit>(dialog, QStringLiteral("TB(%1)").arg(box)).setText(text);
        ui::click(dialog, "Command1");
    });
}

TEST_F(FilterWindowTest, InMemberViewTheFilterFollowsEachMemberAndMarksOneWithoutPassingDonationsBlue)
{
    frmMain& f = executive();
    queueFilter(ui(), {{2, "Contains"}}, {{4, "roof"}});
    f.tbToolBar_ButtonClick(QStringLiteral("FltrDonat"));
    ASSERT_EQ(f.S.DonationFilter, " WHERE [Destination] Like '*roof*' ");
    EXPECT_EQ(f.grdDataGrid->palette().color(QPalette::Text), kBlue);
    // The view stands on the last member, whose one donation does not pass.
    EXPECT_EQ(currentMember(f), 9);
    EXPECT_EQ(gridIds(f), "");
    EXPECT_EQ(f.grdDataGrid->palette().color(QPalette::Base), kBlue);

    const struct {
        int member;
        const char* ids;
        const char* summary;
        bool blue;  // the background: no donation of this member passes
    } members[] = {
        {2, "1 2", "$250.50|2| PaymentDate", false},
        {6, "6", "$11.00|1| PaymentDate", false},
        {3, "", "0|0| PaymentDate", true},
        {7, "", "0|0| PaymentDate", true},
    };
    for (const auto& m : members) {
        goToMember(f, m.member);
        EXPECT_EQ(f.datSecondaryRS->recordSource(),
                  kDonationSelect + QStringLiteral("  WHERE [Destination] Like '*roof*'  AND [MemberID]= %1 Order by  PaymentDate").arg(m.member));
        EXPECT_EQ(gridIds(f), m.ids) << m.member;
        EXPECT_EQ(summary(f), m.summary) << m.member;
        EXPECT_EQ(grid(f).backColor() == kBlue, m.blue) << m.member;
        EXPECT_EQ(f.S.GridQueryState, 6) << "every member change applies the filter again";
    }

    // Removed, the filter leaves each member's donations in the normal colours.
    queueFilter(ui(), {}, {});
    f.mnuFilterDonat->trigger();
    EXPECT_TRUE(f.S.DonationFilter.isEmpty());
    EXPECT_EQ(gridIds(f), "8");
    EXPECT_FALSE(grid(f).backColor().isValid());
    EXPECT_FALSE(grid(f).foreColor().isValid());
    goToMember(f, 3);
    EXPECT_EQ(gridIds(f), "3 4");
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(FilterWindowTest, InListViewTheFilterNarrowsTheWholeListAndRemovingItBringsItBack)
{
    frmMain& f = executive();
    listView(f);
    ASSERT_EQ(gridIds(f), "5 1 8 6 7 2 9 3 4");
    ui().clearLog();

    // The program's example: amounts over 100 whose destination contains Roof.
    queueFilter(ui(), {{0, ">"}, {2, "Contains"}}, {{0, "100"}, {4, "Roof"}});
    const int passes = ui().processEventsCount();
    f.mnuFilterDonat->trigger();
    EXPECT_GT(ui().processEventsCount(), passes) << "the busy panel painted before the query";
    EXPECT_TRUE(f.Picture2->isHidden());
    EXPECT_EQ(f.datSecondaryRS->recordSource(),
              kDonationSelect + "  WHERE [PaymentAmount] >100 and [Destination] Like '*Roof*'  Order by  PaymentDate");
    EXPECT_EQ(gridIds(f), "2");
    EXPECT_EQ(summary(f), "$150.50|1| PaymentDate");
    EXPECT_EQ(f.S.GridQueryState, 8);
    EXPECT_TRUE(f.S.ListViewActive);
    EXPECT_EQ(grid(f).foreColor(), kBlue);
    EXPECT_EQ(f.txtFields.text(2), "Adams") << "the member fields show the donor";

    // The text found as typed, wildcard characters and all.
    queueFilter(ui(), {{2, "Contains"}}, {{4, "Fund #2"}});
    f.mnuFilterDonat->trigger();
    EXPECT_EQ(gridIds(f), "3");
    EXPECT_EQ(f.txtFields.text(2), "Smith");

    // A member reposition leaves the loaded list alone.
    f.records->datPrimaryRS_Reposition();
    EXPECT_EQ(gridIds(f), "3");

    queueFilter(ui(), {}, {});
    f.mnuFilterDonat->trigger();
    EXPECT_TRUE(f.S.DonationFilter.isEmpty());
    EXPECT_EQ(f.datSecondaryRS->recordSource(), kDonationSelect + " Order by  PaymentDate");
    EXPECT_EQ(gridIds(f), "5 1 8 6 7 2 9 3 4");
    EXPECT_EQ(summary(f), "$846.99|9| PaymentDate");
    EXPECT_FALSE(grid(f).foreColor().isValid());
    EXPECT_EQ(f.S.GridQueryState, 8);
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(FilterWindowTest, InListViewAFilterNothingPassesSaysSoOnceAndDropsTheFilter)
{
    frmMain& f = executive();
    listView(f);
    ui().clearLog();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        queueFilter(ui(), {{2, "Exactly"}}, {{4, "Nothing like it"}});
        f.mnuFilterDonat->trigger();
        ASSERT_EQ(ui().messages().size(), 1u) << prompts().toStdString();
        EXPECT_EQ(ui().messages()[0].prompt, "No Donation Records Found");
        EXPECT_EQ(ui().messages()[0].title, "Bad Query");
        EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Critical);
        EXPECT_TRUE(f.S.DonationFilter.isEmpty());
        EXPECT_EQ(gridIds(f), "");
        EXPECT_EQ(summary(f), "0|0| PaymentDate");
        EXPECT_EQ(f.S.GridQueryState, 8);
        // The filter is gone, and its colours with it.
        EXPECT_FALSE(grid(f).foreColor().isValid());
        EXPECT_FALSE(grid(f).backColor().isValid());
        // The criteria were accepted: they stay for the report, as typed.
        EXPECT_EQ(f.S.FilterCaptions[18], "Nothing like it");
        // Nothing more follows: no retry, no second message.
        f.records->datPrimaryRS_Reposition();
        EXPECT_EQ(ui().messages().size(), 1u);
        ui().clearLog();
    }
    // A sort lists every donation again.
    f.mnuSortAmount->trigger();
    EXPECT_EQ(gridIds(f), "8 3 6 4 7 9 1 2 5");
    EXPECT_TRUE(ui().messages().empty());
}

} // namespace
