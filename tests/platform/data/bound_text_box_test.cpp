#include "data_fixture.h"

#include "platform/data/bound_text_box.h"

namespace {

using datatest::DataControlTest;

TEST_F(DataControlTest, BoundBoxesShowTheCurrentRowAndNothingWithoutOne)
{
    data::BoundTextBox first(&control, "FirstName");
    data::BoundTextBox id(&control, "memberid");  // field names ignore letter case
    data::BoundTextBox unbound;
    EXPECT_EQ(first.text(), "");  // no record set yet

    control.refresh();
    EXPECT_EQ(first.text(), "Ann");
    EXPECT_EQ(id.text(), "1");
    control.moveLast();
    EXPECT_EQ(first.text(), "Ed");
    EXPECT_EQ(id.text(), "5");

    control.recordset()->moveNext();  // after the last row
    control.notifyReposition();
    EXPECT_EQ(first.text(), "");
    control.moveFirst();
    EXPECT_EQ(first.text(), "Ann");
    control.setRecordset(nullptr);
    EXPECT_EQ(first.text(), "");
    EXPECT_EQ(unbound.text(), "");
    EXPECT_EQ(first.dataField(), "FirstName");
    EXPECT_EQ(first.dataSource(), &control);
}

TEST_F(DataControlTest, ChangedBoxesWriteTheirRowOnceWhenTheRowIsLeft)
{
    data::BoundTextBox first(&control, "FirstName");
    data::BoundTextBox address(&control, "Address");
    data::BoundTextBox city(&control, "City");
    control.refresh();

    // Leaving an unchanged row writes nothing.
    auto generation = db->writeGeneration();
    control.moveNext();
    control.movePrevious();
    EXPECT_EQ(db->writeGeneration(), generation);

    first.setText("Anne-Marie O'Hara");
    address.setText("");
    EXPECT_TRUE(first.dataChanged());
    EXPECT_FALSE(city.dataChanged());
    control.moveNext();
    EXPECT_EQ(db->writeGeneration(), generation + 1);  // one row write for both boxes
    EXPECT_EQ(first.text(), "Bob");
    EXPECT_EQ(stored(1, "FirstName"), "Anne-Marie O'Hara");
    EXPECT_EQ(stored(1, "Address"), "");  // an emptied text field holds "", not null
    EXPECT_EQ(stored(1, "City"), "<null>");  // untouched: still null
    EXPECT_EQ(stored(2, "FirstName"), "Bob");

    control.movePrevious();
    EXPECT_EQ(first.text(), "Anne-Marie O'Hara");
    EXPECT_FALSE(first.dataChanged());
}

TEST_F(DataControlTest, UpdateRecordWritesWithoutMovingAndRefreshKeepsTheEdit)
{
    data::BoundTextBox last(&control, "LastName");
    control.refresh();
    last.setText("Ádams-Ñúñez");
    control.updateRecord();
    EXPECT_EQ(row(), 1);
    EXPECT_EQ(stored(1, "LastName"), "Ádams-Ñúñez");
    EXPECT_FALSE(last.dataChanged());

    last.setText("Zed");
    control.refresh();
    EXPECT_EQ(stored(1, "LastName"), "Zed");
    EXPECT_EQ(last.text(), "Zed");
}

TEST_F(DataControlTest, NumberDateAndMoneyFieldsTakeTextsAndEmptyMeansNothing)
{
    fixture.exec({"CREATE TABLE Payments (PaymentID INTEGER PRIMARY KEY AUTOINCREMENT, PaymentAmount CURRENCY, "
                  "CheckNumber INTEGER, PaymentDate DATETIME, MemberID INTEGER)",
                  "INSERT INTO Payments (PaymentAmount, CheckNumber, PaymentDate, MemberID) "
                  "VALUES (250000, 101, '2003-04-05 00:00:00', 1)"});
    db->reloadCatalog();
    const struct {
        const char* field;
        const char* typed;
        const char* shownAfter;
    } cases[] = {
        {"CheckNumber", "", ""},
        {"CheckNumber", "4711", "4711"},
        {"PaymentAmount", "12.5", "12.5"},
        {"PaymentAmount", "", ""},
        {"PaymentDate", "", ""},
    };
    for (const auto& c : cases) {
        control.setRecordSource("Payments");
        data::BoundTextBox box(&control, c.field);
        control.refresh();
        box.setText(c.typed);
        control.updateRecord();
        control.refresh();
        EXPECT_EQ(box.text(), c.shownAfter) << c.field << " <- '" << c.typed << "'";
        if (QString(c.typed).isEmpty()) {
            EXPECT_TRUE(control.recordset()->field(c.field).isNull()) << c.field;
        }
    }
}

TEST_F(DataControlTest, ANewRowStartedByTheProgramIsFilledFromTheBoxes)
{
    data::BoundTextBox first(&control, "FirstName");
    data::BoundTextBox last(&control, "LastName");
    control.setRecordSource("SELECT * FROM Members WHERE MemberID = 0");
    control.refresh();
    control.recordset()->addNew();
    control.notifyReposition();
    EXPECT_EQ(first.text(), "");

    // Leaving the untouched new row adds nothing.
    control.updateRecord();
    EXPECT_EQ(db->openRecordset("Members")->recordCount(), 5);

    first.setText("Fay");
    last.setText("Frost");
    control.updateRecord();
    auto members = db->openRecordset("SELECT * FROM Members WHERE LastName = 'Frost'");
    ASSERT_EQ(members->recordCount(), 1);
    EXPECT_EQ(members->field("FirstName").toText(), "Fay");
    EXPECT_EQ(members->field("MemberID").toText(), "6");
}

TEST_F(DataControlTest, LimitsAndTheMultiLineNotesBox)
{
    fixture.exec("UPDATE Members SET Notes = 'line one' || char(10) || 'line two' WHERE MemberID = 1");
    data::BoundTextBox first(&control, "FirstName");
    first.setMaxLength(50);
    data::BoundMemoBox notes(&control, "Notes");
    control.refresh();
    EXPECT_EQ(notes.toPlainText(), "line one\nline two");

    first.setText(QString(80, QChar(u'x')));
    EXPECT_EQ(first.text().size(), 50);
    notes.setMaxLength(12);
    EXPECT_EQ(notes.toPlainText(), "line one\nlin");
    notes.setMaxLength(0);
    notes.setPlainText(QStringLiteral("Pays by check\nprefers mail ✉"));
    control.moveNext();
    EXPECT_EQ(stored(1, "Notes"), "Pays by check\nprefers mail ✉");
    EXPECT_EQ(stored(1, "FirstName"), QString(50, QChar(u'x')));
    EXPECT_EQ(notes.toPlainText(), "");  // Bob has no notes
}

TEST_F(DataControlTest, RebindingLeavesTheFormerSourceAlone)
{
    data::DataControl other;
    other.setDatabase(db);
    other.setRecordSource("SELECT * FROM Members ORDER BY LastName DESC");
    other.refresh();
    control.refresh();
    data::BoundTextBox box(&control, "LastName");
    box.bind(&other, "LastName");
    EXPECT_EQ(box.text(), "Evans");
    box.setText("Changed");
    control.moveNext();  // the former source: nothing written, nothing shown
    EXPECT_EQ(box.text(), "Changed");
    other.moveNext();
    EXPECT_EQ(stored(5, "LastName"), "Changed");
    EXPECT_EQ(box.text(), "Dunn");

    box.bind(nullptr, QString());
    EXPECT_EQ(box.text(), "");
}

TEST_F(DataControlTest, ARowDeletedMeanwhileShowsEmpty)
{
    data::BoundTextBox first(&control, "FirstName");
    control.refresh();
    db->openRecordset("SELECT * FROM Members WHERE MemberID = 1")->deleteCurrent();
    control.notifyReposition();
    EXPECT_EQ(first.text(), "");
    control.moveNext();
    EXPECT_EQ(first.text(), "Bob");
}

} // namespace
