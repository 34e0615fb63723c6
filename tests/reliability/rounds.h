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
    QString path;          // the file the command writes: the session's, or the new one it makes
    bool newFile = false;  // path is a new file: before the command it does not exist
    QString before;        // the dump before (empty for a new file: no file)
    QString after;
    // States a command of several writes leaves between them, each as sound as before and
    // after: a report's filled work table; a new file the opening has not yet given the
    // program folder's logo path (the step the opening skips without a word).
    QStringList between;
    QString session;        // the session's file
    QString sessionBefore;  // a new file's command: the session's file, which must not change
    faultfs::Counts counts;
    QStringList problems;  // the command did not succeed cleanly without a fault
};

struct Outcome {
    bool fired = false;  // the planned fault was met
    bool after = false;  // the file holds the after-state (else the before-state, one between, or a problem)
    QStringList problems;
};

Reference reference(Session& s, const WritingCommand& command);

// Runs the command with the plan (an I/O error or disk full) and checks: besides the messages
// the command gives when it succeeds, at most one message, a clear one when nothing was written
// (unless the command skips silently), none that says nothing was written when the change is
// in the file and no note of success when it is not; PRAGMA integrity_check "ok", the file
// exactly in its before- or after-state (or a state between two of its writes), a new file
// absent or complete; and the program usable: no transaction left open and the next command
// succeeding.
Outcome ioRound(Session& s, const WritingCommand& command, const Reference& ref, const faultfs::Plan& plan);

// Checks the file a stopped process left (ref.path): it opens as the program opens files,
// passes the integrity check and holds the before- or the after-state; a new file may also be
// absent, and the session's file is unchanged then.
Outcome checkStoppedFile(const QString& connect, const Reference& ref);

// Opens the session's file through the window's Open, as the next start after a run does: the
// lock of the process that ran (stopped or not) does not block it, and nothing a stopped run
// left beside the file stays afterwards. Problems as sentences.
QStringList checkReopened(Session& s);

// A second program on the file: the command stands ready in a child process (childExecutable,
// the crash child), holding the file where its row opens it, while this program opens the file.
// When the child holds it: refused with one "File In Use" message naming the file and since when
// it is held (fired); when not yet: opened without a word, and closed again. Then the child's
// command runs to its end undisturbed: the file sound and in the state after it, and it opens
// here afterwards with nothing left beside it.
Outcome secondProgramRound(Session& s, const WritingCommand& command, const Reference& ref, const QString& childExecutable,
                           const QString& connect);

// "read 3 I/O error" and the like, for messages.
QString describe(const faultfs::Plan& plan);

} // namespace reliability
