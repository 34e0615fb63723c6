// Handlers that refresh or move the control that raised them, or another one, while its events
// run: nothing crashes, nothing recurses without end, and everyone ends on the last request.
#include "data_fixture.h"

#include "platform/data/bound_text_box.h"

#include <stdexcept>

namespace {

using datatest::DataControlTest;

// Counts how deep reposition handlers of one control are nested.
struct Depth {
    int now = 0;
    int max = 0;
    void enter() { max = std::max(max, ++now); }
    void leave() { --now; }
};

TEST_F(DataControlTest, AHandlerThatRefreshesOnceEndsOnTheNewSource)
{
    Depth depth;
    bool switched = false;
    QObject::connect(&control, &data::DataControl::reposition, [&] {
        depth.enter();
        if (!switched) {
            switched = true;
            control.setRecordSource("SELECT * FROM Members WHERE LastName = 'Clark'");
            control.refresh();
        }
        depth.leave();
    });
    control.refresh();
    EXPECT_EQ(depth.max, 1);  // the second round ran after the first, not inside it
    EXPECT_EQ(control.recordset()->recordCount(), 1);
    EXPECT_EQ(current("LastName"), "Clark");
    EXPECT_EQ(log, (QStringList{"reposition 1", "validate Close", "leave", "reposition 1"}));
}

TEST_F(DataControlTest, AHandlerThatMovesAgainEndsOnItsRowAndBoundBoxesFollow)
{
    data::BoundTextBox lastName(&control, "LastName");  // connected before the handler below
    QObject::connect(&control, &data::DataControl::reposition, [&] {
        if (row() == 1)
            control.moveLast();
    });
    control.refresh();
    EXPECT_EQ(row(), 5);
    EXPECT_EQ(lastName.text(), "Evans");
    EXPECT_EQ(log, (QStringList{"reposition 1", "validate MoveLast", "leave", "reposition 5"}));
}

TEST_F(DataControlTest, AHandlerThatAlwaysRefreshesStillComesToRest)
{
    int repositions = 0;
    QObject::connect(&control, &data::DataControl::reposition, [&] {
        ++repositions;
        control.refresh();
    });
    control.refresh();
    EXPECT_GT(repositions, 1);
    EXPECT_LT(repositions, 100);
    ASSERT_NE(control.recordset(), nullptr);
    EXPECT_EQ(current("LastName"), "Adams");
    // The control is usable afterwards.
    QObject::disconnect(&control, &data::DataControl::reposition, nullptr, nullptr);
    control.moveNext();
    EXPECT_EQ(row(), 2);
}

TEST_F(DataControlTest, ARecordsetReplacedUnderAHandlerStaysReadableUntilTheHandlerReturns)
{
    control.refresh();
    QString readAfterRefresh;
    bool once = false;
    QObject::connect(&control, &data::DataControl::reposition, [&] {
        if (once)
            return;
        once = true;
        dao::Recordset* before = control.recordset();
        control.setRecordSource("SELECT * FROM Members ORDER BY LastName DESC");
        control.refresh();
        EXPECT_NE(control.recordset(), before);
        readAfterRefresh = before->field("LastName").toText();
    });
    control.moveNext();
    EXPECT_EQ(readAfterRefresh, "Brown");
    EXPECT_EQ(current("LastName"), "Evans");
}

TEST_F(DataControlTest, TwoControlsDrivingEachOtherSettle)
{
    // As the donation list does in List View: moving through the second control re-queries the
    // first, whose reposition moves the second once more.
    data::DataControl second;
    second.setDatabase(db);
    second.setRecordSource("SELECT * FROM Members ORDER BY LastName DESC");
    control.refresh();
    second.refresh();
    int firstRounds = 0;
    int secondRounds = 0;
    QObject::connect(&second, &data::DataControl::reposition, [&] {
        ++secondRounds;
        const QString id = second.recordset()->field("MemberID").toText();
        control.setRecordSource("SELECT * FROM Members WHERE MemberID = " + id);
        control.refresh();
    });
    QObject::connect(&control, &data::DataControl::reposition, [&] {
        ++firstRounds;
        if (firstRounds == 1)
            second.moveNext();  // the member's reposition moves the list again, once
    });
    second.moveNext();
    EXPECT_EQ(second.recordset()->field("LastName").toText(), "Clark");
    EXPECT_EQ(current("LastName"), "Clark");
    EXPECT_EQ(secondRounds, 2);
    EXPECT_EQ(firstRounds, 2);
}

TEST_F(DataControlTest, AHandlerThatThrowsLeavesTheControlUsable)
{
    bool fail = true;
    QObject::connect(&control, &data::DataControl::reposition, [&] {
        if (fail)
            throw std::runtime_error("handler failed");
    });
    EXPECT_THROW(control.refresh(), std::runtime_error);
    fail = false;
    log.clear();
    control.moveNext();
    EXPECT_EQ(row(), 2);
    EXPECT_EQ(log, (QStringList{"validate MoveNext", "leave", "reposition 2"}));
}

} // namespace
