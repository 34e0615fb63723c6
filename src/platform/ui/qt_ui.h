#pragma once
// The production implementation: Qt's message box, file dialogs, beep and override cursor.
#include "ui.h"

namespace ui {

class QtUi : public Ui {
public:
    void beep() override;
    void processEvents() override;
    void setBusyPointer(bool busy) override;
    bool isBusyPointer() const override;

protected:
    int showModal(QDialog& dialog) override;
    int showMessage(const Message& message) override;
    FileChoice chooseFile(const FileRequest& request) override;
};

} // namespace ui
