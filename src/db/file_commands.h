#pragma once
// The main window's commands for database files: open, close, the shared file dialog and the
// report logo.
#include "frame/seams.h"

#include <QString>

class frmMain;

class FileCommands final : public seam::Files {
public:
    explicit FileCommands(frmMain& f);

    void mnuFileOpen_Click() override;
    void mnuFileClose_Click() override;
    QString ChooseDatabaseFile(const QString& title) override;
    void LoadReportLogo() override;

private:
    // Shows why a file could not be opened, naming it, and leaves the no-file state intact.
    void reportUnopenable(const QString& path, int number, const QString& reason);

    frmMain& f;
};
