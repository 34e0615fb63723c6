// Add Member through the real window: the required names and address, what each box writes,
// the member number the database gives, typed text of every kind stored as typed, the box
// limits, the ways to cancel, the routes that open the dialog and a refused insert.
#include "support/fixture_db.h"
#include "member_fixture.h"

#include "platform/jet/translator.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

namespace {

using namespace membertest;

QLineEdit& box(QDialog& d, int index)
{
    return ui::child<QLineEdit>(d, QStringLiteral("NewMem(%1)").arg(index));
}

QPlainTextEdit& notesBox(QDialog& d)
{
    return ui::child<QPlainTextEdit>(d, QStringLiteral("NewMem(7)"));
}

// A script that fills boxes 0..6 (as many as given) and clicks OK.
ui::ScriptedUi::DialogScript fillAndOk(QStringList texts, QString notes = {})
{
    return [texts, notes](QDialog& d) {
        for (int i = 0; i < texts.size(); ++i)
            box(d, i).setText(texts[i]);
        notesBox(d).setPlainText(notes);
        ui::click(d, QStringLiteral("Command1"));
    };
}

class AddMemberTest : public MemberTest {
protected:
    // Runs Add Member with one script and returns the number of the member it added (-1: none).
    std::int64_t addMember(ui::ScriptedUi::DialogScript script)
    {
        const std::int64_t before = highestId();
        ui().queueDialog(std::move(script));
        window_->records->mnuEditAddMem_Click();
        const std::int64_t after = highestId();
        return after > before ? after : -1;
    }
};

TEST_F(AddMemberTest, DialogShowsItsCaptionsAndTheHint)
{
    open();
    ui().queueDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Add a New Member");
        const QStringList captions{"First Name", "Last Name", "Address", "City", "State", "Zip Code", "Phone", "Notes"};
        for (int i = 0; i < captions.size(); ++i)
            EXPECT_EQ(ui::child<QLabel>(d, QStringLiteral("Label1(%1)").arg(i)).text(), captions[i]);
        EXPECT_EQ(ui::child<QLabel>(d, "Label2").text(), "Enter  NONE for address if unknown");
        EXPECT_EQ(ui::child<QPushButton>(d, "Command1").text(), "&OK");
        EXPECT_EQ(ui::child<QPushButton>(d, "Command2").text(), "&Cancel");
        ui::click(d, QStringLiteral("Command2"));
    });
    window_->records->mnuEditAddMem_Click();
    EXPECT_EQ(dialogsRun(), QStringList{"AddMember"});
}

TEST_F(AddMemberTest, MissingNameOrAddressIsRefusedAndNothingTypedIsLost)
{
    struct Case {
        const char* name;
        QString first, last, address;
    };
    const Case cases[] = {
        {"no first name", "", "Lee", "NONE"},
        {"no last name", "Ann", "", "NONE"},
        {"no address", "Ann", "Lee", ""},
        {"nothing at all", "", "", ""},
    };
    frmMain& f = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui().clearLog();
        const std::int64_t count = memberCount();
        const std::int64_t id = addMember([&](QDialog& d) {
            box(d, 0).setText(c.first);
            box(d, 1).setText(c.last);
            box(d, 2).setText(c.address);
            box(d, 3).setText("Springfield");
            notesBox(d).setPlainText("keeps");
            box(d, 3).setFocus();
            ui::click(d, QStringLiteral("Command1"));
            // Still open, everything as typed, and the first name box has the focus.
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(d.focusWidget(), &box(d, 0));
            EXPECT_EQ(box(d, 0).text(), c.first);
            EXPECT_EQ(box(d, 2).text(), c.address);
            EXPECT_EQ(box(d, 3).text(), "Springfield");
            EXPECT_EQ(notesBox(d).toPlainText(), "keeps");
            // Completing the three boxes lets the same dialog add the member (a first name of
            // each case's own, so no case meets the warning about a member already on file).
            box(d, 0).setText(QStringLiteral("Ann ") + QLatin1String(c.name));
            box(d, 1).setText("Lee");
            box(d, 2).setText("NONE");
            ui::click(d, QStringLiteral("Command1"));
        });
        ASSERT_EQ(ui().messages().size(), 1u);
        const ui::Message m = ui().messages().front();
        EXPECT_EQ(m.prompt, "First Three Cells Must Have Data!");
        EXPECT_EQ(m.title, "QUIL");
        EXPECT_EQ(m.icon, ui::Icon::None);
        EXPECT_EQ(m.buttons, ui::Buttons::OKOnly);
        EXPECT_EQ(f.S.LastAnswer, ui::OK);
        EXPECT_EQ(memberCount(), count + 1);
        ASSERT_GT(id, 0);
        EXPECT_EQ(stored(id, "City"), "Springfield");
        EXPECT_EQ(stored(id, "Notes"), "keeps");
    }
}

TEST_F(AddMemberTest, NoneForAddressGivesARowWithOnlyTheThreeFieldsAndMakesItCurrent)
{
    addRows({{"Bob", "Adams", "1 Main St", "Troy"}, {"Cy", "Baker", "2 Main St", "Troy"}});
    frmMain& f = open();
    const std::int64_t id = addMember(fillAndOk({"Ann", "Lee", "NONE"}));
    ASSERT_GT(id, 0);
    EXPECT_EQ(stored(id, "FirstName"), "Ann");
    EXPECT_EQ(stored(id, "LastName"), "Lee");
    EXPECT_EQ(stored(id, "Address"), "NONE");
    for (const char* field : {"City", "State", "PostalCode", "HomePhone", "Notes"})
        EXPECT_EQ(stored(id, field), std::nullopt) << field;

    EXPECT_EQ(quiltest::recordsOf(f).NewMemberCriteria, QStringLiteral("MemberID = %1").arg(id));
    EXPECT_EQ(currentMember(), id);
    EXPECT_EQ(f.txtFields.text(0), QString::number(id));
    EXPECT_EQ(f.txtFields.text(1), "Ann");
    EXPECT_EQ(f.txtFields.text(4), "");
    EXPECT_FALSE(f.S.DialogCancelled);
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(AddMemberTest, EveryBoxWritesItsOwnField)
{
    open();
    const QString notes = QStringLiteral("Line one\nLine two\twith a tab");
    const std::int64_t id =
        addMember(fillAndOk({"Ann", "Lee", "12 Oak Rd", "Troy", "NY", "12180", "(518) 555-0100"}, notes));
    ASSERT_GT(id, 0);
    const QStringList expected{"Ann", "Lee", "12 Oak Rd", "Troy", "NY", "12180", "(518) 555-0100", notes};
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(stored(id, kFields[i + 1]), expected[i]) << kFields[i + 1].toStdString();
}

TEST_F(AddMemberTest, MemberNumberIsTheDatabasesAndAboveEveryOneEverUsed)
{
    addRows({{"Bob", "Adams", "1 Main St", ""}, {"Cy", "Baker", "2 Main St", ""}});
    // A member with a high number that was deleted again: its number is not given out twice.
    exec("INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (900, 'Old', 'Gone', 'x')");
    exec("DELETE FROM Members WHERE MemberID = 900");
    frmMain& f = open();

    const std::int64_t first = addMember(fillAndOk({"Ann", "Lee", "NONE"}));
    EXPECT_GT(first, 900);
    EXPECT_EQ(quiltest::recordsOf(f).NewMemberCriteria, QStringLiteral("MemberID = %1").arg(first));
    const std::int64_t second = addMember(fillAndOk({"Dee", "Moss", "NONE"}));
    EXPECT_GT(second, first);
    EXPECT_EQ(quiltest::recordsOf(f).NewMemberCriteria, QStringLiteral("MemberID = %1").arg(second));
    EXPECT_EQ(currentMember(), second);
    EXPECT_EQ(stored(second, "FirstName"), "Dee");
}

TEST_F(AddMemberTest, TypedTextIsStoredExactlyAndFoundAgain)
{
    const QString texts[] = {
        QStringLiteral("O'Brien"),
        QStringLiteral("''"),
        QStringLiteral("\"Bud\" Smith"),
        QStringLiteral("Zoë Ñúñez"),
        QStringLiteral("Ærøskøbing Ålborg"),
        QStringLiteral("50% *?#[a-z]!"),
        QStringLiteral("x'); DELETE FROM Members; --"),
        QStringLiteral("王小明"),
        QStringLiteral("  blanks around  "),
    };
    frmMain& f = open();
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        const std::int64_t count = memberCount();
        const std::int64_t id = addMember(fillAndOk({text, text, text, text}));
        ASSERT_GT(id, 0);
        EXPECT_EQ(memberCount(), count + 1);
        for (const char* field : {"FirstName", "LastName", "Address", "City"})
            EXPECT_EQ(stored(id, field), text) << field;
        EXPECT_EQ(f.txtFields.text(2), text);
        // Found again through a criterion built from the typed text, in any letter case.
        auto members = f.S.db->openRecordset("Members");
        for (const QString& typed : {text, text.toUpper()}) {
            members->findFirst("LastName = " + jet::quoted(typed));
            ASSERT_FALSE(members->noMatch()) << typed.toStdString();
            EXPECT_EQ(members->field("MemberID").toLong(), id);
        }
    }
}

TEST_F(AddMemberTest, BoxesHoldNoMoreThanTheirFields)
{
    open();
    QStringList longTexts;
    const QString pattern = QStringLiteral("Aé'z");
    for (int i = 0; i < 7; ++i)
        longTexts << pattern.repeated(100);  // 400 characters, more than any field holds
    const QString longNotes = QStringLiteral("Notes are memo text, kept whole. ").repeated(3000);
    const std::int64_t id = addMember([&](QDialog& d) {
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(box(d, i).maxLength(), kFieldSizes[static_cast<std::size_t>(i)].second)
                << kFieldSizes[static_cast<std::size_t>(i)].first.toStdString();
            box(d, i).setText(longTexts[i]);
        }
        notesBox(d).setPlainText(longNotes);
        ui::click(d, QStringLiteral("Command1"));
    });
    ASSERT_GT(id, 0) << "the dialog refused texts its boxes had accepted";
    for (int i = 0; i < 7; ++i) {
        const auto& [field, size] = kFieldSizes[static_cast<std::size_t>(i)];
        EXPECT_EQ(stored(id, field), longTexts[i].left(size)) << field.toStdString();
    }
    EXPECT_EQ(stored(id, "Notes"), longNotes);
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(AddMemberTest, EveryWayOfCancellingWritesNothingAndRequeriesTheView)
{
    struct Case {
        const char* name;
        std::function<void(QDialog&)> cancel;
    };
    const Case cases[] = {
        {"Cancel button", [](QDialog& d) { ui::click(d, QStringLiteral("Command2")); }},
        {"Escape key", [](QDialog& d) { pressKey(&box(d, 1), Qt::Key_Escape); }},
        {"close box", [](QDialog& d) { d.close(); }},
    };
    const auto ids = addRows({{"Bob", "Adams", "1 Main St", ""}, {"Cy", "Baker", "2 Main St", ""}});
    frmMain& f = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        standOn(1);
        const std::int64_t count = memberCount();
        bool closed = false;
        ui().queueDialog([&](QDialog& d) {
            box(d, 0).setText("Ann");
            box(d, 1).setText("Lee");
            box(d, 2).setText("NONE");
            c.cancel(d);
            closed = !d.isVisible();
        });
        f.records->mnuEditAddMem_Click();
        EXPECT_TRUE(closed);
        EXPECT_EQ(memberCount(), count);
        EXPECT_EQ(currentMember(), ids.back()) << "the view was not re-run onto its last member";
        EXPECT_FALSE(f.S.DialogCancelled);
    }
}

TEST_F(AddMemberTest, EnterInABoxDoesNotAddAHalfTypedMember)
{
    open();
    const std::int64_t count = memberCount();
    ui().queueDialog([](QDialog& d) {
        box(d, 0).setText("Ann");
        box(d, 1).setText("Lee");
        box(d, 2).setText("NONE");
        pressKey(&box(d, 2), Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        ui::click(d, QStringLiteral("Command2"));
    });
    window_->records->mnuEditAddMem_Click();
    EXPECT_EQ(memberCount(), count);
}

TEST_F(AddMemberTest, MenuToolbarAndRapidSearchOpenTheDialog)
{
    frmMain& f = open();
    const std::function<void()> routes[] = {
        [&f] { f.mnuEditAddMem->trigger(); },
        [&f] { f.tbToolBar_ButtonClick(QStringLiteral("AddGuy")); },
        [&f] {
            f.EntNme->setText(QStringLiteral("zzz"));  // nobody matches
            pressKey(f.EntNme, Qt::Key_Return);
        },
    };
    int added = 0;
    for (const auto& route : routes) {
        ui().clearLog();
        ui().queueDialog(fillAndOk({"Ann", QStringLiteral("Lee%1").arg(++added), "NONE"}));
        route();
        EXPECT_EQ(dialogsRun(), QStringList{"AddMember"}) << "route " << added;
        EXPECT_EQ(f.txtFields.text(2), QStringLiteral("Lee%1").arg(added)) << "route " << added;
    }
}

TEST_F(AddMemberTest, NewMemberOutsideTheMemberFilterIsSavedAndTheViewStaysOnTheFilter)
{
    const auto ids = addRows({{"Bob", "Smith", "1 Main St", ""}, {"Cy", "Baker", "2 Main St", ""}});
    frmMain& f = open();
    filterMembers("[LastName] = 'Smith'");
    const std::int64_t id = addMember(fillAndOk({"Ann", "Jones", "NONE"}));
    ASSERT_GT(id, 0);
    EXPECT_EQ(stored(id, "LastName"), "Jones");
    EXPECT_EQ(currentMember(), ids.front());
    EXPECT_EQ(f.txtFields.text(2), "Smith");
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(AddMemberTest, RefusedInsertIsReportedAndTheDialogKeepsWhatWasTyped)
{
    frmMain& f = open();
    // On the program's connection only: a file that carries a trigger of its own is refused.
    quiltest::write(*f.S.db, "CREATE TEMP TRIGGER refuse_members BEFORE INSERT ON Members BEGIN SELECT RAISE(ABORT, 'disk says no'); END");
    const std::int64_t count = memberCount();
    ui().queueDialog([&f](QDialog& d) {
        box(d, 0).setText("Ann");
        box(d, 1).setText("O'Lee");
        box(d, 2).setText("NONE");
        ui::click(d, QStringLiteral("Command1"));
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(box(d, 1).text(), "O'Lee");
        // Once the database takes rows again, the same dialog adds the member.
        quiltest::write(*f.S.db, "DROP TRIGGER refuse_members");
        ui::click(d, QStringLiteral("Command1"));
    });
    f.records->mnuEditAddMem_Click();
    ASSERT_EQ(ui().messages().size(), 1u);
    const ui::Message m = ui().messages().front();
    EXPECT_EQ(m.title, "QUIL Data Error");
    EXPECT_EQ(m.icon, ui::Icon::Critical);
    EXPECT_TRUE(m.prompt.contains("disk says no")) << m.prompt.toStdString();
    EXPECT_EQ(ui().beepCount(), 1);
    EXPECT_EQ(memberCount(), count + 1);
    EXPECT_EQ(f.txtFields.text(2), "O'Lee");
}

} // namespace
