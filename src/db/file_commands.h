#pragma once
// The main window's commands for database files: open, close, the shared file dialog and the
// report logo (file_commands.cpp); new files from the template (create_from_template.cpp,
// new_blank.cpp, clone_and_clear.cpp); repair and compress (repair_compress.cpp).
#include "frame/seams.h"

#include <QString>

class frmMain;
namespace db { struct CheckedFile; }
namespace frame { class FailureScope; }

class FileCommands final : public seam::Files {
public:
    explicit FileCommands(frmMain& f);

    void mnuFileOpen_Click() override;
    void mnuFileClose_Click() override;
    QString ChooseDatabaseFile(const QString& title) override;
    void LoadReportLogo() override;

    // ---- New files from the template ----------------------------------------------------------
    // Asks for a new file's name under the given title and copies the template there. Leaves
    // the path in S.DbFileName, or "" when no file was made (each refusal has told the user).
    void CreateFromTemplate(const QString& title);
    void mnuFileNewBlank_Click() override;
    void mnuFileNewClone_Click() override;

    // ---- Repair and compress ------------------------------------------------------------------
    void mnuCompact_Click() override;

private:
    // Shows why a file could not be opened, naming it, and leaves the no-file state intact.
    void reportUnopenable(const QString& path, int number, const QString& reason);
    // Steps 3 to 22 of the open, on a file that passed every check.
    void bindOpenedFile(const db::CheckedFile& file, const frame::FailureScope& failures);
    // Lets go of a file whose open failed half-way and puts the window back in its no-file state.
    void abandonOpen();

    frmMain& f;
};
