// The open file's background work: the page check that reads every page after the window shows
// the file, and the day's first backup copied on the same thread. A damaged page it finds closes
// the file with one message and nothing written; every write waits for it; the backup holds the
// file as it was before a write that races it; Close and Exit stop both with no thread and no
// unfinished copy left.
#include "db/backup.h"
#include "db/backup_file.h"
#include "db_fixture.h"
#include "frame/dispatch.h"
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/write_unit.h"
#include "support/event_wait.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <functional>
#include <gtest/gtest.h>

namespace {

using dbtest::rowsOf;

const QDateTime kNow(QDate(2026, 12, 8), QTime(17, 30, 5));

QByteArray fingerprint(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

class FileJobsTest : public dbtest::NewFilesTest {
protected:
    void SetUp() override
    {
        NewFilesTest::SetUp();
        if (HasFatalFailure())
            return;
        db::setBackupClock([] { return kNow; });
        folder_ = db::backupFolder(file_);
        fill(1500, 4);
        // The first open rewrites the template's logo path and makes the day's backup with it;
        // the opens the tests make are a day's later ones, whose work is all in the background.
        open();
        ASSERT_FALSE(files().FileJobsPending());
        window_->files->mnuFileClose_Click();
        ui().clearLog();
    }
    void TearDown() override
    {
        db::setBackupClock({});
        NewFilesTest::TearDown();
    }

    void fill(int members, int donationsEach)
    {
        sqlite::Connection c = keyed();
        sqlite::Transaction t(c);
        auto m = c.prepare("INSERT INTO Members (FirstName, LastName, Address) VALUES (?, ?, ?)");
        auto p = c.prepare("INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                           "VALUES (?, ?, 'Organ', '2023-05-06 00:00:00', ?)");
        for (int i = 0; i < members; ++i) {
            m.bind(1, QStringLiteral("First %1").arg(i)).bind(2, QStringLiteral("Last %1").arg(i));
            m.bind(3, QStringLiteral("%1 Elm St").arg(i));
            m.step();
            m.reset();
            const std::int64_t id = c.lastInsertRowid();
            for (int d = 0; d < donationsEach; ++d) {
                p.bind(1, std::int64_t(10000 * (i % 97 + d + 1))).bind(2, std::int64_t(d)).bind(3, id);
                p.step();
                p.reset();
            }
        }
        t.commit();
    }

    FileCommands& files() { return static_cast<FileCommands&>(*window_->files); }

    // A byte changed in the root page of the donations' date index, which nothing the open does
    // reads (the member's donations come by the member-and-date index, a whole table's keys by
    // the smallest index); List View's date order reads it, and so does every write of a donation.
    void damageDateIndex()
    {
        std::int64_t page = 0, pageSize = 0;
        {
            sqlite::Connection c = keyed();
            auto root = c.prepare("SELECT rootpage FROM sqlite_master WHERE name = 'PaymentsDate'");
            ASSERT_TRUE(root.step());
            page = root.int64(0);
            auto size = c.prepare("PRAGMA page_size");
            ASSERT_TRUE(size.step());
            pageSize = size.int64(0);
        }
        QFile f(file_);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 at = (page - 1) * pageSize + pageSize / 2;
        ASSERT_TRUE(f.seek(at));
        QByteArray byte = f.read(1);
        byte[0] = char(byte[0] ^ 0x10);
        ASSERT_TRUE(f.seek(at));
        ASSERT_EQ(f.write(byte), 1);
    }

public:
    void addMember(const QString& lastName)
    {
        dao::WriteUnit unit(*window_->S.db);
        auto s = unit.connection().prepare("INSERT INTO Members (FirstName, LastName) VALUES ('New', ?)");
        s.bind(1, lastName);
        s.step();
        unit.commit();
    }

protected:
    QStringList partFiles() const
    {
        return QDir(folder_).entryList({QStringLiteral("*.part"), QStringLiteral("*.part-journal")}, QDir::Files | QDir::Hidden);
    }

    QString folder_;
};

struct DamageCase {
    const char* name;
    // What the user does right after the open, while the check may still run; none: nothing.
    std::function<void(FileJobsTest&, frmMain&)> meanwhile;
    const char* title;    // of the one message
    const char* saying;   // a part of it
};

TEST_F(FileJobsTest, ADamagedPageFoundAfterTheOpenClosesTheFileWithOneMessageAndNothingWritten)
{
    damageDateIndex();
    const QByteArray before = fingerprint(file_);
    const DamageCase cases[] = {
        {"nothing", {}, "Unreadable File", "is damaged"},
        {"a write through the window's connection",
         [](FileJobsTest& t, frmMain& f) {
             frame::RunHandler(f, frame::Origin::Menu, [&t] { t.addMember("Written"); });
         },
         "QUIL Data Error", "Nothing was written to it"},
        {"a command that writes another way (the backup made before it)",
         [](FileJobsTest&, frmMain& f) {
             frame::RunHandler(f, frame::Origin::Menu, [&f] {
                 if (db::BackupBeforeCommand(f))
                     throw std::runtime_error("the command would have run");
             });
         },
         "QUIL Data Error", "The command was not run"},
        {"a reading command, then a write",
         [](FileJobsTest& t, frmMain& f) {
             frame::RunHandler(f, frame::Origin::Menu, [&f] { f.records->RequeryView(); });
             frame::RunHandler(f, frame::Origin::Menu, [&t] { t.addMember("Written"); });
         },
         "QUIL Data Error", "Nothing was written to it"},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.name);
        frmMain& f = build();
        ui().clearLog();
        open(file_);
        // The open itself reads nothing of the damaged page: the window shows the file.
        ASSERT_EQ(f.S.OpenDbPath, file_) << ui().trace().join(" | ").toStdString();
        if (c.meanwhile)
            c.meanwhile(*this, f);
        ASSERT_TRUE(quiltest::runEventsUntil([&] { return !files().FileJobsPending() && f.S.OpenDbPath.isEmpty(); }))
            << ui().trace().join(" | ").toStdString();
        const auto messages = ui().messages();
        ASSERT_EQ(messages.size(), 1u) << ui().trace().join(" | ").toStdString();
        EXPECT_EQ(messages[0].title, c.title);
        EXPECT_TRUE(messages[0].prompt.contains(c.saying)) << messages[0].prompt.toStdString();
        EXPECT_TRUE(messages[0].prompt.contains(file_)) << messages[0].prompt.toStdString();
        EXPECT_EQ(f.S.db, nullptr);
        EXPECT_TRUE(f.mnuFileOpen->isEnabled());
        EXPECT_FALSE(f.mnuFileClose->isEnabled());
        EXPECT_TRUE(f.EntNme->isHidden());
        EXPECT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 0);
        EXPECT_EQ(fingerprint(file_), before) << "the file was changed";
        EXPECT_EQ(db::listBackups(file_).size(), 1u) << "a backup was made of a damaged file";
        // Later commands find no file and say nothing more.
        ui().clearLog();
        QCoreApplication::processEvents();
        EXPECT_TRUE(ui().messages().empty()) << ui().trace().join(" | ").toStdString();
    }
}

TEST_F(FileJobsTest, AWriteRightAfterTheDaysFirstOpenWaitsForTheBackupWhichHoldsTheFileBeforeIt)
{
    const QStringList writes[] = {{"One"}, {"One", "Two", "Three"}};
    for (const QStringList& names : writes) {
        SCOPED_TRACE(names.join(u' ').toStdString());
        QDir(folder_).removeRecursively();
        frmMain& f = build();
        const QStringList before = rowsOf(file_, "SELECT count(*), max(rowid) FROM Members");
        const int written = rowsOf(file_, "SELECT count(*) FROM Members WHERE FirstName = 'New'").value(0).toInt();
        const QStringList after{QString::number(written + names.size())};
        open(file_);
        ASSERT_EQ(f.S.OpenDbPath, file_);
        ASSERT_TRUE(files().DailyBackupPending());
        // At once, with no turn of the event loop between: the copy is under way or not begun.
        for (const QString& name : names)
            frame::RunHandler(f, frame::Origin::Menu, [&] { addMember(name); });
        ASSERT_TRUE(quiltest::runEventsUntil([&] { return !files().FileJobsPending(); }));
        const std::vector<db::BackupEntry> made = db::listBackups(file_);
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(rowsOf(made[0].path, "SELECT count(*), max(rowid) FROM Members"), before);
        EXPECT_EQ(rowsOf(file_, "SELECT count(*) FROM Members WHERE FirstName = 'New'"), after);
        EXPECT_TRUE(partFiles().empty());
        EXPECT_TRUE(ui().messages().empty()) << ui().trace().join(" | ").toStdString();
        // The day's backup is of the file before the writes: a command's backup is a new one.
        ASSERT_TRUE(db::BackupBeforeCommand(f));
        EXPECT_EQ(db::listBackups(file_).size(), 2u);
        EXPECT_EQ(rowsOf(db::listBackups(file_).back().path, "SELECT count(*) FROM Members WHERE FirstName = 'New'"), after);
        f.files->mnuFileClose_Click();
    }
}

TEST_F(FileJobsTest, ADaysBackupNotYetCheckedServesTheCommandThatWaitsForIt)
{
    QDir(folder_).removeRecursively();
    frmMain& f = build();
    open(file_);
    ASSERT_TRUE(files().DailyBackupPending());
    // Nothing written since the open: the day's backup is the command's too, once complete.
    ASSERT_TRUE(db::BackupBeforeCommand(f));
    EXPECT_FALSE(files().FileJobsPending());
    EXPECT_EQ(db::listBackups(file_).size(), 1u);
    EXPECT_TRUE(partFiles().empty());
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join(" | ").toStdString();
}

struct StopCase {
    const char* name;
    bool backupDue;
    std::function<void(frmMain&)> stop;
};

TEST_F(FileJobsTest, CloseAndExitDuringTheCheckOrTheBackupLeaveNoThreadNoUnfinishedCopyAndTheFileAsItWas)
{
    const auto closeFile = [](frmMain& f) { frame::RunHandler(f, frame::Origin::Menu, [&f] { f.mnuFileClose_Click(); }); };
    const auto closeBox = [](frmMain& f) { f.close(); };
    const StopCase cases[] = {
        {"Close during the check", false, closeFile},
        {"Close during the backup", true, closeFile},
        {"the close box during the check", false, closeBox},
        {"the close box during the backup", true, closeBox},
    };
    const QStringList before = rowsOf(file_, "SELECT count(*), max(rowid) FROM Members");
    const QByteArray bytes = fingerprint(file_);
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder_).removeRecursively();
        if (!c.backupDue) {
            // Today's backup is there: the thread only reads the pages.
            ASSERT_TRUE(QDir().mkpath(folder_));
            ASSERT_TRUE(QFile::copy(file_, db::nextBackupPath(file_, kNow)));
        }
        const std::size_t backups = db::listBackups(file_).size();
        frmMain& f = build();
        ui().clearLog();
        open(file_);
        ASSERT_EQ(f.S.OpenDbPath, file_);
        ASSERT_TRUE(files().FileJobsPending());
        ASSERT_EQ(files().DailyBackupPending(), c.backupDue);
        c.stop(f);
        // Stopping joined the thread: nothing of it is left to settle, nothing posts later.
        EXPECT_FALSE(files().FileJobsPending());
        EXPECT_TRUE(partFiles().empty()) << partFiles().join(' ').toStdString();
        // Either the copy was abandoned, or it had been completed, checked and named before.
        EXPECT_LE(db::listBackups(file_).size(), backups + 1);
        for (const db::BackupEntry& e : db::listBackups(file_))
            EXPECT_EQ(rowsOf(e.path, "SELECT count(*), max(rowid) FROM Members"), before);
        QCoreApplication::processEvents();
        EXPECT_TRUE(ui().messages().empty()) << ui().trace().join(" | ").toStdString();
        EXPECT_EQ(fingerprint(file_), bytes);
        // The window goes as at the program's end, its file's work already stopped.
        window_.reset();
        dao::Engine::instance().defaultWorkspace().close();
    }
}

} // namespace
