// The donation grid through the real window: the donation query at each member change in both
// views and under a donation filter, the summary line, the sort commands, the member data
// source's error and validate handlers and the filter colours.
#include "grid_fixture.h"
#include "support/fixture_db.h"

#include <QAction>
#include <QPalette>
#include <QProgressBar>
#include <tuple>

namespace {

using gridtest::GridTest;
using gridtest::kDonationSelect;

TEST_F(GridTest, EachMemberChangeShowsThatMembersDonationsWithTheirTotalAndCount)
{
    frmMain& f = executive();
    // The re-run stands on the last member, who has given nothing.
    EXPECT_EQ(currentMember(f), 4);
    EXPECT_EQ(f.datPrimaryRS->caption(), "Record: 4");
    EXPECT_EQ(gridIds(f), "");
    EXPECT_EQ(summary(f), "0|0| PaymentDate");
    EXPECT_FALSE(grid(f).backColor().isValid()) << "no filter: the normal background";

    const struct {
        int member;
        const char* ids;      // in date order
        const char* summary;  // total | count | sort field
        const char* caption;
    } members[] = {
        {2, "5 2 1", "$1,266.75|3| PaymentDate", "Record: 2"},
        {3, "4 3", "$510.00|2| PaymentDate", "Record: 3"},
        {1, "", "0|0| PaymentDate", "Record: 1"},
    };
    for (const auto& m : members) {
        goToMember(f, m.member);
        EXPECT_EQ(f.datSecondaryRS->recordSource(),
                  kDonationSelect + QStringLiteral(" WHERE [MemberID]= %1 Order by  PaymentDate").arg(m.member));
        EXPECT_EQ(gridIds(f), m.ids) << m.member;
        EXPECT_EQ(summary(f), m.summary) << m.member;
        EXPECT_EQ(f.datPrimaryRS->caption(), m.caption);
        EXPECT_FALSE(ui().isBusyPointer());
        EXPECT_TRUE(f.Picture2->isHidden());
    }

    // The cells show the grid's formats, and the last donation is the current row.
    goToMember(f, 2);
    EXPECT_EQ(cell(f, 1, 1), "$1,234.50");
    EXPECT_EQ(cell(f, 1, 2), "555");
    EXPECT_EQ(cell(f, 1, 4), "1/10/2001 10:30:00 AM");
    EXPECT_EQ(cell(f, 0, 4), "5/5/2000");
    EXPECT_EQ(f.grdDataGrid->currentIndex().row(), 2);
    EXPECT_EQ(f.datSecondaryRS->recordset()->field(QStringLiteral("PaymentID")).toLong(), 1);
    EXPECT_EQ(grid(f).headerData(3, Qt::Horizontal).toString(), "Destination");
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(GridTest, StandardModeFollowsTheMemberButLeavesTheTotalsNotAvailable)
{
    frmMain& f = open();
    goToMember(f, 2);
    EXPECT_EQ(f.datSecondaryRS->recordset()->recordCount(), 3);
    EXPECT_EQ(f.Label7->text(), "Not Available");
    EXPECT_EQ(f.Label2->text(), "0");
    EXPECT_TRUE(f.grdDataGrid->isHidden());
    EXPECT_EQ(grid(f).rowCount(), 0) << "a hidden grid reads nothing";
    f.records->ShowListTotal();
    EXPECT_EQ(f.Label7->text(), "Not Available");
    EXPECT_FALSE(ui().isBusyPointer());
}

TEST_F(GridTest, EachSortCommandRequeriesInItsOrderAndNamesTheField)
{
    frmMain& f = executive();
    goToMember(f, 2);
    const struct {
        QAction* frmMain::*item;
        int k;
        const char* field;
        const char* ids;
    } sorts[] = {
        {&frmMain::mnuSortPayID, 1, " PaymentID", "1 2 5"},    {&frmMain::mnuSortAmount, 2, " PaymentAmount", "5 1 2"},
        {&frmMain::mnuSortCheck, 3, " CheckNumber", "1 5 2"},  {&frmMain::mnuSortDest, 4, " Destination", "2 1 5"},
        {&frmMain::mnuSortDate, 5, " PaymentDate", "5 2 1"},
    };
    for (const auto& s : sorts) {
        (f.*s.item)->trigger();
        EXPECT_EQ(f.S.SortIndex, s.k);
        EXPECT_EQ(f.S.GridQueryState, s.k) << "Member View keeps the state";
        EXPECT_EQ(f.Label5->text(), s.field);
        EXPECT_EQ(f.datSecondaryRS->recordSource(),
                  kDonationSelect + " WHERE [MemberID]= 2 Order by " + QString::fromLatin1(s.field));
        EXPECT_EQ(gridIds(f), s.ids) << s.field;
        EXPECT_EQ(summary(f), "$1,266.75|3|" + QString::fromLatin1(s.field));
    }
    // The order chosen stays for the next member.
    f.mnuSortCheck->trigger();
    goToMember(f, 3);
    EXPECT_EQ(gridIds(f), "3 4") << "a donation without a check number comes first";
    EXPECT_EQ(summary(f), "$510.00|2| CheckNumber");
}

TEST_F(GridTest, ListViewLoadsEveryDonationOnceAndTheGridLeadsTheMemberFields)
{
    frmMain& f = executive();
    // What the List View command sets before it re-runs the view.
    f.S.DonationSelect = kDonationSelect;
    f.S.GridQueryState = 7;
    f.records->RequeryView();
    EXPECT_EQ(f.S.GridQueryState, 8);
    EXPECT_TRUE(f.S.ListViewActive);
    EXPECT_EQ(f.datSecondaryRS->recordSource(), kDonationSelect + " Order by  PaymentDate");
    EXPECT_EQ(gridIds(f), "5 4 2 1 3");
    EXPECT_EQ(summary(f), "$1,776.75|5| PaymentDate");
    // The current donation is the last one; the member fields show its donor, alone.
    EXPECT_EQ(f.grdDataGrid->currentIndex().row(), 4);
    EXPECT_EQ(currentMember(f), 3);
    EXPECT_EQ(f.txtFields.text(2), "Brown");
    EXPECT_EQ(f.datPrimaryRS->recordset()->recordCount(), 1);

    // Moving through the grid shows each donation's donor; the list stays as it was.
    dao::Recordset* list = f.datSecondaryRS->recordset();
    for (const auto& [row, donor, last] : {std::tuple{0, 2, "Adams"}, {1, 3, "Brown"}, {3, 2, "Adams"}}) {
        f.grdDataGrid->setCurrentIndex(grid(f).index(row, 1));
        EXPECT_EQ(currentMember(f), donor) << row;
        EXPECT_EQ(f.txtFields.text(2), last);
        EXPECT_EQ(f.datSecondaryRS->recordset(), list) << "a member change does not re-run the list";
    }
    EXPECT_EQ(f.datPrimaryRS->recordSource(),
              "select [memberID],[firstname],[lastname], [address],[city],[state],[postalcode],[homephone], [notes] "
              "FROM [members] WHERE [MemberID]= 2");

    // A sort re-runs the whole list once, then it stays loaded.
    f.mnuSortAmount->trigger();
    EXPECT_EQ(f.S.GridQueryState, 8);
    EXPECT_EQ(f.datSecondaryRS->recordSource(), kDonationSelect + " Order by  PaymentAmount");
    EXPECT_EQ(gridIds(f), "5 3 1 4 2");
    EXPECT_EQ(summary(f), "$1,776.75|5| PaymentAmount");
    list = f.datSecondaryRS->recordset();
    f.records->RequeryView();
    EXPECT_EQ(f.datSecondaryRS->recordset(), list);

    // The total of the same list is not added up again on a sort, but a write since is counted.
    quiltest::write(*f.S.db, "INSERT INTO Payments VALUES (6, 1000000, 77, 'Roof', '2003-01-01 00:00:00', 2)");
    f.mnuSortDate->trigger();
    EXPECT_EQ(summary(f), "$1,876.75|6| PaymentDate");
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(GridTest, ADonationFilterNarrowsEachMembersListAndMarksAMemberWithNoneBlue)
{
    frmMain& f = executive();
    // What the Filter Donations command sets.
    f.S.DonationSelect = kDonationSelect + u' ';
    f.S.DonationFilter = QStringLiteral(" WHERE [Destination] = 'Building'");
    f.S.GridQueryState = 6;
    f.records->RequeryView();
    EXPECT_EQ(gridIds(f), "");
    EXPECT_EQ(grid(f).backColor(), QColor(0, 0, 255)) << "member 4 has no donation passing the filter";
    EXPECT_EQ(f.grdDataGrid->palette().color(QPalette::Base), QColor(0, 0, 255));

    const struct {
        int member;
        const char* ids;
        const char* summary;
        bool blue;
    } members[] = {
        {2, "2", "$1,234.50|1| PaymentDate", false},
        {3, "4", "$500.00|1| PaymentDate", false},
        {1, "", "0|0| PaymentDate", true},
    };
    for (const auto& m : members) {
        goToMember(f, m.member);
        EXPECT_EQ(f.datSecondaryRS->recordSource(),
                  kDonationSelect + QStringLiteral("  WHERE [Destination] = 'Building' AND [MemberID]= %1 Order by  PaymentDate")
                                        .arg(m.member));
        EXPECT_EQ(gridIds(f), m.ids);
        EXPECT_EQ(summary(f), m.summary);
        EXPECT_EQ(grid(f).backColor().isValid(), m.blue) << m.member;
        EXPECT_EQ(f.S.GridQueryState, 6);
    }

    // In List View the filter narrows the whole list, with the busy panel shown first.
    const int passes = ui().processEventsCount();
    f.S.ListViewActive = true;
    f.records->datPrimaryRS_Reposition();
    EXPECT_GT(ui().processEventsCount(), passes);
    EXPECT_TRUE(f.Picture2->isHidden());
    EXPECT_EQ(f.S.GridQueryState, 8);
    EXPECT_EQ(gridIds(f), "4 2");
    EXPECT_EQ(summary(f), "$1,734.50|2| PaymentDate");
}

TEST_F(GridTest, AnEmptyListViewSaysSoAndDropsTheDonationFilter)
{
    frmMain& f = executive();
    f.S.DonationSelect = kDonationSelect + u' ';
    f.S.DonationFilter = QStringLiteral(" WHERE [Destination] = 'Nothing like this'");
    f.S.GridQueryState = 6;
    f.S.ListViewActive = true;
    f.records->datPrimaryRS_Reposition();
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].prompt, "No Donation Records Found");
    EXPECT_EQ(ui().messages()[0].title, "Bad Query");
    EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(f.S.DonationFilter.isEmpty());
    EXPECT_EQ(summary(f), "0|0| PaymentDate");
    // The filter is gone by the time the background is chosen.
    EXPECT_FALSE(grid(f).backColor().isValid());
}

TEST_F(GridTest, SuppressedRepositionsLeaveTheGridAndTheHourglassAsTheyAre)
{
    frmMain& f = executive();
    goToMember(f, 2);
    const QString query = f.datSecondaryRS->recordSource();
    f.S.SuppressReposition = true;
    f.datPrimaryRS->movePrevious();
    EXPECT_EQ(currentMember(f), 1);
    EXPECT_EQ(f.datSecondaryRS->recordSource(), query);
    EXPECT_EQ(gridIds(f), "5 2 1");
    // The validate before the move set the hourglass; only a reposition would restore it.
    EXPECT_TRUE(ui().isBusyPointer());
    f.S.SuppressReposition = false;
    f.datPrimaryRS->moveNext();
    EXPECT_FALSE(ui().isBusyPointer());
}

TEST_F(GridTest, ADeletedDonationLeavesTheGridAndTheTotals)
{
    // What Delete Donation does after its question was answered Yes.
    frmMain& f = executive();
    goToMember(f, 2);
    dao::Recordset* donations = f.datSecondaryRS->recordset();
    donations->setAbsolutePosition(1);
    donations->deleteCurrent();
    donations->moveFirst();
    f.records->ShowListTotal();
    EXPECT_EQ(gridIds(f), "5 1");
    EXPECT_EQ(summary(f), "$32.25|2| PaymentDate");
    EXPECT_EQ(f.grdDataGrid->currentIndex().row(), 1);
}

TEST_F(GridTest, MemberSourceErrorsAreShownOnceAndWorkGoesOn)
{
    frmMain& f = executive();
    const QString members = f.datPrimaryRS->recordSource();
    f.datPrimaryRS->setRecordSource(QStringLiteral("SELECT * FROM NoSuchTable"));
    EXPECT_NO_THROW(f.datPrimaryRS->refresh());
    ASSERT_EQ(ui().messages().size(), 1u);
    const ui::Message m = ui().messages()[0];
    EXPECT_TRUE(m.prompt.startsWith("Data error event hit err:")) << m.prompt.toStdString();
    EXPECT_GT(m.prompt.size(), QStringLiteral("Data error event hit err:").size());
    EXPECT_EQ(m.title, "QUIL Data Error");
    EXPECT_EQ(m.buttons, ui::Buttons::OKOnly);
    // The members shown before are still there.
    EXPECT_EQ(currentMember(f), 4);
    f.datPrimaryRS->setRecordSource(members);
}

TEST_F(GridTest, FilterColoursAreBlueOrTheSystemsWindowText)
{
    frmMain& f = executive();
    const QColor normal = f.palette().color(QPalette::WindowText);
    for (bool blue : {true, false}) {
        f.records->SetMemberFieldsColour(blue);
        for (QWidget* field : f.txtFields)
            EXPECT_EQ(field->palette().color(QPalette::Text), blue ? QColor(0, 0, 255) : normal) << field->objectName().toStdString();
        f.records->SetGridTextColour(blue);
        EXPECT_EQ(f.grdDataGrid->palette().color(QPalette::Text),
                  blue ? QColor(0, 0, 255) : QApplication::palette(f.grdDataGrid).color(QPalette::Text));
    }
}

} // namespace
