// The menu bar and toolbar of a freshly started window: structure, captions, shortcuts and start
// states; which command each button and key runs; View > Toolbar, the grid focus rule, shortcut
// precedence over the text boxes' editing keys, and the About box.
#include "app_fixture.h"

#include "frame/about_box.h"
#include "platform/data/data_control.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>

namespace apptest {
namespace {

struct MenuItem {
    const char* name;
    const char* caption;  // "-" for a separator
    QKeySequence shortcut;
    bool enabled;
    int depth;  // 0: on the menu bar, 1: in a menu, 2: in a submenu
};

QKeySequence ctrl(Qt::Key key) { return QKeySequence(Qt::CTRL | key); }

// The whole menu bar, in order, as it must look after start.
const MenuItem kMenus[] = {
    {"mnuFile", "&File", {}, true, 0},
    {"mnuFileNew", "New Database", {}, true, 1},
    {"mnuFileNewBlank", "New Blank Database", ctrl(Qt::Key_B), true, 2},
    {"mnuFileNewClone", "Clone and Clear", ctrl(Qt::Key_C), false, 2},
    {"mnuFileOpen", "Open Database", ctrl(Qt::Key_O), true, 1},
    {"mnuFileClose", "Close Database", ctrl(Qt::Key_L), false, 1},
    {"mnuCompact", "Repair / Compress", ctrl(Qt::Key_R), false, 1},
    {"mnuFileBar0", "-", {}, true, 1},
    {"mnuQuilProperties", "Properties", ctrl(Qt::Key_I), false, 1},
    {"mnuFileBar2", "-", {}, true, 1},
    {"mnuFilePrint", "Print", ctrl(Qt::Key_P), false, 1},
    {"mnuFileBar3", "-", {}, true, 1},
    {"mnuFileExit", "Exit", ctrl(Qt::Key_X), true, 1},
    {"mnuFileBar4", "-", {}, true, 1},
    {"mnuFileExport", "Export", {}, false, 1},
    {"mnuFileExportMembers", "Members...", {}, true, 2},
    {"mnuFileExportDonations", "Donations in View...", {}, true, 2},
    {"mnuFileExportFunds", "Fund Totals...", {}, true, 2},
    {"mnuFileImport", "Import", {}, false, 1},
    {"mnuFileImportMembers", "Members...", {}, true, 2},
    {"mnuFileImportDonations", "Donations...", {}, true, 2},
    {"mnuFileBackupTo", "Back Up To...", {}, false, 1},
    {"mnuFileRestore", "Restore Backup...", {}, false, 1},
    {"mnuFileSetPassword", "Set File Password...", {}, false, 1},
    {"mnuFileGivingStatements", "Giving Statements...", {}, false, 1},
    {"mnuFileFundTotals", "Fund Totals...", {}, false, 1},
    {"mnuEdit", "&Edit", {}, false, 0},
    {"mnuEditAddPay", "Add Donation", ctrl(Qt::Key_A), true, 1},
    {"mnuEditDelPay", "Delete Donation", ctrl(Qt::Key_D), false, 1},
    {"mnuEditAddMem", "Add Member", ctrl(Qt::Key_M), true, 1},
    {"mnuEditDelMem", "Delete Member", ctrl(Qt::Key_E), false, 1},
    {"mnuEditBar0", "-", {}, true, 1},
    {"mnuEditMergeMem", "Merge Members...", {}, false, 1},
    {"mnuEditBatch", "Batch Totals...", {}, true, 1},
    {"mnuView", "&View", {}, false, 0},
    {"mnuViewToolbar", "Toolbar", {}, true, 1},
    {"mnuViewBar0", "-", {}, true, 1},
    {"Sort", "Sort by", {}, true, 1},
    {"mnuSortPayID", "Payment ID", Qt::Key_F1, true, 2},
    {"mnuSortAmount", "Payment Amount", Qt::Key_F2, true, 2},
    {"mnuSortCheck", "Check Number", Qt::Key_F3, true, 2},
    {"mnuSortDest", "Destination", Qt::Key_F4, true, 2},
    {"mnuSortDate", "Payment Date", Qt::Key_F5, true, 2},
    {"mnuData", "&Mode", {}, false, 0},
    {"mnuStandard", "Standard", Qt::Key_F6, false, 1},
    {"mnuExecMode", "Executive", Qt::Key_F7, true, 1},
    {"mnuAdminMode", "Aministrator", ctrl(Qt::Key_W), true, 1},
    {"mnuFilter", "Fil&ter", {}, false, 0},
    {"mnuFilterMem", "Filter Members", Qt::Key_F8, true, 1},
    {"mnuFilterDonat", "Filter Donations", Qt::Key_F9, true, 1},
    {"mnuMemView", "Member View", Qt::Key_F11, false, 1},
    {"mnuListView", "List View", Qt::Key_F12, true, 1},
    {"mnuHelpAbout", "About ", {}, true, 0},
};

void flatten(const QList<QAction*>& actions, int depth, std::vector<std::pair<QAction*, int>>& out)
{
    for (QAction* a : actions) {
        out.emplace_back(a, depth);
        if (QMenu* sub = a->menu())
            flatten(sub->actions(), depth + 1, out);
    }
}

using MenusTest = AppTest;

TEST_F(MenusTest, MenuBarStructureCaptionsShortcutsAndStartStates)
{
    frmMain& f = started();
    std::vector<std::pair<QAction*, int>> actual;
    flatten(f.menuBar()->actions(), 0, actual);
    ASSERT_EQ(actual.size(), std::size(kMenus));
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const MenuItem& want = kMenus[i];
        QAction* a = actual[i].first;
        SCOPED_TRACE(want.name);
        EXPECT_EQ(a->objectName(), QLatin1String(want.name));
        EXPECT_EQ(actual[i].second, want.depth);
        if (QLatin1String(want.caption) == QLatin1String("-")) {
            EXPECT_TRUE(a->isSeparator());
        } else {
            EXPECT_EQ(a->text(), QLatin1String(want.caption));
        }
        EXPECT_EQ(a->shortcut(), want.shortcut);
        EXPECT_EQ(a->isEnabled(), want.enabled);
        EXPECT_EQ(f.findChild<QAction*>(QLatin1String(want.name)), a);
    }
    EXPECT_TRUE(f.mnuViewToolbar->isCheckable());
    EXPECT_TRUE(f.mnuViewToolbar->isChecked());
    EXPECT_EQ(f.mnuHelpAbout->menu(), nullptr);
}

TEST_F(MenusTest, MembersAreTheNamedActions)
{
    frmMain& f = started();
    const std::pair<const char*, QAction*> members[] = {
        {"mnuFile", f.mnuFile},           {"mnuFileNewClone", f.mnuFileNewClone}, {"mnuFileOpen", f.mnuFileOpen},
        {"mnuFileClose", f.mnuFileClose}, {"mnuEdit", f.mnuEdit},                 {"mnuEditAddMem", f.mnuEditAddMem},
        {"mnuData", f.mnuData},           {"mnuView", f.mnuView},                 {"mnuFilter", f.mnuFilter},
        {"Sort", f.Sort},                 {"mnuSortDate", f.mnuSortDate},         {"mnuListView", f.mnuListView},
        {"mnuHelpAbout", f.mnuHelpAbout}, {"mnuFileBar3", f.mnuFileBar3},         {"mnuAdminMode", f.mnuAdminMode},
    };
    for (const auto& [name, action] : members) {
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->objectName(), QLatin1String(name));
    }
}

struct ButtonCase {
    const char* key;
    const char* tooltip;
    bool enabled;
    const char* runs;  // handler the click runs
};

const ButtonCase kButtons[] = {
    {"New", "New  Blank Database", true, "mnuFileNewBlank"},
    {"Open", "Open Database", true, "mnuFileOpen"},
    {"Print", "Print", false, "mnuFilePrint"},
    {"Exec", "Executive", false, "mnuExecMode"},
    {"Stand", "Standard", false, "mnuStandard"},
    {"Donat", "Add Donation", false, "mnuEditAddPay"},
    {"AddGuy", "Add Member", false, "mnuEditAddMem"},
    {"DeleteD", "Delete Donation", false, "mnuEditDelPay"},
    {"DeleteM", "Delete Member", false, "mnuEditDelMem"},
    {"FltrMem", "Filter Members", false, "mnuFilterMem"},
    {"FltrDonat", "Filter Donations", false, "mnuFilterDonat"},
    {"ListView", "List View", false, "mnuListView"},
    {"MemView", "Member View", false, "mnuMemView"},
};

TEST_F(MenusTest, ToolbarButtonsInOrderWithSeparatorsTooltipsAndStartStates)
{
    frmMain& f = started();
    QStringList layout;
    for (QAction* a : f.tbToolBar->actions())
        layout << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    EXPECT_EQ(layout.join(' '),
              QStringLiteral("New Open Print | Exec Stand | Donat AddGuy | DeleteD DeleteM | FltrMem FltrDonat | "
                             "ListView MemView"));
    for (const ButtonCase& b : kButtons) {
        SCOPED_TRACE(b.key);
        QAction* button = f.Button(QLatin1String(b.key));
        EXPECT_EQ(button->objectName(), QLatin1String(b.key));
        EXPECT_EQ(button->toolTip(), QLatin1String(b.tooltip));
        EXPECT_EQ(button->isEnabled(), b.enabled);
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_FALSE(button->icon().pixmap(24, 24).isNull());
    }
    EXPECT_THROW(f.Button(QStringLiteral("open")), std::out_of_range);
}

TEST_F(MenusTest, EachButtonRunsItsOwnCommandOnly)
{
    auto& f = started();
    for (const ButtonCase& b : kButtons) {
        SCOPED_TRACE(b.key);
        f.ran.clear();
        QAction* button = f.Button(QLatin1String(b.key));
        button->setEnabled(true);
        button->trigger();
        EXPECT_EQ(f.ran, QStringList{QLatin1String(b.runs)});
    }
}

TEST_F(MenusTest, ButtonRunsItsCommandEvenWhenTheMenuItemIsDisabledButNotWhenItselfIs)
{
    auto& f = started();
    ASSERT_FALSE(f.mnuEditDelMem->isEnabled());
    f.Button(QStringLiteral("DeleteM"))->trigger();
    EXPECT_TRUE(f.ran.isEmpty());
    f.Button(QStringLiteral("DeleteM"))->setEnabled(true);
    f.Button(QStringLiteral("DeleteM"))->trigger();
    EXPECT_EQ(f.ran, QStringList{"mnuEditDelMem"});
}

// A command that fails inside a button click ends quietly; the program goes on.
class ThrowingMain : public ProbeMain {
public:
    void mnuFilePrint_Click() override { throw std::runtime_error("print failed"); }
};

TEST_F(MenusTest, ErrorOfACommandStartedFromAButtonEndsItSilently)
{
    auto& f = started<ThrowingMain>();
    EXPECT_NO_THROW(f.tbToolBar_ButtonClick(QStringLiteral("Print")));
    EXPECT_TRUE(ui_->messages().empty());
    f.tbToolBar_ButtonClick(QStringLiteral("Open"));
    EXPECT_EQ(f.ran, QStringList{"mnuFileOpen"});
}

TEST_F(MenusTest, MenuItemsRunTheirHandlers)
{
    auto& f = started();
    const std::pair<QAction*, const char*> items[] = {
        {f.mnuFileNewBlank, "mnuFileNewBlank"}, {f.mnuFileNewClone, "mnuFileNewClone"},
        {f.mnuFileOpen, "mnuFileOpen"},         {f.mnuFileClose, "mnuFileClose"},
        {f.mnuCompact, "mnuCompact"},           {f.mnuQuilProperties, "mnuQuilProperties"},
        {f.mnuFilePrint, "mnuFilePrint"},       {f.mnuEditAddPay, "mnuEditAddPay"},
        {f.mnuEditDelPay, "mnuEditDelPay"},     {f.mnuEditAddMem, "mnuEditAddMem"},
        {f.mnuEditDelMem, "mnuEditDelMem"},     {f.mnuSortPayID, "mnuSortPayID"},
        {f.mnuSortAmount, "mnuSortAmount"},     {f.mnuSortCheck, "mnuSortCheck"},
        {f.mnuSortDest, "mnuSortDest"},         {f.mnuSortDate, "mnuSortDate"},
        {f.mnuStandard, "mnuStandard"},         {f.mnuExecMode, "mnuExecMode"},
        {f.mnuAdminMode, "mnuAdminMode"},       {f.mnuFilterMem, "mnuFilterMem"},
        {f.mnuFilterDonat, "mnuFilterDonat"},   {f.mnuMemView, "mnuMemView"},
        {f.mnuListView, "mnuListView"},         {f.mnuEditMergeMem, "mnuEditMergeMem"},
        {f.mnuEditBatch, "mnuEditBatch"},
    };
    QStringList expected;
    for (const auto& [action, handler] : items) {
        action->setEnabled(true);
        action->trigger();
        expected << QLatin1String(handler);
    }
    EXPECT_EQ(f.ran, expected);
}

// ---- View > Toolbar and the grid focus rule ----------------------------------------------------

TEST_F(MenusTest, ViewToolbarTogglesAndTheGridFocusRuleShowsItAgain)
{
    auto& f = started();
    f.show();
    f.mnuViewToolbar->trigger();
    EXPECT_FALSE(f.mnuViewToolbar->isChecked());
    EXPECT_TRUE(f.tbToolBar->isHidden());

    f.grdDataGrid_GotFocus();
    f.grdDataGrid_LostFocus();
    EXPECT_TRUE(f.tbToolBar->isVisible());
    EXPECT_FALSE(f.mnuViewToolbar->isChecked());

    f.mnuViewToolbar->trigger();
    EXPECT_TRUE(f.mnuViewToolbar->isChecked());
    EXPECT_TRUE(f.tbToolBar->isVisible());
}

TEST_F(MenusTest, GridFocusWithdrawsMenusToolbarAndNavigatorUntilItLeaves)
{
    auto& f = started();
    for (QAction* menu : {f.mnuEdit, f.mnuView, f.mnuData, f.mnuFilter})
        menu->setEnabled(true);  // as in Executive mode, where the grid shows
    f.EntNme->show();
    f.grdDataGrid->show();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));

    f.grdDataGrid->setFocus(Qt::TabFocusReason);
    const QList<QAction*> menus{f.mnuFile, f.mnuEdit, f.mnuView, f.mnuData, f.mnuFilter, f.mnuHelpAbout};
    for (QAction* menu : menus)
        EXPECT_FALSE(menu->isEnabled()) << menu->objectName().toStdString();
    EXPECT_TRUE(f.tbToolBar->isHidden());
    EXPECT_FALSE(f.datPrimaryRS->isEnabled());
    // A menu of the bar cannot even be reached by its shortcut meanwhile.
    f.mnuFileOpen->setEnabled(true);
    QTest::keyClick(f.grdDataGrid, Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(f.ran.isEmpty());

    f.EntNme->setFocus(Qt::MouseFocusReason);
    for (QAction* menu : menus)
        EXPECT_TRUE(menu->isEnabled()) << menu->objectName().toStdString();
    EXPECT_TRUE(f.tbToolBar->isVisible());
    EXPECT_TRUE(f.datPrimaryRS->isEnabled());
}

// ---- Shortcuts over editing keys ---------------------------------------------------------------

class ShortcutTest : public AppTest {
protected:
    ProbeMain& shownWithSearchBox()
    {
        auto& f = started();
        f.EntNme->show();
        f.show();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        f.EntNme->setFocus();
        f.EntNme->setText(QStringLiteral("s j"));
        f.EntNme->selectAll();
        return f;
    }
};

TEST_F(ShortcutTest, CtrlXInTheSearchBoxExitsInsteadOfCutting)
{
    settings::writePlacement({1500, 1500, 9000, 8000});
    auto& f = shownWithSearchBox();
    f.move(110, 120);
    QTest::keyClick(f.EntNme, Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.EntNme->text(), QStringLiteral("s j"));
    EXPECT_EQ(settings::readPlacement().left, 110 * 15);
}

TEST_F(ShortcutTest, CtrlCClonesWhileCloneIsEnabledAndCopiesOtherwise)
{
    auto& f = shownWithSearchBox();
    QTest::keyClick(f.EntNme, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(f.ran.isEmpty());
    f.mnuFileNewClone->setEnabled(true);
    QTest::keyClick(f.EntNme, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(f.ran, QStringList{"mnuFileNewClone"});
}

TEST_F(ShortcutTest, ItemsOfADisabledMenuDoNotAnswerTheirKeys)
{
    auto& f = shownWithSearchBox();
    ASSERT_FALSE(f.mnuEdit->isEnabled());
    QTest::keyClick(f.EntNme, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.EntNme, Qt::Key_F7);
    EXPECT_TRUE(f.ran.isEmpty());

    f.mnuEdit->setEnabled(true);
    f.mnuData->setEnabled(true);
    QTest::keyClick(f.EntNme, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.EntNme, Qt::Key_F7);
    EXPECT_EQ(f.ran, (QStringList{"mnuEditAddPay", "mnuExecMode"}));
}

TEST_F(ShortcutTest, FunctionKeysAndCtrlLettersReachTheirItems)
{
    auto& f = shownWithSearchBox();
    for (QAction* menu : {f.mnuEdit, f.mnuView, f.mnuData, f.mnuFilter})
        menu->setEnabled(true);
    for (QAction* item : {f.mnuFileClose, f.mnuEditDelPay, f.mnuStandard, f.mnuMemView})
        item->setEnabled(true);
    const std::pair<QKeyCombination, const char*> keys[] = {
        {Qt::CTRL | Qt::Key_B, "mnuFileNewBlank"}, {Qt::CTRL | Qt::Key_O, "mnuFileOpen"},
        {Qt::CTRL | Qt::Key_L, "mnuFileClose"},    {Qt::CTRL | Qt::Key_D, "mnuEditDelPay"},
        {Qt::CTRL | Qt::Key_M, "mnuEditAddMem"},   {Qt::CTRL | Qt::Key_W, "mnuAdminMode"},
        {QKeyCombination(Qt::Key_F1), "mnuSortPayID"}, {QKeyCombination(Qt::Key_F5), "mnuSortDate"},
        {QKeyCombination(Qt::Key_F6), "mnuStandard"},  {QKeyCombination(Qt::Key_F8), "mnuFilterMem"},
        {QKeyCombination(Qt::Key_F9), "mnuFilterDonat"}, {QKeyCombination(Qt::Key_F11), "mnuMemView"},
        {QKeyCombination(Qt::Key_F12), "mnuListView"},
    };
    QStringList expected;
    for (const auto& [key, handler] : keys) {
        QTest::keyClick(f.EntNme, key.key(), key.keyboardModifiers());
        expected << QLatin1String(handler);
    }
    EXPECT_EQ(f.ran, expected);
}

// ---- About box ---------------------------------------------------------------------------------

TEST_F(MenusTest, AboutShowsTheVersionAndClosesWithOk)
{
    auto& f = started();
    QString caption;
    QString version;
    ui_->queueDialog([&](QDialog& box) {
        caption = box.windowTitle();
        version = ui::child<QLabel>(box, QStringLiteral("Version")).text();
        EXPECT_EQ(ui::child<QPushButton>(box, QStringLiteral("Command1")).text(), QStringLiteral("&OK"));
        ui::click(box, QStringLiteral("Command1"));
    });
    f.mnuHelpAbout->trigger();
    EXPECT_EQ(caption, QStringLiteral("About QUIL"));
    EXPECT_EQ(version, QStringLiteral("QUIL  v1.0             Build 122"));
    ASSERT_EQ(ui_->events().size(), 1u);
    EXPECT_EQ(ui_->events()[0].text, QStringLiteral("About"));
    EXPECT_EQ(ui_->events()[0].answer, QDialog::Accepted);
    EXPECT_EQ(f.findChild<AboutBox*>(), nullptr);  // unloaded again
}

} // namespace
} // namespace apptest
