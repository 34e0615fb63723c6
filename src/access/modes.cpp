// Mode > Standard and Mode > Executive: what each mode offers, switched element by element in the
// order the program has always switched them, and the password that opens Executive mode.
#include "access/access_commands.h"

#include "access/pass_box.h"
#include "access/password_check.h"
#include "frame/frm_main.h"
#include "platform/ui/ui.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <initializer_list>
#include <iterator>

namespace {

// An element of the mode table with its state in each mode. Only the other mode's command is
// offered: "Exec" and "Executive" in Standard mode, "Stand" and "Standard" in Executive mode.
struct ModeSwitch {
    const char* name;
    bool standard;
    bool executive;
};

// The toolbar buttons, by key, in their order. "MemView" is last: Standard leaves it to the
// Member View command it runs first, which disables it.
constexpr ModeSwitch kButtons[] = {
    {"Print", false, true},   {"Exec", true, false},     {"Stand", false, true},
    {"DeleteD", false, true}, {"DeleteM", false, true},  {"FltrMem", false, true},
    {"FltrDonat", false, true}, {"ListView", false, true}, {"MemView", false, false},
};
constexpr std::size_t kStandardButtons = std::size(kButtons) - 1;

// The menu items, in their order.
struct MenuSwitch {
    QAction* frmMain::*item;
    bool standard;
    bool executive;
};
const MenuSwitch kMenuItems[] = {
    {&frmMain::mnuQuilProperties, false, true}, {&frmMain::mnuCompact, false, true},
    {&frmMain::mnuFilePrint, false, true},      {&frmMain::mnuView, false, true},
    {&frmMain::mnuFilter, false, true},         {&frmMain::mnuEditDelPay, false, true},
    {&frmMain::mnuEditDelMem, false, true},     {&frmMain::mnuStandard, false, true},
    {&frmMain::mnuExecMode, true, false},       {&frmMain::mnuFileNewClone, false, true},
    // Our own additions after the program's items: the CSV exports and imports, restoring a
    // backup over the file, copying it away from the computer, merging two members (which
    // deletes one) and the file's own password are Executive work.
    {&frmMain::mnuFileExport, false, true},     {&frmMain::mnuFileImport, false, true},
    {&frmMain::mnuFileRestore, false, true},    {&frmMain::mnuEditMergeMem, false, true},
    {&frmMain::mnuFileBackupTo, false, true},
    {&frmMain::mnuFileGivingStatements, false, true},
    {&frmMain::mnuFileFundTotals, false, true},     {&frmMain::mnuFileSetPassword, false, true},
};

void switchMenuItems(frmMain& f, bool executive)
{
    for (const MenuSwitch& m : kMenuItems)
        (f.*m.item)->setEnabled(executive ? m.executive : m.standard);
}

// The rapid search group, which only Standard mode shows.
void showRapidSearch(frmMain& f, bool shown)
{
    for (QWidget* w : std::initializer_list<QWidget*>{f.EntNme, f.C_List, f.Shape1, f.Shape3, f.Label1})
        w->setVisible(shown);
}

} // namespace

void AccessCommands::mnuExecMode_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    QString typed;
    {
        PassBox box(S, &f);
        ui::current().runModal(box);
        typed = box.txtPassword->text();
    }
    if (S.DialogCancelled) {
        S.DialogCancelled = false;
        return;
    }
    if (!modes::isExecutivePassword(*S.db, typed)) {
        S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("Incorrect Password"), ui::Buttons::OKOnly,
                                   ui::Icon::Critical, QStringLiteral("Security"));
        return;
    }
    applyExecutiveColumn();
    f.records->RequeryView();
    f.WhichViewT->show();
}

void AccessCommands::applyExecutiveColumn()
{
    for (const ModeSwitch& b : kButtons)
        f.Button(QLatin1String(b.name))->setEnabled(b.executive);
    switchMenuItems(f, true);
    f.Label4->show();
    f.Label5->show();
    f.txtFields[8]->show();
    for (QWidget* field : f.txtFields)
        field->setEnabled(true);
    showRapidSearch(f, false);
    f.S.StandardMode = false;
    f.grdDataGrid->show();
}

void AccessCommands::mnuStandard_Click()
{
    f.mnuMemView_Click();
    applyStandardColumn();
    f.EntNme->setFocus();
    f.EntNme->clear();
    f.WhichViewT->hide();
    if (f.S.db)
        f.records->RequeryView();
}

void AccessCommands::applyStandardColumn()
{
    for (std::size_t i = 0; i < kStandardButtons; ++i)
        f.Button(QLatin1String(kButtons[i].name))->setEnabled(kButtons[i].standard);
    switchMenuItems(f, false);
    f.Label4->hide();
    f.Label5->hide();
    f.Label2->setText(QStringLiteral("0"));
    f.Label7->setText(QStringLiteral("Not Available"));
    f.S.StandardMode = true;
    f.grdDataGrid->hide();
    f.txtFields[8]->hide();
    for (QWidget* field : f.txtFields)
        field->setEnabled(false);
    showRapidSearch(f, true);
}
