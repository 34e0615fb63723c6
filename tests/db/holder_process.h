#pragma once
// Another running QUIL for the tests (db_file_holder, file_holder_main.cpp): the real window in a
// process of its own, so the file's lock is met as a second program meets it. Each command waits
// for the answer line, as long as the other process needs to give it.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace dbtest {

class HolderProcess {
public:
    explicit HolderProcess(const QString& programFolder)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(QUIL_FILE_HOLDER), {programFolder});
        process_.waitForStarted(60000);
    }
    ~HolderProcess()
    {
        if (process_.state() != QProcess::NotRunning)
            quit();
    }
    HolderProcess(const HolderProcess&) = delete;
    HolderProcess& operator=(const HolderProcess&) = delete;

    // One command; its answer ("" when the process ended without one).
    QString ask(const QString& command)
    {
        process_.write((command + u'\n').toUtf8());
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(60000))
                return {};
        return QString::fromUtf8(process_.readLine()).trimmed();
    }
    // Stopped by SIGKILL: nothing of its own runs on the way out.
    void kill()
    {
        process_.kill();
        process_.waitForFinished(60000);
    }
    void quit()
    {
        process_.write("quit\n");
        process_.closeWriteChannel();
        process_.waitForFinished(60000);
    }
    qint64 pid() const { return process_.processId(); }

private:
    QProcess process_;
};

} // namespace dbtest
