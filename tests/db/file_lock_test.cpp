// One database file, one running program. A file another QUIL process holds is refused with one
// message naming the file and who holds it since when, and that program goes on undisturbed; one
// that closed the file, ended or was killed blocks nobody. Within this process the file is held
// once for every window and command, and the commands that close and open it again (Repair /
// Compress, Restore Backup) or make a new file keep it theirs all the while.
#include "support/fixture_db.h"
#include "db_fixture.h"
#include "holder_process.h"

#include "db/backup.h"
#include "db/beside_files.h"
#include "db/file_lock.h"

#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QSysInfo>
#include <functional>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace {

using dbtest::HolderProcess;
using dbtest::rowsOf;

QString login()
{
    const passwd* entry = getpwuid(geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

// A window that lets the test act right after each Close, inside the command that runs it.
class ProbingWindow : public frmMain {
public:
    std::function<void()> afterClose;
    void mnuFileClose_Click() override
    {
        frmMain::mnuFileClose_Click();
        if (afterClose)
            afterClose();
    }
};

class FileLockTest : public quiltest::WindowTest<ProbingWindow> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        db::writeTemplate(program_ + QStringLiteral("Base.dat"));
        ASSERT_TRUE(QFile::link(QStringLiteral("Base.dat"), program_ + QStringLiteral("base.dat")));
    }

    // The process the lock file names as its holder (0: no lock file, or none named).
    static qint64 lockHolderPid(const QString& database)
    {
        const auto holder = db::lockHolderNamed(database);
        return holder ? holder->pid : 0;
    }

    static qint64 donations(const QString& path) { return rowsOf(path, "SELECT count(*) FROM Payments").value(0).toLongLong(); }

    // The refusal as the other program gave it: "refused <title>|<prompt lines joined by |>".
    static bool refusedAsInUse(const QString& answer, const QString& path)
    {
        return answer.startsWith(QStringLiteral("refused File In Use|QUIL cannot open the file|%1|").arg(path));
    }

public:
    // For the table's commands.
    using WindowTest::dir_;
    using WindowTest::ui;
};

struct LetGoCase {
    const char* name;
    std::function<void(HolderProcess&)> letGo;
};

TEST_F(FileLockTest, AFileAnotherProgramHoldsIsRefusedNamingTheHolderUntilItLetsGo)
{
    const LetGoCase cases[] = {
        {"it closes the file", [](HolderProcess& other) { EXPECT_EQ(other.ask("close"), "closed"); }},
        {"it ends", [](HolderProcess& other) { other.quit(); }},
        {"it is killed", [](HolderProcess& other) { other.kill(); }},
    };
    for (const LetGoCase& c : cases) {
        SCOPED_TRACE(c.name);
        HolderProcess other(dir_.path());
        ASSERT_EQ(other.ask("open " + file_), "open");
        const qint64 before = donations(file_);
        const QByteArray bytes = dbtest::digest(file_);
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));

        frmMain& f = build();
        ui().clearLog();
        open(file_);
        ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
        const ui::Message m = ui().messages()[0];
        EXPECT_EQ(m.title, "File In Use");
        EXPECT_EQ(m.icon, ui::Icon::Critical);
        EXPECT_EQ(ui().beepCount(), 1);
        for (const QString& part : {QStringLiteral("QUIL cannot open the file\n") + file_ + u'\n', login(),
                                    QStringLiteral(" on the computer ") + QSysInfo::machineHostName(),
                                    QStringLiteral(" since ") + today, QStringLiteral("(error 3045)")})
            EXPECT_TRUE(m.prompt.contains(part)) << part.toStdString() << " not in: " << m.prompt.toStdString();
        EXPECT_TRUE(f.S.OpenDbPath.isEmpty());
        EXPECT_EQ(f.S.db, nullptr);
        EXPECT_TRUE(f.mnuFileOpen->isEnabled());
        EXPECT_EQ(dbtest::digest(file_), bytes);

        // The holder goes on as if nothing had happened: it writes, and the file is still its own.
        EXPECT_EQ(other.ask("add"), "added");
        EXPECT_EQ(other.ask("count"), QStringLiteral("count %1").arg(before + 1));
        EXPECT_EQ(lockHolderPid(file_), other.pid());

        c.letGo(other);
        ui().clearLog();
        open(file_);
        EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
        EXPECT_EQ(f.S.OpenDbPath, file_);
        EXPECT_EQ(lockHolderPid(file_), QCoreApplication::applicationPid());
        f.files->mnuFileClose_Click();
        EXPECT_EQ(donations(file_), before + 1);
        EXPECT_FALSE(QFile::exists(db::lockPath(file_))) << "the lock file goes with the close";
    }
}

TEST_F(FileLockTest, AnotherProgramIsRefusedAFileThisOneHoldsAndThisOneGoesOn)
{
    frmMain& f = open();
    HolderProcess other(dir_.path());
    EXPECT_TRUE(refusedAsInUse(other.ask("open " + file_), file_));
    EXPECT_EQ(lockHolderPid(file_), QCoreApplication::applicationPid());
    // The window's own connection still writes, and the file is still this program's.
    quiltest::write(*f.S.db, "INSERT INTO Members (FirstName, LastName) VALUES ('Still', 'Here')");
    EXPECT_EQ(rowsOf(file_, "SELECT count(*) FROM Members WHERE LastName = 'Here'"), QStringList{"1"});
    const QString again = other.ask("open " + file_);
    EXPECT_TRUE(refusedAsInUse(again, file_)) << again.toStdString();
    // Reopened after a Close in this program, it is this program's again.
    f.files->mnuFileClose_Click();
    open(file_);
    const QString answer = other.ask("open " + file_);
    EXPECT_TRUE(refusedAsInUse(answer, file_)) << answer.toStdString();
}

TEST_F(FileLockTest, ThisProgramHoldsTheFileOnceForAllItsWindowsAndLetsGoWithTheLast)
{
    frmMain& first = open();
    auto second = std::make_unique<frmMain>();
    InstallCommands(*second);
    second->S.AppDir = program_;
    second->S.DbConnect = first.S.DbConnect;
    second->S.ViewName = QStringLiteral("Member View");
    ui().clearLog();
    second->S.DbFileName = file_;
    second->files->mnuFileOpen_Click();
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
    EXPECT_EQ(second->S.OpenDbPath, file_);

    HolderProcess other(dir_.path());
    EXPECT_TRUE(refusedAsInUse(other.ask("open " + file_), file_));
    first.files->mnuFileClose_Click();
    EXPECT_TRUE(refusedAsInUse(other.ask("open " + file_), file_)) << "the second window still has it";
    second->files->mnuFileClose_Click();
    EXPECT_EQ(other.ask("open " + file_), "open");
}

struct KeepCase {
    const char* name;
    QString file;  // the name of the file the command works on, in the test folder
    std::function<void(FileLockTest&, ProbingWindow&)> run;
};

TEST_F(FileLockTest, CommandsThatCloseAndOpenAFileKeepItTheirsMeanwhile)
{
    const KeepCase cases[] = {
        {"Repair / Compress", "Club.qdb", [](FileLockTest&, ProbingWindow& f) { f.files->mnuCompact_Click(); }},
        {"Restore Backup", "Club.qdb",
         [](FileLockTest& t, ProbingWindow& f) {
             EXPECT_TRUE(db::BackupBeforeCommand(f));
             t.ui().queueDialog([](QDialog& d) { ui::click(d, "cmdRestore"); });
             t.ui().queueAnswer(ui::Yes);
             f.files->mnuFileRestore_Click();
         }},
        {"New Blank Database", "Blank.qdb",
         [](FileLockTest& t, ProbingWindow& f) {
             t.ui().queueFile(t.dir_.file("Blank.qdb"));
             f.files->mnuFileNewBlank_Click();
         }},
        // The clone is closed in under a temporary name: its own name is already held.
        {"Clone and Clear", "Clone.qdb",
         [](FileLockTest& t, ProbingWindow& f) {
             t.ui().queueFile(t.dir_.file("Clone.qdb"));
             f.files->mnuFileNewClone_Click();
         }},
    };
    HolderProcess other(dir_.path());
    for (const KeepCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProbingWindow& f = open();
        const QString target = dir_.file(c.file);
        // Another program asks for the file right after the command has closed the open one.
        QStringList answers;
        f.afterClose = [&] { answers << other.ask("open " + target); };
        ui().clearLog();
        c.run(*this, f);
        f.afterClose = nullptr;
        EXPECT_EQ(f.S.OpenDbPath, target) << ui().trace().join('\n').toStdString();
        ASSERT_EQ(answers.size(), 1) << answers.join('\n').toStdString();
        EXPECT_TRUE(refusedAsInUse(answers[0], target)) << answers[0].toStdString();
        EXPECT_TRUE(refusedAsInUse(other.ask("open " + target), target)) << "the file is held after the command";
        f.files->mnuFileClose_Click();
        EXPECT_EQ(other.ask("open " + target), "open");
        EXPECT_EQ(other.ask("close"), "closed");
        window_.reset();
        dao::Engine::instance().defaultWorkspace().close();
    }
}

} // namespace
