#include "filters/filters_commands.h"

FiltersCommands::FiltersCommands(frmMain& f) : f(f) {}
