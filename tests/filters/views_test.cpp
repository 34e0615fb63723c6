// Member View and List View through the real window in Executive mode (entered with the
// program's own command): the state each view leaves, checked as one table after each command
// from a start with both filters in force; List View's whole list, its sort, and the member fields
// following the highlighted donation while member moves leave the list alone; Member View back
// on every member with the sort kept.
#include "filter_window.h"
#include "filters/mem_query.h"
#include "support/executive.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPalette>
#include <functional>
#include <vector>

namespace {

using filtertest::FilterWindowTest;
using filtertest::kBlue;

class ViewsTest : public FilterWindowTest {
protected:
    frmMain& executiveByCommand()
    {
        frmMain& f = build();
        openCopy();
        quiltest::enterExecutive(f, ui());
        EXPECT_FALSE(f.S.StandardMode);
        ui().clearLog();
        return f;
    }

    // Both filters through their own commands: members in Boston, donations over $15.
    void filterBoth(frmMain& f)
    {
        ui().queueDialog([](QDialog& d) {
            static_cast<MemQuery&>(d).setText(4, QStringLiteral("Boston"));
            ui::click(d, "Command1");
        });
        f.mnuFilterMem_Click();
        ui().queueDialog([](QDialog& d) {
            auto& box = ui::child<QComboBox>(d, "CB(0)");
            box.setCurrentIndex(box.findText(">"));
            emit box.activated(box.currentIndex());
            ui::child<QLineEdit>(d, "TB(0)").setText("15");
            ui::click(d, "Command1");
        });
        f.mnuFilterDonat_Click();
        ASSERT_FALSE(f.S.MemberFilter.isEmpty());
        ASSERT_FALSE(f.S.DonationFilter.isEmpty());
        ui().clearLog();
    }

    static void highlight(frmMain& f, int row)
    {
        f.grdDataGrid->setCurrentIndex(grid(f).index(row, 0));
    }
};

struct ViewElement {
    const char* name;
    std::function<QString(frmMain&)> read;
    const char* memberView;
    const char* listView;
};

data::GridModel& gridOf(frmMain& f) { return *qobject_cast<data::GridModel*>(f.grdDataGrid->model()); }

QString on(bool enabled) { return enabled ? QStringLiteral("enabled") : QStringLiteral("disabled"); }

std::vector<ViewElement> viewTable()
{
    const QColor text = QPalette().color(QPalette::WindowText);
    std::vector<ViewElement> rows;
    for (const auto& [key, m, l] : {std::tuple{"FltrMem", "enabled", "disabled"}, {"AddGuy", "enabled", "disabled"},
                                    {"ListView", "enabled", "disabled"}, {"MemView", "disabled", "enabled"},
                                    {"FltrDonat", "enabled", "enabled"}})
        rows.push_back({key, [key = key](frmMain& f) { return on(f.Button(QLatin1String(key))->isEnabled()); }, m, l});
    for (const auto& [name, item, m, l] :
         {std::tuple{"mnuEditAddMem", &frmMain::mnuEditAddMem, "enabled", "disabled"},
          {"mnuFilterMem", &frmMain::mnuFilterMem, "enabled", "disabled"},
          {"mnuListView", &frmMain::mnuListView, "enabled", "disabled"},
          {"mnuMemView", &frmMain::mnuMemView, "disabled", "enabled"},
          {"mnuFilterDonat", &frmMain::mnuFilterDonat, "enabled", "enabled"}})
        rows.push_back({name, [item = item](frmMain& f) { return on((f.*item)->isEnabled()); }, m, l});
    rows.push_back({"navigator", [](frmMain& f) { return QString(f.datPrimaryRS->isHidden() ? "hidden" : "shown"); }, "shown", "hidden"});
    rows.push_back({"busy panel", [](frmMain& f) { return QString(f.Picture2->isHidden() ? "hidden" : "shown"); }, "hidden", "hidden"});
    rows.push_back({"ViewName", [](frmMain& f) { return f.S.ViewName; }, "Member View", "List View"});
    rows.push_back({"WhichViewT", [](frmMain& f) { return f.WhichViewT->text(); }, "Member View", "List View"});
    rows.push_back({"GridQueryState", [](frmMain& f) { return QString::number(f.S.GridQueryState); }, "5", "8"});
    rows.push_back({"ListViewActive", [](frmMain& f) { return QString(f.S.ListViewActive ? "True" : "False"); }, "False", "True"});
    rows.push_back({"DonationFilter", [](frmMain& f) { return f.S.DonationFilter; }, "", ""});
    rows.push_back({"MemberFilter", [](frmMain& f) { return f.S.MemberFilter; }, "", ""});
    rows.push_back({"member field colour", [text](frmMain& f) {
                        QStringList odd;
                        for (QWidget* w : f.txtFields)
                            if (w->palette().color(QPalette::Text) != text)
                                odd << w->objectName();
                        return odd.isEmpty() ? QStringLiteral("normal") : odd.join(u',');
                    }, "normal", "normal"});
    rows.push_back({"grid text colour", [](frmMain& f) {
                        return QString(gridOf(f).foreColor().isValid() ? "coloured" : "normal");
                    }, "normal", "normal"});
    rows.push_back({"grid background", [](frmMain& f) {
                        return QString(gridOf(f).backColor().isValid() ? "coloured" : "normal");
                    }, "normal", "normal"});
    return rows;
}

TEST_F(ViewsTest, EachViewLeavesItsWholeStateFromAStartWithBothFiltersInForce)
{
    frmMain& f = executiveByCommand();
    struct Step {
        const char* what;
        std::function<void(frmMain&)> run;
        bool listView;
    };
    const Step steps[] = {
        {"List View by its menu item", [](frmMain& f) { f.mnuListView->trigger(); }, true},
        {"Member View by its button", [](frmMain& f) { f.Button("MemView")->trigger(); }, false},
        {"List View by its button", [](frmMain& f) { f.Button("ListView")->trigger(); }, true},
        {"Member View by its menu item", [](frmMain& f) { f.mnuMemView->trigger(); }, false},
        {"Member View run again directly", [](frmMain& f) { f.mnuMemView_Click(); }, false},
    };
    for (const Step& step : steps) {
        filterBoth(f);
        const int passes = ui().processEventsCount();
        step.run(f);
        for (const ViewElement& e : viewTable())
            EXPECT_EQ(e.read(f), QString::fromUtf8(step.listView ? e.listView : e.memberView)) << e.name << " after " << step.what;
        EXPECT_TRUE(ui().messages().empty()) << step.what;
        if (step.listView) {
            EXPECT_EQ(f.S.DonationSelect, filtertest::kDonationSelect);
            EXPECT_EQ(f.datSecondaryRS->recordSource(), filtertest::kDonationSelect + " Order by  PaymentDate");
            EXPECT_GT(ui().processEventsCount(), passes) << "the busy panel painted before the list was read";
            EXPECT_EQ(gridIds(f), "5 1 8 6 7 2 9 3 4") << "every donation of every member, by date";
            EXPECT_EQ(summary(f), "$846.99|9| PaymentDate");
        } else {
            EXPECT_EQ(f.datPrimaryRS->recordSource(), filtertest::kAllMembers.chopped(1));
            EXPECT_EQ(memberIds(f), "1 2 3 4 5 6 7 8 9");
            EXPECT_EQ(currentMember(f), 9) << "the last member";
            EXPECT_EQ(gridIds(f), "8") << "only the last member's donations";
            EXPECT_EQ(summary(f), "$10.00|1| PaymentDate");
        }
    }
}

TEST_F(ViewsTest, InListViewTheMemberFieldsFollowTheHighlightedDonationAndMemberMovesLeaveTheList)
{
    frmMain& f = executiveByCommand();
    f.mnuListView_Click();
    EXPECT_EQ(f.txtFields.text(0), "3") << "the last donation's donor";
    const QString list = f.datSecondaryRS->recordSource();
    const std::pair<int, const char*> rows[] = {{0, "4"}, {1, "2"}, {2, "9"}, {3, "6"}, {6, "5"}, {8, "3"}};
    for (const auto& [row, donor] : rows) {
        highlight(f, row);
        EXPECT_EQ(f.txtFields.text(0), donor) << "row " << row;
        EXPECT_EQ(f.datSecondaryRS->recordSource(), list);
        EXPECT_EQ(f.S.GridQueryState, 8);
        EXPECT_EQ(grid(f).rowCount(), 9);
    }
    // A member move (the donor look-up is one) does not read the list again.
    const auto serial = f.datSecondaryRS->recordset()->serial();
    f.records->datPrimaryRS_Reposition();
    EXPECT_EQ(f.datSecondaryRS->recordset()->serial(), serial);
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(ViewsTest, ASortInListViewSortsTheWholeListOnceAndMemberViewKeepsIt)
{
    frmMain& f = executiveByCommand();
    f.mnuListView_Click();
    f.mnuSortAmount_Click();
    EXPECT_EQ(gridIds(f), "8 3 6 4 7 9 1 2 5");
    EXPECT_EQ(summary(f), "$846.99|9| PaymentAmount");
    EXPECT_EQ(f.S.GridQueryState, 8);
    f.mnuSortCheck_Click();
    EXPECT_EQ(gridIds(f), "6 3 4 7 8 9 1 2 5") << "no check number first";
    f.mnuMemView_Click();
    goToMember(f, 2);
    EXPECT_EQ(gridIds(f), "1 2");
    EXPECT_EQ(f.Label5->text(), " CheckNumber");
    goToMember(f, 6);
    EXPECT_EQ(gridIds(f), "6 7");
}

TEST_F(ViewsTest, ADonationFilterInListViewNarrowsTheWholeListAndMemberViewDropsIt)
{
    frmMain& f = executiveByCommand();
    f.mnuListView_Click();
    ui().queueDialog([](QDialog& d) {
        auto& box = ui::child<QComboBox>(d, "CB(2)");
        box.setCurrentIndex(box.findText("Contains"));
        emit box.activated(box.currentIndex());
        ui::child<QLineEdit>(d, "TB(4)").setText("Roof");
        ui::click(d, "Command1");
    });
    f.mnuFilterDonat_Click();
    EXPECT_EQ(gridIds(f), "1 6 2");
    EXPECT_EQ(gridOf(f).foreColor(), kBlue);
    f.mnuMemView_Click();
    EXPECT_TRUE(f.S.DonationFilter.isEmpty());
    EXPECT_FALSE(gridOf(f).foreColor().isValid());
    EXPECT_EQ(gridIds(f), "8");
}

} // namespace
