// Deleting through the real window in Executive mode (entered with the program's own command):
// Delete Donation in both views with its question naming the highlighted donation's donor, and a
// delete the file refuses; DelForm's Alt rule and its ways out; Delete Member passing the
// donations to member 1, refusing member 1 silently, and all or nothing wherever the file
// refuses a write.
#include "support/fixture_db.h"
#include "grid_fixture.h"
#include "records/del_form.h"
#include "support/executive.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <functional>

namespace {

using gridtest::GridTest;

class DeleteTest : public GridTest {
protected:
    frmMain& executiveByCommand()
    {
        frmMain& f = open();
        quiltest::enterExecutive(f, ui());
        EXPECT_FALSE(f.S.StandardMode);
        ui().clearLog();
        return f;
    }

    static void highlight(frmMain& f, int paymentId)
    {
        const int row = rowOf(f, paymentId);
        ASSERT_GE(row, 0) << paymentId;
        f.grdDataGrid->setCurrentIndex(grid(f).index(row, 0));
    }

    // DelForm answered: Alt pressed, then OK.
    void confirmWithAlt()
    {
        ui().queueDialog([](QDialog& d) {
            QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);  // reported with Alt held
            QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : &d, &alt);
            ui::click(d, "Command1");
        });
    }

    QString prompts()
    {
        QStringList out;
        for (const ui::Message& m : ui().messages())
            out << m.prompt;
        return out.join(QStringLiteral(" / "));
    }
};

TEST_F(DeleteTest, DeleteDonationAsksNamingTheDonorAndDeletesOnYesInBothViews)
{
    struct Case {
        bool listView;
        int member;  // Member View: the member made current
        int payment;
        int answer;
        const char* question;
        const char* gridAfter;
        const char* summaryAfter;
        const char* ownersAfter;
    };
    const Case cases[] = {
        {false, 2, 2, ui::No, "Delete Donation of $1,234.50 From Ann Adams", "5 2 1", "$1,266.75|3| PaymentDate",
         "1:2 2:2 3:3 4:3 5:2"},
        {false, 2, 2, ui::Yes, "Delete Donation of $1,234.50 From Ann Adams", "5 1", "$32.25|2| PaymentDate",
         "1:2 3:3 4:3 5:2"},
        {false, 3, 3, ui::Yes, "Delete Donation of $10.00 From Bob Brown", "4", "$500.00|1| PaymentDate", "1:2 2:2 4:3 5:2"},
        {true, 0, 4, ui::Yes, "Delete Donation of $500.00 From Bob Brown", "5 2 1 3", "$1,276.75|4| PaymentDate",
         "1:2 2:2 3:3 5:2"},
        {true, 0, 5, ui::No, "Delete Donation of $7.25 From Ann Adams", "5 4 2 1 3", "$1,776.75|5| PaymentDate",
         "1:2 2:2 3:3 4:3 5:2"},
        {true, 0, 1, ui::Yes, "Delete Donation of $25.00 From Ann Adams", "5 4 2 3", "$1,751.75|4| PaymentDate",
         "2:2 3:3 4:3 5:2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question);
        frmMain& f = executiveByCommand();
        if (c.listView)
            f.mnuListView_Click();
        else
            goToMember(f, c.member);
        highlight(f, c.payment);
        ui().clearLog();
        ui().queueAnswer(c.answer);
        f.mnuEditDelPay_Click();
        const auto messages = ui().messages();
        ASSERT_GE(messages.size(), 1u);
        EXPECT_EQ(messages[0].prompt, c.question);
        EXPECT_EQ(messages[0].title, "Confirm Delete");
        EXPECT_EQ(messages[0].icon, ui::Icon::Question);
        EXPECT_EQ(messages[0].buttons, ui::Buttons::YesNo);
        EXPECT_EQ(ui().trace().value(0), "beep");
        EXPECT_EQ(messages.size(), 1u) << prompts().toStdString();
        EXPECT_EQ(f.S.LastAnswer, c.answer);
        EXPECT_EQ(gridIds(f), c.gridAfter);
        EXPECT_EQ(summary(f), c.summaryAfter);
        EXPECT_EQ(owners(), c.ownersAfter);
        restart();
    }
}

TEST_F(DeleteTest, DeleteDonationWithoutAHighlightedDonationAsksNothing)
{
    frmMain& f = executiveByCommand();
    ASSERT_EQ(currentMember(f), 4);  // no donations
    f.mnuEditDelPay_Click();
    EXPECT_TRUE(ui().trace().isEmpty()) << ui().trace().join(" | ").toStdString();
}

TEST_F(DeleteTest, ADonationTheFileRefusesToDeleteStaysAndTheUserIsTold)
{
    frmMain& f = executiveByCommand();
    goToMember(f, 2);
    highlight(f, 1);
    quiltest::write(*f.S.db, "CREATE TEMP TRIGGER refuse BEFORE DELETE ON Payments BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    ui().clearLog();
    ui().queueAnswer(ui::Yes);
    f.mnuEditDelPay_Click();
    const auto messages = ui().messages();
    ASSERT_EQ(messages.size(), 2u) << prompts().toStdString();
    EXPECT_EQ(messages[1].title, "QUIL Data Error");
    EXPECT_TRUE(messages[1].prompt.startsWith("The donation was not deleted.")) << messages[1].prompt.toStdString();
    EXPECT_EQ(owners(), "1:2 2:2 3:3 4:3 5:2");
    EXPECT_EQ(gridIds(f), "5 2 1");
    EXPECT_EQ(summary(f), "$1,266.75|3| PaymentDate");
}

TEST(DelFormTest, OkIsEnabledOnlyByAKeyWhoseModifiersAreExactlyAlt)
{
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool enables;
    };
    // A modifier key's own press comes with the state from before it, as the platform sends it;
    // the event reports it with that key held (Alt alone: exactly Alt).
    const Case cases[] = {
        {Qt::Key_Alt, Qt::NoModifier, true},  // Alt held alone
        {Qt::Key_O, Qt::AltModifier, true},
        {Qt::Key_F4, Qt::AltModifier | Qt::KeypadModifier, true},
        {Qt::Key_Alt, Qt::ShiftModifier, false},
        {Qt::Key_Alt, Qt::ControlModifier, false},
        {Qt::Key_Control, Qt::AltModifier, false},
        {Qt::Key_Shift, Qt::AltModifier, false},
        {Qt::Key_Shift, Qt::NoModifier, false},
        {Qt::Key_A, Qt::NoModifier, false},
        {Qt::Key_Return, Qt::NoModifier, false},
        {Qt::Key_Space, Qt::NoModifier, false},
    };
    ui::ScopedScriptedUi scripted;
    for (const Case& c : cases) {
        MainState S;
        S.DonorName = QStringLiteral("Ann Adams");
        DelForm form(S);
        EXPECT_TRUE(S.DialogCancelled) << "until OK";
        EXPECT_EQ(form.Label2->text(), "Ann Adams");
        EXPECT_FALSE(form.Command1->isEnabled());
        // Whichever control would get the key, the dialog sees it first.
        for (QWidget* target : {static_cast<QWidget*>(form.Command2), static_cast<QWidget*>(&form)}) {
            QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers);
            QApplication::sendEvent(target, &press);
        }
        EXPECT_EQ(form.Command1->isEnabled(), c.enables) << c.key << " " << c.modifiers.toInt();
        // Once enabled it stays so after Alt is let go.
        QKeyEvent release(QEvent::KeyRelease, c.key, Qt::NoModifier);
        QApplication::sendEvent(form.Command2, &release);
        QKeyEvent plain(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier);
        QApplication::sendEvent(form.Command2, &plain);
        EXPECT_EQ(form.Command1->isEnabled(), c.enables);
    }
    EXPECT_EQ(scripted->beepCount(), static_cast<int>(std::size(cases))) << "a beep as each opens";
}

TEST(DelFormTest, OnlyOkAcceptsAndEveryOtherWayOutCancels)
{
    ui::ScopedScriptedUi scripted;
    const std::pair<const char*, std::function<void(DelForm&)>> ways[] = {
        {"OK after Alt",
         [](DelForm& d) {
             QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);  // reported with Alt held
             QApplication::sendEvent(d.Command2, &alt);
             ui::click(d, "Command1");
         }},
        {"OK before Alt", [](DelForm& d) { d.Command1->click(); }},  // disabled: the click does nothing
        {"Cancel", [](DelForm& d) { ui::click(d, "Command2"); }},
        {"Escape",
         [](DelForm& d) {
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&d, &esc);
         }},
        {"the close box", [](DelForm& d) { d.close(); }},
        {"Enter", [](DelForm& d) {
             QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);  // reported with Alt held
             QApplication::sendEvent(d.Command2, &alt);
             QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
             QApplication::sendEvent(&d, &enter);
             d.reject();  // still open after Enter: close it the other way
         }},
    };
    for (const auto& [what, way] : ways) {
        MainState S;
        DelForm form(S);
        form.open();
        way(form);
        const bool accepted = QLatin1String(what) == QLatin1String("OK after Alt");
        EXPECT_EQ(S.DialogCancelled, !accepted) << what;
        EXPECT_EQ(form.result(), accepted ? QDialog::Accepted : QDialog::Rejected) << what;
    }
}

TEST(DelFormTest, ItShowsEveryTextOfTheConfirmation)
{
    ui::ScopedScriptedUi scripted;
    MainState S;
    S.DonorName = QStringLiteral("Seán O'Brien");
    DelForm form(S);
    EXPECT_EQ(form.windowTitle(), "Delete Member");
    QStringList texts;
    for (QLabel* l : form.Label)
        texts << l->text();
    EXPECT_EQ(texts, (QStringList{"Are You Sure That You Want To Delete This Member ?", "Seán O'Brien",
                                  "All the Personal Data will be lost !", "All Donations will be transferred to Record 1.",
                                  " If you want to delete this member, ", "Press  ALT and Click OK."}));
    EXPECT_EQ(form.Label2, form.Label[1]);
    EXPECT_EQ(form.Label[0]->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(form.Label[2]->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(form.Command1->text(), "&OK");
    EXPECT_EQ(form.Command2->text(), "&Cancel");
}

TEST_F(DeleteTest, DeleteMemberPassesTheDonationsToMemberOneAndStandsOnTheLastMember)
{
    struct Case {
        int member;
        const char* name;
        const char* ownersAfter;
        const char* membersAfter;
    };
    const Case cases[] = {
        {2, "Ann Adams", "1:1 2:1 3:3 4:3 5:1", "1 3 4"},
        {4, "Cy Clark", "1:2 2:2 3:3 4:3 5:2", "1 2 3"},
        {3, "Bob Brown", "1:2 2:2 3:1 4:1 5:2", "1 2 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmMain& f = executiveByCommand();
        goToMember(f, c.member);
        QString shown;
        ui().queueDialog([&](QDialog& d) {
            shown = static_cast<DelForm&>(d).Label2->text();
            QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);  // reported with Alt held
            QApplication::sendEvent(&d, &alt);
            ui::click(d, "Command1");
        });
        f.mnuEditDelMem_Click();
        EXPECT_EQ(shown, c.name);
        EXPECT_EQ(f.S.DonorName, c.name);
        EXPECT_EQ(owners(), c.ownersAfter);
        EXPECT_EQ(memberRows(), c.membersAfter);
        const auto messages = ui().messages();
        ASSERT_EQ(messages.size(), 1u) << prompts().toStdString();
        EXPECT_EQ(messages[0].prompt, "All Donations were transferred to Record 1");
        EXPECT_EQ(messages[0].title, "Donation Transfer");
        EXPECT_EQ(messages[0].icon, ui::Icon::Information);
        EXPECT_EQ(ui().trace().value(0), "beep") << "DelForm beeps as it opens";
        const QString last = QString::fromLatin1(c.membersAfter).split(u' ').last();
        EXPECT_EQ(f.txtFields.text(0), last) << "the view re-run on the last member";
        EXPECT_EQ(f.datPrimaryRS->recordset()->recordCount(), 3);
        EXPECT_FALSE(f.S.DialogCancelled);
        EXPECT_EQ(f.datScratchRS->recordset(), nullptr);
        restart();
    }
}

TEST_F(DeleteTest, MemberOneIsRefusedSilentlyAndACancelledConfirmationChangesNothing)
{
    frmMain& f = executiveByCommand();
    goToMember(f, 1);
    f.mnuEditDelMem_Click();
    EXPECT_TRUE(ui().trace().isEmpty()) << "no dialog, no beep, no message for member 1: "
                                        << ui().trace().join(" | ").toStdString();
    EXPECT_EQ(memberRows(), "1 2 3 4");
    ui().clearLog();

    const std::function<void(QDialog&)> cancels[] = {
        [](QDialog& d) { ui::click(d, "Command2"); },
        [](QDialog& d) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&d, &esc);
        },
        [](QDialog& d) { d.close(); },
        [](QDialog& d) {
            QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);  // reported with Alt held
            QApplication::sendEvent(&d, &alt);
            ui::click(d, "Command2");
        },
    };
    for (const auto& cancel : cancels) {
        goToMember(f, 2);
        ui().queueDialog(cancel);
        f.mnuEditDelMem_Click();
        EXPECT_EQ(ui().pendingScripts(), 0);
        EXPECT_EQ(memberRows(), "1 2 3 4");
        EXPECT_EQ(owners(), "1:2 2:2 3:3 4:3 5:2");
        EXPECT_TRUE(ui().messages().empty()) << prompts().toStdString();
        EXPECT_FALSE(f.S.DialogCancelled);
        EXPECT_EQ(currentMember(f), 2) << "the member stays current";
    }
}

TEST_F(DeleteTest, DeleteMemberIsAllOrNothingWhereverTheFileRefusesAWrite)
{
    frmMain& f = executiveByCommand();
    // Member 2 has three donations: three rows changed and the member deleted, four writes.
    for (int refused = 1; refused <= 4; ++refused) {
        SCOPED_TRACE(refused);
        goToMember(f, 2);
        refuseWrite(f, refused);
        ui().clearLog();
        confirmWithAlt();
        f.mnuEditDelMem_Click();
        EXPECT_EQ(owners(), "1:2 2:2 3:3 4:3 5:2");
        EXPECT_EQ(memberRows(), "1 2 3 4");
        const auto messages = ui().messages();
        ASSERT_EQ(messages.size(), 1u) << prompts().toStdString();
        EXPECT_EQ(messages[0].title, "QUIL Data Error");
        EXPECT_EQ(messages[0].icon, ui::Icon::Critical);
        EXPECT_TRUE(messages[0].prompt.startsWith("The member was not deleted: nothing has been changed."))
            << messages[0].prompt.toStdString();
        EXPECT_TRUE(messages[0].prompt.contains("refused by the test"));
        // The window still shows the member with its donations.
        EXPECT_EQ(currentMember(f), 2);
        EXPECT_EQ(f.txtFields.text(2), "Adams");
        EXPECT_EQ(gridIds(f), "5 2 1");
        EXPECT_EQ(f.datPrimaryRS->recordset()->recordCount(), 4);
        EXPECT_EQ(f.datScratchRS->recordset(), nullptr);
    }
    // Nothing was left half-open: with no write refused the same delete goes through.
    goToMember(f, 2);
    refuseWrite(f, 0);
    ui().clearLog();
    confirmWithAlt();
    f.mnuEditDelMem_Click();
    EXPECT_EQ(owners(), "1:1 2:1 3:3 4:3 5:1");
    EXPECT_EQ(memberRows(), "1 3 4");
    EXPECT_EQ(prompts(), "All Donations were transferred to Record 1");
}

TEST_F(DeleteTest, DeleteMemberInListViewDeletesTheDonorOfTheHighlightedDonation)
{
    frmMain& f = executiveByCommand();
    f.mnuListView_Click();
    highlight(f, 4);
    ASSERT_EQ(f.txtFields.text(2), "Brown");
    confirmWithAlt();
    f.mnuEditDelMem_Click();
    EXPECT_EQ(owners(), "1:2 2:2 3:1 4:1 5:2");
    EXPECT_EQ(memberRows(), "1 2 4");
    EXPECT_EQ(ui().messages().at(0).prompt, "All Donations were transferred to Record 1");
    EXPECT_EQ(grid(f).rowCount(), 5) << "the list stays loaded";
    EXPECT_EQ(cell(f, rowOf(f, 4), 5), "1") << "and shows the new owner";
}

} // namespace
