#include "reliability/crash_child.h"

#include "reliability/session.h"
#include "reliability/writing_commands.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

namespace reliability {

int crashChildMain(const QStringList& arguments)
{
    if (arguments.size() != 3 && !(arguments.size() == 4 && arguments[3] == u"hold")) {
        std::fprintf(stderr, "usage: reliability_crash_child <folder> <command> <write to stop at> [hold]\n");
        return 2;
    }
    const WritingCommand* command = findCommand(arguments[1]);
    if (!command) {
        std::fprintf(stderr, "no writing command named %s\n", qPrintable(arguments[1]));
        return 2;
    }
    faultfs::install();
    Session s(arguments[0]);
    faultfs::watch(s.watched());
    s.build();
    command->prepare(s);
    std::printf("ready\n");
    std::fflush(stdout);
    if (arguments.size() == 4) {
        std::string go;
        std::getline(std::cin, go);
    }
    faultfs::Plan plan;
    plan.op = faultfs::Op::Write;
    plan.n = arguments[2].toLongLong();
    plan.fault = faultfs::Fault::Kill;
    const auto start = std::chrono::steady_clock::now();
    faultfs::arm(plan);
    command->run(s);
    // As the reference run does: the page check and the day's backup of a file the command
    // opened run on their own thread, and their writes count with the command's.
    s.settle();
    faultfs::disarm();
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const faultfs::Counts c = faultfs::counts();
    std::printf("done %lld %lld %lld %lld %lld\n", static_cast<long long>(c.ops[0]), static_cast<long long>(c.ops[1]),
                static_cast<long long>(c.ops[2]), static_cast<long long>(c.ops[3]), static_cast<long long>(micros.count()));
    std::fflush(stdout);
    return 0;
}

ChildRun runChild(const QString& executable, const QString& folder, const QString& command, std::int64_t killAtWrite,
                  std::int64_t killAfterMicros, const std::function<void(qint64 pid)>& whileReady)
{
    ChildRun run;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    QStringList arguments{folder, command, QString::number(killAtWrite)};
    if (whileReady)
        arguments << QStringLiteral("hold");
    child.start(executable, arguments);
    if (!child.waitForStarted(30000)) {
        run.error = QStringLiteral("the child did not start: ") + child.errorString();
        return run;
    }
    QByteArray output;
    while (!output.contains("ready\n")) {
        if (!child.waitForReadyRead(30000)) {
            break;
        }
        output += child.readAllStandardOutput();
    }
    if (output.contains("ready\n") && whileReady) {
        whileReady(child.processId());
        child.write("go\n");
        child.waitForBytesWritten(30000);
    }
    if (output.contains("ready\n") && killAfterMicros >= 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(killAfterMicros));
        child.kill();
    }
    child.waitForFinished(60000);
    output += child.readAllStandardOutput();
    run.stopped = child.exitStatus() == QProcess::CrashExit;
    const int done = output.indexOf("done ");
    if (done >= 0) {
        const QList<QByteArray> fields = output.mid(done + 5).trimmed().split(' ');
        if (fields.size() >= 5) {
            for (int i = 0; i < faultfs::kOpCount; ++i)
                run.counts.ops[i] = fields[i].toLongLong();
            run.micros = fields[4].toLongLong();
            run.finished = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
        }
    }
    if (!run.stopped && !run.finished)
        run.error = QStringLiteral("the child ended with code %1: %2")
                        .arg(child.exitCode())
                        .arg(QString::fromLocal8Bit(child.readAllStandardError()).right(2000));
    return run;
}

} // namespace reliability
