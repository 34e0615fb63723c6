// The unload event: other windows go, the placement is stored, the workspace is closed. Every
// way out writes a change typed into the member fields first.
#include "frame/frm_main.h"

#include "frame/quit_signals.h"
#include "frame/second_copy.h"
#include "frame/twips.h"
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/data/data_control.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui.h"
#include "platform/vb/skip_on_failure.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPointer>

void frmMain::closeEvent(QCloseEvent* event)
{
    // The one way a close stops: a typed change the file refused, and the user keeping it.
    if (!KeepTypedChangeBeforeQuitting(!quittingOnRequest_)) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool frmMain::WriteTypedMemberChange()
{
    if (!S.db || !S.db->isOpen() || !datPrimaryRS->recordset())
        return true;
    try {
        return datPrimaryRS->updateRecord();
    } catch (const std::exception& e) {
        // A failure the member source's handler did not take (none is connected, or it threw).
        ui::dataError(QStringLiteral("The change typed into the member's fields was not written:\n") + QString::fromUtf8(e.what()));
        return false;
    }
}

bool frmMain::KeepTypedChangeBeforeQuitting(bool mayAsk)
{
    if (WriteTypedMemberChange() || !mayAsk)
        return true;
    S.LastAnswer = ui::message(ui::Beep::No,
                               QStringLiteral("The change typed into the member's fields could not be written to the file.\n\n"
                                              "Quit QUIL without it?"),
                               ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("QUIL"));
    return S.LastAnswer == ui::Yes;
}

void frmMain::QuitOnRequest()
{
    quittingOnRequest_ = true;
    close();
    quittingOnRequest_ = false;
    QCoreApplication::quit();
}

void frmMain::Form_Unload()
{
    // A batch running ends with the program; the user hears whether it balanced.
    if (records && S.db)
        skipOnFailure([&] { records->EndBatchOnClose(); });
    closeOtherWindows();
    if (!isMinimized())
        storePlacement();
    // No thread reads the file once its connections close; an unfinished backup leaves nothing.
    if (files)
        files->StopFileJobs();
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
