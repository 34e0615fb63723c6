#pragma once
// Choosing a file that a command writes under a name the user gives (an export, a merge file, a
// PDF). A save dialog shows every file, the program's own among them: the file the program has
// open, its backups, its template. One check, installed by the program, names the files that
// must never be written over and why; every such command asks for its target here, so none can
// forget it, and a refused name is one message and the dialog again.
#include <QString>
#include <functional>

namespace ui {

// Why nothing may be written at the path (a sentence that ends the message), or "" when it may.
using SaveTargetCheck = std::function<QString(const QString& path)>;

// Puts a check in force for every later chooseSaveTarget and returns the one it replaces.
SaveTargetCheck setSaveTargetCheck(SaveTargetCheck check);

struct SaveRequest {
    QString title;        // the dialog's, and the refusal's
    QString initialName;
    QString filter;       // as for the save dialog
    // The name the command will write for a name chosen (an extension added); none: as chosen.
    std::function<QString(const QString& chosen)> complete;
    // Whether an existing file is replaced only after the user said Yes.
    bool askBeforeReplacing = false;
};

// The one message for a name refused: the file, the reason, and what to do.
void tellTargetRefused(const QString& title, const QString& path, const QString& refusal);

// The save dialog until the user picks a name that may be written, or cancels: then "" and
// *cancelled (when given) true. "" with *cancelled false: the user would not replace a file.
QString chooseSaveTarget(const SaveRequest& request, bool* cancelled = nullptr);

} // namespace ui
