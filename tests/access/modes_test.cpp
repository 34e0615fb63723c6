// Standard and Executive mode through the real window: the whole mode table checked after every
// command (Executive with a good, a wrong and no password, Standard, Close), the password look-up
// (letter case, every entry of the list, apostrophes and wildcards typed, empty and huge texts),
// and Standard leaving List View with its filters for Member View with every member.
#include "access/password_check.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "support/executive.h"
#include "support/qstring_printer.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <functional>
#include <vector>

namespace {

using quiltest::enterExecutive;

enum class Mode { Standard, Executive };

class ModesTest : public quiltest::WindowTest<> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (HasFatalFailure())
            return;
        sqlite::Connection c = keyed();
        for (const char* sql : {
                 "INSERT INTO Members (MemberID, FirstName, LastName, City) VALUES (2, 'Ann', 'Adams', 'Boston')",
                 "INSERT INTO Members (MemberID, FirstName, LastName, City) VALUES (3, 'Bob', 'Brown', 'Salem')",
                 "INSERT INTO Payments VALUES (1, 250000, 101, 'General', '2001-03-15 00:00:00', 2)",
                 "INSERT INTO Payments VALUES (2, 100000, 102, 'Roof', '2001-04-15 00:00:00', 3)",
                 "INSERT INTO Payments VALUES (3, 50000, 103, 'Roof', '2001-05-15 00:00:00', 3)",
                 "INSERT INTO Passwords (PassName, MyPassWord, OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo) "
                 "VALUES ('Treasurer', 'St. Mary''s', '', '', '', '', '')",
                 "INSERT INTO Passwords (PassName, MyPassWord, OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo) "
                 "VALUES ('Secretary', 'école', '', '', '', '', '')",
             })
            c.exec(QString::fromUtf8(sql));
    }

    frmMain& openFile()
    {
        frmMain& f = build();
        f.WhichViewT->hide();  // as start-up leaves it
        openCopy();
        ui().clearLog();
        return f;
    }

    // Every element of the mode table with its state in each mode, read off the window.
    struct Element {
        const char* name;
        std::function<QString(frmMain&)> read;
        const char* standard;
        const char* executive;
    };

    static QString enabled(bool on) { return on ? QStringLiteral("enabled") : QStringLiteral("disabled"); }
    static QString shown(const QWidget* w) { return w->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"); }

    static std::vector<Element> table()
    {
        std::vector<Element> rows;
        auto button = [&](const char* key, const char* s, const char* e) {
            rows.push_back({key, [key](frmMain& f) { return enabled(f.Button(QLatin1String(key))->isEnabled()); }, s, e});
        };
        auto menu = [&](const char* name, QAction* frmMain::*item, const char* s, const char* e) {
            rows.push_back({name, [item](frmMain& f) { return enabled((f.*item)->isEnabled()); }, s, e});
        };
        auto widget = [&](const char* name, std::function<const QWidget*(frmMain&)> w, const char* s, const char* e) {
            rows.push_back({name, [w](frmMain& f) { return shown(w(f)); }, s, e});
        };
        for (const char* key : {"Print", "Stand", "DeleteD", "DeleteM", "FltrMem", "FltrDonat", "ListView"})
            button(key, "disabled", "enabled");
        button("Exec", "enabled", "disabled");
        button("MemView", "disabled", "disabled");
        menu("mnuQuilProperties", &frmMain::mnuQuilProperties, "disabled", "enabled");
        menu("mnuCompact", &frmMain::mnuCompact, "disabled", "enabled");
        menu("mnuFilePrint", &frmMain::mnuFilePrint, "disabled", "enabled");
        menu("mnuView", &frmMain::mnuView, "disabled", "enabled");
        menu("mnuFilter", &frmMain::mnuFilter, "disabled", "enabled");
        menu("mnuEditDelPay", &frmMain::mnuEditDelPay, "disabled", "enabled");
        menu("mnuEditDelMem", &frmMain::mnuEditDelMem, "disabled", "enabled");
        menu("mnuStandard", &frmMain::mnuStandard, "disabled", "enabled");
        menu("mnuExecMode", &frmMain::mnuExecMode, "enabled", "disabled");
        menu("mnuFileNewClone", &frmMain::mnuFileNewClone, "disabled", "enabled");
        menu("mnuFileExport", &frmMain::mnuFileExport, "disabled", "enabled");
        menu("mnuFileRestore", &frmMain::mnuFileRestore, "disabled", "enabled");
        menu("mnuFileSetPassword", &frmMain::mnuFileSetPassword, "disabled", "enabled");
        menu("mnuFileBackupTo", &frmMain::mnuFileBackupTo, "disabled", "enabled");
        menu("mnuFileImport", &frmMain::mnuFileImport, "disabled", "enabled");
        menu("mnuEditMergeMem", &frmMain::mnuEditMergeMem, "disabled", "enabled");
        menu("mnuFileGivingStatements", &frmMain::mnuFileGivingStatements, "disabled", "enabled");
        menu("mnuFileFundTotals", &frmMain::mnuFileFundTotals, "disabled", "enabled");
        // Both modes enter donations, so both keep a batch.
        menu("mnuEditBatch", &frmMain::mnuEditBatch, "enabled", "enabled");
        widget("Label4", [](frmMain& f) { return f.Label4; }, "hidden", "shown");
        widget("Label5", [](frmMain& f) { return f.Label5; }, "hidden", "shown");
        widget("grdDataGrid", [](frmMain& f) { return f.grdDataGrid; }, "hidden", "shown");
        widget("txtFields(8)", [](frmMain& f) { return f.txtFields[8]; }, "hidden", "shown");
        widget("EntNme", [](frmMain& f) { return f.EntNme; }, "shown", "hidden");
        widget("C_List", [](frmMain& f) { return f.C_List; }, "shown", "hidden");
        widget("Shape1", [](frmMain& f) { return f.Shape1; }, "shown", "hidden");
        widget("Shape3", [](frmMain& f) { return f.Shape3; }, "shown", "hidden");
        widget("Label1", [](frmMain& f) { return f.Label1; }, "shown", "hidden");
        widget("WhichViewT", [](frmMain& f) { return f.WhichViewT; }, "hidden", "shown");
        // Not touched by either command.
        widget("Label8", [](frmMain& f) { return f.Label8; }, "shown", "shown");
        for (int i = 0; i < 9; ++i)
            rows.push_back({"txtFields", [i](frmMain& f) { return enabled(f.txtFields[i]->isEnabled()); }, "disabled", "enabled"});
        rows.push_back({"StandardMode", [](frmMain& f) { return QString(f.S.StandardMode ? "True" : "False"); }, "True", "False"});
        rows.push_back({"Label2", [](frmMain& f) { return f.Label2->text(); }, "0", "2"});
        rows.push_back({"Label7", [](frmMain& f) { return f.Label7->text(); }, "Not Available", "$15.00"});
        rows.push_back({"ViewName", [](frmMain& f) { return f.S.ViewName; }, "Member View", "Member View"});
        for (const char* key : {"Donat", "AddGuy", "Open"})
            rows.push_back({key, [key](frmMain& f) { return enabled(f.Button(QLatin1String(key))->isEnabled()); },
                            key == QLatin1String("Open") ? "disabled" : "enabled", key == QLatin1String("Open") ? "disabled" : "enabled"});
        return rows;
    }

    void expectMode(frmMain& f, Mode mode, const char* after)
    {
        for (const Element& e : table()) {
            const char* expected = mode == Mode::Executive ? e.executive : e.standard;
            EXPECT_EQ(e.read(f), QString::fromUtf8(expected)) << e.name << " after " << after;
        }
    }
};

TEST_F(ModesTest, EveryCommandLeavesTheWholeTableOfItsMode)
{
    frmMain& f = openFile();
    struct Step {
        const char* what;
        std::function<void(frmMain&, ui::ScriptedUi&)> run;
        Mode mode;
        const char* message;  // "" for none
    };
    const Step steps[] = {
        {"the open", [](frmMain&, ui::ScriptedUi&) {}, Mode::Standard, ""},
        {"Executive, cancelled",
         [](frmMain& f, ui::ScriptedUi& ui) {
             ui.queueDialog([](QDialog& d) {
                 ui::child<QLineEdit>(d, "txtPassword").setText("admin");
                 ui::click(d, "cmdCancel");
             });
             f.mnuExecMode_Click();
         },
         Mode::Standard, ""},
        {"Executive, wrong password", [](frmMain& f, ui::ScriptedUi& ui) { enterExecutive(f, ui, "nimda"); }, Mode::Standard,
         "Incorrect Password"},
        {"Executive, empty password", [](frmMain& f, ui::ScriptedUi& ui) { enterExecutive(f, ui, ""); }, Mode::Standard,
         "Incorrect Password"},
        {"Executive, the button, the right password at once after a wrong one",
         [](frmMain& f, ui::ScriptedUi& ui) {
             quiltest::answerPassword(ui, "admin");
             f.Button("Exec")->trigger();
         },
         Mode::Executive, ""},
        {"Standard, the menu item", [](frmMain& f, ui::ScriptedUi&) { f.mnuStandard->trigger(); }, Mode::Standard, ""},
        {"Executive, the menu item",
         [](frmMain& f, ui::ScriptedUi& ui) {
             quiltest::answerPassword(ui, "ADMIN");
             f.mnuExecMode->trigger();
         },
         Mode::Executive, ""},
        {"Standard, the button", [](frmMain& f, ui::ScriptedUi&) { f.Button("Stand")->trigger(); }, Mode::Standard, ""},
    };
    for (const Step& step : steps) {
        ui().clearLog();
        step.run(f, ui());
        expectMode(f, step.mode, step.what);
        const auto messages = ui().messages();
        if (*step.message) {
            ASSERT_EQ(messages.size(), 1u) << step.what;
            EXPECT_EQ(messages[0].prompt, step.message);
            EXPECT_EQ(messages[0].title, "Security");
            EXPECT_EQ(messages[0].icon, ui::Icon::Critical);
            EXPECT_EQ(ui().beepCount(), 1) << step.what;
        } else {
            EXPECT_TRUE(messages.empty()) << step.what << ": " << (messages.empty() ? "" : messages[0].prompt.toStdString());
        }
        EXPECT_FALSE(f.S.DialogCancelled) << step.what;
        EXPECT_EQ(ui().pendingScripts(), 0) << step.what;
        if (step.mode == Mode::Executive) {
            EXPECT_EQ(f.WhichViewT->text(), "Member View");
            EXPECT_EQ(f.txtFields.text(0), "3") << "the view stands on the last member";
        } else {
            EXPECT_TRUE(f.EntNme->text().isEmpty());
        }
    }
}

TEST_F(ModesTest, StandardEmptiesTheRapidSearchAndGivesItTheFocus)
{
    frmMain& f = openFile();
    f.show();
    enterExecutive(f, ui());
    f.EntNme->setText("a");  // hidden, but holding text from before
    f.mnuStandard_Click();
    EXPECT_TRUE(f.EntNme->text().isEmpty());
    EXPECT_EQ(f.C_List->count(), 0);
    EXPECT_EQ(f.focusWidget(), f.EntNme);
}

TEST_F(ModesTest, ThePasswordIsLookedUpAsTypedInEveryEntryWithLetterCaseIgnored)
{
    frmMain& f = openFile();
    struct Case {
        QString typed;
        bool opens;
    };
    const Case cases[] = {
        {"admin", true},
        {"ADMIN", true},
        {"aDmIn", true},
        {"St. Mary's", true},          // an apostrophe is part of the password
        {"st. mary's", true},
        {"ÉCOLE", true},               // letter case of every alphabet
        {"ecole", false},              // but not the accents
        {"admin ", false},
        {" admin", false},
        {"adm*", false},               // wildcards are characters like any other
        {"adm%", false},
        {"adm?n", false},
        {"[a]dmin", false},
        {"#", false},
        {"x' Or 'a'='a", false},       // no condition can be smuggled in
        {"' Or MyPassWord Like '*", false},
        {"St. Mary''s", false},
        {"", false},
        {QString(10000, u'a'), false},
        {QStringLiteral("admin") + QChar(0), false},
        {"Administrator", false},      // the entry's name is no password
    };
    for (const Case& c : cases) {
        EXPECT_EQ(modes::isExecutivePassword(*f.S.db, c.typed), c.opens) << c.typed.left(40).toStdString();
        ui().clearLog();
        enterExecutive(f, ui(), c.typed);
        EXPECT_EQ(f.S.StandardMode, !c.opens) << c.typed.left(40).toStdString();
        EXPECT_EQ(ui().messages().size(), c.opens ? 0u : 1u) << c.typed.left(40).toStdString();
        if (c.opens)
            f.mnuStandard_Click();
    }
}

TEST_F(ModesTest, StandardLeavesListViewAndItsFiltersForMemberViewWithEveryMember)
{
    frmMain& f = openFile();
    enterExecutive(f, ui());
    f.mnuListView_Click();
    f.S.DonationFilter = QStringLiteral(" WHERE [Destination] Like 'Roof' ");
    f.S.MemberFilter = QStringLiteral("[City] Like 'Boston' ");
    ASSERT_EQ(f.S.ViewName, "List View");
    f.mnuStandard_Click();
    EXPECT_EQ(f.S.ViewName, "Member View");
    EXPECT_FALSE(f.S.ListViewActive);
    EXPECT_TRUE(f.S.DonationFilter.isEmpty());
    EXPECT_TRUE(f.S.MemberFilter.isEmpty());
    EXPECT_EQ(f.datPrimaryRS->recordset()->recordCount(), 3);
    EXPECT_FALSE(f.datPrimaryRS->isHidden());
    expectMode(f, Mode::Standard, "Standard from List View");
    // Close runs Standard too: a file opened afterwards starts in Standard mode.
    enterExecutive(f, ui());
    f.mnuFileClose_Click();
    EXPECT_TRUE(f.S.StandardMode);
    openCopy();
    ui().clearLog();
    expectMode(f, Mode::Standard, "Close and a new open");
}

TEST_F(ModesTest, ThePasswordDialogMasksWhatIsTypedAndOpensEmpty)
{
    frmMain& f = openFile();
    for (int round = 0; round < 2; ++round) {
        ui().queueDialog([](QDialog& d) {
            EXPECT_EQ(d.objectName(), "PassBox");
            EXPECT_EQ(d.windowTitle(), "Enter Password");
            auto& box = ui::child<QLineEdit>(d, "txtPassword");
            EXPECT_TRUE(box.text().isEmpty());
            EXPECT_EQ(box.echoMode(), QLineEdit::Password);
            EXPECT_EQ(ui::child<QLabel>(d, "lblLabels").text(), "&Password:");
            EXPECT_EQ(ui::child<QPushButton>(d, "cmdOK").text(), "&OK");
            EXPECT_TRUE(ui::child<QPushButton>(d, "cmdOK").isDefault());
            EXPECT_EQ(ui::child<QPushButton>(d, "cmdCancel").text(), "&Cancel");
            box.setText("wrong");
            d.reject();  // Escape and the close box
        });
        f.mnuExecMode_Click();
        EXPECT_TRUE(ui().messages().empty());
        EXPECT_FALSE(f.S.DialogCancelled);
        EXPECT_TRUE(f.S.StandardMode);
    }
}

} // namespace
