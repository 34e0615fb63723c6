// The Administrator Mode dialog over a template copy: which typed passwords open the list, the
// cell rules as one table, Add New and Delete with their questions, the safeguard around a row
// deleted through the grid, a file without the administrator entry, and writes the file refuses.
#include "support/fixture_db.h"
#include "access/admin.h"
#include "support/qstring_printer.h"
#include "support/window_fixture.h"

#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "platform/jet/translator.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QStringList passwordRows(const sqlite::Connection& c)
{
    auto s = const_cast<sqlite::Connection&>(c).prepare("SELECT PassName, MyPassWord FROM Passwords ORDER BY rowid");
    QStringList rows;
    while (s.step())
        rows << s.text(0) + u'|' + s.text(1);
    return rows;
}

class AdminTest : public quiltest::WindowTest<> {
protected:
    QStringList stored() { return passwordRows(keyed()); }

    void setPasswords(const QStringList& statements)
    {
        sqlite::Connection c = keyed();
        for (const QString& s : statements)
            c.exec(s);
    }

    // The dialog in its list phase, after the administrator's password.
    std::unique_ptr<Admin> openList(const QString& password = QString::fromLatin1(db::templ::AdminPassword))
    {
        auto dialog = std::make_unique<Admin>(window_->S, window_->S.db, window_.get());
        dialog->show();
        dialog->Text1->setText(password);
        dialog->Command1_Click();
        EXPECT_TRUE(dialog->inListPhase());
        return dialog;
    }

    QString cell(Admin& d, int row, int column)
    {
        return d.Grid1Model->data(d.Grid1Model->index(row, column)).toString();
    }
};

TEST_F(AdminTest, TheAdministratorsPasswordInAnyLetterCaseOpensTheListAndNothingElseDoes)
{
    struct Case {
        QString stored;  // the administrator's password in the file
        QString typed;
        bool opens;
    };
    const Case cases[] = {
        {"admin", "admin", true},
        {"admin", "ADMIN", true},
        {"admin", "admi", false},
        {"admin", "", false},
        {"admin", "admin'", false},
        {"admin", "' or '1'='1", false},
        {"admin", "*", false},
        {"O'Brien's", "o'brien's", true},
        {"Ärger über", "ärger ÜBER", true},
        {"Ärger über", "Arger uber", false},
        {QString(50, u'x'), QString(50, u'X'), true},
    };
    frmMain& f = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        {
            sqlite::Connection k = keyed();
            auto s = k.prepare("UPDATE Passwords SET MyPassWord = ? WHERE PassName = 'Administrator'");
            s.bind(1, c.stored);
            s.step();
        }
        // Another entry's password never opens the list.
        ui().clearLog();
        Admin dialog(f.S, f.S.db, &f);
        ASSERT_TRUE(dialog.AdminFound);
        EXPECT_EQ(dialog.SavedAdminPassword, c.stored);
        EXPECT_EQ(dialog.Label1->text(), "Enter Administrator Password");
        EXPECT_EQ(dialog.Text1->echoMode(), QLineEdit::Password);
        dialog.show();
        dialog.Text1->setText(c.typed);
        dialog.Command1_Click();
        EXPECT_EQ(dialog.inListPhase(), c.opens);
        EXPECT_EQ(dialog.isVisible(), c.opens);
        EXPECT_EQ(ui().beepCount(), c.opens ? 0 : 1);
        EXPECT_TRUE(ui().messages().empty());
        if (c.opens) {
            EXPECT_EQ(dialog.Label1->text(), "Executive Password List");
            EXPECT_TRUE(dialog.Text1->isHidden());
            for (QWidget* w : {static_cast<QWidget*>(dialog.Label2), static_cast<QWidget*>(dialog.Command2),
                               static_cast<QWidget*>(dialog.Command3)})
                EXPECT_FALSE(w->isHidden()) << w->objectName().toStdString();
            EXPECT_EQ(dialog.Grid1Model->headerData(0, Qt::Horizontal).toString(), " Name");
            EXPECT_EQ(dialog.Grid1Model->headerData(1, Qt::Horizontal).toString(), " Password");
            EXPECT_EQ(cell(dialog, 0, 0), "Administrator");
            dialog.Command1_Click();
            EXPECT_FALSE(dialog.isVisible());
        }
        EXPECT_FALSE(f.S.DialogCancelled);
    }
}

TEST_F(AdminTest, TheCellRules)
{
    struct Case {
        const char* name;
        int row;        // 0: Administrator, 1: an entry named "Clerk"
        int column;
        QString typed;
        QString written;     // what the cell holds afterwards
        const char* prompt;  // the message, or "" for none
        int beeps;
    };
    const QString longText(51, u'n');
    const Case cases[] = {
        {"renaming the administrator", 0, 0, "Boss", "Administrator", "You Cannot Edit This Name.", 1},
        {"the administrator renamed in its own name", 0, 0, "ADMINISTRATOR", "Administrator", "You Cannot Edit This Name.", 1},
        {"another administrator", 1, 0, "administrator", "User", "You Cannot Have Another Administrator.", 1},
        {"another ADMINISTRATOR", 1, 0, "ADMINistrator", "User", "You Cannot Have Another Administrator.", 1},
        {"a name cleared", 1, 0, "", "Clerk", "", 1},
        {"a name with an apostrophe", 1, 0, "O'Hara", "O'Hara", "", 0},
        {"a name in another alphabet", 1, 0, "Ζωή", "Ζωή", "", 0},
        {"a name longer than the field", 1, 0, longText, "Clerk", "A name can have at most 50 characters.", 1},
        {"a name of exactly the field", 1, 0, QString(50, u'n'), QString(50, u'n'), "", 0},
        {"a three-letter password", 1, 1, "abc", "clerkpw", "", 1},
        {"an empty password", 1, 1, "", "clerkpw", "", 1},
        {"a four-letter password", 1, 1, "abcd", "abcd", "", 0},
        {"the administrator's new password", 0, 1, "n'ew!", "n'ew!", "", 0},
        {"a password longer than the field", 1, 1, longText, "clerkpw", "A password can have at most 50 characters.", 1},
    };
    frmMain& f = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setPasswords({"DELETE FROM Passwords WHERE PassName <> 'Administrator'",
                      "UPDATE Passwords SET MyPassWord = 'admin'",
                      "INSERT INTO Passwords (PassName, MyPassWord) VALUES ('Clerk', 'clerkpw')"});
        f.S.db->noteWrite();
        auto dialog = openList();
        ui().clearLog();
        const QModelIndex index = dialog->Grid1Model->index(c.row, c.column);
        dialog->Grid1Model->setData(index, c.typed);
        EXPECT_EQ(cell(*dialog, c.row, c.column), c.written);
        EXPECT_EQ(ui().beepCount(), c.beeps);
        if (*c.prompt) {
            ASSERT_EQ(ui().messages().size(), 1u);
            EXPECT_EQ(ui().messages()[0].prompt, c.prompt);
            EXPECT_EQ(ui().messages()[0].title, "QUIL");
            EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Critical);
        } else {
            EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
        }
        // What the grid shows is what the file holds.
        dialog->Command1_Click();
        const QStringList rows = stored();
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[c.row].section(u'|', c.column, c.column), c.written);
    }
}

TEST_F(AdminTest, AddNewAndDelete)
{
    frmMain& f = open();
    auto dialog = openList();
    dialog->Command2_Click();
    dialog->Command2_Click();
    EXPECT_EQ(stored(), (QStringList{"Administrator|admin", "User|mavo", "User|mavo"}));
    EXPECT_EQ(dialog->Grid1Model->rowCount(), 3);
    EXPECT_EQ(dialog->Grid1->currentIndex().row(), 2);

    // The administrator cannot be deleted.
    dialog->Grid1->setCurrentIndex(dialog->Grid1Model->index(0, 0));
    ui().clearLog();
    dialog->Command3_Click();
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].prompt, "You Cannot Delete Administrator.");
    EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(stored().size(), 3);

    // An entry is deleted after Yes only, and the list stands on its first row.
    dialog->Grid1->setCurrentIndex(dialog->Grid1Model->index(1, 0));
    ui().clearLog();
    ui().queueAnswer(ui::No);
    dialog->Command3_Click();
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].prompt, "Delete Password Entry for User");
    EXPECT_EQ(ui().messages()[0].title, "Confirm Delete");
    EXPECT_EQ(ui().messages()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(ui().beepCount(), 1);
    EXPECT_EQ(stored().size(), 3);
    EXPECT_EQ(f.S.LastAnswer, ui::No);
    ui().queueAnswer(ui::Yes);
    dialog->Command3_Click();
    EXPECT_EQ(stored(), (QStringList{"Administrator|admin", "User|mavo"}));
    EXPECT_EQ(dialog->Grid1Model->rowCount(), 2);
    EXPECT_EQ(dialog->Grid1->currentIndex().row(), 0);

    // The new entry's password opens Executive mode's list lookup like any other.
    EXPECT_EQ(cell(*dialog, 1, 1), "mavo");
}

TEST_F(AdminTest, TheAdministratorDeletedThroughTheGridIsPutBack)
{
    frmMain& f = open();
    setPasswords({"INSERT INTO Passwords (PassName, MyPassWord) VALUES ('Clerk', 'clerkpw')"});
    f.S.db->noteWrite();
    for (const QString& name : {QStringLiteral("Administrator"), QStringLiteral("Clerk")}) {
        SCOPED_TRACE(name.toStdString());
        const bool admin = name == "Administrator";
        auto dialog = openList();
        ui().clearLog();
        dao::Recordset* rs = dialog->AdminDat->recordset();
        rs->findFirst("PassName = " + jet::quoted(name));
        ASSERT_FALSE(rs->noMatch());
        bool cancel = false;
        dialog->Grid1_BeforeDelete(cancel);
        EXPECT_FALSE(cancel);
        EXPECT_EQ(dialog->AdminRowDeleted, admin);
        rs->deleteCurrent();
        dialog->Grid1_AfterDelete();
        EXPECT_FALSE(dialog->AdminRowDeleted);
        const QStringList rows = stored();
        EXPECT_EQ(rows.count("Administrator|admin"), 1) << rows.join(' ').toStdString();
        if (admin) {
            ASSERT_EQ(ui().messages().size(), 1u);
            EXPECT_EQ(ui().messages()[0].prompt, "You Cannot Delete Administrator.");
        } else {
            EXPECT_TRUE(ui().messages().empty());
            EXPECT_FALSE(rows.contains("Clerk|clerkpw"));
        }
        dialog->Command1_Click();
    }
}

TEST_F(AdminTest, AFileWithoutTheAdministratorEntryOffersNoList)
{
    frmMain& f = open();
    setPasswords({"UPDATE Passwords SET PassName = 'Boss'"});
    f.S.db->noteWrite();
    ui().clearLog();
    f.mnuAdminMode->setEnabled(true);
    f.administration->mnuAdminMode_Click();
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_TRUE(ui().messages()[0].prompt.contains("no Administrator entry"));
    EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(ui().trace().filter("dialog:").size(), 0);  // the dialog was never shown
    EXPECT_FALSE(f.S.DialogCancelled);
}

TEST_F(AdminTest, TheMenuCommandRunsTheDialogModally)
{
    frmMain& f = open();
    bool sawList = false;
    ui().queueDialog([&](QDialog& d) {
        auto& admin = static_cast<Admin&>(d);
        admin.Text1->setText("ADMIN");
        ui::click(admin, "Command1");
        sawList = admin.inListPhase();
        ui::click(admin, "Command2");
        ui::click(admin, "Command1");
    });
    f.mnuAdminMode_Click();
    EXPECT_TRUE(sawList);
    EXPECT_EQ(stored(), (QStringList{"Administrator|admin", "User|mavo"}));
    EXPECT_EQ(ui().pendingScripts(), 0);
}

TEST_F(AdminTest, AnEntryTheFileRefusesIsOneMessageAndNoRow)
{
    frmMain& f = open();
    quiltest::write(*f.S.db, "CREATE TEMP TRIGGER refuse BEFORE INSERT ON Passwords "
                              "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    auto dialog = openList();
    ui().clearLog();
    dialog->Command2_Click();
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].title, "QUIL Data Error");
    EXPECT_TRUE(ui().messages()[0].prompt.contains("refused by the test"));
    EXPECT_EQ(dialog->Grid1Model->rowCount(), 1);
    EXPECT_EQ(stored(), QStringList{"Administrator|admin"});
    // The list is still usable.
    dialog->Grid1Model->setData(dialog->Grid1Model->index(0, 1), "fresh");
    EXPECT_EQ(stored(), QStringList{"Administrator|fresh"});
}

} // namespace
