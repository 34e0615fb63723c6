#include "scripted_ui.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QPointer>
#include <optional>

namespace ui {

void ScriptedUi::queueAnswer(int answer)
{
    answers_.push_back(answer);
}

void ScriptedUi::queueAnswers(std::initializer_list<int> answers)
{
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

void ScriptedUi::queueFile(const QString& path)
{
    files_.push_back({path, false});
}

void ScriptedUi::queueFileCancel()
{
    files_.push_back({QString(), true});
}

void ScriptedUi::queueDialog(DialogScript script)
{
    dialogs_.push_back(std::move(script));
}

std::vector<Message> ScriptedUi::messages() const
{
    std::vector<Message> result;
    for (const auto& e : events_)
        if (e.kind == Event::Kind::Message)
            result.push_back(e.message);
    return result;
}

std::vector<FileRequest> ScriptedUi::fileRequests() const
{
    std::vector<FileRequest> result;
    for (const auto& e : events_)
        if (e.kind == Event::Kind::FileDialog)
            result.push_back(e.file);
    return result;
}

int ScriptedUi::beepCount() const
{
    int n = 0;
    for (const auto& e : events_)
        n += e.kind == Event::Kind::Beep ? 1 : 0;
    return n;
}

QStringList ScriptedUi::notes() const
{
    QStringList result;
    for (const auto& e : events_)
        if (e.kind == Event::Kind::Note)
            result << e.text;
    return result;
}

QStringList ScriptedUi::trace() const
{
    QStringList lines;
    for (const auto& e : events_) {
        switch (e.kind) {
        case Event::Kind::Message: lines << QStringLiteral("message: ") + e.message.prompt; break;
        case Event::Kind::Beep: lines << QStringLiteral("beep"); break;
        case Event::Kind::FileDialog: lines << QStringLiteral("file: ") + e.file.title; break;
        case Event::Kind::Modal: lines << QStringLiteral("dialog: ") + e.text; break;
        case Event::Kind::Note: lines << QStringLiteral("note: ") + e.text; break;
        }
    }
    return lines;
}

int ScriptedUi::pendingScripts() const
{
    return static_cast<int>(answers_.size() + files_.size() + dialogs_.size());
}

void ScriptedUi::clearPending()
{
    answers_.clear();
    files_.clear();
    dialogs_.clear();
}

void ScriptedUi::note(const QString& text)
{
    Event e;
    e.kind = Event::Kind::Note;
    e.text = text;
    events_.push_back(std::move(e));
}

void ScriptedUi::beep()
{
    Event e;
    e.kind = Event::Kind::Beep;
    events_.push_back(std::move(e));
}

int ScriptedUi::showMessage(const Message& message)
{
    Event e;
    e.kind = Event::Kind::Message;
    e.message = message;
    const int first = answersOf(message.buttons).front();
    if (answers_.empty()) {
        e.answer = first;
        e.defaulted = true;
        events_.push_back(std::move(e));
        return first;
    }
    const int scripted = answers_.front();
    answers_.pop_front();
    if (offers(message.buttons, scripted)) {
        e.answer = scripted;
        events_.push_back(std::move(e));
        return scripted;
    }
    // A script that answers with a button the box does not have is a mistake in the test; the
    // box gets what a user pressing Enter would give, and the note says what went wrong.
    e.answer = first;
    e.defaulted = true;
    events_.push_back(std::move(e));
    note(QStringLiteral("answer %1 is not a button of %2 (\"%3\")")
             .arg(answerName(scripted), nameOf(message.buttons), message.prompt));
    return first;
}

FileChoice ScriptedUi::chooseFile(const FileRequest& request)
{
    Event e;
    e.kind = Event::Kind::FileDialog;
    e.file = request;
    FileChoice choice;
    if (files_.empty()) {
        e.defaulted = true;
    } else {
        const FileAnswer answer = files_.front();
        files_.pop_front();
        if (!answer.cancel)
            choice = FileChoice{answer.path, false};
    }
    e.path = choice.path;
    events_.push_back(std::move(e));
    return choice;
}

namespace {
QString dialogName(const QDialog& dialog)
{
    return dialog.objectName().isEmpty() ? QString::fromLatin1(dialog.metaObject()->className())
                                         : dialog.objectName();
}
} // namespace

int ScriptedUi::showModal(QDialog& dialog)
{
    const QString name = dialogName(dialog);
    const std::size_t index = events_.size();
    Event opened;
    opened.kind = Event::Kind::Modal;
    opened.text = name;
    events_.push_back(opened);

    std::optional<int> finished;
    QPointer<QDialog> alive(&dialog);  // a dialog that deletes itself on close may be gone
    const auto connection = QObject::connect(&dialog, &QDialog::finished, [&finished](int result) { finished = result; });
    struct Disconnect {
        QMetaObject::Connection c;
        ~Disconnect() { QObject::disconnect(c); }
    } disconnect{connection};

    dialog.open();
    bool scripted = false;
    if (dialogs_.empty()) {
        note(QStringLiteral("no script for dialog %1: rejected").arg(name));
    } else {
        DialogScript script = std::move(dialogs_.front());
        dialogs_.pop_front();
        scripted = true;
        script(dialog);
    }

    if (!finished && alive && alive->isVisible()) {
        if (scripted)
            note(QStringLiteral("dialog %1 left open by its script: rejected").arg(name));
        alive->reject();
        // A dialog whose reject() refuses to close is closed all the same: the test is over.
        if (!finished && alive && alive->isVisible())
            alive->done(QDialog::Rejected);
    }
    // A dialog that hid itself without done() ends with the result it holds.
    const int result = finished ? *finished : alive ? alive->result() : int(QDialog::Rejected);
    events_[index].answer = result;
    return result;
}

void ScriptedUi::processEvents()
{
    ++processEventsCount_;
    QCoreApplication::processEvents();
}

ScopedScriptedUi::ScopedScriptedUi()
{
    auto scripted = std::make_unique<ScriptedUi>();
    ui_ = scripted.get();
    previous_ = install(std::move(scripted));
}

ScopedScriptedUi::~ScopedScriptedUi()
{
    install(std::move(previous_));
}

QObject* findChildNamed(QObject& parent, const QString& objectName)
{
    QObject* found = parent.findChild<QObject*>(objectName);
    if (!found)
        throw std::logic_error(QStringLiteral("%1 has no child named %2")
                                   .arg(parent.objectName().isEmpty() ? QString::fromLatin1(parent.metaObject()->className())
                                                                      : parent.objectName(),
                                        objectName)
                                   .toStdString());
    return found;
}

void click(QObject& parent, const QString& objectName)
{
    auto& button = child<QAbstractButton>(parent, objectName);
    if (!button.isEnabled() || !button.isVisibleTo(button.window()))
        throw std::logic_error(QStringLiteral("button %1 is disabled or hidden").arg(objectName).toStdString());
    button.click();
}

} // namespace ui
