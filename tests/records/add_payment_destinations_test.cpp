// The destination list of the Add Donations dialog: adding and removing destinations (apostrophes
// and wildcard characters included), the completion of a typed beginning, which of Add item and
// Remove item is offered, and the destination box's length.
#include "entry_fixture.h"

#include <QPushButton>

namespace {

using entrytest::EntryTest;

class DestinationsTest : public EntryTest {
protected:
    void SetUp() override
    {
        EntryTest::SetUp();
        addMembers({{"Ann", "Lee", "3 Bay Rd"}});
    }

    void withDialog(entrytest::EntryMain& f, ui::ScriptedUi::DialogScript script)
    {
        ui().queueDialog(std::move(script));
        f.mnuEditAddPay_Click();
    }

    static bool enabled(QDialog& d, const char* button) { return ui::child<QPushButton>(d, button).isEnabled(); }
    static QStringList listed(QDialog& d)
    {
        auto& combo = ui::child<QComboBox>(d, "Combo1");
        QStringList out;
        for (int i = 0; i < combo.count(); ++i)
            out << combo.itemText(i);
        return out;
    }
};

TEST_F(DestinationsTest, TypingCompletesAListedDestinationAndAddItemIsOfferedOnlyForANewOne)
{
    {
        sqlite::Connection c = keyed();
        c.exec("INSERT INTO Dest (DestItem) VALUES ('Building Fund'), ('Bell Tower')");
    }
    auto& f = open();
    withDialog(f, [](QDialog& d) {
        struct Case {
            const char* typed;  // '\b' is a Backspace
            const char* shown;
            const char* completed;  // the part selected by the completion
            bool offered;
        };
        const Case cases[] = {
            {"General Fund", "General Fund", "", false},
            {"general FUND", "General Fund", "", false},  // letter case does not make a new destination
            {"Gen", "General Fund", "eral Fund", false},  // a beginning is completed, as the list spells it
            {"buil", "Building Fund", "ding Fund", false},
            {"B", "Building Fund", "uilding Fund", false},  // the first in the list's order
            {"Be", "Bell Tower", "ll Tower", false},
            {"Gen\b", "Gen", "", true},                   // Backspace takes the completion back: a new one
            {"Organ", "Organ", "", true},
            {"", "", "", false},
            {"General*", "General*", "", true},            // typed wildcards are plain characters here
            {"General Fund'", "General Fund'", "", true},
        };
        auto& box = *ui::child<QComboBox>(d, "Combo1").lineEdit();
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed);
            box.selectAll();
            QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
            QApplication::sendEvent(&box, &erase);
            for (const char* k = c.typed; *k; ++k) {
                QKeyEvent press(QEvent::KeyPress, *k == '\b' ? Qt::Key_Backspace : 0, Qt::NoModifier,
                                *k == '\b' ? QString() : QString(QLatin1Char(*k)));
                QApplication::sendEvent(&box, &press);
            }
            EXPECT_EQ(box.text(), c.shown);
            EXPECT_EQ(box.selectedText(), c.completed);
            EXPECT_EQ(enabled(d, "Command3"), c.offered);
            EXPECT_FALSE(enabled(d, "Command4")) << "typed text is never a chosen item";
        }
        chooseDestination(d, "General Fund");
        EXPECT_TRUE(enabled(d, "Command4"));
        EXPECT_FALSE(enabled(d, "Command3"));
        typeDestination(d, "General Fun");
        EXPECT_FALSE(enabled(d, "Command4"));
        ui::click(d, "Command2");
    });
}

TEST_F(DestinationsTest, ADestinationWithAnApostropheIsAddedFoundAndRemoved)
{
    auto& f = open();
    const QString mary = QStringLiteral("St. Mary's Fund");
    withDialog(f, [&](QDialog& d) {
        typeDestination(d, mary);
        ASSERT_TRUE(enabled(d, "Command3"));
        ui::click(d, "Command3");
        EXPECT_FALSE(enabled(d, "Command3"));
        EXPECT_EQ(listed(d), (QStringList{"General Fund", mary}));
        EXPECT_EQ(ui::child<QComboBox>(d, "Combo1").currentIndex(), -1) << "adding chooses nothing";
        EXPECT_EQ(ui::child<QComboBox>(d, "Combo1").currentText(), mary);
        typeDestination(d, "st. mary's fund");
        EXPECT_FALSE(enabled(d, "Command3")) << "found again, apostrophe and all";
        ui::click(d, "Command2");
    });
    EXPECT_EQ(destinations(), (QStringList{"General Fund", mary}));

    withDialog(f, [&](QDialog& d) {
        EXPECT_EQ(listed(d), (QStringList{"General Fund", mary}));
        chooseDestination(d, mary);
        ui::click(d, "Command4");
        EXPECT_FALSE(enabled(d, "Command4"));
        EXPECT_EQ(listed(d), QStringList{"General Fund"});
        ui::click(d, "Command2");
    });
    EXPECT_EQ(destinations(), QStringList{"General Fund"});
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(DestinationsTest, RemovingADestinationTakesOnlyItsOwnRow)
{
    {
        sqlite::Connection c = keyed();
        c.exec("INSERT INTO Dest (DestItem) VALUES ('G*'), ('St. Mary'), ('St. Mary''s Fund'), ('Roof')");
    }
    auto& f = open();
    for (const char* removed : {"G*", "St. Mary's Fund"}) {
        withDialog(f, [&](QDialog& d) {
            chooseDestination(d, removed);
            ui::click(d, "Command4");
            ui::click(d, "Command2");
        });
    }
    EXPECT_EQ(destinations(), (QStringList{"General Fund", "St. Mary", "Roof"}));
}

TEST_F(DestinationsTest, DonationsKeepTheirDestinationAsTyped)
{
    auto& f = open();
    const QString longName(60, u'x');
    withDialog(f, [&](QDialog& d) {
        text1(d, 0).setText("10");
        typeDestination(d, "O'Neill Memorial");
        ui::click(d, "Command1");
    });
    // A completed beginning is the listed destination once Tab leaves the box.
    withDialog(f, [&](QDialog& d) {
        text1(d, 0).setText("10");
        typeDestination(d, "gen");
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(ui::child<QComboBox>(d, "Combo1").lineEdit(), &tab);
        EXPECT_EQ(ui::child<QComboBox>(d, "Combo1").currentText(), "General Fund");
        ui::click(d, "Command1");
    });
    withDialog(f, [&](QDialog& d) {
        text1(d, 0).setText("10");
        typeDestination(d, longName);
        EXPECT_EQ(ui::child<QComboBox>(d, "Combo1").currentText().size(), 50) << "the field holds 50";
        ui::click(d, "Command1");
    });
    const auto rows = payments();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].destination, "O'Neill Memorial");
    EXPECT_EQ(rows[1].destination, "General Fund");
    EXPECT_EQ(rows[2].destination, longName.left(50));
    EXPECT_TRUE(ui().messages().empty());
    EXPECT_EQ(destinations(), QStringList{"General Fund"}) << "typing a destination does not add it to the list";
}

} // namespace
