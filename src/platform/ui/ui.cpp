#include "ui.h"

#include "dialog_keys.h"
#include "qt_ui.h"

namespace ui {

namespace {
std::unique_ptr<Ui>& slot()
{
    static std::unique_ptr<Ui> instance;
    return instance;
}
} // namespace

Ui::~Ui() = default;

std::vector<int> answersOf(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OKOnly: return {OK};
    case Buttons::OKCancel: return {OK, Cancel};
    case Buttons::AbortRetryIgnore: return {Abort, Retry, Ignore};
    case Buttons::YesNoCancel: return {Yes, No, Cancel};
    case Buttons::YesNo: return {Yes, No};
    case Buttons::RetryCancel: return {Retry, Cancel};
    }
    return {OK};
}

bool offers(Buttons buttons, int answer)
{
    for (int a : answersOf(buttons))
        if (a == answer)
            return true;
    return false;
}

QString nameOf(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OKOnly: return QStringLiteral("OKOnly");
    case Buttons::OKCancel: return QStringLiteral("OKCancel");
    case Buttons::AbortRetryIgnore: return QStringLiteral("AbortRetryIgnore");
    case Buttons::YesNoCancel: return QStringLiteral("YesNoCancel");
    case Buttons::YesNo: return QStringLiteral("YesNo");
    case Buttons::RetryCancel: return QStringLiteral("RetryCancel");
    }
    return QString::number(static_cast<int>(buttons));
}

QString nameOf(Icon icon)
{
    switch (icon) {
    case Icon::None: return QStringLiteral("None");
    case Icon::Critical: return QStringLiteral("Critical");
    case Icon::Question: return QStringLiteral("Question");
    case Icon::Exclamation: return QStringLiteral("Exclamation");
    case Icon::Information: return QStringLiteral("Information");
    }
    return QString::number(static_cast<int>(icon));
}

QString answerName(int answer)
{
    switch (answer) {
    case OK: return QStringLiteral("OK");
    case Cancel: return QStringLiteral("Cancel");
    case Abort: return QStringLiteral("Abort");
    case Retry: return QStringLiteral("Retry");
    case Ignore: return QStringLiteral("Ignore");
    case Yes: return QStringLiteral("Yes");
    case No: return QStringLiteral("No");
    default: return QString::number(answer);
    }
}

int Ui::runModal(QDialog& dialog)
{
    pressFocusedButtonOnEnter(dialog);
    return showModal(dialog);
}

int Ui::msgBox(const QString& prompt, Buttons buttons, Icon icon, const QString& title)
{
    return showMessage(Message{prompt, buttons, icon, title});
}

namespace {
QString pathOf(const FileChoice& choice, bool* cancelled)
{
    if (cancelled)
        *cancelled = choice.cancelled;
    return choice.cancelled ? QString() : choice.path;
}
} // namespace

QString Ui::openFileDialog(const QString& title, const QString& initialName, const QString& filter,
                           const QString& folder, bool* cancelled)
{
    return pathOf(chooseFile(FileRequest{FileDialogKind::Open, title, initialName, filter, folder}), cancelled);
}

QString Ui::saveFileDialog(const QString& title, const QString& initialName, const QString& filter,
                           const QString& folder, bool* cancelled)
{
    return pathOf(chooseFile(FileRequest{FileDialogKind::Save, title, initialName, filter, folder}), cancelled);
}

QString Ui::folderDialog(const QString& title, const QString& folder, bool* cancelled)
{
    return pathOf(chooseFile(FileRequest{FileDialogKind::Folder, title, {}, {}, folder}), cancelled);
}

namespace {
std::uint64_t shownCount = 0;
}

std::uint64_t messagesShown()
{
    return shownCount;
}

std::int16_t message(Beep beep, const QString& prompt, Buttons buttons, Icon icon, const QString& title)
{
    ++shownCount;
    Ui& u = current();
    if (beep == Beep::Yes)
        u.beep();
    return static_cast<std::int16_t>(u.msgBox(prompt, buttons, icon, title));
}

std::int16_t dataError(const QString& prompt)
{
    return message(Beep::Yes, prompt, Buttons::OKOnly, Icon::Critical, QStringLiteral("QUIL Data Error"));
}

Ui& current()
{
    auto& instance = slot();
    if (!instance)
        instance = std::make_unique<QtUi>();
    return *instance;
}

std::unique_ptr<Ui> install(std::unique_ptr<Ui> implementation)
{
    auto previous = std::move(slot());
    slot() = std::move(implementation);
    return previous;
}

} // namespace ui
