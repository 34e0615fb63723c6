#pragma once
// The one way from Qt into the program's handlers. Menu items and their shortcuts, toolbar
// buttons and control events (signals and event filters) all run their handler through
// RunHandler, so that an error a handler does not handle itself never leaves a Qt slot: it ends
// that handler with one message and the program stays usable.
#include <QString>
#include <functional>
#include <utility>

class frmMain;

namespace frame {

enum class Origin { Menu, Toolbar, Event };

// Runs the handler. A database error it lets through is shown as one "QUIL Data Error" message
// with the engine's number and description (critical icon, beep); another failure is shown the
// same way, except from a toolbar button, whose command ends silently, as the program's buttons
// always have. When the outermost handler fails, the window's transient state (busy pointer and
// panel, suppressed repositions, a dialog's answer) is put back so the next command starts clean.
void RunHandler(frmMain& f, Origin origin, const std::function<void()>& handler) noexcept;

// While one lives, a handler run for this window that fails is not shown: the first failure is
// kept for the command that made the scope, which reports it its own way (the Open command
// turns any failure of its sequence, a reposition's included, into one "Unreadable File").
class FailureScope {
public:
    explicit FailureScope(frmMain& f);
    ~FailureScope();
    FailureScope(const FailureScope&) = delete;
    FailureScope& operator=(const FailureScope&) = delete;

    bool failed() const { return failed_; }
    int number() const { return number_; }  // the database error's number; 0 for another failure
    const QString& description() const { return description_; }
    void record(int number, const QString& description);
    frmMain& window() const { return f_; }

private:
    frmMain& f_;
    FailureScope* outer_;
    bool failed_ = false;
    int number_ = 0;
    QString description_;
};

// A failure a handler reports itself rather than throwing (a data control's Error event):
// taken by the window's failure scope when one is open, and then true, so that the caller
// shows nothing; false when the caller must show it.
bool TakeFailure(frmMain& f, int number, const QString& description);

// A slot for QObject::connect that runs the handler as a control event. The handler takes every
// argument of the signal (Qt offers the slot all of them).
template <class Handler>
auto AsEvent(frmMain& f, Handler handler)
{
    return [&f, handler = std::move(handler)](auto&&... args) {
        RunHandler(f, Origin::Event, [&] { handler(std::forward<decltype(args)>(args)...); });
    };
}

} // namespace frame
