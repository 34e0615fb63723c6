#pragma once
// The implementation tests install: it records every message, beep, file dialog and modal dialog
// in one ordered log and answers from scripts queued beforehand. A modal dialog is shown with
// open() and handed to a script that fills its controls and presses its buttons; the dialog's own
// accept and reject logic decides the result, and no nested event loop runs.
#include "ui.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QAbstractButton;

namespace ui {

struct Event {
    enum class Kind { Message, Beep, FileDialog, Modal, Note };
    Kind kind = Kind::Note;
    Message message;         // Message
    FileRequest file;        // FileDialog
    int answer = 0;          // Message: the answer given; Modal: the dialog's result
    QString path;            // FileDialog: the path given ("" when cancelled)
    bool defaulted = false;  // no usable scripted answer was queued
    QString text;            // Modal: the dialog's objectName; Note: the note
};

class ScriptedUi : public Ui {
public:
    // Fills and presses a dialog's controls. The dialog is open while the script runs; a script
    // written to return a value may be given too, the value is not used.
    using DialogScript = std::function<void(QDialog&)>;

    // Message answers, used in order. With none left a message gets its first button's answer
    // and the event is marked defaulted.
    void queueAnswer(int answer);
    void queueAnswers(std::initializer_list<int> answers);
    // File dialog answers, used in order. With none left a file dialog is cancelled (defaulted).
    void queueFile(const QString& path);
    void queueFileCancel();
    // Dialog scripts, used in order. With none left a dialog is rejected and a note recorded.
    void queueDialog(DialogScript script);

    const std::vector<Event>& events() const { return events_; }
    std::vector<Message> messages() const;
    std::vector<FileRequest> fileRequests() const;
    int beepCount() const;
    QStringList notes() const;
    // One line per event: "beep", "message: <prompt>", "file: <title>", "dialog: <name>",
    // "note: <text>". Handy to check what happened in which order.
    QStringList trace() const;
    // Scripted answers, files and dialogs not used yet.
    int pendingScripts() const;
    // Drops the answers, files and dialog scripts not used yet (a run that stopped early leaves
    // them for nobody).
    void clearPending();
    void clearLog() { events_.clear(); }

    void beep() override;
    void processEvents() override;
    int processEventsCount() const { return processEventsCount_; }
    void setBusyPointer(bool busy) override { busy_ = busy; }
    bool isBusyPointer() const override { return busy_; }

protected:
    int showModal(QDialog& dialog) override;
    int showMessage(const Message& message) override;
    FileChoice chooseFile(const FileRequest& request) override;

private:
    void note(const QString& text);

    struct FileAnswer {
        QString path;
        bool cancel;
    };

    std::vector<Event> events_;
    std::deque<int> answers_;
    std::deque<FileAnswer> files_;
    std::deque<DialogScript> dialogs_;
    int processEventsCount_ = 0;
    bool busy_ = false;
};

// Installs a fresh ScriptedUi for the lifetime of the object and puts back what was in force.
class ScopedScriptedUi {
public:
    ScopedScriptedUi();
    ~ScopedScriptedUi();
    ScopedScriptedUi(const ScopedScriptedUi&) = delete;
    ScopedScriptedUi& operator=(const ScopedScriptedUi&) = delete;

    ScriptedUi& operator*() const { return *ui_; }
    ScriptedUi* operator->() const { return ui_; }

private:
    ScriptedUi* ui_;
    std::unique_ptr<Ui> previous_;
};

// For scripts: the child of a dialog with the given objectName and type. Throws
// std::logic_error naming what is missing, so a script that looks for the wrong control fails
// loudly instead of doing nothing.
QObject* findChildNamed(QObject& parent, const QString& objectName);

template <class T>
T& child(QObject& parent, const QString& objectName)
{
    QObject* found = findChildNamed(parent, objectName);
    T* typed = qobject_cast<T*>(found);
    if (!typed)
        throw std::logic_error(QStringLiteral("%1 is a %2, not a %3")
                                   .arg(objectName, QString::fromLatin1(found->metaObject()->className()),
                                        QString::fromLatin1(T::staticMetaObject.className()))
                                   .toStdString());
    return *typed;
}

// Clicks the button with the given objectName, as the user would (it must be enabled and shown).
void click(QObject& parent, const QString& objectName);

} // namespace ui
