#include "reliability/rounds.h"

#include "db/beside_files.h"
#include "db/file_commands.h"
#include "db/file_lock.h"
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "reliability/crash_child.h"
#include "platform/dao/derived_keys.h"
#include "reliability/file_state.h"
#include "schema/connect_key.h"
#include "schema/open_checks.h"

#include <sqlcipher/sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
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
                              "was not removed", "was not deleted", "could not be made", "no part of it was kept",
                              "cannot open", "not saved", "nothing has been changed", "nothing was written",
                              "was not changed", "were not merged", "nothing has been imported"})
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

// Which state a dump is: true for the after-state; false for the before-state or one between
// two writes; problems for none of them.
bool classify(const QString& dump, const Reference& ref, QStringList& problems)
{
    if (dump == ref.after)
        return true;
    if (dump != ref.before && !ref.between.contains(dump))
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

// The state of the file the command writes: a new file may be absent (its before-state); the
// session's file beside it must not have changed then.
bool checkWritten(const Reference& ref, QStringList& problems)
{
    if (ref.newFile) {
        if (checkFile(ref.session, problems) != ref.sessionBefore)
            problems << QStringLiteral("the open file changed while a new one was made");
        if (!QFileInfo::exists(ref.path))
            return false;
    }
    return classify(checkFile(ref.path, problems), ref, problems);
}

bool fileOpen(Session& s)
{
    return s.window().S.db && !s.window().S.OpenDbPath.isEmpty();
}

bool expected(const WritingCommand& command, const ui::Message& m, bool faultMet = false)
{
    return command.expectedTitles.contains(m.title)
        || (faultMet && m.buttons != ui::Buttons::OKOnly && command.faultQuestions.contains(m.title));
}

// The messages beyond those the command gives when it succeeds (and, after a fault, the
// questions it asks then).
std::vector<ui::Message> unexpected(const WritingCommand& command, const std::vector<ui::Message>& messages,
                                    bool faultMet = false)
{
    std::vector<ui::Message> out;
    for (const ui::Message& m : messages)
        if (!expected(command, m, faultMet))
            out.push_back(m);
    return out;
}

// Without a fault: each expected message and nothing else.
void checkCleanMessages(const WritingCommand& command, const std::vector<ui::Message>& messages, const QString& when,
                        QStringList& problems)
{
    const auto others = unexpected(command, messages);
    if (!others.empty())
        problems << when + QStringLiteral(" the command said: ") + messagesText(others);
    for (const QString& title : command.expectedTitles) {
        const bool shown = std::any_of(messages.begin(), messages.end(), [&](const ui::Message& m) { return m.title == title; });
        if (!shown)
            problems << when + QStringLiteral(" the command did not give its message \"%1\"").arg(title);
    }
}

// The state a new file has before the opening stores the program folder's logo path in it.
QString withoutLogoPath(const QString& path, const QString& folder)
{
    const QString copy = path + QStringLiteral(".logo-check");
    QFile::remove(copy);
    if (!QFile::copy(path, copy))
        return {};
    QString dump;
    {
        sqlite::Connection c(copy, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
        sqlite::Statement update = c.prepare(QStringLiteral("UPDATE Passwords SET OrgLogo = 'quil.jpg' WHERE OrgLogo = ?"));
        update.bind(1, folder + QStringLiteral("/quil.jpg"));
        update.step();
        dump = keyLine(copy) + dumpOf(c);
    }
    QFile::remove(copy);
    return dump;
}

// Runs the command again from where it starts: the window's file closed, a new file it made
// removed, then its preparation.
void again(Session& s, const WritingCommand& command, const Reference& ref, QStringList& problems)
{
    frmMain& f = s.window();
    if (fileOpen(s))
        guarded(problems, QStringLiteral("closing"), [&] { f.mnuFileClose_Click(); });
    if (ref.newFile) {
        QFile::remove(ref.path + QStringLiteral("-journal"));
        QFile::remove(ref.path);
    }
    guarded(problems, QStringLiteral("preparing again"), [&] { command.prepare(s); });
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
    ref.path = command.target ? command.target(s) : s.file();
    ref.newFile = static_cast<bool>(command.target);
    ref.session = s.file();
    if (!guarded(ref.problems, QStringLiteral("preparing"), [&] { command.prepare(s); }))
        return ref;
    if (ref.newFile) {
        if (QFileInfo::exists(ref.path))
            ref.problems << QStringLiteral("the new file is there before the command");
        ref.sessionBefore = canonicalDump(s.file());
    } else {
        ref.before = canonicalDump(ref.path);
    }
    s.ui().clearLog();
    s.recordStates(true);
    faultfs::arm({});
    guarded(ref.problems, QStringLiteral("the command"), [&] {
        command.run(s);
        s.settle();
    });
    faultfs::disarm();
    ref.counts = faultfs::counts();
    ref.between = s.notedStates();
    s.recordStates(false);
    checkCleanMessages(command, s.ui().messages(), QStringLiteral("without a fault"), ref.problems);
    if (ref.newFile && !QFileInfo::exists(ref.path)) {
        ref.problems << QStringLiteral("without a fault the command made no file");
    } else {
        ref.after = canonicalDump(ref.path);
        if (ref.newFile)
            ref.between << withoutLogoPath(ref.path, s.folder());
    }
    if (command.keepsContent) {
        if (ref.after != ref.before)
            ref.problems << QStringLiteral("without a fault the command changed what the file holds");
        if (ref.counts[faultfs::Op::Write] == 0)
            ref.problems << QStringLiteral("without a fault the command wrote nothing");
    } else if (ref.after == ref.before) {
        ref.problems << QStringLiteral("without a fault the command wrote nothing");
    }
    if (ref.newFile && canonicalDump(s.file()) != ref.sessionBefore)
        ref.problems << QStringLiteral("without a fault the open file changed while a new one was made");
    ref.between.removeAll(ref.after);
    ref.between.removeAll(ref.before);
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
    guarded(problems, QStringLiteral("the command"), [&] {
        command.run(s);
        s.settle();
    });
    faultfs::disarm();
    out.fired = faultfs::fired();

    const auto messages = s.ui().messages();
    out.after = checkWritten(ref, problems);

    if (!out.fired) {
        if (!out.after)
            problems << QStringLiteral("the fault was not met, yet the change is not in the file");
        checkCleanMessages(command, messages, QStringLiteral("the fault was not met, yet"), problems);
        return out;
    }
    const auto others = unexpected(command, messages, true);
    // A fault that stays (a disk that has failed) fails the steps that follow the command's own
    // failure too, such as showing the view again or opening the file again: each may say so.
    if (others.size() > 1 && !plan.persistent)
        problems << QStringLiteral("more than one message: ") + messagesText(others);
    if (!out.after && others.empty() && !command.silentSkip)
        problems << QStringLiteral("nothing was written and the program said nothing");
    for (const ui::Message& m : others) {
        if (m.title != u"QUIL Data Error" && m.title != u"Unreadable File" && m.title != u"File Creation Error"
            && m.title != u"Error when repairing/Compressing database")
            problems << QStringLiteral("a message with the title \"%1\": %2").arg(m.title, m.prompt);
        // A command that keeps the content changes nothing a message could deny; a file that
        // was written and then could not be opened may be said to be unopenable.
        if (out.after && !command.keepsContent && claimsNothingWritten(m.prompt)
            && !((ref.newFile || command.opensFile) && m.prompt.contains(QStringLiteral("cannot open"), Qt::CaseInsensitive)))
            problems << QStringLiteral("the change is in the file, but the message says otherwise: ") + m.prompt;
    }
    for (const ui::Message& m : messages)
        if (!out.after && expected(command, m) && m.buttons == ui::Buttons::OKOnly)
            problems << QStringLiteral("the change is not in the file, but the program said it was done: ") + m.prompt;

    // Usable afterwards: no transaction left behind, and the next command works.
    frmMain& f = s.window();
    if (f.S.db && f.S.db->isOpen() && !sqlite3_get_autocommit(f.S.db->connection().handle()))
        problems << QStringLiteral("a transaction was left open");
    if (!command.opensFile && !fileOpen(s)) {
        problems << QStringLiteral("the file is no longer open");
        return out;
    }
    s.ui().clearLog();
    s.ui().clearPending();
    // The same command again, now without a fault, must give the after-state; after a kept
    // change the probe must write.
    const bool rerun = command.opensFile || ref.newFile || !out.after;
    const WritingCommand* next = rerun ? &command : &probeCommand();
    if (command.opensFile || ref.newFile)
        again(s, command, ref, problems);
    // Donations are added in the Member View: from the List View the user goes there first.
    if (!rerun && f.S.ListViewActive)
        guarded(problems, QStringLiteral("the Member View"), [&] { f.mnuMemView_Click(); });
    s.ui().clearLog();
    guarded(problems, QStringLiteral("the next command"), [&] { next->run(s); });
    const auto nextOthers = unexpected(*next, s.ui().messages());
    if (!nextOthers.empty())
        problems << QStringLiteral("the next command (%1) said: %2").arg(next->name, messagesText(nextOthers));
    // Read through the window's own connection: the file's soundness after a failure was
    // checked above by a fresh one, and keying another connection costs more than the read.
    QString later;
    if (f.S.db && f.S.db->isOpen()) {
        guarded(problems, QStringLiteral("reading the file"), [&] {
            auto check = f.S.db->connection().prepare(QStringLiteral("PRAGMA quick_check"));
            if (!check.step() || check.text(0) != u"ok")
                problems << QStringLiteral("the quick check after the next command failed");
            check = sqlite::Statement();
            later = keyLine(ref.path) + dumpOf(f.S.db->connection());
        });
    } else if (rerun) {
        // The command closed the file itself (Exit): read it as the next start would.
        guarded(problems, QStringLiteral("reading the file"), [&] { later = canonicalDump(ref.path); });
    }
    if (rerun && later != ref.after)
        problems << QStringLiteral("the command run again did not give the state after it");
    if (!rerun && (later.isEmpty() || later == ref.after || later == ref.before))
        problems << QStringLiteral("the next command (%1) wrote nothing").arg(next->name);
    s.closeWindow();
    return out;
}

Outcome checkStoppedFile(const QString& connect, const Reference& ref)
{
    Outcome out;
    out.after = checkWritten(ref, out.problems);
    if (ref.newFile && !QFileInfo::exists(ref.path))
        return out;
    try {
        // As the program opens it: a file that took a passphrase of its own with the one typed.
        const QString key = sqlite::carriesPassphrase(ref.path) ? QStringLiteral("pwd=") + QString::fromUtf8(kFilePassphrase) : connect;
        db::CheckedFile file = db::openCheckedDatabase(ref.path, key);
        file.database->close();
    } catch (const jet::DbError& e) {
        out.problems << QStringLiteral("the program cannot open the file: ") + e.description();
    }
    dao::Engine::instance().defaultWorkspace().close();
    return out;
}

QStringList checkReopened(Session& s)
{
    QStringList problems;
    s.build();
    s.ui().clearLog();
    if (!s.open())
        problems << QStringLiteral("the file does not open after the run: ") + messagesText(s.ui().messages());
    const QStringList left = db::leftoversBeside(s.file(), true);
    if (!left.isEmpty()) {
        QStringList names;
        for (const QString& path : left)
            names << QFileInfo(path).fileName();
        problems << QStringLiteral("left beside the file after its open: ") + names.join(QStringLiteral(", "));
    }
    s.closeWindow();
    return problems;
}

Outcome secondProgramRound(Session& s, const WritingCommand& command, const Reference& ref, const QString& childExecutable,
                           const QString& connect)
{
    Outcome out;
    QStringList problems;
    s.restoreFile();
    const ChildRun run = runChild(childExecutable, s.folder(), command.name, 0, -1, [&](qint64 pid) {
        const auto holder = db::lockHolderNamed(s.file());
        const bool held = holder && holder->pid == pid;
        s.build();
        s.ui().clearLog();
        const bool opened = s.open();
        const auto messages = s.ui().messages();
        if (held) {
            out.fired = true;
            if (opened)
                problems << QStringLiteral("the file opened while another program held it");
            if (messages.size() != 1 || messages[0].title != u"File In Use" || !messages[0].prompt.contains(s.file())
                || !messages[0].prompt.contains(QStringLiteral(" since ")))
                problems << QStringLiteral("not one \"File In Use\" message naming the file and its holder: ") + messagesText(messages);
        } else if (!opened || !(command.opensFile ? unexpected(command, messages) : messages).empty()) {
            // A command that opens the file may be this very open: it says what it says then.
            problems << QStringLiteral("the file nobody held did not open without a word: ") + messagesText(messages);
        }
        s.closeWindow();
    });
    if (!run.finished) {
        out.problems << QStringLiteral("the command did not run to its end beside the second program: ") + run.error;
        return out;
    }
    const Outcome state = checkStoppedFile(connect, ref);
    out.after = state.after;
    out.problems << problems << state.problems;
    if (state.problems.isEmpty() && !state.after)
        out.problems << QStringLiteral("the command beside the second program did not give the state after it");
    out.problems << checkReopened(s);
    return out;
}

} // namespace reliability
