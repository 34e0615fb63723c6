#include "access/access_commands.h"

AccessCommands::AccessCommands(frmMain& f) : f(f) {}
