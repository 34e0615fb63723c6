// Every writing command in a child process stopped with SIGKILL at each write it makes, and at a
// few random moments while it runs: afterwards the file opens as the program opens it, passes
// the integrity check and holds the state before or after the command, never a mix; it opens in
// a window here, the stopped process's lock blocking nothing, and nothing the run left beside
// it stays. And a second program (this one) opening the file while the child holds it ready is
// refused, and the child's command then runs to its end as if nothing had happened.
// tools/soak.sh runs many more of these rounds.
#include "reliability/crash_child.h"
#include "reliability/command_params.h"
#include "reliability/rounds.h"
#include "support/temp_dir.h"

#include "schema/connect_key.h"

#include <gtest/gtest.h>
#include <iostream>
#include <random>

namespace {

using reliability::WritingCommand;

// Random moments per command in a test run; the soak tool runs thousands.
constexpr int kRandomStops = 2;

// The row's session over a fresh fixture, and the command's run without a stop in this process.
class CrashLoop : public ::testing::TestWithParam<QString> {
protected:
    void SetUp() override
    {
        command_ = reliability::findCommand(GetParam());
        ASSERT_NE(command_, nullptr);
        faultfs::install();
        s_.makeFixture();
        faultfs::watch(s_.watched());
        ref_ = reliability::reference(s_, *command_);
        ASSERT_TRUE(ref_.problems.isEmpty()) << ref_.problems.join(u'\n').toStdString();
    }

    const WritingCommand* command_ = nullptr;
    quiltest::TempDir dir_;
    reliability::Session s_{dir_.path()};
    reliability::Reference ref_;
    const QString connect_ = db::DescrambleConnect(db::kScrambledConnect);
};

TEST_P(CrashLoop, AStopAtAnyWriteOrMomentLeavesTheFileBeforeOrAfter)
{
    const WritingCommand* command = command_;
    reliability::Session& s = s_;
    const reliability::Reference& ref = ref_;
    const QString& connect = connect_;
    const auto check = [&](const std::string& what) {
        reliability::Outcome out = reliability::checkStoppedFile(connect, ref);
        // The stopped process blocks nobody, and what it left beside the file goes at the next open.
        out.problems << reliability::checkReopened(s);
        EXPECT_TRUE(out.problems.isEmpty()) << what << ":\n  " << out.problems.join(QStringLiteral("\n  ")).toStdString();
        return out.after;
    };

    // Without a stop the child does what the command does in this process.
    s.restoreFile();
    const reliability::ChildRun full = reliability::runChild(QStringLiteral(QUIL_CRASH_CHILD), s.folder(), command->name, 0);
    ASSERT_TRUE(full.finished) << full.error.toStdString();
    EXPECT_TRUE(check("a run without a stop"));
    EXPECT_EQ(full.counts[faultfs::Op::Write], ref.counts[faultfs::Op::Write]);

    int stops = 0;
    int after = 0;
    // Every write is a stop point; the one after the last is none (the child runs to its end).
    const std::int64_t writes = ref.counts[faultfs::Op::Write];
    for (std::int64_t n = 1; n <= writes + 1; ++n) {
        if (n <= writes && !reliability::tried(n, writes, 1, 2))
            continue;
        s.restoreFile();
        const reliability::ChildRun run = reliability::runChild(QStringLiteral(QUIL_CRASH_CHILD), s.folder(), command->name, n);
        ASSERT_TRUE(run.error.isEmpty()) << run.error.toStdString();
        ASSERT_EQ(run.stopped, n <= writes) << "write " << n << " of " << writes;
        const bool atAfter = check(run.stopped ? "stopped at write " + std::to_string(n) : std::string("a run to its end"));
        if (run.stopped) {
            ++stops;
            after += atAfter ? 1 : 0;
        }
    }

    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<std::int64_t> moment(0, std::max<std::int64_t>(full.micros, 1));
    for (int i = 0; i < kRandomStops; ++i) {
        s.restoreFile();
        const std::int64_t at = moment(random);
        const reliability::ChildRun run =
            reliability::runChild(QStringLiteral(QUIL_CRASH_CHILD), s.folder(), command->name, 0, at);
        ASSERT_TRUE(run.error.isEmpty()) << run.error.toStdString();
        check("stopped " + std::to_string(at) + " microseconds in");
    }
    std::cout << "[ crash-loop ] " << command->name.toStdString() << ": " << stops << " write stops of " << writes << " writes ("
              << after << " left the state after), " << kRandomStops << " random stops\n";
}

TEST_P(CrashLoop, ASecondProgramOpeningTheFileIsRefusedAndTheCommandGoesOn)
{
    const reliability::Outcome out = reliability::secondProgramRound(s_, *command_, ref_, QStringLiteral(QUIL_CRASH_CHILD), connect_);
    EXPECT_TRUE(out.problems.isEmpty()) << out.problems.join(QStringLiteral("\n  ")).toStdString();
    // A command that does not open the file itself stands ready with the file open.
    EXPECT_TRUE(out.fired || command_->opensFile) << "the child did not hold the file";
}

INSTANTIATE_TEST_SUITE_P(WritingCommands, CrashLoop, ::testing::ValuesIn(reliability::commandNames()),
                         reliability::testName);

} // namespace
