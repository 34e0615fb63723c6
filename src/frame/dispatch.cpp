#include "frame/dispatch.h"

#include "frame/frm_main.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"

#include <exception>

namespace frame {

namespace {

// The innermost failure scope, and the window it is for. One user-interface thread.
FailureScope* innermost = nullptr;

// Put back what a handler that stopped half-way may have left set.
void restoreTransientState(frmMain& f)
{
    f.S.SuppressReposition = false;
    f.S.DialogCancelled = false;
    f.HideBusyPanel();
    ui::current().setBusyPointer(false);
}

void reportFailure(frmMain& f, const QString& reason)
{
    f.S.LastAnswer = ui::dataError(reason);
}

} // namespace

FailureScope::FailureScope(frmMain& f) : f_(f), outer_(innermost)
{
    innermost = this;
}

FailureScope::~FailureScope()
{
    innermost = outer_;
}

void FailureScope::record(int number, const QString& description)
{
    if (failed_)
        return;
    failed_ = true;
    number_ = number;
    description_ = description;
}

namespace {

// The scope that takes this window's failures, when one is open.
FailureScope* scopeFor(frmMain& f)
{
    return innermost && &innermost->window() == &f ? innermost : nullptr;
}

} // namespace

bool TakeFailure(frmMain& f, int number, const QString& description)
{
    FailureScope* scope = scopeFor(f);
    if (!scope)
        return false;
    scope->record(number, description);
    return true;
}

void RunHandler(frmMain& f, Origin origin, const std::function<void()>& handler) noexcept
{
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    };
    bool failed = false;
    {
        const Depth nested(f.handlerDepth);
        try {
            handler();
        } catch (const jet::DbError& e) {
            failed = true;
            if (FailureScope* scope = scopeFor(f))
                scope->record(e.number(), e.description());
            else
                reportFailure(f, e.reason());
        } catch (const std::exception& e) {
            failed = true;
            if (FailureScope* scope = scopeFor(f))
                scope->record(0, QString::fromLocal8Bit(e.what()));
            else if (origin != Origin::Toolbar)
                reportFailure(f, QString::fromLocal8Bit(e.what()));
        }
    }
    if (failed && f.handlerDepth == 0)
        restoreTransientState(f);
    // What the file's background work left while the command ran is taken now that none runs.
    if (f.handlerDepth == 0 && f.files)
        f.files->CommandEnded();
}

} // namespace frame
