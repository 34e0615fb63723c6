// The grid's table model over a data control: formats and headers, rows read lazily and only a
// window of them kept, edits through the before/after handlers, following a changed record set,
// and the view kept in step with the record set's current row and the grid's colours.
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/dao/write_unit.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "platform/jet/db_error.h"
#include "platform/ui/scripted_ui.h"
#include "support/event_wait.h"
#include "support/fixture_db.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QSignalBlocker>
#include <QTableView>
#include <gtest/gtest.h>
#include <cmath>
#include <cstdint>
#include <random>

namespace {

const QString kPaymentsTable = QStringLiteral(
    "CREATE TABLE Payments (PaymentID INTEGER PRIMARY KEY AUTOINCREMENT, PaymentAmount CURRENCY, "
    "CheckNumber INTEGER, Destination TEXT(50) COLLATE JETNOCASE, PaymentDate DATETIME, MemberID INTEGER)");
const QString kGridQuery = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments]");

// Amounts in ten-thousandths, as the file stores money.
QString insertPayment(std::int64_t amountRaw, const QString& check, const QString& dest, const QString& date, int member)
{
    return QStringLiteral("INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                          "VALUES (%1, %2, '%3', %4, %5)")
        .arg(amountRaw)
        .arg(check, dest, date.isEmpty() ? QStringLiteral("NULL") : "'" + date + "'")
        .arg(member);
}

class GridModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture.exec({kPaymentsTable, insertPayment(12345000, "1001", "General", "2001-03-15 00:00:00", 7),
                      insertPayment(5000, "0", "Building", "2001-03-16 10:30:00", 7),
                      insertPayment(250000, "NULL", "Youth", "", 8)});
        db = fixture.open();
        control.setDatabase(db);
        control.setRecordSource(kGridQuery);
        control.refresh();
    }
    void TearDown() override { dao::Engine::instance().defaultWorkspace().close(); }

    QString shown(const data::GridModel& m, int row, int column) const
    {
        return m.data(m.index(row, column)).toString();
    }
    QString stored(int paymentId, const char* field) const
    {
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Payments WHERE PaymentID = %1").arg(paymentId));
        return rs->field(field).toText();
    }
    void addRows(int count)
    {
        fixture.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                    "INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                                    "SELECT i * 10000, i, 'Fund', '2002-01-01 00:00:00', i FROM n")
                         .arg(count));
    }

    quiltest::TempDir dir;
    quiltest::FixtureDatabase fixture{dir.file("payments.qdb")};
    std::shared_ptr<dao::Database> db;
    data::DataControl control;
    ui::ScopedScriptedUi ui;
};

TEST_F(GridModelTest, ColumnsFollowTheFieldListAndShowTheirFormats)
{
    data::GridModel model(&control);
    model.setColumnFormat(1, "$##,##0.00");
    model.setColumnFormat(2, "#######");
    model.setColumnFormat(4, "general date");
    ASSERT_EQ(model.columnCount(), 6);
    ASSERT_EQ(model.rowCount(), 3);
    const char* headers[] = {"PaymentID", "PaymentAmount", "CheckNumber", "Destination", "PaymentDate", "MemberID"};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), headers[c]);

    const struct {
        int row, column;
        const char* text;
    } cells[] = {
        {0, 0, "1"},          {0, 1, "$1,234.50"},           {0, 2, "1001"}, {0, 3, "General"},
        {0, 4, "3/15/2001"},  {0, 5, "7"},                   {1, 1, "$0.50"}, {1, 2, ""},  // "#######" shows no zero
        {1, 4, "3/16/2001 10:30:00 AM"},                     {2, 2, ""},     {2, 4, ""},   // nulls show nothing
    };
    for (const auto& c : cells)
        EXPECT_EQ(shown(model, c.row, c.column), c.text) << c.row << "," << c.column;

    // A column without a format shows the value as stored; changing a format shows at once.
    model.setColumnFormat(1, "");
    EXPECT_EQ(shown(model, 0, 1), "1234.5");
    // Editing starts from the stored value, not from the formatted text.
    model.setColumnFormat(1, "$##,##0.00");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::EditRole).toString(), "1234.5");
    EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(model.data(model.index(0, 3), Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
}

TEST_F(GridModelTest, ALongListIsReadWhereTheViewLooksAndOnlyAWindowIsKept)
{
    addRows(20000);
    control.setRecordSource(kGridQuery + " Order by  PaymentID");
    control.refresh();
    data::GridModel model(&control);
    model.setCacheRows(100);
    ASSERT_EQ(model.rowCount(), 20003);

    // From row 3 on, row r holds the check number r - 2 (the three fixture rows come first).
    std::mt19937 random(7);
    for (int jump = 0; jump < 40; ++jump) {
        const int top = static_cast<int>(random() % 19900) + 3;
        for (int r = top; r < top + 50; ++r)
            ASSERT_EQ(shown(model, r, 2), QString::number(r - 2)) << "row " << r;
        EXPECT_LE(model.cachedRowCount(), 200);
    }
    EXPECT_EQ(shown(model, 20002, 5), "20000");
    EXPECT_TRUE(model.data(model.index(20003, 0)).isNull());
}

TEST_F(GridModelTest, EditsPassTheBeforeHandlerThenAreWrittenThenTheAfterHandlerRuns)
{
    data::GridModel model(&control);
    QStringList log;
    // The handler sees the column, the stored value and the typed text; it makes amounts
    // positive, refuses column 0, and the after handler sees the row already written.
    model.setBeforeColUpdate([&](int column, const vb::Value& oldValue, vb::Value& newValue, bool& cancel) {
        log << QStringLiteral("before %1 %2 -> %3").arg(column).arg(oldValue.toText(), newValue.toText());
        if (column == 0)
            cancel = true;
        if (column == 1)
            newValue = std::abs(newValue.toDouble());
    });
    model.setAfterColUpdate([&](int column) { log << QStringLiteral("after %1 %2").arg(column).arg(stored(1, "PaymentAmount")); });

    EXPECT_TRUE(model.setData(model.index(0, 1), "-25"));
    EXPECT_EQ(stored(1, "PaymentAmount"), "25");
    EXPECT_EQ(shown(model, 0, 1), "25");

    EXPECT_FALSE(model.setData(model.index(0, 0), "99"));
    EXPECT_EQ(stored(1, "PaymentID"), "1");
    EXPECT_EQ(log, (QStringList{"before 1 1234.5 -> -25", "after 1 25", "before 0 1 -> 99"}));

    // What the engine refuses goes to the error handler; the row keeps its value and the
    // after handler does not run.
    log.clear();
    std::vector<int> errors;
    model.setWriteError([&](const jet::DbError& e) { errors.push_back(e.number()); });
    EXPECT_FALSE(model.setData(model.index(1, 4), "not a date"));
    EXPECT_FALSE(model.setData(model.index(1, 3), QString(51, u'x')));
    EXPECT_EQ(errors, (std::vector<int>{3421, 3163}));
    EXPECT_EQ(stored(2, "PaymentDate"), "3/16/2001 10:30:00 AM");
    EXPECT_EQ(stored(2, "Destination"), "Building");
    EXPECT_EQ(log, (QStringList{"before 4 3/16/2001 10:30:00 AM -> not a date", "before 3 Building -> " + QString(51, u'x')}));
    EXPECT_EQ(control.recordset()->editMode(), dao::Recordset::EditMode::None);

    // Without an error handler the refusal is shown, after a beep.
    model.setWriteError({});
    EXPECT_FALSE(model.setData(model.index(1, 4), "2/30/2001"));
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages()[0].prompt, "Data type conversion error.");
    EXPECT_EQ(ui->beepCount(), 1);
}

TEST_F(GridModelTest, AnAfterHandlerThatRerunsTheQueryLeavesTheGridOnTheNewRows)
{
    data::GridModel model(&control);
    model.setAfterColUpdate([&](int) { control.refresh(); });
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    EXPECT_TRUE(model.setData(model.index(2, 3), "Music"));
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(shown(model, 2, 3), "Music");
}

TEST_F(GridModelTest, TheGridFollowsChangesOfItsRecordset)
{
    data::GridModel model(&control);
    int resets = 0, inserts = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    ASSERT_EQ(shown(model, 0, 3), "General");

    // Another query: a reset with the new rows.
    control.setRecordSource(kGridQuery + " WHERE [MemberID]= 7 Order by  PaymentAmount");
    control.refresh();
    EXPECT_EQ(resets, 1);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(shown(model, 0, 3), "Building");

    // A row added through the set joins the end of the grid.
    dao::Recordset* rs = control.recordset();
    rs->addNew();
    rs->setField("PaymentAmount", vb::Value(QStringLiteral("9")));
    rs->setField("MemberID", vb::Value(7));
    rs->update();
    model.sync();
    EXPECT_EQ(inserts, 1);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(shown(model, 2, 1), "9");

    // A row deleted through the set disappears; the rows after it move up.
    rs->setAbsolutePosition(0);
    rs->deleteCurrent();
    control.notifyReposition();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(shown(model, 0, 3), "General");
    EXPECT_EQ(shown(model, 1, 1), "9");
    EXPECT_EQ(model.positionOfRow(0), 1);
    EXPECT_EQ(model.rowOfPosition(0), -1);
    EXPECT_EQ(model.rowOfPosition(2), 1);

    // A write elsewhere shows without a new query.
    db->execute("UPDATE Payments SET Destination = 'Roof' WHERE PaymentID = 1");
    EXPECT_EQ(shown(model, 0, 3), "Roof");
    // A row deleted elsewhere shows as deleted until the query runs again.
    db->execute("DELETE FROM Payments WHERE PaymentID = 1");
    EXPECT_EQ(shown(model, 0, 3), "#Deleted");
    EXPECT_FALSE(model.setData(model.index(0, 3), "Anything"));

    // No record set: an empty grid.
    control.setRecordset(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
}

TEST_F(GridModelTest, ANewRecordsetIsNotTakenForTheOneItReplaced)
{
    // Each round frees the shown set before the next is opened, so the allocator may well place
    // the new set where the old one stood. The grid does not hear of the detach, only of the new
    // set: it must still read the new set's shape and rows.
    data::GridModel model(&control);
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    const QString narrow = QStringLiteral("select [PaymentID],[Destination] from [Payments]");
    int sameAddress = 0;
    for (int round = 1; round <= 4; ++round) {
        const bool wide = round % 2 == 0;
        const auto before = reinterpret_cast<std::uintptr_t>(control.recordset());
        {
            const QSignalBlocker quiet(&control);
            control.setRecordset(nullptr);
        }
        control.setRecordSource(wide ? kGridQuery : narrow);
        control.refresh();
        sameAddress += reinterpret_cast<std::uintptr_t>(control.recordset()) == before;
        EXPECT_EQ(resets, round);
        ASSERT_EQ(model.columnCount(), wide ? 6 : 2) << "round " << round;
        EXPECT_EQ(shown(model, 0, 1), wide ? "1234.5" : "General") << "round " << round;
        EXPECT_EQ(model.recordset(), control.recordset());
    }
    RecordProperty("RoundsAtTheSameAddress", sameAddress);

    // A before-update handler that shows another query instead: the edit was judged for the old
    // set and is dropped, even if the new set stands where the old one did.
    model.setBeforeColUpdate([&](int, const vb::Value&, vb::Value&, bool&) {
        control.setRecordset(nullptr);
        control.setRecordSource(kGridQuery + " WHERE [MemberID]= 8");
        control.refresh();
    });
    EXPECT_FALSE(model.setData(model.index(0, 3), "Roof"));
    EXPECT_EQ(stored(1, "Destination"), "General");
    EXPECT_EQ(stored(3, "Destination"), "Youth");
    EXPECT_EQ(model.rowCount(), 1);
}

TEST_F(GridModelTest, AGridNotShownHoldsNoRows)
{
    data::GridModel model(&control);
    model.setShown(false);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.recordset(), nullptr);
    control.refresh();
    EXPECT_EQ(model.rowCount(), 0);
    model.setShown(true);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(shown(model, 2, 3), "Youth");
}

TEST_F(GridModelTest, TheViewKeepsTheRecordsetsCurrentRowBothWaysAndTheGridsColours)
{
    QTableView view;
    view.show();
    data::GridModel model(&control);
    data::bindGrid(&view, &model);
    int repositions = 0;
    QObject::connect(&control, &data::DataControl::reposition, [&] { ++repositions; });

    control.moveLast();
    EXPECT_EQ(view.currentIndex().row(), 2);
    EXPECT_EQ(repositions, 1);  // following the set raises nothing more

    view.setCurrentIndex(model.index(1, 3));
    EXPECT_EQ(control.recordset()->absolutePosition(), 1);
    EXPECT_EQ(repositions, 2);
    view.setCurrentIndex(model.index(1, 4));  // same row, another column: no move
    EXPECT_EQ(repositions, 2);

    model.setBackColor(Qt::blue);
    model.setForeColor(Qt::blue);
    EXPECT_EQ(view.palette().color(QPalette::Base), QColor(Qt::blue));
    EXPECT_EQ(view.palette().color(QPalette::Text), QColor(Qt::blue));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::blue));
    model.setBackColor({});
    EXPECT_EQ(view.palette().color(QPalette::Base), QApplication::palette(&view).color(QPalette::Base));

    // The view's own visibility decides whether rows are read, window shown or not.
    view.hide();
    EXPECT_EQ(model.rowCount(), 0);
    view.show();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(view.currentIndex().row(), 1);
}

} // namespace

namespace {

// The text the grid's editor opens with, as a view's delegate reads it.
QString editText(const data::GridModel& m, int row, int column)
{
    return m.data(m.index(row, column), Qt::EditRole).toString();
}

} // namespace

// Each column, with its cell left as the editor opened it, then changed, then changed into what
// the handler refuses: only a changed cell meets the handlers and the file.
TEST_F(GridModelTest, ACellLeftAsTheEditorOpenedItIsNeitherJudgedNorWritten)
{
    data::GridModel model(&control);
    QStringList log;
    model.setBeforeColUpdate([&](int column, const vb::Value&, vb::Value& newValue, bool& cancel) {
        log << QStringLiteral("before %1").arg(column);
        cancel = column == 0 || newValue.toText() == u"refused";
    });
    model.setAfterColUpdate([&](int column) { log << QStringLiteral("after %1").arg(column); });
    const struct {
        int column;
        const char* field;
        const char* changed;
    } columns[] = {{0, "PaymentID", "99"},      {1, "PaymentAmount", "77"}, {2, "CheckNumber", "55"},
                   {3, "Destination", "Roof"},  {4, "PaymentDate", "4/1/2001"}, {5, "MemberID", "9"}};
    for (const auto& c : columns) {
        SCOPED_TRACE(c.field);
        const QString before = stored(2, c.field);
        const std::uint64_t generation = db->writeGeneration();
        log.clear();
        // Unchanged: false (nothing set), no handler, no write.
        EXPECT_FALSE(model.setData(model.index(1, c.column), editText(model, 1, c.column)));
        EXPECT_TRUE(log.isEmpty()) << log.join(u", ").toStdString();
        EXPECT_EQ(db->writeGeneration(), generation);
        EXPECT_EQ(stored(2, c.field), before);
        // Refused by the handler: judged, not written.
        EXPECT_FALSE(model.setData(model.index(1, c.column), "refused"));
        EXPECT_EQ(stored(2, c.field), before);
        // Changed: judged, written (except the column the handler refuses), then the after handler.
        log.clear();
        const bool written = model.setData(model.index(1, c.column), c.changed);
        EXPECT_EQ(written, c.column != 0);
        EXPECT_EQ(log.size(), written ? 2 : 1);
        if (written) {
            EXPECT_NE(stored(2, c.field), before);
        }
    }
}

// Whatever wrote to the file, the grid reads its rows again once the event loop turns, without
// anyone telling it: a value changed elsewhere, a row added through its set inside a command's
// unit, and that row taken off again when the unit rolls back.
TEST_F(GridModelTest, TheGridReadsAgainAfterEveryWriteWithoutBeingTold)
{
    data::GridModel model(&control);
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(shown(model, 0, 3), "General");
    int changes = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changes; });

    db->execute("UPDATE Payments SET Destination = 'Roof' WHERE PaymentID = 1");
    ASSERT_TRUE(quiltest::runEventsUntil([&] { return changes > 0; }));
    EXPECT_EQ(shown(model, 0, 3), "Roof");

    dao::Recordset* rs = control.recordset();
    {
        dao::WriteUnit unit(*db);
        rs->addNew();
        rs->setField("PaymentAmount", vb::Value(QStringLiteral("9")));
        rs->setField("MemberID", vb::Value(7));
        rs->update();
        unit.commit();
    }
    ASSERT_TRUE(quiltest::runEventsUntil([&] { return model.rowCount() == 4; }));
    EXPECT_EQ(shown(model, 3, 1), "9");

    {
        dao::WriteUnit unit(*db);
        rs->addNew();
        rs->setField("PaymentAmount", vb::Value(QStringLiteral("8")));
        rs->setField("MemberID", vb::Value(7));
        rs->update();
        ASSERT_TRUE(quiltest::runEventsUntil([&] { return model.rowCount() == 5; }));
    }  // rolled back
    ASSERT_TRUE(quiltest::runEventsUntil([&] { return model.rowCount() == 4; }));
    EXPECT_EQ(rs->recordCount(), 4);
    EXPECT_EQ(db->openRecordset("SELECT * FROM Payments")->recordCount(), 4);
}
