// Add Donations from the keyboard alone: every key goes to whichever control has the focus, as a
// user's keystrokes do. Enter presses OK from the boxes, a focused button takes Enter itself, the
// split-check lines still run line by line, and the whole road from the rapid search works
// without the mouse.
#include "entry_fixture.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

using entrytest::EntryTest;

// One keystroke: a key (Tab, Enter, Escape, ...), a text typed one character at a time, or Tab
// pressed until the named control has the focus.
struct Key {
    Qt::Key key = Qt::Key_unknown;
    QString text;
    QString tabTo;
};

Key typed(const char* text) { return {Qt::Key_unknown, QString::fromUtf8(text), {}}; }
Key tabTo(const char* control) { return {Qt::Key_Tab, {}, QString::fromLatin1(control)}; }
const Key Tab{Qt::Key_Tab, {}, {}};
const Key Enter{Qt::Key_Return, {}, {}};
const Key KeypadEnter{Qt::Key_Enter, {}, {}};
const Key Escape{Qt::Key_Escape, {}, {}};

class KeysTest : public EntryTest {
protected:
    void SetUp() override
    {
        EntryTest::SetUp();
        member = addMembers({{"John", "Smith", "12 Oak St"}}).at(0);
    }

    static void send(QWidget* to, Qt::Key key, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(to, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(to, &release);
    }

    // Delivers the keys to the dialog's focus widget, one after the other; stops when the dialog
    // has closed.
    static void keys(QDialog& d, const std::vector<Key>& strokes)
    {
        for (const Key& k : strokes) {
            if (!d.isVisible())
                return;
            QWidget* focus = d.focusWidget();
            ASSERT_NE(focus, nullptr) << "no control of the dialog has the focus";
            if (!k.tabTo.isEmpty()) {
                for (int i = 0; i < 20 && focusName(d) != k.tabTo; ++i)
                    send(d.focusWidget(), Qt::Key_Tab, {});
                ASSERT_EQ(focusName(d), k.tabTo);
                continue;
            }
            if (k.key != Qt::Key_unknown) {
                send(focus, k.key, {});
                continue;
            }
            for (QChar c : k.text)
                send(d.focusWidget(), Qt::Key_unknown, QString(c));
        }
    }

    static QString focusName(QDialog& d)
    {
        QWidget* w = d.focusWidget();
        // The destination box's line edit stands for the box.
        while (w && w->objectName().isEmpty())
            w = w->parentWidget();
        return w ? w->objectName() : QString();
    }

    std::int64_t member = 0;
};

// What a row of keystrokes leaves: the dialog open or closed, the rows written, the messages.
struct KeysCase {
    const char* name;
    std::vector<Key> strokes;
    bool stillOpen;
    std::vector<entrytest::Payment> written;  // member filled in by the test
    QStringList messages;
};

TEST_F(KeysTest, EnterPressesOkFromTheBoxesAndAFocusedButtonTakesItItself)
{
    const QString date = QStringLiteral("2004-06-01 00:00:00");
    const std::vector<KeysCase> cases = {
        {"amount, Tab past Check #, destination, Enter",
         {typed("25"), Tab, Tab, typed("Roof"), Enter}, false, {{"25", 0, "Roof", date, 0}}, {}},
        {"with a check number",
         {typed("40.5"), Tab, typed("118"), Tab, typed("Bells"), Enter}, false, {{"40.5", 118, "Bells", date, 0}}, {}},
        {"the keypad's Enter",
         {typed("7"), Tab, Tab, typed("Roof"), KeypadEnter}, false, {{"7", 0, "Roof", date, 0}}, {}},
        {"a destination of the list, typed",
         {typed("10"), Tab, Tab, typed("General Fund"), Enter}, false, {{"10", 0, "General Fund", date, 0}}, {}},
        {"Enter in the date box",
         {typed("3"), Tab, Tab, typed("Roof"), Tab, Enter}, false, {{"3", 0, "Roof", date, 0}}, {}},
        {"Enter after the amount alone is refused, the entry then finished",
         {typed("25"), Enter, Tab, Tab, typed("Roof"), Enter}, false, {{"25", 0, "Roof", date, 0}},
         {"Must enter a Destination"}},
        {"Enter with an empty amount is refused", {Enter}, true, {}, {"Amount must be a number greater than Zero"}},
        {"a bad check number is refused", {typed("5"), Tab, typed("x1"), Tab, typed("Roof"), Enter}, true, {},
         {"Check must be a number greater than Zero"}},
        {"Enter on Cancel cancels",
         {typed("25"), Tab, Tab, typed("Roof"), tabTo("Command2"), Enter}, false, {}, {}},
        {"Escape cancels", {typed("25"), Tab, Tab, typed("Roof"), Escape}, false, {}, {}},
    };
    auto& f = open();
    for (const KeysCase& c : cases) {
        SCOPED_TRACE(c.name);
        ui().clearLog();
        sqlite::Connection conn = keyed();
        conn.exec("DELETE FROM Payments");
        bool open = false;
        ui().queueDialog([&](QDialog& d) {
            text1(d, 3).setText("6/1/2004");
            EXPECT_EQ(focusName(d), "Text1(0)") << "the amount box has the focus at the start";
            keys(d, c.strokes);
            open = d.isVisible();
            if (open)
                ui::click(d, "Command2");
        });
        f.mnuEditAddPay_Click();
        EXPECT_EQ(open, c.stillOpen);
        const auto rows = payments();
        ASSERT_EQ(rows.size(), c.written.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].amount, c.written[i].amount);
            EXPECT_EQ(rows[i].check, c.written[i].check);
            EXPECT_EQ(rows[i].destination, c.written[i].destination);
            EXPECT_EQ(rows[i].date, c.written[i].date);
            EXPECT_EQ(rows[i].member, member);
        }
        EXPECT_EQ(prompts(), c.messages);
    }
}

TEST_F(KeysTest, EnterOnAFocusedAddItemButtonAddsTheDestinationAndKeepsTheDialogOpen)
{
    auto& f = open();
    ui().queueDialog([&](QDialog& d) {
        keys(d, {typed("12"), Tab, Tab, typed("Organ Fund")});
        auto& add = ui::child<QPushButton>(d, "Command3");
        ASSERT_TRUE(add.isEnabled());
        add.setFocus();
        keys(d, {Enter});
        EXPECT_TRUE(d.isVisible()) << "Enter on Add item does not press OK";
        EXPECT_FALSE(add.isEnabled());
        ui::child<QComboBox>(d, "Combo1").setFocus();
        keys(d, {Enter});
        EXPECT_FALSE(d.isVisible());
    });
    f.mnuEditAddPay_Click();
    EXPECT_EQ(destinations(), (QStringList{"General Fund", "Organ Fund"}));
    ASSERT_EQ(payments().size(), 1u);
    EXPECT_EQ(payments()[0].destination, "Organ Fund");
}

TEST_F(KeysTest, ASplitCheckTakesItsLinesFromTheKeyboard)
{
    auto& f = open();
    ui().queueDialog([&](QDialog& d) {
        text1(d, 3).setText("6/1/2004");
        keys(d, {typed("100"), Tab, typed("123")});
        ui::click(d, "Option2");
        text1(d, 0).setFocus();
        keys(d, {Enter});
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(text1(d, 1).text(), "$100.00");
        EXPECT_EQ(focusName(d), "Text1(0)");
        // The balance box is disabled: one Tab reaches the destination.
        keys(d, {typed("60"), Tab, typed("Roof"), Enter});
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(text1(d, 1).text(), "$40.00");
        EXPECT_EQ(focusName(d), "Text1(0)") << "the next line starts in the amount box";
        keys(d, {typed("50"), Tab, typed("Bells"), Enter});
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(text1(d, 1).text(), "$40.00") << "an excessive line changes nothing";
        // The refused line keeps its destination: the amount is typed again, Enter from there.
        text1(d, 0).clear();
        text1(d, 0).setFocus();
        keys(d, {typed("40"), Enter});
        EXPECT_FALSE(d.isVisible());
    });
    f.mnuEditAddPay_Click();
    const auto rows = payments();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].amount, "60");
    EXPECT_EQ(rows[0].destination, "Roof");
    EXPECT_EQ(rows[1].amount, "40");
    EXPECT_EQ(rows[1].destination, "Bells");
    for (const auto& r : rows)
        EXPECT_EQ(r.check, 123);
    EXPECT_EQ(prompts(), QStringList{"Excessive Amount"});
}

TEST_F(KeysTest, FromTheRapidSearchToTheNextDonorWithoutTheMouse)
{
    addMembers({{"Mary", "Jones", "4 Elm St"}});
    auto& f = open();
    for (const char* donor : {"s j", "j m"}) {
        ui().queueDialog([&](QDialog& d) {
            text1(d, 3).setText("6/1/2004");
            keys(d, {typed("20"), Tab, Tab, typed("Roof"), Enter});
        });
        type(f.EntNme, QString::fromLatin1(donor));
        ASSERT_EQ(f.C_List->count(), 1);
        pressEnter(f.EntNme);
        EXPECT_EQ(f.focusWidget(), f.EntNme);
        EXPECT_TRUE(f.EntNme->text().isEmpty());
    }
    const auto rows = payments();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].member, member);
    EXPECT_NE(rows[1].member, member);
    EXPECT_EQ(ui().pendingScripts(), 0);
}

} // namespace
