// Back Up To: a backup in a folder away from the file, whole or not at all when that folder's
// disk fails or the folder goes; only this file's backups pruned there; the folder kept per file;
// the day's backup copied there without ever holding the window; Restore Backup listing both
// folders.
#include "db_fixture.h"
#include "support/event_wait.h"
#include "support/faultfs/fault_vfs.h"

#include "db/backup_file.h"
#include "platform/dao/write_unit.h"
#include "platform/settings/settings.h"

#include <QFileInfo>
#include <QLabel>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <optional>
#include <utility>

namespace {

using dbtest::rowsOf;

const QDateTime kNow(QDate(2026, 12, 8), QTime(17, 30, 5));

QByteArray key()
{
    return db::databasePassword().toUtf8();
}

void touch(const QString& path, const QByteArray& bytes = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QStringList entriesOf(const QString& folder)
{
    return QFileInfo(folder).isDir() ? QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name) : QStringList();
}

QStringList members(const QString& path)
{
    return rowsOf(path, QStringLiteral("SELECT rowid, FirstName, LastName FROM Members ORDER BY rowid"));
}

// The scripted UI with one step between the folder's choice and the command going on with it:
// the folder can vanish there, as a stick pulled out at that moment would.
class ChoosingUi : public ui::ScriptedUi {
public:
    std::function<void()> afterChoice;

protected:
    ui::FileChoice chooseFile(const ui::FileRequest& request) override
    {
        ui::FileChoice choice = ScriptedUi::chooseFile(request);
        if (afterChoice)
            afterChoice();
        return choice;
    }
};

class BackupToTest : public dbtest::NewFilesTest {
protected:
    void SetUp() override
    {
        NewFilesTest::SetUp();
        if (HasFatalFailure())
            return;
        faultfs::install();
        db::setBackupClock([this] { return now_; });
        settings_.emplace(dir_.file(QStringLiteral("settings.ini")));
        away_ = dir_.file(QStringLiteral("Stick/QUIL"));
        ASSERT_TRUE(QDir().mkpath(away_));
        auto scripted = std::make_unique<ChoosingUi>();
        script_ = scripted.get();
        previousUi_ = ui::install(std::move(scripted));
        fill(300, 3);
    }
    void TearDown() override
    {
        faultfs::disarm();
        faultfs::watch({});
        window_.reset();
        if (previousUi_)
            ui::install(std::move(previousUi_));
        settings_.reset();
        db::setBackupClock({});
        NewFilesTest::TearDown();
    }

    void fill(int count, int donationsEach)
    {
        sqlite::Connection c = keyed();
        c.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                              "INSERT INTO Members (FirstName, LastName, Address) SELECT 'First ' || i, 'Last ' || i, i || ' Elm St' FROM n")
                   .arg(count));
        c.exec(QStringLiteral("WITH RECURSIVE d(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM d WHERE k < %1) "
                              "INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                              "SELECT 100 * k, k, 'Organ', '2023-05-06 00:00:00', MemberID FROM Members, d")
                   .arg(donationsEach));
    }

    // The window's background work over, its news taken as the idle window takes it.
    void settle(frmMain& f)
    {
        auto& files = static_cast<FileCommands&>(*f.files);
        ASSERT_TRUE(quiltest::runEventsUntil([&] { return !files.FileJobsPending(); }));
    }

    // Opens the file a second time the same day: its first open's logo write is behind it.
    frmMain& reopen()
    {
        frmMain& f = window_ ? *window_ : open();
        settle(f);
        f.files->mnuFileClose_Click();
        open(file_);
        return f;
    }

    ChoosingUi& script() { return *script_; }

    QDateTime now_ = kNow;
    QString away_;
    ChoosingUi* script_ = nullptr;
    std::unique_ptr<ui::Ui> previousUi_;
    std::optional<settings::ScopedFile> settings_;
};

// ---- The copy ----------------------------------------------------------------------------------

struct CopyCase {
    const char* name;
    std::function<void(BackupToTest&, const QString& away)> arrange;  // after the folder was chosen
    faultfs::Plan plan;                                                // on files in the folder
    std::function<void(const QString& away)> midCopy;                  // after the first piece copied
    const char* reason;                                                // in the refusal; "" when made
};

TEST_F(BackupToTest, ABackupAwayIsWholeOrNothingAndTheFileIsUntouched)
{
    using faultfs::Fault;
    using faultfs::Op;
    const auto none = [](BackupToTest&, const QString&) {};
    const CopyCase cases[] = {
        {"nothing in the way", none, {}, {}, ""},
        {"the folder removed after it was chosen",
         [](BackupToTest&, const QString& away) { ASSERT_TRUE(QDir(away).removeRecursively()); }, {}, {}, "not there"},
        {"a file where the folder was",
         [](BackupToTest&, const QString& away) {
             ASSERT_TRUE(QDir(away).removeRecursively());
             touch(away);
         },
         {}, {}, "not a folder"},
        {"a read-only drive: every write refused", none, {Op::Write, 1, Fault::IoError, true}, {}, "error"},
        {"the disk full at once", none, {Op::Write, 1, Fault::DiskFull, true}, {}, "full"},
        {"the disk full half-way", none, {Op::Write, 3, Fault::DiskFull, true}, {}, "full"},
        {"the copy never reaching the disk", none, {Op::Sync, 1, Fault::IoError, false}, {}, "error"},
        {"the folder gone mid-copy", none, {},
         [](const QString& away) { QDir(away).removeRecursively(); }, "differs"},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(away_);
        QDir(away_).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(away_));
        const QByteArray before = dbtest::digest(file_);
        const QStringList rows = members(file_);
        sqlite::Connection source = keyed();
        c.arrange(*this, away_);
        faultfs::watch(away_ + u'/');
        faultfs::arm(c.plan);
        bool firstPiece = true;
        const db::CopyProgress progress = [&](std::int64_t, std::int64_t) {
            if (c.midCopy && std::exchange(firstPiece, false))
                c.midCopy(away_);
            return true;
        };
        QString made;
        std::optional<db::BackupError> refused;
        try {
            made = db::writeBackupTo(source, file_, key(), away_, progress);
        } catch (const db::BackupError& e) {
            refused = e;
        }
        faultfs::disarm();
        if (!QString::fromLatin1(c.reason).isEmpty()) {
            ASSERT_TRUE(refused.has_value());
            if (c.plan.n > 0) {
                EXPECT_TRUE(faultfs::fired());
            }
            EXPECT_EQ(refused->folder, QDir::toNativeSeparators(away_));
            EXPECT_TRUE(refused->reason.contains(QLatin1String(c.reason), Qt::CaseInsensitive)) << refused->reason.toStdString();
            // No half-made copy under any name, and no folder made where there was none.
            EXPECT_EQ(entriesOf(away_), QStringList());
        } else {
            ASSERT_FALSE(refused.has_value()) << refused->reason.toStdString();
            EXPECT_EQ(QFileInfo(made).fileName(), db::backupFileName("Club", kNow));
            EXPECT_EQ(QFileInfo(made).absolutePath(), away_);
            EXPECT_EQ(entriesOf(away_), QStringList{QFileInfo(made).fileName()});
            EXPECT_EQ(members(made), rows);
            EXPECT_EQ(dbtest::digest(made), before);
        }
        // The file and the folder beside it are as they were, and the file takes a write at once:
        // the copy's read transaction is over.
        EXPECT_EQ(dbtest::digest(file_), before);
        EXPECT_FALSE(QFileInfo::exists(db::backupFolder(file_)));
        EXPECT_NO_THROW(source.exec("INSERT INTO Members (FirstName, LastName) VALUES ('After', 'Copy')"));
        source.exec("DELETE FROM Members WHERE LastName = 'Copy'");
    }
}

TEST_F(BackupToTest, PruningAwayKeepsTheLastTenOfThisFileAndTouchesNothingElse)
{
    // Other files' backups, the user's own files and copies of ours under other names share the
    // folder: on a stick or a synced folder they are the rule.
    const QStringList others = {"Other 2020-01-01 10.00.00.qdb", "Club 2 2020-01-01 00.00.00.qdb", "Club.qdb",
                                "Club 2020-01-01 00.00.00 copy.qdb", "Club before format 1 2020-01-01 00.00.00.qdb",
                                "Club 2020-01-01 00.00.00.qdb.part", "holiday.jpg"};
    QStringList ours;
    for (int i = 12; i > 0; --i) {
        ours << db::backupFileName("Club", kNow.addDays(-i));
        touch(QDir(away_).filePath(ours.back()));
    }
    for (const QString& name : others)
        touch(QDir(away_).filePath(name), "somebody's");
    sqlite::Connection source = keyed();
    ours << QFileInfo(db::writeBackupTo(source, file_, key(), away_)).fileName();
    QStringList expected = ours.mid(ours.size() - db::kBackupsKept) + others;
    QStringList there = entriesOf(away_);
    expected.sort();
    there.sort();
    EXPECT_EQ(there, expected);
    for (const QString& name : others) {
        QFile f(QDir(away_).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("somebody's")) << name.toStdString();
    }
}

TEST_F(BackupToTest, TheFolderIsKeptPerFileUnderItsOwnPath)
{
    ASSERT_TRUE(QFile::link(file_, dir_.file(QStringLiteral("Linked.qdb"))));
    settings::setBackupToFolder(file_, away_);
    for (const QString& same : {dir_.file(QStringLiteral("Linked.qdb")), dir_.path() + QStringLiteral("/./Stick/../Club.qdb")})
        EXPECT_EQ(settings::backupToFolder(same), away_) << same.toStdString();
    EXPECT_EQ(settings::backupToFolder(dir_.file(QStringLiteral("Other.qdb"))), QString());
    settings::setBackupToFolder(file_, {});
    EXPECT_EQ(settings::backupToFolder(file_), QString());
}

// ---- The command -------------------------------------------------------------------------------

struct CommandCase {
    const char* name;
    bool cancel;
    std::function<void(const QString& away)> afterChoice;
    faultfs::Plan plan;
    bool made;
};

TEST_F(BackupToTest, TheCommandMakesOneBackupAwayOrTellsWhyInOneMessage)
{
    using faultfs::Fault;
    using faultfs::Op;
    const CommandCase cases[] = {
        {"cancelled", true, {}, {}, false},
        {"a folder there", false, {}, {}, true},
        {"the folder removed after it was chosen", false, [](const QString& away) { QDir(away).removeRecursively(); }, {},
         false},
        {"a read-only drive", false, {}, {Op::Write, 1, Fault::IoError, true}, false},
        {"the disk full half-way", false, {}, {Op::Write, 2, Fault::DiskFull, true}, false},
    };
    frmMain& f = reopen();
    settle(f);
    const QString earlier = dir_.file(QStringLiteral("Earlier"));
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(away_).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(away_));
        settings::setBackupToFolder(file_, earlier);
        const QByteArray before = dbtest::digest(file_);
        script().clearLog();
        if (c.cancel)
            script().queueFileCancel();
        else
            script().queueFile(away_);
        script().afterChoice = [&] {
            if (c.afterChoice)
                c.afterChoice(away_);
        };
        faultfs::watch(away_ + u'/');
        faultfs::arm(c.plan);
        f.mnuFileBackupTo_Click();
        faultfs::disarm();
        script().afterChoice = {};

        // The folder dialog opens where the file's backups went last.
        ASSERT_EQ(script().fileRequests().size(), 1u);
        EXPECT_EQ(script().fileRequests()[0].kind, ui::FileDialogKind::Folder);
        EXPECT_EQ(script().fileRequests()[0].folder, earlier);
        const auto messages = script().messages();
        if (c.cancel) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(messages.size(), 1u) << script().trace().join('\n').toStdString();
            EXPECT_EQ(messages[0].title, c.made ? "Back Up To" : "QUIL Data Error");
            EXPECT_EQ(messages[0].icon, c.made ? ui::Icon::Information : ui::Icon::Critical);
            if (!c.made) {
                EXPECT_TRUE(messages[0].prompt.startsWith("No backup could be made in the folder\n" +
                                                          QDir::toNativeSeparators(away_) + "\n"))
                    << messages[0].prompt.toStdString();
                EXPECT_TRUE(messages[0].prompt.contains("you can go on working")) << messages[0].prompt.toStdString();
            }
        }
        const QStringList there = entriesOf(away_);
        if (c.made) {
            ASSERT_EQ(there.size(), 1);
            EXPECT_EQ(members(QDir(away_).filePath(there[0])), members(file_));
            EXPECT_TRUE(messages[0].prompt.contains(QDir::toNativeSeparators(QDir(away_).filePath(there[0]))));
        } else {
            EXPECT_TRUE(there.isEmpty()) << there.join(' ').toStdString();
        }
        // Kept for the file only once a backup is there.
        EXPECT_EQ(settings::backupToFolder(file_), c.made ? away_ : earlier);
        EXPECT_EQ(dbtest::digest(file_), before);
        EXPECT_FALSE(script().isBusyPointer());
        // The file stays open and takes the next write.
        ASSERT_EQ(f.S.OpenDbPath, file_);
        dao::WriteUnit unit(*f.S.db);
        unit.connection().exec("UPDATE Members SET Notes = 'next' WHERE MemberID = 1");
        unit.commit();
    }
}

// ---- The day's backup --------------------------------------------------------------------------

struct DailyCase {
    const char* name;
    std::function<void()> arrange;
    faultfs::Plan plan;
    QStringList away;      // the folder's backups after the open's work
    const char* note;      // in the status line; "" for none
};

TEST_F(BackupToTest, TheDaysBackupGoesAwayTooAndAMissingFolderIsOneStatusLine)
{
    using faultfs::Fault;
    using faultfs::Op;
    const QString today = db::backupFileName("Club", kNow);
    const DailyCase cases[] = {
        {"the folder there", [] {}, {}, {today}, ""},
        {"a stick not plugged in", [this] { QDir(away_).removeRecursively(); }, {}, {}, "not there"},
        {"today's copy there already", [this] { touch(QDir(away_).filePath("Club 2026-12-08 09.00.00.qdb")); }, {},
         {"Club 2026-12-08 09.00.00.qdb"}, ""},
        {"today's backup beside the file but none away",
         [this] {
             now_ = kNow.addSecs(-3600);
             sqlite::Connection source = keyed();
             db::writeBackup(source, file_, key());
             now_ = kNow;
         },
         {}, {"Club 2026-12-08 16.30.05.qdb"}, ""},
        {"a read-only drive", [] {}, {Op::Write, 1, Fault::IoError, true}, {}, "error"},
    };
    frmMain& f = open();
    settle(f);
    for (const DailyCase& c : cases) {
        SCOPED_TRACE(c.name);
        f.files->mnuFileClose_Click();
        QDir(db::backupFolder(file_)).removeRecursively();
        QDir(away_).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(away_));
        settings::setBackupToFolder(file_, away_);
        c.arrange();
        const QStringList rows = members(file_);
        const bool folderThere = QFileInfo(away_).isDir();
        script().clearLog();
        faultfs::watch(away_ + u'/');
        faultfs::arm(c.plan);
        open(file_);
        settle(f);
        faultfs::disarm();
        ASSERT_EQ(f.S.OpenDbPath, file_);
        // Never a message box for the folder away, and the day's backup beside the file as ever.
        EXPECT_TRUE(script().messages().empty()) << script().trace().join('\n').toStdString();
        EXPECT_FALSE(db::listBackups(file_).empty());
        EXPECT_EQ(entriesOf(away_), c.away);
        // A missing folder is never made: on the computer's own disk it would protect nothing.
        EXPECT_EQ(QFileInfo(away_).isDir(), folderThere);
        if (QFileInfo::exists(QDir(away_).filePath(today))) {
            EXPECT_EQ(members(QDir(away_).filePath(today)), rows);
        }
        const QString note = f.StatusNote();
        if (QString::fromLatin1(c.note).isEmpty()) {
            EXPECT_TRUE(note.isEmpty()) << note.toStdString();
        } else {
            EXPECT_TRUE(note.contains(QDir::toNativeSeparators(away_))) << note.toStdString();
            EXPECT_TRUE(note.contains(QLatin1String(c.note), Qt::CaseInsensitive)) << note.toStdString();
            EXPECT_EQ(note.count(u'\n'), 0);
        }
    }
    // The next file's open starts with a clean status area.
    f.files->mnuFileClose_Click();
    settings::setBackupToFolder(file_, {});
    open(file_);
    settle(f);
    EXPECT_EQ(f.StatusNote(), QString());
}

// ---- Restore Backup ----------------------------------------------------------------------------

TEST_F(BackupToTest, RestoreListsBothFoldersAndRestoresFromTheOneAway)
{
    frmMain& f = reopen();
    settle(f);
    f.files->mnuFileClose_Click();
    QDir(db::backupFolder(file_)).removeRecursively();
    // A backup beside the file, then a change and a backup of it away.
    {
        sqlite::Connection source = keyed();
        db::writeBackup(source, file_, key());
        source.exec("UPDATE Members SET LastName = 'Away' WHERE MemberID = 2");
        now_ = kNow.addSecs(60);
        db::writeBackupTo(source, file_, key(), away_);
        source.exec("UPDATE Members SET LastName = 'Since' WHERE MemberID = 2");
    }
    const QString awayBackup = QDir(away_).filePath(db::backupFileName("Club", now_));
    const QStringList awayRows = members(awayBackup);
    settings::setBackupToFolder(file_, away_);
    open(file_);
    settle(f);
    script().clearLog();
    script().queueDialog([&](QDialog& d) {
        auto& list = ui::child<QTreeWidget>(d, "lstBackups");
        ASSERT_EQ(list.topLevelItemCount(), 2);
        ASSERT_EQ(list.columnCount(), 5);
        // Newest first, each row naming its folder.
        const QString rows[][2] = {{"2026-12-08  17:31:05", QDir::toNativeSeparators(away_)},
                                   {"2026-12-08  17:30:05", QDir::toNativeSeparators(db::backupFolder(file_))}};
        for (int row = 0; row < 2; ++row) {
            EXPECT_EQ(list.topLevelItem(row)->text(0), rows[row][0]);
            EXPECT_EQ(list.topLevelItem(row)->text(4), rows[row][1]);
        }
        EXPECT_TRUE(ui::child<QLabel>(d, "lblFolder").text().contains(QDir::toNativeSeparators(away_)));
        ui::click(d, "cmdRestore");  // the newest, the one away
    });
    script().queueAnswer(ui::Yes);
    f.mnuFileRestore_Click();
    settle(f);
    ASSERT_EQ(script().messages().size(), 1u) << script().trace().join('\n').toStdString();
    f.files->mnuFileClose_Click();
    EXPECT_EQ(members(file_), awayRows);
}

} // namespace
