// Repair / Compress through the real window: every row, the key and the schema version kept, the
// file smaller and at its path, no temporary file left; and whatever goes wrong (a write refused
// past any byte, a damaged page, the path taken meanwhile) the original stays complete under its
// path, unchanged, with one message.
#include "db_fixture.h"

#include "db/backup.h"
#include "db/backup_file.h"
#include "db/compact_file.h"
#include "schema/open_checks.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using dbtest::rowsOf;

const char* const kDumps[] = {
    "SELECT rowid, * FROM Members ORDER BY rowid",
    "SELECT rowid, * FROM Payments ORDER BY rowid",
    "SELECT rowid, * FROM Passwords ORDER BY rowid",
    "SELECT rowid, * FROM Dest ORDER BY rowid",
    "SELECT * FROM sqlite_sequence ORDER BY name",
    "PRAGMA user_version",
};

QStringList dump(const QString& path)
{
    QStringList all;
    for (const char* sql : kDumps)
        all << rowsOf(path, QLatin1String(sql));
    return all;
}

class CompressTest : public dbtest::NewFilesTest {
protected:
    // Members and donations, then half of them deleted, so the file has free pages to give back.
    void fill(int members)
    {
        sqlite::Connection c = keyed();
        sqlite::Transaction t(c);
        for (int i = 0; i < members; ++i) {
            auto m = c.prepare("INSERT INTO Members (FirstName, LastName, Address, Notes) VALUES (?, ?, ?, ?)");
            m.bind(1, QStringLiteral("First %1").arg(i)).bind(2, QStringLiteral("Ünïcode %1").arg(i));
            m.bind(3, QString(120, QChar(char16_t(u'a' + i % 26)))).bind(4, QStringLiteral("note %1").arg(i));
            m.step();
            auto p = c.prepare("INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                               "VALUES (?, ?, 'Organ', '2023-05-06 00:00:00', last_insert_rowid())");
            p.bind(1, std::int64_t(10000 * (i + 1))).bind(2, std::int64_t(i));
            p.step();
        }
        c.exec("DELETE FROM Members WHERE MemberID % 2 = 0 AND MemberID > 1");
        c.exec("DELETE FROM Payments WHERE PaymentID % 3 = 0");
        t.commit();
    }

    QStringList folderAfter() const
    {
        QStringList names = folderFiles();
        names.removeAll("Club.qdb");
        return names;
    }
};

TEST_F(CompressTest, CompressKeepsEveryRowAndTheKeyAndLeavesNoTemporaryFile)
{
    fill(600);
    frmMain& f = open();
    // The first open writes the logo's full path; what the command must keep is the file after it.
    f.files->mnuFileClose_Click();
    const QStringList before = dump(file_);
    const qint64 sizeBefore = QFileInfo(file_).size();
    open(file_);
    ui().clearLog();
    f.files->mnuCompact_Click();

    ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
    EXPECT_EQ(ui().messages()[0].prompt, "Database Repaired / Compressed successfully");
    EXPECT_EQ(ui().messages()[0].title, "QUIL");
    EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Information);
    EXPECT_EQ(ui().beepCount(), 0);
    EXPECT_EQ(f.S.OpenDbPath, file_);
    EXPECT_NE(f.S.db, nullptr);
    EXPECT_FALSE(ui().isBusyPointer());
    EXPECT_TRUE(folderAfter().isEmpty()) << folderAfter().join(' ').toStdString();

    f.files->mnuFileClose_Click();
    EXPECT_EQ(dump(file_), before);  // read with the program's key
    EXPECT_LT(QFileInfo(file_).size(), sizeBefore);
    EXPECT_NO_THROW(db::openCheckedDatabase(file_, f.S.DbConnect).database->close());
    EXPECT_EQ(rowsOf(file_, "PRAGMA integrity_check"), QStringList{"ok"});
}

TEST_F(CompressTest, WritesRefusedPastAnyByteLeaveTheOriginalCompleteUnderItsPath)
{
    fill(300);
    frmMain& f = open();
    f.files->mnuFileClose_Click();
    const QByteArray original = dbtest::digest(file_);
    const QStringList rows = dump(file_);
    const qint64 size = QFileInfo(file_).size();

    int failures = 0;
    for (qint64 limit = 0; limit <= size + 8192; limit += size / 12) {
        SCOPED_TRACE(limit);
        open(file_);
        const QByteArray before = dbtest::digest(file_);
        // The backup the command makes first is made here without a limit: this sweep is about
        // the rewrite (the backup's own sweep is in backup_test.cpp).
        ASSERT_TRUE(db::BackupBeforeCommand(f));
        ui().clearLog();
        {
            dbtest::FileSizeLimit refuse(static_cast<rlim_t>(limit));
            f.files->mnuCompact_Click();
        }
        ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
        const ui::Message m = ui().messages()[0];
        EXPECT_TRUE(folderAfter().isEmpty()) << folderAfter().join(' ').toStdString();
        if (m.title == "QUIL") {
            EXPECT_EQ(f.S.OpenDbPath, file_);
            f.files->mnuFileClose_Click();
        } else {
            ++failures;
            EXPECT_EQ(m.title, "Error when repairing/Compressing database");
            EXPECT_EQ(m.icon, ui::Icon::Critical);
            EXPECT_TRUE(f.S.OpenDbPath.isEmpty());
            EXPECT_EQ(f.S.db, nullptr);
            EXPECT_EQ(dbtest::digest(file_), before);
        }
        EXPECT_EQ(dump(file_), rows);
    }
    EXPECT_GT(failures, 3);
    EXPECT_NE(original, QByteArray());
}

TEST_F(CompressTest, ADamagedFileIsReportedAndLeftAsItWas)
{
    fill(400);
    frmMain& f = open();
    // The backup before the command is of the sound file (a backup of the file as it is serves
    // the command); the damage that follows is the repair's to find.
    ASSERT_TRUE(db::BackupBeforeCommand(f));
    // Damaged while open, behind the page cache's back: the command reads it from the disk.
    {
        QFile file(file_);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(file.size() / 2);
        file.write(QByteArray(4096, '\x5a'));
    }
    const QByteArray before = dbtest::digest(file_);
    ui().clearLog();
    f.files->mnuCompact_Click();
    ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
    const ui::Message m = ui().messages()[0];
    EXPECT_EQ(m.title, "Error when repairing/Compressing database");
    EXPECT_TRUE(m.prompt.contains(QRegularExpression("^\\d+   \\S"))) << m.prompt.toStdString();
    EXPECT_TRUE(f.S.OpenDbPath.isEmpty());
    EXPECT_EQ(dbtest::digest(file_), before);
    EXPECT_TRUE(folderAfter().isEmpty()) << folderAfter().join(' ').toStdString();
}

TEST_F(CompressTest, TheProcedureNeverTouchesAnotherFileAndGivesTheOriginalBackOnAnyFailure)
{
    fill(50);
    const QStringList rows = dump(file_);
    // A set-aside name in use is somebody's data: the next number is taken.
    const QString taken = db::setAsidePath(file_, 7);
    {
        QFile other(taken);
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("not ours");
    }
    db::CompactResult r = db::compactInPlace(file_, db::databasePassword(), 7);
    ASSERT_FALSE(r.failure) << r.failure->description.toStdString();
    EXPECT_EQ(r.setAside, db::setAsidePath(file_, 8));
    EXPECT_EQ(QFileInfo(taken).size(), 8);
    EXPECT_TRUE(QFile::remove(r.setAside));
    EXPECT_EQ(dump(file_), rows);

    // With the wrong key nothing can be read: the original takes its name again.
    const QByteArray before = dbtest::digest(file_);
    r = db::compactInPlace(file_, QStringLiteral("wrong"), 100000);
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(r.setAside, db::setAsidePath(file_, 100000));
    EXPECT_EQ(dbtest::digest(file_), before);
    EXPECT_FALSE(QFile::exists(r.setAside));
    QFile::remove(taken);
    EXPECT_TRUE(folderAfter().isEmpty()) << folderAfter().join(' ').toStdString();

    // A source that is not there is not set aside, and nothing is made.
    r = db::compactInPlace(dir_.file("Missing.qdb"), db::databasePassword(), 3);
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(r.failure->number, 75);
    EXPECT_TRUE(folderAfter().isEmpty()) << folderAfter().join(' ').toStdString();
}

// A group of the system other than the file's that this user may give a file: any group for
// the superuser, else one of the user's other groups; -1 when there is none.
gid_t anotherGroup(gid_t current)
{
    if (geteuid() == 0) {
        for (const char* name : {"daemon", "bin", "sys", "adm", "nogroup"})
            if (const group* g = getgrnam(name); g && g->gr_gid != current)
                return g->gr_gid;
        return static_cast<gid_t>(-1);
    }
    gid_t groups[64];
    const int n = getgroups(64, groups);
    for (int i = 0; i < n; ++i)
        if (groups[i] != current)
            return groups[i];
    return static_cast<gid_t>(-1);
}

struct Replacement {
    const char* name;
    // Puts a new copy of the file in its place, as the command does; "" or the failure.
    std::function<QString(const QString& file, const QString& folder)> run;
};

TEST_F(CompressTest, TheCopyThatReplacesAFileKeepsItsPermissionBitsAndGroup)
{
    fill(40);
    const QStringList rows = dump(file_);
    const Replacement replacements[] = {
        {"Repair / Compress",
         [](const QString& file, const QString&) {
             const db::CompactResult r = db::compactInPlace(file, db::databasePassword(), 5);
             if (r.failure)
                 return r.failure->description;
             QFile::remove(r.setAside);
             return QString();
         }},
        {"Restore Backup",
         [](const QString& file, const QString& folder) {
             const QString backup = QDir(folder).filePath("Copy.qdb");
             QFile::remove(backup);
             if (!QFile::copy(file, backup))
                 return QStringLiteral("no copy to restore from");
             try {
                 const QByteArray key = db::databasePassword().toUtf8();
                 db::replaceByStaged(db::stageRestore(backup, file, key), file);
             } catch (const std::exception& e) {
                 return jet::reasonOf(e);
             }
             return QString();
         }},
    };
    struct stat made {};
    ASSERT_EQ(stat(QFile::encodeName(file_).constData(), &made), 0);
    const gid_t group = anotherGroup(made.st_gid);
    for (const Replacement& r : replacements) {
        for (const mode_t mode : {0444, 0400, 0600, 0640, 0660, 0604}) {
            SCOPED_TRACE(std::string(r.name) + " of a file of mode " + QString::number(mode, 8).toStdString());
            const QByteArray name = QFile::encodeName(file_);
            if (group != static_cast<gid_t>(-1)) {
                ASSERT_EQ(chown(name.constData(), static_cast<uid_t>(-1), mode == 0640 ? group : made.st_gid), 0);
            }
            ASSERT_EQ(chmod(name.constData(), mode), 0);
            const QString failure = r.run(file_, dir_.path());
            ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
            struct stat after {};
            ASSERT_EQ(stat(name.constData(), &after), 0);
            EXPECT_EQ(after.st_mode & 07777, mode);
            if (group != static_cast<gid_t>(-1)) {
                EXPECT_EQ(after.st_gid, mode == 0640 ? group : made.st_gid);
            }
            EXPECT_EQ(dump(file_), rows);
        }
    }
    chmod(QFile::encodeName(file_).constData(), 0644);
}

} // namespace
