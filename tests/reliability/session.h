#pragma once
// One program session for the reliability loops: the real main window over a file in a fixed
// folder (which is also the program folder, with the logo the program looks for), with the
// scripted UI. The folder stays the same for every round, so the file's states compare exactly
// between rounds (opening stores the program folder's logo path in the file).
#include "frame/frm_main.h"
#include "platform/ui/scripted_ui.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
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
    // What the fault layer watches: every file in the folder, so the new files some commands
    // make and the work files beside the database are counted and failed like the database.
    QString watched() const;

    // Writes the fixture (template, members, donations) and the logo once.
    // Also the program's template (Base.dat, and base.dat, the name the copy reads), with one
    // password entry besides the administrator's.
    void makeFixture();
    // Closes the window, puts the pristine fixture in place of the file (no journal left beside
    // it), and leaves its Backups folder with one backup of the fixture made earlier on the
    // session's day, so that no round makes the day's first backup unasked.
    void restoreFile();
    // The fixed time backups are named by in every session (tests and the crash child alike).
    static QDateTime backupTime();
    QString backupsFolder() const;

    // A new window with what start-up settles before a file is open; the old one goes.
    frmMain& build();
    // Opens the file through the program's Open command; false when it did not open.
    bool open();
    // Waits for the open file's page check (and backup) on their thread and takes their end, so
    // that what they read is counted with the command that opened the file, every run alike.
    void settle();
    // What Executive mode does to the window (the grid shown, every field enabled, totals).
    void executive();
    void closeWindow();

    // A command of several writes (a report fills its work table, shows it, empties it) has
    // states between them. While recording, a row's script calls noteState() where one stands;
    // the file is read unwatched, so the fault layer's counts stay those of the command alone.
    void recordStates(bool on);
    void noteState();
    const QStringList& notedStates() const { return noted_; }

    frmMain& window() { return *window_; }
    bool hasWindow() const { return window_ != nullptr; }
    ui::ScriptedUi& ui() { return *ui_; }

private:
    QString folder_;
    ui::ScopedScriptedUi ui_;
    std::unique_ptr<frmMain> window_;
    bool recording_ = false;
    QStringList noted_;
};

} // namespace reliability
