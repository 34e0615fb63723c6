#pragma once
// The main window's commands for database files: open, close, the shared file dialog and the
// report logo.
#include <QString>

class frmMain;

class FileCommands {
public:
    explicit FileCommands(frmMain& f);

    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    QString ChooseDatabaseFile(const QString& title);
    void LoadReportLogo();

private:
    // Shows why a file could not be opened, naming it, and leaves the no-file state intact.
    void reportUnopenable(const QString& path, int number, const QString& reason);

    frmMain& f;
};
