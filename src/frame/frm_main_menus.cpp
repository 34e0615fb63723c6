// The menu bar, the menu handlers that belong to the window itself (Exit, Toolbar, About), the
// grid focus rule and the precedence of menu shortcuts over the text boxes' editing keys.
#include "frame/frm_main.h"

#include "frame/about_box.h"
#include "frame/dispatch.h"
#include "platform/data/data_control.h"
#include "platform/ui/ui.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QToolBar>

namespace {

struct MenuBuilder {
    frmMain* form;
    QMenu* menu;

    QAction* item(const char* name, const QString& caption, const QKeySequence& shortcut, bool enabled,
                  void (frmMain::*handler)()) const
    {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        action->setEnabled(enabled);
        // A click and the item's shortcut both come here.
        QObject::connect(action, &QAction::triggered, form, [f = form, handler] {
            frame::RunHandler(*f, frame::Origin::Menu, [f, handler] { (f->*handler)(); });
        });
        return action;
    }

    QAction* separator(const char* name) const
    {
        QAction* action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    }

    // A submenu or top-level menu is reached (and switched on and off) through its menu action.
    QAction* submenu(const char* name, const QString& caption, MenuBuilder& inner) const
    {
        QMenu* sub = menu->addMenu(caption);
        sub->setObjectName(QLatin1String(name));
        sub->menuAction()->setObjectName(QLatin1String(name));
        inner = MenuBuilder{form, sub};
        return sub->menuAction();
    }
};

MenuBuilder topLevel(frmMain* form, QMenuBar* bar, const char* name, const QString& caption, bool enabled,
                     QAction*& menuAction)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menuAction = menu->menuAction();
    menuAction->setObjectName(QLatin1String(name));
    menuAction->setEnabled(enabled);
    return MenuBuilder{form, menu};
}

QKeySequence ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }

} // namespace

void frmMain::createMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    using F = frmMain;

    MenuBuilder file = topLevel(this, bar, "mnuFile", QStringLiteral("&File"), true, mnuFile);
    MenuBuilder fileNew;
    mnuFileNew = file.submenu("mnuFileNew", QStringLiteral("New Database"), fileNew);
    mnuFileNewBlank = fileNew.item("mnuFileNewBlank", QStringLiteral("New Blank Database"), ctrl(Qt::Key_B), true,
                                   &F::mnuFileNewBlank_Click);
    mnuFileNewClone = fileNew.item("mnuFileNewClone", QStringLiteral("Clone and Clear"), ctrl(Qt::Key_C), false,
                                   &F::mnuFileNewClone_Click);
    mnuFileOpen = file.item("mnuFileOpen", QStringLiteral("Open Database"), ctrl(Qt::Key_O), true,
                            &F::mnuFileOpen_Click);
    mnuFileClose = file.item("mnuFileClose", QStringLiteral("Close Database"), ctrl(Qt::Key_L), false,
                             &F::mnuFileClose_Click);
    mnuCompact = file.item("mnuCompact", QStringLiteral("Repair / Compress"), ctrl(Qt::Key_R), false,
                           &F::mnuCompact_Click);
    mnuFileBar0 = file.separator("mnuFileBar0");
    mnuQuilProperties = file.item("mnuQuilProperties", QStringLiteral("Properties"), ctrl(Qt::Key_I), false,
                                  &F::mnuQuilProperties_Click);
    mnuFileBar2 = file.separator("mnuFileBar2");
    mnuFilePrint = file.item("mnuFilePrint", QStringLiteral("Print"), ctrl(Qt::Key_P), false,
                             &F::mnuFilePrint_Click);
    mnuFileBar3 = file.separator("mnuFileBar3");
    mnuFileExit = file.item("mnuFileExit", QStringLiteral("Exit"), ctrl(Qt::Key_X), true, &F::mnuFileExit_Click);
    // Added after the classic items, so that those keep their places. The submenu is an
    // Executive-mode element: disabled at start, switched with the others of that mode.
    mnuFileBar4 = file.separator("mnuFileBar4");
    MenuBuilder fileExport;
    mnuFileExport = file.submenu("mnuFileExport", QStringLiteral("Export"), fileExport);
    mnuFileExport->setEnabled(false);
    mnuFileExportMembers = fileExport.item("mnuFileExportMembers", QStringLiteral("Members..."), {}, true,
                                           &F::mnuFileExportMembers_Click);
    mnuFileExportDonations = fileExport.item("mnuFileExportDonations", QStringLiteral("Donations in View..."), {}, true,
                                             &F::mnuFileExportDonations_Click);
    mnuFileExportFunds = fileExport.item("mnuFileExportFunds", QStringLiteral("Fund Totals..."), {}, true,
                                         &F::mnuFileExportFunds_Click);
    MenuBuilder fileImport;
    mnuFileImport = file.submenu("mnuFileImport", QStringLiteral("Import"), fileImport);
    mnuFileImport->setEnabled(false);
    mnuFileImportMembers = fileImport.item("mnuFileImportMembers", QStringLiteral("Members..."), {}, true,
                                           &F::mnuFileImportMembers_Click);
    mnuFileImportDonations = fileImport.item("mnuFileImportDonations", QStringLiteral("Donations..."), {}, true,
                                             &F::mnuFileImportDonations_Click);
    // Executive work: a copy of every member's and donation's data leaves the computer.
    mnuFileBackupTo = file.item("mnuFileBackupTo", QStringLiteral("Back Up To..."), {}, false,
                                &F::mnuFileBackupTo_Click);
    // Also Executive work: it replaces the whole file.
    mnuFileRestore = file.item("mnuFileRestore", QStringLiteral("Restore Backup..."), {}, false,
                               &F::mnuFileRestore_Click);
    // Executive work: it rewrites the whole file under a new key.
    mnuFileSetPassword = file.item("mnuFileSetPassword", QStringLiteral("Set File Password..."), {}, false,
                                   &F::mnuFileSetPassword_Click);
    // Executive work too: the statements show every donor's gifts.
    mnuFileGivingStatements = file.item("mnuFileGivingStatements", QStringLiteral("Giving Statements..."), {}, false,
                                        &F::mnuFileGivingStatements_Click);
    // The treasurer's page for the books: Executive work, as Print is.
    mnuFileFundTotals = file.item("mnuFileFundTotals", QStringLiteral("Fund Totals..."), {}, false,
                                  &F::mnuFileFundTotals_Click);

    MenuBuilder edit = topLevel(this, bar, "mnuEdit", QStringLiteral("&Edit"), false, mnuEdit);
    mnuEditAddPay = edit.item("mnuEditAddPay", QStringLiteral("Add Donation"), ctrl(Qt::Key_A), true,
                              &F::mnuEditAddPay_Click);
    mnuEditDelPay = edit.item("mnuEditDelPay", QStringLiteral("Delete Donation"), ctrl(Qt::Key_D), false,
                              &F::mnuEditDelPay_Click);
    mnuEditAddMem = edit.item("mnuEditAddMem", QStringLiteral("Add Member"), ctrl(Qt::Key_M), true,
                              &F::mnuEditAddMem_Click);
    mnuEditDelMem = edit.item("mnuEditDelMem", QStringLiteral("Delete Member"), ctrl(Qt::Key_E), false,
                              &F::mnuEditDelMem_Click);
    // Added after the classic items. Merging is Executive work: disabled at start, switched
    // with that mode's other elements.
    mnuEditBar0 = edit.separator("mnuEditBar0");
    mnuEditMergeMem = edit.item("mnuEditMergeMem", QStringLiteral("Merge Members..."), {}, false,
                                &F::mnuEditMergeMem_Click);
    mnuEditBatch = edit.item("mnuEditBatch", QStringLiteral("Batch Totals..."), {}, true, &F::mnuEditBatch_Click);

    MenuBuilder view = topLevel(this, bar, "mnuView", QStringLiteral("&View"), false, mnuView);
    mnuViewToolbar = view.item("mnuViewToolbar", QStringLiteral("Toolbar"), {}, true, &F::mnuViewToolbar_Click);
    mnuViewToolbar->setCheckable(true);
    mnuViewToolbar->setChecked(true);
    mnuViewBar0 = view.separator("mnuViewBar0");
    MenuBuilder sort;
    Sort = view.submenu("Sort", QStringLiteral("Sort by"), sort);
    mnuSortPayID = sort.item("mnuSortPayID", QStringLiteral("Payment ID"), Qt::Key_F1, true, &F::mnuSortPayID_Click);
    mnuSortAmount = sort.item("mnuSortAmount", QStringLiteral("Payment Amount"), Qt::Key_F2, true,
                              &F::mnuSortAmount_Click);
    mnuSortCheck = sort.item("mnuSortCheck", QStringLiteral("Check Number"), Qt::Key_F3, true,
                             &F::mnuSortCheck_Click);
    mnuSortDest = sort.item("mnuSortDest", QStringLiteral("Destination"), Qt::Key_F4, true, &F::mnuSortDest_Click);
    mnuSortDate = sort.item("mnuSortDate", QStringLiteral("Payment Date"), Qt::Key_F5, true, &F::mnuSortDate_Click);

    MenuBuilder mode = topLevel(this, bar, "mnuData", QStringLiteral("&Mode"), false, mnuData);
    mnuStandard = mode.item("mnuStandard", QStringLiteral("Standard"), Qt::Key_F6, false, &F::mnuStandard_Click);
    mnuExecMode = mode.item("mnuExecMode", QStringLiteral("Executive"), Qt::Key_F7, true, &F::mnuExecMode_Click);
    mnuAdminMode = mode.item("mnuAdminMode", QStringLiteral("Aministrator"), ctrl(Qt::Key_W), true,
                             &F::mnuAdminMode_Click);

    MenuBuilder filter = topLevel(this, bar, "mnuFilter", QStringLiteral("Fil&ter"), false, mnuFilter);
    mnuFilterMem = filter.item("mnuFilterMem", QStringLiteral("Filter Members"), Qt::Key_F8, true,
                               &F::mnuFilterMem_Click);
    mnuFilterDonat = filter.item("mnuFilterDonat", QStringLiteral("Filter Donations"), Qt::Key_F9, true,
                                 &F::mnuFilterDonat_Click);
    mnuMemView = filter.item("mnuMemView", QStringLiteral("Member View"), Qt::Key_F11, false, &F::mnuMemView_Click);
    mnuListView = filter.item("mnuListView", QStringLiteral("List View"), Qt::Key_F12, true, &F::mnuListView_Click);

    // "About " opens its box straight from the menu bar; it has no menu of its own.
    mnuHelpAbout = bar->addAction(QStringLiteral("About "));
    mnuHelpAbout->setObjectName(QStringLiteral("mnuHelpAbout"));
    connect(mnuHelpAbout, &QAction::triggered, this,
            [this] { frame::RunHandler(*this, frame::Origin::Menu, [this] { mnuHelpAbout_Click(); }); });

    qApp->installEventFilter(this);
}

// ---- Handlers of the window itself -------------------------------------------------------------

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuViewToolbar_Click()
{
    // The item's check mark has already been toggled by the click.
    tbToolBar->setVisible(mnuViewToolbar->isChecked());
}

void frmMain::mnuHelpAbout_Click()
{
    // Made when shown, gone when closed: the box keeps no state.
    AboutBox box(S.AppDir, this);
    ui::current().runModal(box);
}

// ---- Commands of the subsystems, through their seams ------------------------------------------

void frmMain::mnuFileOpen_Click() { files->mnuFileOpen_Click(); }
void frmMain::mnuFileClose_Click() { files->mnuFileClose_Click(); }
void frmMain::mnuEditAddPay_Click() { records->mnuEditAddPay_Click(); }
void frmMain::mnuEditAddMem_Click() { records->mnuEditAddMem_Click(); }
void frmMain::mnuSortPayID_Click() { records->mnuSortPayID_Click(); }
void frmMain::mnuSortAmount_Click() { records->mnuSortAmount_Click(); }
void frmMain::mnuSortCheck_Click() { records->mnuSortCheck_Click(); }
void frmMain::mnuSortDest_Click() { records->mnuSortDest_Click(); }
void frmMain::mnuSortDate_Click() { records->mnuSortDate_Click(); }
void frmMain::mnuFilterMem_Click() { filters->mnuFilterMem_Click(); }
void frmMain::mnuFilterDonat_Click() { filters->mnuFilterDonat_Click(); }
void frmMain::mnuFilePrint_Click() { reports->mnuFilePrint_Click(); }
void frmMain::mnuFileFundTotals_Click() { reports->mnuFileFundTotals_Click(); }
void frmMain::mnuEditDelPay_Click() { records->mnuEditDelPay_Click(); }
void frmMain::mnuEditDelMem_Click() { records->mnuEditDelMem_Click(); }
void frmMain::mnuEditMergeMem_Click() { records->mnuEditMergeMem_Click(); }
void frmMain::mnuEditBatch_Click() { records->mnuEditBatch_Click(); }
void frmMain::mnuMemView_Click() { filters->mnuMemView_Click(); }
void frmMain::mnuListView_Click() { filters->mnuListView_Click(); }
void frmMain::mnuStandard_Click() { access->mnuStandard_Click(); }
void frmMain::mnuExecMode_Click() { access->mnuExecMode_Click(); }
void frmMain::mnuFileNewBlank_Click() { files->mnuFileNewBlank_Click(); }
void frmMain::mnuFileNewClone_Click() { files->mnuFileNewClone_Click(); }
void frmMain::mnuCompact_Click() { files->mnuCompact_Click(); }
void frmMain::mnuAdminMode_Click() { administration->mnuAdminMode_Click(); }
void frmMain::mnuQuilProperties_Click() { administration->mnuQuilProperties_Click(); }
void frmMain::mnuFileExportMembers_Click() { exports->mnuFileExportMembers_Click(); }
void frmMain::mnuFileExportDonations_Click() { exports->mnuFileExportDonations_Click(); }
void frmMain::mnuFileExportFunds_Click() { exports->mnuFileExportFunds_Click(); }
void frmMain::mnuFileBackupTo_Click() { files->mnuFileBackupTo_Click(); }
void frmMain::mnuFileRestore_Click() { files->mnuFileRestore_Click(); }
void frmMain::mnuFileSetPassword_Click() { files->mnuFileSetPassword_Click(); }
void frmMain::mnuFileGivingStatements_Click() { reports->mnuFileGivingStatements_Click(); }
void frmMain::mnuFileImportMembers_Click() { files->mnuFileImportMembers_Click(); }
void frmMain::mnuFileImportDonations_Click() { files->mnuFileImportDonations_Click(); }

// ---- Grid focus rule ---------------------------------------------------------------------------

void frmMain::grdDataGrid_GotFocus()
{
    tbToolBar->hide();
    datPrimaryRS->setEnabled(false);
    for (QAction* menu : {mnuFile, mnuEdit, mnuView, mnuData, mnuFilter, mnuHelpAbout})
        menu->setEnabled(false);
}

void frmMain::grdDataGrid_LostFocus()
{
    // Shown whatever View > Toolbar says: the grid is only reachable in Executive mode, where
    // the rule finds every menu enabled and the toolbar shown.
    tbToolBar->show();
    datPrimaryRS->setEnabled(true);
    for (QAction* menu : {mnuFile, mnuEdit, mnuView, mnuData, mnuFilter, mnuHelpAbout})
        menu->setEnabled(true);
}

namespace {

// Focus moving to another application or into a popup is not the grid losing the focus to
// another control of the window.
bool movesWithinWindow(const QFocusEvent* event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

// Whether a menu item can be reached: enabled itself and inside enabled menus only.
bool reachable(const QAction* action)
{
    if (!action->isEnabled())
        return false;
    for (QObject* object : action->associatedObjects()) {
        auto* menu = qobject_cast<QMenu*>(object);
        if (menu && !reachable(menu->menuAction()))
            return false;
    }
    return true;
}

} // namespace

// Menu shortcuts take precedence over the editing keys of the window's text boxes: Ctrl+X in a
// text box exits and Ctrl+C clones while those items are reachable, as the program has always
// done. An item that cannot be reached leaves the key to the box.
bool frmMain::shortcutWinsOverEditing(QObject* watched, QEvent* event) const
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    const auto actions = menuBar()->findChildren<QAction*>();
    for (const QAction* action : actions)
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed)
            return reachable(action);
    return false;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        if (shortcutWinsOverEditing(watched, event)) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::FocusIn:
        if (watched == grdDataGrid && movesWithinWindow(static_cast<QFocusEvent*>(event)))
            grdDataGrid_GotFocus();
        break;
    case QEvent::FocusOut:
        if (watched == grdDataGrid && movesWithinWindow(static_cast<QFocusEvent*>(event))) {
            // The grid's own cell editor taking the focus keeps it inside the grid.
            QWidget* next = QApplication::focusWidget();
            if (!next || !grdDataGrid->isAncestorOf(next))
                grdDataGrid_LostFocus();
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}
