// Enter on a focused button of every dialog of the program, each opened by its own command on the
// real window: the button with the focus is pressed (OK, the default, or Cancel), and no other.
// Enter in a box does what that dialog's rules say, unchanged.
#include "records/records_commands.h"
#include "support/executive.h"
#include "support/window_fixture.h"

#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <functional>

namespace {

class DialogKeysTest : public quiltest::WindowTest<> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        sqlite::Connection c = keyed();
        c.exec("INSERT INTO Members (FirstName, LastName, Address) VALUES ('Ann', 'Lee', '3 Bay Rd'), "
               "('Bob', 'Ray', '4 Elm St')");
    }

    QString membersCsv()
    {
        const QString path = dir_.file(QStringLiteral("members.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("First Name,Last Name,Address\r\nCy,Moe,5 Oak St\r\n");
        return path;
    }
};

struct KeyCase {
    const char* dialog;                          // the objectName of the dialog the command opens
    std::function<void(frmMain&)> open;          // the command, with what it asks first queued
    std::function<void(QDialog&)> prepare;       // what the user does before moving to the button
    const char* focus;                           // the control that has the focus when Enter comes
    Qt::KeyboardModifiers modifiers;             // Qt::KeypadModifier: the keypad's Enter
    const char* pressed;                         // the button Enter presses; "" for none
};

TEST_F(DialogKeysTest, EnterPressesTheFocusedButtonInEveryDialog)
{
    frmMain& f = open();
    quiltest::enterExecutive(f, ui());
    const auto none = [](QDialog&) {};
    const QString csv = membersCsv();
    const KeyCase cases[] = {
        {"AddMember", [](frmMain& w) { w.mnuEditAddMem_Click(); }, none, "Command1", {}, "Command1"},
        {"AddMember", [](frmMain& w) { w.mnuEditAddMem_Click(); }, none, "Command2", {}, "Command2"},
        // Enter in a box adds no half-typed member.
        {"AddMember", [](frmMain& w) { w.mnuEditAddMem_Click(); }, none, "NewMem(0)", {}, ""},
        {"MemQuery", [](frmMain& w) { w.mnuFilterMem_Click(); }, none, "Command1", {}, "Command1"},
        {"MemQuery", [](frmMain& w) { w.mnuFilterMem_Click(); }, none, "Command1", Qt::KeypadModifier, "Command1"},
        {"MemQuery", [](frmMain& w) { w.mnuFilterMem_Click(); }, none, "Command2", {}, "Command2"},
        {"MemQuery", [](frmMain& w) { w.mnuFilterMem_Click(); }, none, "TF(1)", {}, ""},
        {"DonatQuery", [](frmMain& w) { w.mnuFilterDonat_Click(); }, none, "Command1", {}, "Command1"},
        {"AddPayment", [](frmMain& w) { w.mnuEditAddPay_Click(); }, none, "Command1", {}, "Command1"},
        {"AddPayment", [](frmMain& w) { w.mnuEditAddPay_Click(); }, none, "Command2", {}, "Command2"},
        {"EditMemData", [](frmMain& w) { quiltest::recordsOf(w).txtFields_DblClick(1); }, none, "OkBut", {}, "OkBut"},
        {"MergeMembers", [](frmMain& w) { w.mnuEditMergeMem_Click(); }, none, "cmdOK", {}, "cmdOK"},
        {"BatchTotals", [](frmMain& w) { w.mnuEditBatch_Click(); }, none, "cmdOK", {}, "cmdOK"},
        {"Printouts", [](frmMain& w) { w.mnuFilePrint_Click(); }, [](QDialog& d) { ui::click(d, "PrnOp(1)"); },
         "Command1", {}, "Command1"},
        {"FundRange", [](frmMain& w) { w.mnuFileExportFunds_Click(); }, none, "cmdOK", {}, "cmdOK"},
        {"FundTotals", [](frmMain& w) { w.mnuFileFundTotals_Click(); }, none, "cmdClose", {}, "cmdClose"},
        {"OrgData", [](frmMain& w) { w.mnuQuilProperties_Click(); }, none, "Command2", {}, "Command2"},
        // A button that may not be the default once passed Enter on to the dialog's default, OK.
        {"OrgData", [](frmMain& w) { w.mnuQuilProperties_Click(); }, none, "Command1", {}, "Command1"},
        {"Admin", [](frmMain& w) { w.mnuAdminMode_Click(); }, none, "Command1", {}, "Command1"},
        {"RestoreBackup", [](frmMain& w) { w.mnuFileRestore_Click(); }, none, "cmdCancel", {}, "cmdCancel"},
        {"SetFilePassword", [](frmMain& w) { w.mnuFileSetPassword_Click(); }, none, "cmdCancel", {}, "cmdCancel"},
        {"GivingStatements", [](frmMain& w) { w.mnuFileGivingStatements_Click(); }, none, "cmdCancel", {}, "cmdCancel"},
        {"ImportPreview",
         [this, csv](frmMain& w) {
             ui().queueFile(csv);
             w.mnuFileImportMembers_Click();
         },
         none, "cmdImport", {}, "cmdImport"},
        {"About", [](frmMain& w) { w.mnuHelpAbout_Click(); }, none, "Command1", {}, "Command1"},
        {"PassBox", [](frmMain& w) { w.mnuExecMode_Click(); }, none, "cmdOK", {}, "cmdOK"},
        // OK is enabled only while Alt is held, so Enter never deletes; Cancel takes it.
        {"DelForm", [](frmMain& w) { w.mnuEditDelMem_Click(); }, none, "Command2", {}, "Command2"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string(c.dialog) + " " + c.focus + (c.modifiers ? " (keypad)" : ""));
        ui().clearPending();
        ui().clearLog();
        QString opened;
        QStringList pressed;
        ui().queueDialog([&](QDialog& d) {
            opened = d.objectName();
            c.prepare(d);
            for (QPushButton* b : d.findChildren<QPushButton*>())
                QObject::connect(b, &QPushButton::clicked, &d, [&pressed, b] { pressed << b->objectName(); });
            auto& target = ui::child<QWidget>(d, QString::fromLatin1(c.focus));
            target.setFocus();
            ASSERT_EQ(d.focusWidget(), &target);
            QKeyEvent enter(QEvent::KeyPress, c.modifiers ? Qt::Key_Enter : Qt::Key_Return, c.modifiers);
            QApplication::sendEvent(&target, &enter);
        });
        c.open(f);
        EXPECT_EQ(opened, c.dialog);
        EXPECT_EQ(pressed, *c.pressed ? QStringList{QString::fromLatin1(c.pressed)} : QStringList{});
    }
}

} // namespace
