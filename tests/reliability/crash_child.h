#pragma once
// The crash loop's child process: it opens the session's file, stands where a writing command
// starts, says "ready" and runs the command, stopped by the fault layer at the n-th write or by
// its parent at any moment. Its parent then checks the file the stopped process left behind.
#include "support/faultfs/fault_vfs.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace reliability {

// The child's main: arguments folder, command name, the write to be stopped at (0: none), and
// "hold" to wait for a line on stdin after "ready" (standing where the command starts, the file
// open where the row opens it). Prints "ready" before the command and
// "done <reads> <writes> <syncs> <truncates> <microseconds>" after it.
int crashChildMain(const QStringList& arguments);

struct ChildRun {
    bool stopped = false;   // ended by SIGKILL
    bool finished = false;  // ran the command to its end
    faultfs::Counts counts;
    std::int64_t micros = 0;  // how long the command took (finished runs)
    QString error;            // the child could not be run as planned
};

// Runs the child on the session folder's file. killAtWrite > 0: the fault layer stops it at that
// write. killAfterMicros >= 0: the parent stops it that long after it said "ready". whileReady:
// the child waits after "ready" until this has run (given the child's process id), then goes on.
ChildRun runChild(const QString& executable, const QString& folder, const QString& command, std::int64_t killAtWrite,
                  std::int64_t killAfterMicros = -1, const std::function<void(qint64 pid)>& whileReady = {});

} // namespace reliability
