#include "data_fixture.h"

#include "platform/jet/db_error.h"
#include "platform/ui/scripted_ui.h"

#include <QLabel>
#include <QToolButton>

namespace {

using datatest::DataControlTest;

TEST_F(DataControlTest, RefreshOpensTheSourceOnTheFirstRowAndRaisesReposition)
{
    control.refresh();
    ASSERT_NE(control.recordset(), nullptr);
    EXPECT_EQ(control.recordset()->recordCount(), 5);
    EXPECT_EQ(current("LastName"), "Adams");
    EXPECT_EQ(log, QStringList{"reposition 1"});

    // A second refresh closes the first set (validate Close) and opens the new source.
    control.setRecordSource("SELECT * FROM Members WHERE LastName Like 'd*' OR LastName Like 'e*' ORDER BY LastName DESC");
    log.clear();
    control.refresh();
    EXPECT_EQ(control.recordset()->recordCount(), 2);
    EXPECT_EQ(current("LastName"), "Evans");
    EXPECT_EQ(log, (QStringList{"validate Close", "leave", "reposition 1"}));
}

TEST_F(DataControlTest, RefreshOfAnEmptyResultLeavesNoCurrentRow)
{
    control.setRecordSource("SELECT * FROM Members WHERE LastName = 'Nobody'");
    control.refresh();
    ASSERT_NE(control.recordset(), nullptr);
    EXPECT_TRUE(control.recordset()->isBOF());
    EXPECT_TRUE(control.recordset()->isEOF());
    EXPECT_EQ(log, QStringList{"reposition 0"});
    // The navigator on an empty set moves nowhere and breaks nothing.
    control.moveNext();
    control.moveLast();
    EXPECT_EQ(row(), 0);
}

TEST_F(DataControlTest, NavigatorMovesStopAtTheEndsLikeTheClassicControl)
{
    control.refresh();
    const struct {
        void (data::DataControl::*move)();
        int expectedRow;
    } steps[] = {
        {&data::DataControl::movePrevious, 1}, {&data::DataControl::moveNext, 2}, {&data::DataControl::moveLast, 5},
        {&data::DataControl::moveNext, 5},     {&data::DataControl::moveNext, 5}, {&data::DataControl::movePrevious, 4},
        {&data::DataControl::moveFirst, 1},    {&data::DataControl::movePrevious, 1},
    };
    int i = 0;
    for (const auto& s : steps) {
        (control.*s.move)();
        EXPECT_EQ(row(), s.expectedRow) << "step " << i;
        EXPECT_FALSE(control.recordset()->isBOF() || control.recordset()->isEOF()) << "step " << i;
        ++i;
    }
}

TEST_F(DataControlTest, AMoveIsValidateThenLeaveThenMoveThenReposition)
{
    control.refresh();
    log.clear();
    control.moveNext();
    control.moveLast();
    EXPECT_EQ(log, (QStringList{"validate MoveNext", "leave", "reposition 2", "validate MoveLast", "leave", "reposition 5"}));
}

TEST_F(DataControlTest, CancellingValidateStopsTheAction)
{
    control.refresh();
    const struct {
        data::Action action;
        void (data::DataControl::*run)();
    } cases[] = {
        {data::Action::MoveNext, &data::DataControl::moveNext},
        {data::Action::MoveLast, &data::DataControl::moveLast},
        {data::Action::Close, &data::DataControl::refresh},
    };
    for (const auto& c : cases) {
        control.moveFirst();
        control.moveNext();  // row 2, so that every move would change the row
        dao::Recordset* before = control.recordset();
        cancelAction = c.action;
        log.clear();
        (control.*c.run)();
        EXPECT_EQ(row(), 2) << datatest::actionName(c.action).toStdString();
        EXPECT_EQ(control.recordset(), before);
        EXPECT_EQ(log, QStringList{"validate " + datatest::actionName(c.action)});
        cancelAction.reset();
    }
}

TEST_F(DataControlTest, RowsChangedThroughTheRecordsetAreAnnouncedOnRequest)
{
    control.refresh();
    log.clear();
    control.recordset()->moveLast();
    control.recordset()->moveNext();  // after the last row: no current row
    control.notifyReposition();
    EXPECT_EQ(log, QStringList{"reposition 0"});
}

TEST_F(DataControlTest, EngineErrorsGoToTheErrorEventAndAreRethrownUnlessContinued)
{
    control.refresh();
    dao::Recordset* good = control.recordset();
    control.setRecordSource("SELECT * FROM NoSuchTable");
    log.clear();
    try {
        control.refresh();
        ADD_FAILURE() << "a bad record source must throw without a handler answering continue";
    } catch (const jet::DbError& e) {
        EXPECT_EQ(log, (QStringList{"validate Close", "leave", "error " + QString::number(e.number())}));
    }
    EXPECT_EQ(control.recordset(), good);  // what the control showed is still there

    continueOnError = true;
    log.clear();
    EXPECT_NO_THROW(control.refresh());
    ASSERT_EQ(log.size(), 3);
    EXPECT_TRUE(log[2].startsWith("error ")) << log.join(", ").toStdString();
    EXPECT_EQ(control.recordset(), good);
    EXPECT_EQ(current("LastName"), "Adams");
}

TEST_F(DataControlTest, AttachedAndDetachedRecordsetsRaiseReposition)
{
    auto rs = db->openRecordset("SELECT * FROM Members ORDER BY LastName DESC");
    rs->moveNext();
    control.setRecordset(std::move(rs));
    EXPECT_EQ(current("LastName"), "Dunn");
    control.setRecordset(nullptr);
    EXPECT_EQ(control.recordset(), nullptr);
    EXPECT_EQ(log, (QStringList{"reposition 2", "leave", "reposition 0"}));
    // Without a record set the moves and the write are quiet no-ops.
    control.moveNext();
    control.updateRecord();
    EXPECT_EQ(log.size(), 3);
}

TEST_F(DataControlTest, RefreshWithoutADatabaseDetaches)
{
    control.refresh();
    control.setDatabase(nullptr);
    log.clear();
    control.refresh();
    EXPECT_EQ(control.recordset(), nullptr);
    EXPECT_EQ(log, (QStringList{"validate Close", "leave", "reposition 0"}));
}

TEST_F(DataControlTest, NavigatorBarNamesItsPartsAfterTheControlAndShowsTheCaption)
{
    control.refresh();
    control.setCaption("Record: 1");
    EXPECT_EQ(control.caption(), "Record: 1");
    EXPECT_EQ(ui::child<QLabel>(control, "datPrimaryRS_caption").text(), "Record: 1");

    const struct {
        const char* button;
        int expectedRow;
    } clicks[] = {{"datPrimaryRS_next", 2}, {"datPrimaryRS_last", 5}, {"datPrimaryRS_previous", 4}, {"datPrimaryRS_first", 1}};
    for (const auto& c : clicks) {
        ui::click(control, c.button);
        EXPECT_EQ(row(), c.expectedRow) << c.button;
    }

    control.setObjectName("Data1");
    EXPECT_NO_THROW(ui::child<QToolButton>(control, "Data1_next"));
    EXPECT_THROW(ui::child<QToolButton>(control, "datPrimaryRS_next"), std::logic_error);
}

TEST_F(DataControlTest, ARefusedWriteFromAClickIsShownOrDroppedWhenContinued)
{
    ui::ScopedScriptedUi scripted;
    control.refresh();
    // A bound control writes a first name longer than its 50 characters.
    QObject::connect(&control, &data::DataControl::aboutToLeaveRow,
                     [this] { control.writeField("FirstName", QString(60, QChar(u'x'))); });

    log.clear();
    ASSERT_NO_THROW(ui::click(control, "datPrimaryRS_next"));
    EXPECT_EQ(row(), 1);  // the move did not happen
    EXPECT_EQ(log, (QStringList{"validate MoveNext", "leave", QStringLiteral("error %1").arg(jet::err::FieldTooSmall)}));
    ASSERT_EQ(scripted->messages().size(), 1u);
    EXPECT_EQ(scripted->messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(scripted->messages()[0].prompt.contains("too small")) << scripted->messages()[0].prompt.toStdString();

    continueOnError = true;
    ASSERT_NO_THROW(ui::click(control, "datPrimaryRS_next"));
    EXPECT_EQ(row(), 2);  // the refused edit was dropped and the move went on
    EXPECT_EQ(scripted->messages().size(), 1u);
    EXPECT_EQ(control.recordset()->editMode(), dao::Recordset::EditMode::None);
    EXPECT_EQ(stored(1, "FirstName"), "Ann");
}

} // namespace
