#pragma once
// Everything interactive that is not a widget of ours goes through one interface: message boxes,
// the beep, the file dialogs, running a dialog modally, one pass of event processing and the
// mouse pointer. The program calls ui::current(); tests install a scripted implementation so
// that every dialog flow runs without a person and without a nested event loop.
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QDialog;

namespace ui {

// The classic answer codes of a message box.
enum Answer : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The classic button sets; the values are the classic constants.
enum class Buttons { OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };

enum class Icon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };

struct Message {
    QString prompt;
    Buttons buttons = Buttons::OKOnly;
    Icon icon = Icon::None;
    QString title;  // empty: the application's title
};

// The answers a button set can give, in the order the buttons stand (the first is the default).
std::vector<int> answersOf(Buttons buttons);
bool offers(Buttons buttons, int answer);

QString nameOf(Buttons buttons);
QString nameOf(Icon icon);
QString answerName(int answer);  // "OK", "Yes", ...; the number itself for an unknown code

enum class FileDialogKind { Open, Save, Folder };

struct FileRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QString title;
    QString initialName;  // a file name, or a pattern such as "*.qdb" that only narrows the list
    QString filter;       // "*.qdb", "*.jpg;*.bmp" or "Description|pattern|Description|pattern"
    QString folder;       // empty: the process's current folder
};

struct FileChoice {
    QString path;          // "" when cancelled
    bool cancelled = true;
};

class Ui {
public:
    virtual ~Ui();

    // Shows a message and returns the answer code of the button pressed.
    int msgBox(const QString& prompt, Buttons buttons = Buttons::OKOnly, Icon icon = Icon::None,
               const QString& title = {});

    // The platform's open and save dialogs. Both return "" when the user cancels and then set
    // *cancelled (when given) to true. The save dialog never asks about replacing a file: the
    // callers decide that themselves.
    QString openFileDialog(const QString& title, const QString& initialName, const QString& filter,
                           const QString& folder = {}, bool* cancelled = nullptr);
    QString saveFileDialog(const QString& title, const QString& initialName, const QString& filter,
                           const QString& folder = {}, bool* cancelled = nullptr);
    // The platform's folder dialog: a folder, or "" when the user cancels.
    QString folderDialog(const QString& title, const QString& folder = {}, bool* cancelled = nullptr);

    virtual void beep() = 0;

    // Shows the dialog modally and returns its result (QDialog::Accepted or Rejected, or the
    // code given to done()). Every dialog gets the program's dialog keys first (dialog_keys.h).
    int runModal(QDialog& dialog);

    // One pass over the pending window events, so that a busy panel can paint before a long query.
    virtual void processEvents() = 0;

    // The hourglass (true) or the normal arrow (false). Absolute, not a stack: one call with
    // false restores the arrow however often the hourglass was set.
    virtual void setBusyPointer(bool busy) = 0;
    virtual bool isBusyPointer() const = 0;

protected:
    virtual int showModal(QDialog& dialog) = 0;
    virtual int showMessage(const Message& message) = 0;
    virtual FileChoice chooseFile(const FileRequest& request) = 0;
};

// Whether a message is preceded by the beep. Spelled out at every call: failures beep, success
// messages and most questions do not, and a few failure messages of the program come without one.
enum class Beep { No, Yes };

// The program's one way to show a message: the beep when asked, the box, and the answer code
// (small enough for the 16-bit answer the program keeps in LastAnswer).
std::int16_t message(Beep beep, const QString& prompt, Buttons buttons, Icon icon, const QString& title);
// How many messages have been shown so far (user-interface thread), so that a step can tell
// whether the user has heard of something since a moment it noted.
std::uint64_t messagesShown();

// The box of a step the file refused or could not do: the beep, the critical icon, OK, and the
// title "QUIL Data Error", the same wherever it is raised.
std::int16_t dataError(const QString& prompt);

// The implementation in force. Until one is installed, the Qt implementation is installed on
// first use.
Ui& current();

// Puts an implementation in force and returns the one it replaces (null when there was none).
std::unique_ptr<Ui> install(std::unique_ptr<Ui> implementation);

} // namespace ui
