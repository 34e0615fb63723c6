// Merge Members through the real window in Executive mode: the dialog's rules (no such member,
// the same member twice, member 1 merged away), the question naming both members and the
// donations that move, the merge itself with the view on the kept member and its totals, and
// all or nothing wherever the file refuses a write, the dialog keeping its choice.
#include "grid_fixture.h"
#include "records/merge_members_dialog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <sqlcipher/sqlite3.h>

namespace {

using gridtest::GridTest;

class MergeTest : public GridTest {
protected:
    QString log()
    {
        QStringList out;
        for (const ui::Message& m : ui().messages())
            out << QStringLiteral("[%1] %2").arg(m.title, m.prompt);
        return out.join(QStringLiteral(" / "));
    }
};

struct Shown {
    QString keep;        // what the keep box started with
    QString mergeSide;   // name|address|donations beside the merge box after typing
    bool stillOpen = false;  // after Merge
};

// Types the two numbers (null: the box as the dialog filled it), presses Merge, notes what
// the dialog showed, and cancels a dialog left open.
void scriptMerge(ui::ScriptedUi& ui, const char* keep, const char* merge, Shown& shown)
{
    ui.queueDialog([keep, merge, &shown](QDialog& d) {
        auto& dialog = static_cast<MergeMembers&>(d);
        shown.keep = dialog.txtKeep->text();
        if (keep)
            dialog.txtKeep->setText(QString::fromLatin1(keep));
        dialog.txtMerge->setText(QString::fromLatin1(merge));
        shown.mergeSide = dialog.lblMergeName->text() + u'|' + dialog.lblMergeAddress->text() + u'|'
                          + dialog.lblMergeDonations->text();
        ui::click(d, "cmdOK");
        shown.stillOpen = d.isVisible();
        if (shown.stillOpen)
            ui::click(d, "cmdCancel");
    });
}

TEST_F(MergeTest, TheRulesRefuseOrMergeAndTheViewStandsOnTheKeptMember)
{
    const char* unchanged = "1:2 2:2 3:3 4:3 5:2";
    struct Case {
        const char* what;
        const char* keep;   // null: the current member (4, the last) as offered
        const char* merge;
        int answer;         // to the question, when it comes
        const char* mergeSide;
        const char* messages;  // "[title] prompt / ..."
        const char* ownersAfter;
        const char* membersAfter;
        int currentAfter;
        const char* summaryAfter;
    };
    const Case cases[] = {
        {"no member to keep", "", "3", ui::Yes, "Bob Brown|2 Oak Ave|2 donations",
         "[Merge Members] Type the number of the member to keep: there is no such member.", unchanged, "1 2 3 4", 4,
         "0|0| PaymentDate"},
        {"no such member to merge", "2", "9", ui::Yes, "No member 9||",
         "[Merge Members] Type the number of the member to merge: there is no such member.", unchanged, "1 2 3 4", 4,
         "0|0| PaymentDate"},
        {"the same member twice", "3", "3", ui::Yes, "Bob Brown|2 Oak Ave|2 donations",
         "[Merge Members] Member 3 cannot be merged into itself: choose two different members.", unchanged, "1 2 3 4", 4,
         "0|0| PaymentDate"},
        {"member 1 merged away", "2", "1", ui::Yes, "Anonymous Donors|NONE|0 donations",
         "[Merge Members] Member 1 collects the donations of deleted members and cannot be merged away. "
         "Keep member 1 and merge the other member into it.",
         unchanged, "1 2 3 4", 4, "0|0| PaymentDate"},
        {"the question answered No", "2", "3", ui::No, "Bob Brown|2 Oak Ave|2 donations",
         "[Merge Members] Merge Bob Brown (member 3) into Ann Adams (member 2)? 2 donations will move to member 2.\n\n"
         "Member 3 will be deleted.",
         unchanged, "1 2 3 4", 4, "0|0| PaymentDate"},
        {"two donations move", "2", "3", ui::Yes, "Bob Brown|2 Oak Ave|2 donations",
         "[Merge Members] Merge Bob Brown (member 3) into Ann Adams (member 2)? 2 donations will move to member 2.\n\n"
         "Member 3 will be deleted.",
         "1:2 2:2 3:2 4:2 5:2", "1 2 4", 2, "$1,776.75|5| PaymentDate"},
        {"the current member kept, three donations move", nullptr, "2", ui::Yes, "Ann Adams|1 Elm St|3 donations",
         "[Merge Members] Merge Ann Adams (member 2) into Cy Clark (member 4)? 3 donations will move to member 4.\n\n"
         "Member 2 will be deleted.",
         "1:4 2:4 3:3 4:3 5:4", "1 3 4", 4, "$1,266.75|3| PaymentDate"},
        {"member 1 kept, nothing moves", "1", "4", ui::Yes, "Cy Clark|3 Pine Rd|0 donations",
         "[Merge Members] Merge Cy Clark (member 4) into Anonymous Donors (member 1)? No donations will move.\n\n"
         "Member 4 will be deleted.",
         unchanged, "1 2 3", 1, "0|0| PaymentDate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frmMain& f = executive();
        ASSERT_EQ(currentMember(f), 4);
        Shown shown;
        scriptMerge(ui(), c.keep, c.merge, shown);
        ui().queueAnswer(c.answer);
        f.mnuEditMergeMem_Click();
        EXPECT_EQ(shown.keep, "4") << "the current member is offered as the one to keep";
        EXPECT_EQ(shown.mergeSide, c.mergeSide);
        EXPECT_EQ(log(), QString::fromUtf8(c.messages));
        EXPECT_EQ(owners(), c.ownersAfter);
        EXPECT_EQ(memberRows(), c.membersAfter);
        EXPECT_EQ(currentMember(f), c.currentAfter);
        EXPECT_EQ(f.txtFields.text(0), QString::number(c.currentAfter));
        EXPECT_EQ(summary(f), c.summaryAfter);
        const bool merged = QLatin1String(c.ownersAfter) != QLatin1String(unchanged) || QLatin1String(c.membersAfter) != "1 2 3 4";
        EXPECT_EQ(shown.stillOpen, !merged) << "a refusal or No keeps the dialog";
        EXPECT_FALSE(f.S.DialogCancelled);
        restart();
    }
}

TEST_F(MergeTest, AMergeIsAllOrNothingWhereverTheFileRefusesAWriteAndTheDialogKeepsItsChoice)
{
    frmMain& f = executive();
    goToMember(f, 3);
    // Member 2 has three donations: three rows moved and the member deleted, four writes.
    for (int refused = 1; refused <= 4; ++refused) {
        SCOPED_TRACE(refused);
        refuseWrite(f, refused);
        ui().clearLog();
        QString keptText;
        QString mergeText;
        bool open = false;
        ui().queueDialog([&](QDialog& d) {
            auto& dialog = static_cast<MergeMembers&>(d);
            dialog.txtMerge->setText(QStringLiteral("2"));
            ui::click(d, "cmdOK");
            open = d.isVisible();
            keptText = dialog.txtKeep->text();
            mergeText = dialog.txtMerge->text();
            ui::click(d, "cmdCancel");
        });
        ui().queueAnswer(ui::Yes);
        f.mnuEditMergeMem_Click();
        EXPECT_TRUE(open);
        EXPECT_EQ(keptText, "3");
        EXPECT_EQ(mergeText, "2");
        EXPECT_EQ(owners(), "1:2 2:2 3:3 4:3 5:2");
        EXPECT_EQ(memberRows(), "1 2 3 4");
        const auto messages = ui().messages();
        ASSERT_EQ(messages.size(), 2u) << log().toStdString();
        EXPECT_EQ(messages[0].title, "Merge Members");
        EXPECT_EQ(messages[1].title, "QUIL Data Error");
        EXPECT_EQ(messages[1].icon, ui::Icon::Critical);
        EXPECT_TRUE(messages[1].prompt.startsWith("The members were not merged: nothing has been changed."))
            << messages[1].prompt.toStdString();
        EXPECT_TRUE(messages[1].prompt.contains("refused by the test"));
        EXPECT_EQ(currentMember(f), 3) << "the window stays on its member";
        EXPECT_EQ(gridIds(f), "4 3");
        EXPECT_EQ(f.datPrimaryRS->recordset()->recordCount(), 4);
        EXPECT_TRUE(sqlite3_get_autocommit(f.S.db->connection().handle())) << "no transaction left open";
    }
    // Nothing was left half-done: without a refusal the same merge goes through.
    refuseWrite(f, 0);
    ui().clearLog();
    Shown shown;
    scriptMerge(ui(), nullptr, "2", shown);
    ui().queueAnswer(ui::Yes);
    f.mnuEditMergeMem_Click();
    EXPECT_FALSE(shown.stillOpen);
    EXPECT_EQ(owners(), "1:3 2:3 3:3 4:3 5:3");
    EXPECT_EQ(memberRows(), "1 3 4");
    EXPECT_EQ(currentMember(f), 3);
    EXPECT_EQ(summary(f), "$1,776.75|5| PaymentDate");
}

} // namespace
