#pragma once
// One program session for the reliability loops: the real main window over a file in a fixed
// folder (which is also the program folder, with the logo the program looks for), with the
// scripted UI. The folder stays the same for every round, so the file's states compare exactly
// between rounds (opening stores the program folder's logo path in the file).
#include "frame/frm_main.h"
#include "platform/ui/scripted_ui.h"

#include <QString>
#include <memory>

namespace reliability {

class Session {
public:
    // folder: where the file and the program's pictures live; it must exist.
    explicit Session(QString folder);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const QString& folder() const { return folder_; }
    QString file() const;      // the database the rounds work on
    QString pristine() const;  // the fixture every round starts from

    // Writes the fixture (template, members, donations) and the logo once.
    void makeFixture();
    // Puts the pristine fixture in place of the file (no journal left beside it).
    void restoreFile();

    // A new window with what start-up settles before a file is open; the old one goes.
    frmMain& build();
    // Opens the file through the program's Open command; false when it did not open.
    bool open();
    // What Executive mode does to the window (the grid shown, every field enabled, totals).
    void executive();
    void closeWindow();

    frmMain& window() { return *window_; }
    bool hasWindow() const { return window_ != nullptr; }
    ui::ScriptedUi& ui() { return *ui_; }

private:
    QString folder_;
    ui::ScopedScriptedUi ui_;
    std::unique_ptr<frmMain> window_;
};

} // namespace reliability
