#pragma once
// The program's writing commands as the reliability loops run them: one row each. A row says
// how to put the window in the state the command starts from and how a user gives the command
// (dialog scripts queued, then the handler through the guarded dispatch). A new writing command
// joins every loop (I/O errors, crashes, the soak tool) by one new row in writing_commands.cpp.
#include "reliability/session.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace reliability {

struct WritingCommand {
    QString name;
    // After Session::build(): open the file (unless the command opens it) and stand where the
    // command starts. Writes nothing.
    std::function<void(Session&)> prepare;
    // The command itself, from the user's side.
    std::function<void(Session&)> run;
    // A failure may end the command without a message, because the program skips that step
    // without a word (the logo path rewritten on opening).
    bool silentSkip = false;
    // The command opens the file itself: after a failure the window may be in its no-file state.
    bool opensFile = false;
    // Titles of the messages the command gives when it succeeds (a question the run answers, a
    // note that it is done). Without a fault each must appear and no other message; with one
    // they are allowed besides the one message about the fault, but a note that the command is
    // done (an OK-only message of these titles) only when the change is in the file.
    QStringList expectedTitles = {};
    // The file the command writes when it is not the session's file (a new file it makes);
    // empty for the session's file. Before the command that file does not exist; after a fault
    // it is absent or complete and sound, and the session's file is as it was. The loops close
    // the window's file and remove this one before the command runs again.
    std::function<QString(Session&)> target = {};
    // The command leaves what the file holds as it found it: repair and compress rewrite the
    // file, a report fills its work table and empties it again. The states before and after
    // are the same dump; the command must still write.
    bool keepsContent = false;
    // Titles of questions the command asks only when the file refused its write (whether to go
    // on without the change); the run answers them. After a fault they come besides the one
    // message about it; without one they must not come.
    QStringList faultQuestions = {};
};

const std::vector<WritingCommand>& writingCommands();
// The row of that name; nullptr when there is none.
const WritingCommand* findCommand(const QString& name);

} // namespace reliability
