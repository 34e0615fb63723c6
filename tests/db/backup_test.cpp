// Backups: their names and which files are the program's, the last ten kept and nothing else
// touched, a copy that reads as the file did, the command that does not run when no backup can be
// made, the day's first backup made in the background and before the first write, and Restore
// Backup replacing the file whole or not at all.
#include "platform/dao/write_unit.h"
#include "db_fixture.h"
#include "support/event_wait.h"

#include "db/backup.h"
#include "db/backup_file.h"
#include "db/restore_dialog.h"
#include "frame/dispatch.h"
#include "schema/open_checks.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using dbtest::rowsOf;

const QDateTime kNow(QDate(2026, 12, 8), QTime(17, 30, 5));

QStringList dump(const QString& path)
{
    QStringList all;
    for (const char* sql : {"SELECT rowid, * FROM Members ORDER BY rowid", "SELECT rowid, * FROM Payments ORDER BY rowid",
                            "SELECT rowid, * FROM Passwords ORDER BY rowid", "SELECT rowid, * FROM Dest ORDER BY rowid",
                            "PRAGMA user_version"})
        all << rowsOf(path, QLatin1String(sql));
    return all;
}

void touch(const QString& path, const QByteArray& bytes = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

// ---- Names -------------------------------------------------------------------------------------

struct NameCase {
    const char* base;
    const char* name;
    bool ours;
    const char* when = "";  // ISO
    int sequence = 1;
};

TEST(BackupNames, OnlyTheNamesTheProgramWritesAreItsBackups)
{
    const NameCase cases[] = {
        {"Club", "Club 2026-12-08 17.30.05.qdb", true, "2026-12-08T17:30:05", 1},
        {"Club", "Club 2026-12-08 17.30.05_2.qdb", true, "2026-12-08T17:30:05", 2},
        {"Club", "Club 2026-12-08 17.30.05_17.qdb", true, "2026-12-08T17:30:05", 17},
        {"Club 2", "Club 2 2026-01-31 00.00.00.qdb", true, "2026-01-31T00:00:00", 1},
        {"Club", "Club 2 2026-01-31 00.00.00.qdb", false},         // another file's backup
        {"Club", "Club 2026-12-08 17.30.05_1.qdb", false},         // never written
        {"Club", "Club 2026-12-08 17.30.05_02.qdb", false},
        {"Club", "Club 2026-12-08 17.30.05.qdb.part", false},      // unfinished
        {"Club", "Club 2026-12-08 17.30.05.QDB", false},
        {"Club", "club 2026-12-08 17.30.05.qdb", false},
        {"Club", "Club 2026-13-08 17.30.05.qdb", false},           // no such month
        {"Club", "Club 2026-02-30 17.30.05.qdb", false},
        {"Club", "Club 2026-12-08 17-30-05.qdb", false},
        {"Club", "Club 2026-12-08 17.30.05 copy.qdb", false},
        {"Club", "Club  2026-12-08 17.30.05.qdb", false},
        {"Club", "Club.qdb", false},
        {"Club", "notes.txt", false},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto entry = db::parseBackupName(QString::fromUtf8(c.base), QString::fromUtf8(c.name));
        ASSERT_EQ(entry.has_value(), c.ours);
        if (!entry)
            continue;
        EXPECT_EQ(entry->when, QDateTime::fromString(QLatin1String(c.when), Qt::ISODate));
        EXPECT_EQ(entry->sequence, c.sequence);
        // The name it parses from is the name the program writes for it.
        EXPECT_EQ(db::backupFileName(QString::fromUtf8(c.base), entry->when, entry->sequence), QString::fromUtf8(c.name));
    }
}

TEST(BackupNames, NamesOfOneFileSortByTime)
{
    const QStringList names = {db::backupFileName("Club", kNow.addDays(-400)), db::backupFileName("Club", kNow.addSecs(-3600)),
                               db::backupFileName("Club", kNow), db::backupFileName("Club", kNow, 2),
                               db::backupFileName("Club", kNow, 3), db::backupFileName("Club", kNow.addSecs(1))};
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(sorted, names);
}

// ---- Making and pruning -------------------------------------------------------------------------

class BackupTest : public dbtest::NewFilesTest {
protected:
    void SetUp() override
    {
        NewFilesTest::SetUp();
        db::setBackupClock([this] { return now_; });
        folder_ = db::backupFolder(file_);
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
        for (int i = 0; i < members; ++i) {
            auto m = c.prepare("INSERT INTO Members (FirstName, LastName, Address) VALUES (?, ?, ?)");
            m.bind(1, QStringLiteral("First %1").arg(i)).bind(2, QStringLiteral("Ünïcode %1").arg(i));
            m.bind(3, QStringLiteral("%1 Elm St").arg(i));
            m.step();
            const std::int64_t id = c.lastInsertRowid();
            for (int d = 0; d < donationsEach; ++d) {
                auto p = c.prepare("INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                                   "VALUES (?, ?, 'Organ', '2023-05-06 00:00:00', ?)");
                p.bind(1, std::int64_t(10000 * (d + 1))).bind(2, std::int64_t(d)).bind(3, id);
                p.step();
            }
        }
        t.commit();
    }

    QStringList backupNames() const
    {
        QStringList names;
        for (const db::BackupEntry& e : db::listBackups(file_))
            names << QFileInfo(e.path).fileName();
        return names;
    }
    QStringList folderEntries() const { return QDir(folder_).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    // Adds a member through the window's own connection, as a command would.
    void writeThroughWindow(const QString& lastName)
    {
        dao::WriteUnit unit(*window_->S.db);
        auto s = unit.connection().prepare("INSERT INTO Members (FirstName, LastName) VALUES ('New', ?)");
        s.bind(1, lastName);
        s.step();
        unit.commit();
    }

public:
    QDateTime now_ = kNow;
    QString folder_;
};

struct PruneCase {
    const char* name;
    int existing;               // the program's backups there already, one a day before now
    QStringList foreign;        // other files in the folder
    int expectedKept;
};

TEST_F(BackupTest, TheLastTenAreKeptAndNoOtherFileIsTouched)
{
    const QStringList foreign = {"notes.txt", "Club.qdb", "Other 2026-01-01 10.00.00.qdb", "Club 2026-12-08 17.30.05 copy.qdb",
                                 "Club 2020-01-01 00.00.00.qdb.part", "Club 2 2020-01-01 00.00.00.qdb"};
    const PruneCase cases[] = {
        {"the first", 0, {}, 1},
        {"the tenth", 9, {}, 10},
        {"the eleventh", 10, {}, 10},
        {"fifteen there already", 15, {}, 10},
        {"among files of others", 12, foreign, 10},
    };
    for (const PruneCase& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder_).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder_));
        QStringList expected;
        for (int i = c.existing; i > 0; --i) {
            const QString name = db::backupFileName("Club", kNow.addDays(-i));
            touch(QDir(folder_).filePath(name));
            expected << name;
        }
        for (const QString& name : c.foreign)
            touch(QDir(folder_).filePath(name), "somebody's");
        sqlite::Connection source = keyed();
        const QString made = db::writeBackup(source, file_, db::databasePassword().toUtf8());
        EXPECT_EQ(QFileInfo(made).fileName(), db::backupFileName("Club", kNow));
        expected << QFileInfo(made).fileName();
        expected = expected.mid(expected.size() - c.expectedKept);
        EXPECT_EQ(backupNames(), expected);
        // Foreign files are all there, unchanged; nothing else is left.
        QStringList all = expected + c.foreign;
        all.sort();
        QStringList there = folderEntries();
        there.sort();
        EXPECT_EQ(there, all);
        for (const QString& name : c.foreign) {
            QFile f(QDir(folder_).filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), QByteArray("somebody's")) << name.toStdString();
        }
    }
}

TEST_F(BackupTest, TwoInOneSecondDoNotClashAndEachReadsAsTheFileDid)
{
    fill(40, 3);
    sqlite::Connection source = keyed();
    const QString first = db::writeBackup(source, file_, db::databasePassword().toUtf8());
    source.exec("DELETE FROM Payments WHERE PaymentID % 2 = 0");
    const QString second = db::writeBackup(source, file_, db::databasePassword().toUtf8());
    EXPECT_EQ(QFileInfo(first).fileName(), "Club 2026-12-08 17.30.05.qdb");
    EXPECT_EQ(QFileInfo(second).fileName(), "Club 2026-12-08 17.30.05_2.qdb");
    EXPECT_EQ(backupNames(), (QStringList{QFileInfo(first).fileName(), QFileInfo(second).fileName()}));
    EXPECT_EQ(dump(second), dump(file_));
    EXPECT_NE(dump(first), dump(file_));
    EXPECT_EQ(rowsOf(first, "SELECT count(*) FROM Payments"), QStringList{"120"});
    // Keyed as the file is: without the key it is not readable, and the program opens it.
    EXPECT_THROW(
        {
            sqlite::Connection plain(second, {}, sqlite::Connection::Mode::ReadOnly);
            plain.verifyReadable(second);
        },
        jet::DbError);
    EXPECT_NO_THROW(db::openCheckedDatabase(second, db::DescrambleConnect(db::kScrambledConnect)).database->close());
    dao::Engine::instance().defaultWorkspace().close();

    const db::BackupSummary summary = db::summarizeBackup(db::listBackups(file_).front(), db::databasePassword().toUtf8());
    EXPECT_TRUE(summary.readable) << summary.problem.toStdString();
    EXPECT_EQ(summary.members, 41);  // and member 1 of the template
    EXPECT_EQ(summary.donations, 120);
    EXPECT_EQ(summary.bytes, QFileInfo(first).size());
}

// ---- The command that asks for one ----------------------------------------------------------

struct RefusalCase {
    const char* name;
    std::function<void(BackupTest&)> arrange;
    double limit;  // writes refused past this share of the file's size; 0: none
};

TEST_F(BackupTest, WithoutABackupTheAskingCommandDoesNotRun)
{
    fill(200, 2);
    const RefusalCase cases[] = {
        {"a file where the folder belongs", [](BackupTest& t) { touch(t.folder_, "a file"); }, 0},
        {"the disk full at once", [](BackupTest&) {}, 1e-9},
        {"the disk full half-way", [](BackupTest&) {}, 0.5},
        {"the disk full at the last page", [](BackupTest&) {}, 0.97},
    };
    struct Command {
        const char* name;
        std::function<void(frmMain&)> run;
    };
    const Command commands[] = {
        {"repair / compress", [](frmMain& f) { f.mnuCompact_Click(); }},
        {"clone and clear", [](frmMain& f) { f.mnuFileNewClone_Click(); }},
    };
    for (const Command& command : commands) {
        for (const RefusalCase& c : cases) {
            SCOPED_TRACE(std::string(command.name) + ": " + c.name);
            frmMain& f = open();
            // The open's own backup, once its thread is through with it (else it may come after).
            ASSERT_TRUE(quiltest::runEventsUntil([&] { return !static_cast<FileCommands&>(*f.files).FileJobsPending(); }));
            ASSERT_TRUE(QDir(folder_).removeRecursively());
            c.arrange(*this);
            const QByteArray before = dbtest::digest(file_);
            const qint64 size = QFileInfo(file_).size();
            ui().clearLog();
            {
                std::optional<dbtest::FileSizeLimit> refuse;
                if (c.limit > 0)
                    refuse.emplace(static_cast<rlim_t>(std::max<double>(1, c.limit * double(size))));
                command.run(f);
            }
            ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
            const ui::Message m = ui().messages()[0];
            EXPECT_EQ(m.title, "QUIL Data Error");
            EXPECT_EQ(m.icon, ui::Icon::Critical);
            EXPECT_TRUE(m.prompt.startsWith("No backup could be made in the folder\n" + QDir::toNativeSeparators(folder_) + "\n"))
                << m.prompt.toStdString();
            EXPECT_TRUE(m.prompt.contains("The command was not run")) << m.prompt.toStdString();
            // Not run: no name asked for the clone, the file neither rewritten nor closed.
            EXPECT_TRUE(ui().fileRequests().empty());
            EXPECT_EQ(dbtest::digest(file_), before);
            EXPECT_EQ(f.S.OpenDbPath, file_);
            EXPECT_NE(f.S.db, nullptr);
            EXPECT_FALSE(ui().isBusyPointer());
            // No half-made backup is left under any name.
            const QStringList left = QFileInfo(folder_).isDir() ? folderEntries() : QStringList();
            EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
            window_.reset();
            dao::Engine::instance().defaultWorkspace().close();
            QFile::remove(folder_);
        }
    }
}

TEST_F(BackupTest, ABackupOfTheFileAsItIsServesTheNextCommandToo)
{
    fill(20, 1);
    frmMain& f = open();
    ASSERT_TRUE(quiltest::runEventsUntil([&] { return !static_cast<FileCommands&>(*f.files).FileJobsPending(); }));
    QDir(folder_).removeRecursively();
    ASSERT_TRUE(db::BackupBeforeCommand(f));
    ASSERT_TRUE(db::BackupBeforeCommand(f));
    EXPECT_EQ(backupNames().size(), 1);
    writeThroughWindow("Changed");
    ASSERT_TRUE(db::BackupBeforeCommand(f));
    EXPECT_EQ(backupNames(), (QStringList{"Club 2026-12-08 17.30.05.qdb", "Club 2026-12-08 17.30.05_2.qdb"}));
    EXPECT_EQ(rowsOf(db::listBackups(file_).back().path, "SELECT count(*) FROM Members WHERE LastName = 'Changed'"),
              QStringList{"1"});
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
}

// ---- The day's first backup -------------------------------------------------------------------

struct DailyCase {
    const char* name;
    QStringList there;  // backups of the folder before the open
    bool made;
};

TEST_F(BackupTest, TheDaysFirstOpenMakesABackupInTheBackground)
{
    fill(300, 3);
    // The first open of the template's copy rewrites its logo path, a write: its backup is made
    // and checked before it. Later opens of the day leave it to a thread of its own.
    frmMain& f = open();
    EXPECT_EQ(backupNames(), QStringList{"Club 2026-12-08 17.30.05.qdb"});
    EXPECT_FALSE(static_cast<FileCommands&>(*f.files).DailyBackupPending());
    f.files->mnuFileClose_Click();

    const DailyCase cases[] = {
        {"no backup yet", {}, true},
        {"the newest from yesterday", {"Club 2026-12-07 23.59.59.qdb", "Club 2026-11-30 10.00.00.qdb"}, true},
        {"one from today", {"Club 2026-12-07 23.59.59.qdb", "Club 2026-12-08 00.00.00.qdb"}, false},
        {"today's of another file only", {"Club 2026-12-07 09.00.00.qdb", "Club 2 2026-12-08 09.00.00.qdb"}, true},
        {"a later day's (the clock was set back)", {"Club 2026-12-09 08.00.00.qdb"}, true},
    };
    for (const DailyCase& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder_).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder_));
        for (const QString& name : c.there)
            touch(QDir(folder_).filePath(name));
        ui().clearLog();
        open(file_);
        ASSERT_EQ(f.S.OpenDbPath, file_);
        auto& files = static_cast<FileCommands&>(*f.files);
        EXPECT_EQ(files.DailyBackupPending(), c.made);
        const QStringList state = dump(file_);
        // Its thread tells the window when it is done.
        EXPECT_TRUE(quiltest::runEventsUntil([&] { return !files.DailyBackupPending(); }));
        const QString made = QDir(folder_).filePath("Club 2026-12-08 17.30.05.qdb");
        EXPECT_EQ(QFile::exists(made), c.made);
        if (c.made) {
            EXPECT_EQ(dump(made), state);
        }
        EXPECT_FALSE(QFile::exists(made + ".part"));
        EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
        f.files->mnuFileClose_Click();
    }
}

TEST_F(BackupTest, AWriteWaitsForTheDaysBackupSoItHoldsTheFileBeforeTheWrite)
{
    fill(2000, 3);
    frmMain& f = open();
    f.files->mnuFileClose_Click();
    QDir(folder_).removeRecursively();
    const QStringList before = dump(file_);
    open(file_);
    auto& files = static_cast<FileCommands&>(*f.files);
    ASSERT_TRUE(files.DailyBackupPending());
    frame::RunHandler(f, frame::Origin::Menu, [this] { writeThroughWindow("Written"); });
    // The write waited for the copy; the copy's check and its name may come after it.
    ASSERT_TRUE(quiltest::runEventsUntil([&] { return !files.DailyBackupPending(); }));
    const QString made = QDir(folder_).filePath("Club 2026-12-08 17.30.05.qdb");
    ASSERT_TRUE(QFile::exists(made));
    EXPECT_EQ(dump(made), before);
    EXPECT_NE(dump(file_), before);
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
}

TEST_F(BackupTest, AFailingDailyBackupIsOneMessageAndTheProgramGoesOn)
{
    fill(50, 2);
    frmMain& f = open();
    f.files->mnuFileClose_Click();
    QDir(folder_).removeRecursively();
    touch(folder_, "a file");
    ui().clearLog();
    open(file_);
    auto& files = static_cast<FileCommands&>(*f.files);
    ASSERT_TRUE(quiltest::runEventsUntil([&] { return !files.DailyBackupPending(); }));
    ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
    EXPECT_EQ(ui().messages()[0].title, "QUIL Data Error");
    EXPECT_TRUE(ui().messages()[0].prompt.contains(QDir::toNativeSeparators(folder_)));
    EXPECT_TRUE(ui().messages()[0].prompt.contains("you can go on working"));
    EXPECT_EQ(f.S.OpenDbPath, file_);
    // The next command runs and writes, with no second message.
    ui().clearLog();
    frame::RunHandler(f, frame::Origin::Menu, [this] { writeThroughWindow("Later"); });
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
    EXPECT_EQ(rowsOf(file_, "SELECT count(*) FROM Members WHERE LastName = 'Later'"), QStringList{"1"});
}

// ---- Restore Backup ----------------------------------------------------------------------------

struct RestoreCase {
    const char* name;
    // Spoils the chosen backup (path) or its surroundings after the list was read.
    std::function<void(BackupTest&, const QString& chosen)> spoil;
    double limit;  // writes refused past this share of the file's size; 0: none
    bool restored;
};

TEST_F(BackupTest, RestoreReplacesTheFileWholeOrNotAtAll)
{
    fill(200, 2);
    build();
    openCopy();
    window_->files->mnuFileClose_Click();  // the first open's logo rewrite is behind us
    const RestoreCase cases[] = {
        {"nothing in the way", [](BackupTest&, const QString&) {}, 0, true},
        {"the backup damaged since it was listed",
         [](BackupTest&, const QString& chosen) {
             QFile b(chosen);
             ASSERT_TRUE(b.open(QIODevice::ReadWrite));
             b.seek(b.size() / 2);
             b.write(QByteArray(4096, '\x5a'));
         },
         0, false},
        {"the backup gone since it was listed", [](BackupTest&, const QString& chosen) { QFile::remove(chosen); }, 0, false},
        {"the disk full while copying", [](BackupTest&, const QString&) {}, 0.5, false},
    };
    for (const RestoreCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(folder_);
        QDir(folder_).removeRecursively();
        now_ = kNow;
        frmMain& f = open();
        // The backup to go back to, then a change after it.
        ASSERT_TRUE(db::BackupBeforeCommand(f));
        const QString chosen = db::listBackups(file_).back().path;
        const QStringList old = dump(chosen);
        writeThroughWindow("After the backup");
        const QStringList current = dump(file_);
        ASSERT_NE(current, old);
        now_ = kNow.addSecs(60);
        ui().clearLog();
        ui().queueDialog([&](QDialog& d) {
            auto& list = ui::child<QTreeWidget>(d, "lstBackups");
            ASSERT_EQ(list.topLevelItemCount(), 1);
            EXPECT_EQ(list.topLevelItem(0)->text(0), "2026-12-08  17:30:05");
            c.spoil(*this, chosen);
            ui::click(d, "cmdRestore");
        });
        ui().queueAnswer(ui::Yes);
        {
            std::optional<dbtest::FileSizeLimit> refuse;
            if (c.limit > 0)
                refuse.emplace(static_cast<rlim_t>(c.limit * double(QFileInfo(file_).size())));
            f.files->mnuFileRestore_Click();
        }
        const auto messages = ui().messages();
        ASSERT_EQ(messages.size(), c.restored ? 1u : 2u) << ui().trace().join('\n').toStdString();
        EXPECT_EQ(messages[0].title, "Restore Backup");
        EXPECT_EQ(f.S.OpenDbPath, file_);
        EXPECT_NE(f.S.db, nullptr);
        EXPECT_FALSE(QFile::exists(file_ + ".restoring"));
        EXPECT_FALSE(QFile::exists(file_ + ".restoring.part"));
        f.files->mnuFileClose_Click();
        if (c.restored) {
            EXPECT_EQ(dump(file_), old);
            // The file as it was is a backup itself.
            const auto backups = db::listBackups(file_);
            ASSERT_EQ(backups.size(), 2u);
            EXPECT_EQ(dump(backups.back().path), current);
        } else {
            EXPECT_EQ(messages[1].title, "QUIL Data Error");
            EXPECT_TRUE(messages[1].prompt.contains("nothing has been written")) << messages[1].prompt.toStdString();
            EXPECT_EQ(dump(file_), current);
        }
        EXPECT_EQ(rowsOf(file_, "PRAGMA integrity_check"), QStringList{"ok"});
        window_.reset();
        dao::Engine::instance().defaultWorkspace().close();
    }
}

TEST_F(BackupTest, ManyInOneSecondKeepTheNewestEachTime)
{
    fill(10, 1);
    sqlite::Connection source = keyed();
    for (int i = 1; i <= 14; ++i) {
        SCOPED_TRACE(i);
        source.exec(QStringLiteral("UPDATE Members SET Notes = '%1' WHERE MemberID = 1").arg(i));
        const QString made = db::writeBackup(source, file_, db::databasePassword().toUtf8());
        ASSERT_TRUE(QFileInfo::exists(made));
        EXPECT_EQ(rowsOf(made, "SELECT Notes FROM Members WHERE MemberID = 1"), QStringList{QString::number(i)});
        EXPECT_EQ(backupNames().size(), std::min(i, 10));
    }
}

TEST_F(BackupTest, TheListShowsEachBackupAndAnUnreadableOneCannotBeChosen)
{
    fill(30, 2);
    sqlite::Connection source = keyed();
    const QString good = db::writeBackup(source, file_, db::databasePassword().toUtf8());
    now_ = kNow.addDays(1);
    const QString bad = QDir(folder_).filePath(db::backupFileName("Club", now_));
    touch(bad, QByteArray(8192, 'Q'));
    std::vector<db::BackupSummary> summaries;
    for (const db::BackupEntry& e : db::listBackups(file_))
        summaries.push_back(db::summarizeBackup(e, db::databasePassword().toUtf8()));
    ASSERT_EQ(summaries.size(), 2u);
    EXPECT_TRUE(summaries[0].readable);
    EXPECT_FALSE(summaries[1].readable);
    EXPECT_FALSE(summaries[1].problem.isEmpty());

    MainState S;
    RestoreBackup dialog(S, {folder_}, summaries);
    auto& list = ui::child<QTreeWidget>(dialog, "lstBackups");
    auto& restore = ui::child<QPushButton>(dialog, "cmdRestore");
    ASSERT_EQ(list.topLevelItemCount(), 2);
    // Newest first: the unreadable one, chosen at the start, cannot be restored.
    const struct {
        int row;
        QStringList texts;
        bool restorable;
    } rows[] = {
        {0, {"2026-12-09  17:30:05", "8 KB", "unreadable", ""}, false},
        {1, {"2026-12-08  17:30:05", RestoreBackup::sizeText(QFileInfo(good).size()), "31", "60"}, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.row);
        QTreeWidgetItem* item = list.topLevelItem(r.row);
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(item->text(col), r.texts[col]) << col;
        list.setCurrentItem(item);
        EXPECT_EQ(restore.isEnabled(), r.restorable);
        // The handler itself refuses an unreadable one too, as a double click would reach it.
        dialog.cmdRestore_Click();
        EXPECT_EQ(dialog.chosen, r.restorable ? good : QString());
    }
    const struct {
        qint64 bytes;
        const char* text;
    } sizes[] = {{0, "0 bytes"}, {1023, "1023 bytes"}, {1024, "1 KB"}, {1535, "1 KB"}, {1536, "2 KB"},
                 {1048575, "1024 KB"}, {1048576, "1.0 MB"}, {137363456, "131.0 MB"}};
    for (const auto& s : sizes)
        EXPECT_EQ(RestoreBackup::sizeText(s.bytes), s.text);
}

} // namespace
