#pragma once
// File > Export: the CSV exports as commands of the main window. Each asks for the file (a
// replace question when it exists), writes with a progress dialog that can cancel, and ends in
// one message: how many lines were written, or why the file could not be written (then no file
// is left behind). A database error reaches the guarded dispatch as any command's does.
#include "frame/seams.h"

#include <QString>
#include <cstdint>

class frmMain;

class ExportCommands final : public seam::Export {
public:
    explicit ExportCommands(frmMain& f);

    // Every member, every field.
    void mnuFileExportMembers_Click() override;
    // The donations of the grid's query: its view, filters and sort.
    void mnuFileExportDonations_Click() override;
    // Destination, count and total for a date range.
    void mnuFileExportFunds_Click() override;

private:
    // The file to write, "" when the user cancelled or declined to replace it.
    QString chooseFile(const QString& title, const QString& suggested);
    // Runs an export with the progress dialog and tells the user how it ended.
    template <class Work>
    void run(const QString& title, const QString& path, const QString& what, Work work);

    frmMain& f;
};
