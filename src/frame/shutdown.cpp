// The unload event: other windows go, the placement is stored, the workspace is closed.
#include "frame/frm_main.h"

#include "frame/second_copy.h"
#include "frame/twips.h"
#include "platform/dao/engine.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui.h"
#include "platform/vb/skip_on_failure.h"

#include <QCloseEvent>
#include <QPointer>

void frmMain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    // A batch running ends with the program; the user hears whether it balanced.
    if (records && S.db)
        skipOnFailure([&] { records->EndBatchOnClose(); });
    closeOtherWindows();
    if (!isMinimized())
        storePlacement();
    dao::Workspace& workspace = dao::Engine::instance().defaultWorkspace();
    if (workspace.databaseCount() > 0)
        workspace.close();
    ui::current().setBusyPointer(false);
    // A later start is a first copy again.
    if (secondCopy_)
        secondCopy_->stopListening();
}

// The program's other windows are the dialogs it opened over this window, in the order they
// were made; the last made goes first.
void frmMain::closeOtherWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isWindow() && widget->windowType() != Qt::Popup && widget->windowType() != Qt::ToolTip)
            windows.append(widget);
    }
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        if (*it)
            (*it)->close();
}

// Maximized windows store their maximized extents, as they are.
void frmMain::storePlacement()
{
    const QRect outer = frameGeometry();
    settings::writePlacement({PixelsToTwips(outer.x()), PixelsToTwips(outer.y()), PixelsToTwips(outer.width()),
                              PixelsToTwips(outer.height())});
}
