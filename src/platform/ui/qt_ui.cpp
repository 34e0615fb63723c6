#include "qt_ui.h"

#include "qt_mapping.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace ui {

namespace {
QWidget* dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QString titleOrApplication(const QString& title)
{
    return title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}
} // namespace

int QtUi::showMessage(const Message& message)
{
    const std::vector<int> answers = answersOf(message.buttons);
    QMessageBox box(qt::iconFor(message.icon), titleOrApplication(message.title), message.prompt,
                    QMessageBox::NoButton, dialogParent());
    for (int answer : answers)
        box.addButton(qt::standardButtonFor(answer));
    box.setDefaultButton(qt::standardButtonFor(answers.front()));
    if (offers(message.buttons, Cancel))
        box.setEscapeButton(qt::standardButtonFor(Cancel));
    box.exec();

    if (QAbstractButton* clicked = box.clickedButton()) {
        const int answer = qt::answerFor(box.standardButton(clicked));
        if (answer != 0)
            return answer;
    }
    // Closed without a button (the window's close box): the answer Escape would give.
    return offers(message.buttons, Cancel) ? Cancel : answers.front();
}

FileChoice QtUi::chooseFile(const FileRequest& request)
{
    QFileDialog dialog(dialogParent(), request.title, request.folder);
    if (request.kind == FileDialogKind::Folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return FileChoice{dialog.selectedFiles().constFirst(), false};
    }
    const bool save = request.kind == FileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The callers add the extension themselves and report a missing file with their own message,
    // so the dialog accepts any name.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QString filters = qt::nameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilter(filters);
    if (!request.initialName.isEmpty() && !qt::isPattern(request.initialName))
        dialog.selectFile(request.initialName);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return FileChoice{dialog.selectedFiles().constFirst(), false};
}

void QtUi::beep()
{
    QApplication::beep();
}

int QtUi::showModal(QDialog& dialog)
{
    return dialog.exec();
}

void QtUi::processEvents()
{
    QCoreApplication::processEvents();
}

void QtUi::setBusyPointer(bool busy)
{
    if (busy) {
        // Qt keeps override cursors on a stack; the program expects one absolute switch.
        if (QGuiApplication::overrideCursor())
            QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        return;
    }
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

bool QtUi::isBusyPointer() const
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

} // namespace ui
