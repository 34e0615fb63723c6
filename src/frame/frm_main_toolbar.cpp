// The toolbar: its buttons by key, and the click that runs a button's command.
#include "frame/frm_main.h"

#include "frame/client_area.h"
#include "frame/dispatch.h"
#include "frame/toolbar_icons.h"

#include <QToolBar>
#include <utility>

namespace {

struct ButtonDef {
    const char* key;  // empty: a separator
    const char* tooltip;
    bool enabled;
};

// In the toolbar's order. Only New and Open work without a database.
constexpr ButtonDef kButtons[] = {
    {"New", "New  Blank Database", true},
    {"Open", "Open Database", true},
    {"Print", "Print", false},
    {"", "", false},
    {"Exec", "Executive", false},
    {"Stand", "Standard", false},
    {"", "", false},
    {"Donat", "Add Donation", false},
    {"AddGuy", "Add Member", false},
    {"", "", false},
    {"DeleteD", "Delete Donation", false},
    {"DeleteM", "Delete Member", false},
    {"", "", false},
    {"FltrMem", "Filter Members", false},
    {"FltrDonat", "Filter Donations", false},
    {"", "", false},
    {"ListView", "List View", false},
    {"MemView", "Member View", false},
};

using Handler = void (frmMain::*)();

// The order in which a click compares the button's key; the first match runs.
const std::pair<const char*, Handler> kDispatch[] = {
    {"Open", &frmMain::mnuFileOpen_Click},     {"New", &frmMain::mnuFileNewBlank_Click},
    {"Print", &frmMain::mnuFilePrint_Click},   {"Exec", &frmMain::mnuExecMode_Click},
    {"Stand", &frmMain::mnuStandard_Click},    {"Donat", &frmMain::mnuEditAddPay_Click},
    {"AddGuy", &frmMain::mnuEditAddMem_Click}, {"DeleteM", &frmMain::mnuEditDelMem_Click},
    {"DeleteD", &frmMain::mnuEditDelPay_Click}, {"FltrDonat", &frmMain::mnuFilterDonat_Click},
    {"FltrMem", &frmMain::mnuFilterMem_Click}, {"MemView", &frmMain::mnuMemView_Click},
    {"ListView", &frmMain::mnuListView_Click},
};

} // namespace

void frmMain::createToolbar()
{
    tbToolBar = new QToolBar(client);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setIconSize(QSize(24, 24));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    for (const ButtonDef& def : kButtons) {
        const QString key = QLatin1String(def.key);
        if (key.isEmpty()) {
            tbToolBar->addSeparator();
            continue;
        }
        QAction* button = tbToolBar->addAction(ToolbarIcon(key), QLatin1String(def.tooltip));
        button->setObjectName(key);
        button->setToolTip(QLatin1String(def.tooltip));
        button->setEnabled(def.enabled);
        connect(button, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        buttons_.insert(key, button);
        buttonKeys_.append(key);
    }
}

void frmMain::tbToolBar_ButtonClick(const QString& key)
{
    for (const auto& [candidate, handler] : kDispatch) {
        if (key == QLatin1String(candidate)) {
            frame::RunHandler(*this, frame::Origin::Toolbar, [this, handler = handler] { (this->*handler)(); });
            return;
        }
    }
}
