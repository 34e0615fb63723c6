// The soak tool: random rounds of the reliability loops for as long as asked. Each round takes a
// random writing command and either injects an I/O error or a full disk at a random operation
// (in this process), stops a child process running the command at a random write or moment (the
// file then opens here with nothing left beside it), or lets this process open the file while
// the child holds it ready (refused, the child's command undisturbed).
// It prints what it survived and every round that broke a rule.
//
//   reliability_soak [--seconds N] [--rounds N] [--seed N]
#include "reliability/crash_child.h"
#include "reliability/rounds.h"
#include "schema/connect_key.h"

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>

namespace {

struct Tally {
    long rounds = 0;
    long ioSurvived = 0;       // a fault met, every rule kept
    long ioNotMet = 0;         // the command ended before the planned operation
    long killsAtWrite = 0;
    long killsAtMoment = 0;
    long finishedBeforeStop = 0;
    long secondRefused = 0;    // this process refused the file a child held, the child's command undisturbed
    long secondOpened = 0;     // the child did not hold the file yet: opened here, closed, the command undisturbed
    long afterStates = 0;
    long losses = 0;           // the file unsound, in neither state, or not opening
    long ruleBreaks = 0;       // the file sound, another rule broken (messages, usability)
};

// A problem that means data was lost or damaged, not only a rule of the program's manners.
bool isLoss(const QStringList& problems)
{
    for (const QString& p : problems)
        if (p.contains(u"integrity") || p.contains(u"neither") || p.contains(u"the program cannot open the file") || p.contains(u"reading the file"))
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    long seconds = 60;
    long maxRounds = -1;
    std::uint64_t seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--seconds")
            seconds = args[i + 1].toLong();
        else if (args[i] == u"--rounds")
            maxRounds = args[i + 1].toLong();
        else if (args[i] == u"--seed")
            seed = args[i + 1].toULongLong();
    }
    std::printf("soak: seed %llu, %ld seconds%s\n", static_cast<unsigned long long>(seed), seconds,
                maxRounds >= 0 ? qPrintable(QStringLiteral(", at most %1 rounds").arg(maxRounds)) : "");

    faultfs::install();
    QTemporaryDir dir;
    reliability::Session s(dir.path());
    s.makeFixture();
    faultfs::watch(s.watched());
    const QString child = QStringLiteral(QUIL_CRASH_CHILD);
    const QString connect = db::DescrambleConnect(db::kScrambledConnect);

    const auto& commands = reliability::writingCommands();
    std::vector<reliability::Reference> refs;
    std::vector<std::int64_t> micros;
    for (const auto& c : commands) {
        refs.push_back(reliability::reference(s, c));
        if (!refs.back().problems.isEmpty()) {
            std::printf("%s fails without a fault: %s\n", qPrintable(c.name), qPrintable(refs.back().problems.join(u' ')));
            return 1;
        }
        s.restoreFile();
        const auto run = reliability::runChild(child, s.folder(), c.name, 0);
        if (!run.finished) {
            std::printf("%s: the child did not run: %s\n", qPrintable(c.name), qPrintable(run.error));
            return 1;
        }
        micros.push_back(run.micros);
    }

    std::mt19937_64 random(seed);
    const auto pick = [&](std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>(low, std::max(low, high))(random);
    };
    Tally t;
    std::map<QString, long> lossesByCommand;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    };
    while (elapsed() < seconds && (maxRounds < 0 || t.rounds < maxRounds)) {
        const std::size_t which = static_cast<std::size_t>(pick(0, static_cast<std::int64_t>(commands.size()) - 1));
        const auto& command = commands[which];
        const auto& ref = refs[which];
        const std::int64_t kind = pick(0, 3);
        reliability::Outcome out;
        QString what;
        if (kind == 0) {
            faultfs::Plan plan;
            plan.op = static_cast<faultfs::Op>(pick(0, faultfs::kOpCount - 1));
            plan.n = pick(1, ref.counts[plan.op] + 1);
            plan.fault = pick(0, 1) ? faultfs::Fault::IoError : faultfs::Fault::DiskFull;
            plan.persistent = pick(0, 1) == 1;
            what = reliability::describe(plan);
            out = reliability::ioRound(s, command, ref, plan);
            if (out.problems.isEmpty())
                ++(out.fired ? t.ioSurvived : t.ioNotMet);
        } else if (kind == 3) {
            what = QStringLiteral("a second program opening the file");
            out = reliability::secondProgramRound(s, command, ref, child, connect);
            if (out.problems.isEmpty())
                ++(out.fired ? t.secondRefused : t.secondOpened);
        } else {
            s.restoreFile();
            const bool atWrite = kind == 1;
            const std::int64_t n = atWrite ? pick(1, ref.counts[faultfs::Op::Write]) : 0;
            const std::int64_t at = atWrite ? -1 : pick(0, micros[which]);
            what = atWrite ? QStringLiteral("stopped at write %1").arg(n) : QStringLiteral("stopped %1 us in").arg(at);
            const auto run = reliability::runChild(child, s.folder(), command.name, n, at);
            if (!run.error.isEmpty()) {
                out.problems << run.error;
            } else {
                out = reliability::checkStoppedFile(connect, ref);
                out.problems << reliability::checkReopened(s);
                if (out.problems.isEmpty()) {
                    if (!run.stopped)
                        ++t.finishedBeforeStop;
                    else
                        ++(atWrite ? t.killsAtWrite : t.killsAtMoment);
                }
            }
        }
        ++t.rounds;
        if (out.problems.isEmpty()) {
            t.afterStates += out.after ? 1 : 0;
        } else {
            const bool loss = isLoss(out.problems);
            ++(loss ? t.losses : t.ruleBreaks);
            ++lossesByCommand[command.name];
            std::printf("%s in round %ld: %s, %s:\n  %s\n", loss ? "LOSS" : "RULE BROKEN", t.rounds, qPrintable(command.name),
                        qPrintable(what), qPrintable(out.problems.join(QStringLiteral("\n  "))));
        }
        if (t.rounds % 500 == 0)
            std::printf("... %ld rounds, %lld s\n", t.rounds, static_cast<long long>(elapsed()));
        std::fflush(stdout);
    }
    std::printf("soak: %ld rounds in %lld s (seed %llu)\n", t.rounds, static_cast<long long>(elapsed()),
                static_cast<unsigned long long>(seed));
    std::printf("  kills survived:      %ld (%ld at a write, %ld at a random moment; %ld children finished first)\n",
                t.killsAtWrite + t.killsAtMoment, t.killsAtWrite, t.killsAtMoment, t.finishedBeforeStop);
    std::printf("  I/O errors survived: %ld (%ld more rounds ended before the planned operation)\n", t.ioSurvived,
                t.ioNotMet);
    std::printf("  second programs:     %ld refused the file the child held (%ld found it not yet held)\n",
                t.secondRefused, t.secondOpened);
    std::printf("  rounds that left the state after: %ld\n", t.afterStates);
    std::printf("  losses:              %ld (file unsound, in neither state or not opening)\n", t.losses);
    std::printf("  rules broken:        %ld (file sound; more than one message, or the next command failing)\n",
                t.ruleBreaks);
    for (const auto& [name, n] : lossesByCommand)
        std::printf("    %s: %ld\n", qPrintable(name), n);
    return t.losses == 0 && t.ruleBreaks == 0 ? 0 : 1;
}
