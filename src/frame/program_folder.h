#pragma once
// The folder the program runs from: its template database and pictures lie beside it.
#include <QString>

// With a trailing separator. QUIL_PROGRAM_DIR, when set, names it instead of the executable's
// folder, so that tests and tools can run the program over a folder of their own.
QString ProgramFolder();

// The process command line after the program's name, as one text: the arguments joined by blanks.
QString ProcessCommandLine();
