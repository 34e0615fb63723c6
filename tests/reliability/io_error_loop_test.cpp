// Every writing command under an injected I/O error at each read, write, sync and truncate it
// makes, and under a disk that is full from the n-th write on: for n = 1, 2, ... until the
// command completes without meeting the fault. Each round must leave one clear message (or the
// command's own silent skip), a sound file holding exactly the state before or after the
// command, and a program that goes on working.
#include "reliability/command_params.h"
#include "reliability/rounds.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <iostream>

namespace {

using reliability::WritingCommand;

struct FaultKind {
    faultfs::Op op;
    faultfs::Fault fault;
    bool persistent;
};

const FaultKind kKinds[] = {
    {faultfs::Op::Read, faultfs::Fault::IoError, false},
    {faultfs::Op::Write, faultfs::Fault::IoError, false},
    {faultfs::Op::Sync, faultfs::Fault::IoError, false},
    {faultfs::Op::Truncate, faultfs::Fault::IoError, false},
    {faultfs::Op::Write, faultfs::Fault::DiskFull, true},
};

class IoErrorLoop : public ::testing::TestWithParam<QString> {};

TEST_P(IoErrorLoop, EveryFaultPointLeavesTheFileBeforeOrAfterAndTheProgramUsable)
{
    const WritingCommand* command = reliability::findCommand(GetParam());
    ASSERT_NE(command, nullptr);
    faultfs::install();
    quiltest::TempDir dir;
    reliability::Session s(dir.path());
    s.makeFixture();
    faultfs::watch(s.watched());

    const reliability::Reference ref = reliability::reference(s, *command);
    ASSERT_TRUE(ref.problems.isEmpty()) << ref.problems.join(u'\n').toStdString();

    int points = 0;
    int before = 0;
    int after = 0;
    for (const FaultKind& kind : kKinds) {
        const std::int64_t made = ref.counts[kind.op];
        for (std::int64_t n = 1;; ++n) {
            if (!reliability::tried(n, made, 2, 3))
                continue;
            const faultfs::Plan plan{kind.op, n, kind.fault, kind.persistent};
            const reliability::Outcome out = reliability::ioRound(s, *command, ref, plan);
            EXPECT_TRUE(out.problems.isEmpty())
                << reliability::describe(plan).toStdString() << ":\n  " << out.problems.join(QStringLiteral("\n  ")).toStdString();
            if (!out.fired)
                break;
            ++points;
            ++(out.after ? after : before);
            ASSERT_LT(n, 2000) << "the command never stops meeting the fault";
        }
    }
    EXPECT_GT(points, 0) << "no fault was met: the fault layer does not watch the file";
    std::cout << "[ io-loop ] " << command->name.toStdString() << ": " << points << " fault points ("
              << ref.counts[faultfs::Op::Read] << " reads, " << ref.counts[faultfs::Op::Write] << " writes, "
              << ref.counts[faultfs::Op::Sync] << " syncs, " << ref.counts[faultfs::Op::Truncate] << " truncates without a fault); "
              << before << " left the state before, " << after << " the state after\n";
}

INSTANTIATE_TEST_SUITE_P(WritingCommands, IoErrorLoop, ::testing::ValuesIn(reliability::commandNames()),
                         reliability::testName);

} // namespace
