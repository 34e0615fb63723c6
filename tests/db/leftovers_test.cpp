// What a stopped run of the program left beside a file (the repair's ~QDB files, a new file's
// temporary name, a staged restore, unfinished backups) goes at the file's next open when no other
// program holds it: only names the program writes, never a user's file of a similar name. The
// work names that do not say which database they belong to stay while another program works in
// the folder, and nothing goes when the file itself is held elsewhere.
#include "db_fixture.h"
#include "holder_process.h"

#include "db/beside_files.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using dbtest::HolderProcess;

enum class Kind {
    FolderWork,  // a work name that does not say which database it was made for
    FileWork,    // a work name of Club.qdb
    Users,       // a user's file of a similar name
};

struct Name {
    const char* path;  // in the test folder
    Kind kind;
};

const Name kNames[] = {
    {"~QDB17.TMP", Kind::FolderWork},
    {"~QDB100000.NEW", Kind::FolderWork},
    {"~QDB17.NEW-journal", Kind::FolderWork},
    {".quil-new-a1B2c3", Kind::FolderWork},
    {".quil-new-a1B2c3-journal", Kind::FolderWork},
    {"Club.qdb.restoring", Kind::FileWork},
    {"Club.qdb.restoring.part", Kind::FileWork},
    {"Backups/Club 2026-01-15 12.00.00.qdb.part", Kind::FileWork},
    {"Backups/Club 2026-01-15 12.00.00_2.qdb.part-journal", Kind::FileWork},
    {"~QDBnotes.TMP", Kind::Users},
    {"~QDB0.TMP", Kind::Users},
    {"~QDB100001.NEW", Kind::Users},
    {"~qdb17.tmp", Kind::Users},
    {"~QDB17.TMP.bak", Kind::Users},
    {".quil-new-abc", Kind::Users},
    {"Club.qdb.restoring.txt", Kind::Users},
    {"Other.qdb.restoring", Kind::Users},
    {"Club 2026-01-15 12.00.00.qdb.part", Kind::Users},  // a ".part" outside Backups
    {"Backups/Club notes.qdb.part", Kind::Users},
    {"Backups/Other 2026-01-15 12.00.00.qdb.part", Kind::Users},
    {"Backups/Club 2026-01-15 12.00.00.qdb", Kind::Users},  // a finished backup
};

class LeftoversTest : public quiltest::WindowTest<> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        other_ = dir_.file(QStringLiteral("Other.qdb"));
        db::writeTemplate(other_);
    }

    void makeNames()
    {
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("Backups")));
        for (const Name& n : kNames) {
            QFile file(dir_.file(QLatin1String(n.path)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << n.path;
            file.write("made before the open");
        }
    }

public:
    // For the table's situations.
    using WindowTest::dir_;
    using WindowTest::program_;
    QString other_;  // another database in the same folder
};

struct Situation {
    const char* name;
    // Sets the folder up; may start another program (other) or a second window here (second).
    std::function<void(LeftoversTest&, std::unique_ptr<HolderProcess>& other, std::unique_ptr<frmMain>& second)> arrange;
    bool opens;           // the open of Club.qdb succeeds
    bool fileWorkGoes;    // Club.qdb's own work names go
    bool folderWorkGoes;  // the folder's work names go
};

TEST_F(LeftoversTest, AStoppedRunsFilesGoAtTheNextOpenWhenNobodyWorksThereAndAUsersFilesStay)
{
    const auto nothing = [](LeftoversTest&, std::unique_ptr<HolderProcess>&, std::unique_ptr<frmMain>&) {};
    const auto otherHolds = [](const QString& name) {
        return [name](LeftoversTest& t, std::unique_ptr<HolderProcess>& other, std::unique_ptr<frmMain>&) {
            other = std::make_unique<HolderProcess>(t.dir_.path());
            ASSERT_EQ(other->ask("open " + t.dir_.file(name)), "open");
        };
    };
    const Situation situations[] = {
        {"nobody else holds a file", nothing, true, true, true},
        {"another program holds another file of the folder", otherHolds("Other.qdb"), true, true, false},
        {"another program holds the file", otherHolds("Club.qdb"), false, false, false},
        {"a program was killed holding another file of the folder",
         [](LeftoversTest& t, std::unique_ptr<HolderProcess>&, std::unique_ptr<frmMain>&) {
             HolderProcess killed(t.dir_.path());
             ASSERT_EQ(killed.ask("open " + t.other_), "open");
             killed.kill();
             ASSERT_TRUE(QFile::exists(db::lockPath(t.other_)));
         },
         true, true, true},
        {"another window of this program holds another file of the folder",
         [](LeftoversTest& t, std::unique_ptr<HolderProcess>&, std::unique_ptr<frmMain>& second) {
             second = std::make_unique<frmMain>();
             InstallCommands(*second);
             second->S.AppDir = t.program_;
             second->S.DbConnect = db::DescrambleConnect(db::kScrambledConnect);
             second->S.DbFileName = t.other_;
             second->files->mnuFileOpen_Click();
             ASSERT_EQ(second->S.OpenDbPath, t.other_);
         },
         true, true, false},
    };
    for (const Situation& s : situations) {
        SCOPED_TRACE(s.name);
        std::unique_ptr<HolderProcess> other;
        std::unique_ptr<frmMain> second;
        s.arrange(*this, other, second);
        makeNames();
        frmMain& f = build();
        ui().clearLog();
        open(file_);
        EXPECT_EQ(!f.S.OpenDbPath.isEmpty(), s.opens) << ui().trace().join('\n').toStdString();
        for (const Name& n : kNames) {
            const bool goes = (n.kind == Kind::FolderWork && s.folderWorkGoes) || (n.kind == Kind::FileWork && s.fileWorkGoes);
            EXPECT_NE(QFile::exists(dir_.file(QLatin1String(n.path))), goes) << n.path;
        }
        // The lock file is no leftover: the holder's stays while it is held, here or elsewhere.
        EXPECT_TRUE(QFile::exists(db::lockPath(file_)));
        f.files->mnuFileClose_Click();
        window_.reset();
        if (second)
            second->files->mnuFileClose_Click();
        second.reset();
        dao::Engine::instance().defaultWorkspace().close();
        if (other)
            other->quit();
        for (const Name& n : kNames)
            QFile::remove(dir_.file(QLatin1String(n.path)));
    }
}

TEST_F(LeftoversTest, AReopenInsideTheProgramLeavesTheWorkOfItsOwnCommandsAlone)
{
    // A file already held by this program (another window, a command between its close and open)
    // is opened again without a sweep: the work names beside it may be that command's.
    frmMain& first = open();
    makeNames();
    auto second = std::make_unique<frmMain>();
    InstallCommands(*second);
    second->S.AppDir = program_;
    second->S.DbConnect = first.S.DbConnect;
    second->S.DbFileName = file_;
    second->files->mnuFileOpen_Click();
    ASSERT_EQ(second->S.OpenDbPath, file_);
    for (const Name& n : kNames)
        EXPECT_TRUE(QFile::exists(dir_.file(QLatin1String(n.path)))) << n.path;
    second->files->mnuFileClose_Click();
}

} // namespace
