// Editing donations in the grid through the real window: what each column accepts, refuses and
// says, what an accepted edit does to the list and the totals, an edit through the grid's own
// cell editor, and a click on the grid's empty area.
#include "grid_fixture.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolBar>

namespace {

using gridtest::GridTest;

// Member 2's donations in date order: P5 $7.25 #300 Music, P2 $1,234.50 #555 Building,
// P1 $25.00 #101 General.
TEST_F(GridTest, EachColumnKeepsItsRulesAndARefusedEditKeepsTheOldValue)
{
    frmMain& f = executive();
    goToMember(f, 2);
    const QString longText(51, u'x');
    const struct {
        int payment;
        int column;
        QString typed;
        const char* field;
        QString stored;       // afterwards, as the program reads it
        QStringList trace;    // beeps and messages, in order
    } edits[] = {
        {1, 0, "99", "PaymentID", "1", {"beep", "message: You Cannot Edit This Column."}},
        {5, 1, "-25", "PaymentAmount", "25", {}},
        {5, 1, "abc", "PaymentAmount", "25", {}},
        {5, 1, "($3.50)", "PaymentAmount", "3.5", {}},
        {2, 2, "-12", "CheckNumber", "12", {}},
        {2, 2, "12abc", "CheckNumber", "12", {}},
        {1, 5, "abc", "MemberID", "2", {"beep", "message: The Member ID must be the number of a member."}},
        {1, 5, "3' OR '1'='1", "MemberID", "2", {"beep", "message: The Member ID must be the number of a member."}},
        {1, 5, "999", "MemberID", "2", {"beep"}},
        {1, 5, "2.5", "MemberID", "2", {"beep"}},
        {1, 5, "0", "MemberID", "2", {"beep", "message: MemberID must be from 1 to 2,147,483,647"}},
        {1, 3, "O'Neil Fund", "Destination", "O'Neil Fund", {}},
        {1, 3, longText, "Destination", "O'Neil Fund",
         {"beep", "message: The field is too small to accept the amount of data you attempted to add. Try inserting or "
                  "pasting less data."}},
        {1, 4, "abc", "PaymentDate", "3/15/2001", {"beep", "message: Data type conversion error."}},
        {1, 4, "2/29/2001", "PaymentDate", "3/15/2001", {"beep", "message: Data type conversion error."}},
        {1, 4, "7/4/2001 9:15", "PaymentDate", "7/4/2001 9:15:00 AM", {}},
    };
    for (const auto& e : edits) {
        ui().clearLog();
        const int row = rowOf(f, e.payment);
        ASSERT_GE(row, 0) << e.payment;
        grid(f).setData(grid(f).index(row, e.column), e.typed);
        const std::string what = QStringLiteral("column %1 typed %2").arg(e.column).arg(e.typed).toStdString();
        EXPECT_EQ(stored(f, e.payment, e.field), e.stored) << what;
        EXPECT_EQ(ui().trace(), e.trace) << what;
        EXPECT_EQ(f.datSecondaryRS->recordset()->editMode(), dao::Recordset::EditMode::None) << what;
        for (const ui::Message& m : ui().messages())
            EXPECT_EQ(m.icon, ui::Icon::Critical) << what;
    }
    // Every refused member number left the donations with their member.
    EXPECT_EQ(gridIds(f), "5 2 1");
}

TEST_F(GridTest, AnAcceptedEditRerunsTheListAndTheTotals)
{
    frmMain& f = executive();
    goToMember(f, 2);
    EXPECT_EQ(summary(f), "$1,266.75|3| PaymentDate");
    dao::Recordset* before = f.datSecondaryRS->recordset();

    grid(f).setData(grid(f).index(rowOf(f, 5), 1), "-25");
    EXPECT_NE(f.datSecondaryRS->recordset(), before) << "the list was run again";
    EXPECT_EQ(summary(f), "$1,284.50|3| PaymentDate");
    EXPECT_EQ(cell(f, rowOf(f, 5), 1), "$25.00");

    // A new date moves the donation in the date order.
    grid(f).setData(grid(f).index(rowOf(f, 5), 4), "1/1/2003");
    EXPECT_EQ(gridIds(f), "2 1 5");

    // The number of an existing member moves the donation to that member.
    grid(f).setData(grid(f).index(rowOf(f, 1), 5), "3");
    EXPECT_EQ(stored(f, 1, "MemberID"), "3");
    EXPECT_EQ(gridIds(f), "2 5");
    EXPECT_EQ(summary(f), "$1,259.50|2| PaymentDate");
    goToMember(f, 3);
    EXPECT_EQ(gridIds(f), "4 1 3");
    EXPECT_EQ(summary(f), "$535.00|3| PaymentDate");
    EXPECT_TRUE(ui().messages().empty());
    EXPECT_EQ(ui().beepCount(), 0);
}

TEST_F(GridTest, AnEditCommittedFromTheCellEditorIsWrittenAndTheEditorGoes)
{
    frmMain& f = executive();
    goToMember(f, 2);
    QTableView* view = f.grdDataGrid;
    const QModelIndex amount = grid(f).index(rowOf(f, 2), 1);
    view->setCurrentIndex(amount);
    view->edit(amount);
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "1234.5") << "editing starts from the stored value";
    editor->setText("-40");
    // What the delegate does when Enter is pressed in the editor.
    QAbstractItemDelegate* delegate = view->itemDelegate();
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(stored(f, 2, "PaymentAmount"), "40");
    EXPECT_EQ(summary(f), "$72.25|3| PaymentDate");
    EXPECT_EQ(view->viewport()->findChild<QLineEdit*>(), nullptr);
}

TEST_F(GridTest, AClickOnTheGridsEmptyAreaGivesTheMenusAndTheMemberFieldsBack)
{
    frmMain& f = executive();
    goToMember(f, 2);
    QTableView* view = f.grdDataGrid;
    const auto press = [&](QPoint at) {
        QMouseEvent event(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    };
    const auto menusOn = [&] {
        bool on = true;
        for (QAction* menu : {f.mnuFile, f.mnuEdit, f.mnuView, f.mnuData, f.mnuFilter, f.mnuHelpAbout})
            on = on && menu->isEnabled();
        return on;
    };

    f.grdDataGrid_GotFocus();
    ASSERT_TRUE(f.tbToolBar->isHidden());
    ASSERT_FALSE(menusOn());
    press(view->visualRect(grid(f).index(1, 2)).center());  // on a cell: the grid keeps the focus
    EXPECT_TRUE(f.tbToolBar->isHidden());
    EXPECT_FALSE(menusOn());

    const QRect last = view->visualRect(grid(f).index(2, 0));
    press(QPoint(last.center().x(), last.bottom() + 4));  // below the last row
    EXPECT_FALSE(f.tbToolBar->isHidden());
    EXPECT_TRUE(menusOn());
    EXPECT_EQ(f.focusWidget(), f.txtFields[0]);

    // Right of the last column counts as well.
    f.grdDataGrid_GotFocus();
    const int right = view->columnViewportPosition(5) + view->columnWidth(5) + 4;
    quiltest::recordsOf(f).grdDataGrid_MouseClickOutside(right, last.center().y());
    EXPECT_FALSE(f.tbToolBar->isHidden());
    EXPECT_TRUE(menusOn());
}

} // namespace
