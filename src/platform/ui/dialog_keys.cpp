#include "dialog_keys.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace ui {

namespace {

const char* const kFilterName = "ui::pressFocusedButtonOnEnter";

bool isPlainEnter(const QKeyEvent& key)
{
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// A focused button that may not become the default lets Enter pass up to its dialog, which
// would press the default button (or nothing) instead of the one the user is on. The key is
// caught on its way up, so every button counts, however deep and whenever it was made.
class EnterPressesFocusedButton : public QObject {
public:
    explicit EnterPressesFocusedButton(QDialog& dialog) : QObject(&dialog), dialog_(dialog)
    {
        setObjectName(QLatin1String(kFilterName));
        dialog.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &dialog_ || event->type() != QEvent::KeyPress || !isPlainEnter(*static_cast<QKeyEvent*>(event)))
            return false;
        auto* button = qobject_cast<QPushButton*>(dialog_.focusWidget());
        if (!button || button->window() != &dialog_ || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }

private:
    QDialog& dialog_;
};

} // namespace

void pressFocusedButtonOnEnter(QDialog& dialog)
{
    if (dialog.findChild<QObject*>(QLatin1String(kFilterName), Qt::FindDirectChildrenOnly))
        return;
    new EnterPressesFocusedButton(dialog);
}

} // namespace ui
