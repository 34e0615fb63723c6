#pragma once
// Executive mode through the program's own command: the password dialog answered with a
// password, as a user types it.
#include "frame/frm_main.h"
#include "platform/ui/scripted_ui.h"

#include <QLineEdit>
#include <QString>

namespace quiltest {

// The template's administrator password.
inline const QString kAdminPassword = QStringLiteral("admin");

// Queues the password dialog's answer: the password typed and OK pressed.
inline void answerPassword(ui::ScriptedUi& ui, const QString& password)
{
    ui.queueDialog([password](QDialog& d) {
        ui::child<QLineEdit>(d, "txtPassword").setText(password);
        ui::click(d, "cmdOK");
    });
}

// Runs the Executive command with the password typed and OK pressed.
inline void enterExecutive(frmMain& f, ui::ScriptedUi& ui, const QString& password = kAdminPassword)
{
    answerPassword(ui, password);
    f.mnuExecMode_Click();
}

} // namespace quiltest
