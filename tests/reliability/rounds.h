#pragma once
// One round of a reliability loop: a writing command run on a fresh copy of the fixture with one
// planned fault, then everything checked that must hold afterwards. The checks give problems as
// sentences, so the tests and the soak tool report them alike.
#include "reliability/session.h"
#include "reliability/writing_commands.h"
#include "support/faultfs/fault_vfs.h"

#include <QString>
#include <QStringList>

namespace reliability {

// The file before and after the command run without a fault, and the operations it made.
struct Reference {
    QString before;
    QString after;
    faultfs::Counts counts;
    QStringList problems;  // the command did not succeed cleanly without a fault
};

struct Outcome {
    bool fired = false;  // the planned fault was met
    bool after = false;  // the file holds the after-state (else the before-state, or a problem)
    QStringList problems;
};

Reference reference(Session& s, const WritingCommand& command);

// Runs the command with the plan (an I/O error or disk full) and checks: at most one message,
// a clear one when nothing was written (unless the command skips silently), none that says
// nothing was written when the change is in the file, PRAGMA integrity_check "ok", the file
// exactly in its before- or after-state, and the program usable: no transaction left open and
// the next command succeeding.
Outcome ioRound(Session& s, const WritingCommand& command, const Reference& ref, const faultfs::Plan& plan);

// Checks a file left by a stopped process: it opens as the program opens files, passes the
// integrity check and holds the before- or the after-state.
Outcome checkStoppedFile(const QString& path, const QString& connect, const Reference& ref);

// "read 3 I/O error" and the like, for messages.
QString describe(const faultfs::Plan& plan);

} // namespace reliability
