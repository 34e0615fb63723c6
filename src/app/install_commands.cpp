#include "app/install_commands.h"

#include "access/access_commands.h"
#include "access/admin_commands.h"
#include "db/file_commands.h"
#include "filters/filters_commands.h"
#include "frame/frm_main.h"
#include "records/records_commands.h"
#include "reports/export_commands.h"
#include "reports/report_commands.h"

#include <memory>

void InstallCommands(frmMain& f)
{
    // Records first: its constructor hooks the grid and the member data source, which the other
    // subsystems' commands find hooked when they run.
    f.records = std::make_unique<RecordsCommands>(f);
    f.files = std::make_unique<FileCommands>(f);
    f.filters = std::make_unique<FiltersCommands>(f);
    f.reports = std::make_unique<ReportCommands>(f);
    f.access = std::make_unique<AccessCommands>(f);
    f.administration = std::make_unique<AdminCommands>(f);
    f.exports = std::make_unique<ExportCommands>(f);
}
