#include "reliability/rounds.h"

#include "db/file_commands.h"
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "reliability/file_state.h"
#include "schema/open_checks.h"

#include <sqlcipher/sqlite3.h>

#include <exception>

namespace reliability {

namespace {

// The add-donation row: the probe that the program still writes after a failure.
const WritingCommand& probeCommand()
{
    return writingCommands().front();
}

// A message that tells the user their change was not kept.
bool claimsNothingWritten(const QString& prompt)
{
    for (const char* words : {"nothing has been written", "not recorded", "could not be saved", "was not added",
                              "was not removed", "cannot open", "not saved"})
        if (prompt.contains(QString::fromLatin1(words), Qt::CaseInsensitive))
            return true;
    return false;
}

QString messagesText(const std::vector<ui::Message>& messages)
{
    QStringList out;
    for (const ui::Message& m : messages)
        out << QStringLiteral("[%1] %2").arg(m.title, QString(m.prompt).replace(u'\n', u' '));
    return out.join(QStringLiteral(" / "));
}

// Runs a step of the session; an exception leaving it is a problem (the program's own code
// catches what it must, so nothing should arrive here).
bool guarded(QStringList& problems, const QString& what, const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        problems << QStringLiteral("%1 threw: %2").arg(what, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        problems << what + QStringLiteral(" threw something unknown");
    }
    return false;
}

// Which of the two states a dump is; problems for neither.
bool classify(const QString& dump, const Reference& ref, QStringList& problems)
{
    if (dump == ref.after)
        return true;
    if (dump != ref.before)
        problems << QStringLiteral("the file holds neither the state before nor after the command");
    return false;
}

// The file's dump, with a problem when it is not sound.
QString checkFile(const QString& path, QStringList& problems)
{
    const FileState state = readFileState(path);
    if (state.integrity != u"ok")
        problems << QStringLiteral("integrity check: ") + state.integrity;
    return state.dump;
}

bool fileOpen(Session& s)
{
    return s.window().S.db && !s.window().S.OpenDbPath.isEmpty();
}

} // namespace

QString describe(const faultfs::Plan& plan)
{
    return QStringLiteral("%1 %2 %3%4")
        .arg(QString::fromLatin1(faultfs::opName(plan.op)))
        .arg(plan.n)
        .arg(QString::fromLatin1(faultfs::faultName(plan.fault)), plan.persistent ? QStringLiteral(" from then on") : QString());
}

Reference reference(Session& s, const WritingCommand& command)
{
    Reference ref;
    s.restoreFile();
    s.build();
    if (!guarded(ref.problems, QStringLiteral("preparing"), [&] { command.prepare(s); }))
        return ref;
    ref.before = canonicalDump(s.file());
    s.ui().clearLog();
    faultfs::arm({});
    guarded(ref.problems, QStringLiteral("the command"), [&] { command.run(s); });
    faultfs::disarm();
    ref.counts = faultfs::counts();
    if (!s.ui().messages().empty())
        ref.problems << QStringLiteral("without a fault the command said: ") + messagesText(s.ui().messages());
    ref.after = canonicalDump(s.file());
    if (ref.after == ref.before)
        ref.problems << QStringLiteral("without a fault the command wrote nothing");
    s.closeWindow();
    return ref;
}

Outcome ioRound(Session& s, const WritingCommand& command, const Reference& ref, const faultfs::Plan& plan)
{
    Outcome out;
    QStringList& problems = out.problems;
    s.restoreFile();
    s.build();
    if (!guarded(problems, QStringLiteral("preparing"), [&] { command.prepare(s); }))
        return out;
    s.ui().clearLog();
    faultfs::arm(plan);
    guarded(problems, QStringLiteral("the command"), [&] { command.run(s); });
    faultfs::disarm();
    out.fired = faultfs::fired();

    const auto messages = s.ui().messages();
    const QString dump = checkFile(s.file(), problems);
    out.after = classify(dump, ref, problems);

    if (!out.fired) {
        if (!out.after)
            problems << QStringLiteral("the fault was not met, yet the change is not in the file");
        if (!messages.empty())
            problems << QStringLiteral("the fault was not met, yet the program said: ") + messagesText(messages);
        return out;
    }
    if (messages.size() > 1)
        problems << QStringLiteral("more than one message: ") + messagesText(messages);
    if (!out.after && messages.empty() && !command.silentSkip)
        problems << QStringLiteral("nothing was written and the program said nothing");
    for (const ui::Message& m : messages) {
        if (m.title != u"QUIL Data Error" && m.title != u"Unreadable File")
            problems << QStringLiteral("a message with the title \"%1\": %2").arg(m.title, m.prompt);
        if (out.after && claimsNothingWritten(m.prompt))
            problems << QStringLiteral("the change is in the file, but the message says otherwise: ") + m.prompt;
    }

    // Usable afterwards: no transaction left behind, and the next command works.
    frmMain& f = s.window();
    if (f.S.db && f.S.db->isOpen() && !sqlite3_get_autocommit(f.S.db->connection().handle()))
        problems << QStringLiteral("a transaction was left open");
    if (!command.opensFile && !fileOpen(s)) {
        problems << QStringLiteral("the file is no longer open");
        return out;
    }
    s.ui().clearLog();
    const WritingCommand* next = &probeCommand();
    if (command.opensFile) {
        if (fileOpen(s))
            guarded(problems, QStringLiteral("closing"), [&] { f.mnuFileClose_Click(); });
        next = &command;
    } else if (!out.after) {
        next = &command;  // the same command again, now without a fault, gives the after-state
    }
    guarded(problems, QStringLiteral("the next command"), [&] { next->run(s); });
    if (!s.ui().messages().empty())
        problems << QStringLiteral("the next command (%1) said: %2").arg(next->name, messagesText(s.ui().messages()));
    // Read through the window's own connection: the file's soundness after a failure was
    // checked above by a fresh one, and keying another connection costs more than the read.
    QString later;
    if (f.S.db && f.S.db->isOpen()) {
        guarded(problems, QStringLiteral("reading the file"), [&] {
            auto check = f.S.db->connection().prepare(QStringLiteral("PRAGMA quick_check"));
            if (!check.step() || check.text(0) != u"ok")
                problems << QStringLiteral("the quick check after the next command failed");
            check = sqlite::Statement();
            later = dumpOf(f.S.db->connection());
        });
    }
    if (next == &command && !out.after && later != ref.after)
        problems << QStringLiteral("the command run again did not give the state after it");
    if (next != &command && later == dump)
        problems << QStringLiteral("the next command (%1) wrote nothing").arg(next->name);
    s.closeWindow();
    return out;
}

Outcome checkStoppedFile(const QString& path, const QString& connect, const Reference& ref)
{
    Outcome out;
    const QString dump = checkFile(path, out.problems);
    out.after = classify(dump, ref, out.problems);
    try {
        db::CheckedFile file = db::openCheckedDatabase(path, connect);
        file.database->close();
    } catch (const jet::DbError& e) {
        out.problems << QStringLiteral("the program cannot open the file: ") + e.description();
    }
    dao::Engine::instance().defaultWorkspace().close();
    return out;
}

} // namespace reliability
