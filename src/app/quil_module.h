#pragma once

// The program's entry: creates the main window, runs its load event and shows it; returns the
// process's exit code when the main window has gone. A QApplication must exist.
namespace QuilModule {
int Main();
}
