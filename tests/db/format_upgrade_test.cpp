// Files of earlier formats through the real window's Open: the fixtures an earlier program wrote
// are brought up to date with every row kept and their copy in Backups, told once; a file that
// cannot be brought up to date, or that is of no format this program reads, is refused with one
// message and left byte for byte as it was; New Blank from an older template gives a file of
// the current format.
#include "db_fixture.h"

#include "db/backup_file.h"
#include "schema/schema.h"
#include "support/file_formats.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <optional>

namespace {

const QString kUpgradedNote =
    QStringLiteral("This file was brought up to date (format 2). A copy of it as it was is in Backups.");

class FormatUpgradeTest : public dbtest::NewFilesTest {
protected:
    // The file's rows in the earlier format's tables, as an open leaves them: the open stores the
    // program folder's logo in place of the template's short name.
    QString rowsAsOpened(const QString& path, int format)
    {
        sqlite::Connection c = dbtest::keyedFile(path);
        return quiltest::rowsOf(c, format).replace(program_ + QStringLiteral("quil.jpg"), QStringLiteral("quil.jpg"));
    }

    std::int64_t versionOf(const QString& path)
    {
        sqlite::Connection c = dbtest::keyedFile(path);
        auto s = c.prepare(QStringLiteral("PRAGMA user_version"));
        s.step();
        return s.int64(0);
    }

    // What the file holds: its version, its schema and every row of the format-1 tables. SQLCipher
    // gives every page it writes a fresh salt, so a copy or a rolled-back write holds the same
    // with other bytes.
    QString contentOf(const QString& path)
    {
        sqlite::Connection c = dbtest::keyedFile(path);
        QStringList out{QStringLiteral("version %1").arg(versionOf(path))};
        sqlite::Statement objects = c.prepare(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY type, name"));
        while (objects.step())
            out << objects.text(0) + u' ' + objects.text(1) + u' ' + objects.text(2);
        return out.join(u'\n') + u'\n' + quiltest::rowsOf(c, 1);
    }

    std::vector<db::BackupEntry> labelled(const QString& path)
    {
        std::vector<db::BackupEntry> out;
        for (const db::BackupEntry& b : db::listBackups(path))
            if (!b.label.isEmpty())
                out.push_back(b);
        return out;
    }

    // What is in the Backups folder beside the file, for "nothing left behind".
    QStringList backupFolderFiles(const QString& path)
    {
        return QDir(db::backupFolder(path)).entryList(QDir::Files | QDir::Hidden);
    }
};

TEST_F(FormatUpgradeTest, TheFormat1FilesOpenUpToDateWithEveryRowKeptAndTheirCopyInBackups)
{
    for (const QString& name : {QStringLiteral("Base.dat"), QStringLiteral("demo-300.qdb")}) {
        SCOPED_TRACE(name.toStdString());
        const QString folder = dir_.file(QFileInfo(name).completeBaseName());
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString fixture = quiltest::copyFormatFixture(1, name, folder);
        const QString path = QDir(folder).filePath(QStringLiteral("Old.qdb"));
        ASSERT_TRUE(QFile::rename(fixture, path));
        const QString content = contentOf(path);
        const QString before = rowsAsOpened(path, 1);
        ASSERT_FALSE(before.isEmpty());

        if (!window_)
            build();
        open(path);
        ASSERT_EQ(window_->S.OpenDbPath, path) << ui().trace().join('\n').toStdString();
        ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
        EXPECT_EQ(ui().messages()[0].prompt, kUpgradedNote);
        EXPECT_EQ(ui().messages()[0].title, "QUIL");
        EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Information);
        EXPECT_FALSE(ui().isBusyPointer());
        window_->files->mnuFileClose_Click();

        // Every row of the earlier tables as it was; the new table empty; the new version.
        EXPECT_EQ(rowsAsOpened(path, 1), before);
        EXPECT_TRUE(dbtest::rowsOf(path, QStringLiteral("SELECT * FROM Settings")).isEmpty());
        EXPECT_EQ(versionOf(path), db::kSchemaVersion);
        {
            sqlite::Connection c = dbtest::keyedFile(path);
            EXPECT_EQ(db::verifySchema(c, path), db::kSchemaVersion);
        }

        // The copy holds the file as it was, under a name that says why it is there.
        const auto copies = labelled(path);
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(copies[0].label, QStringLiteral("before format 2"));
        EXPECT_TRUE(QFileInfo(copies[0].path).fileName().startsWith(QStringLiteral("Old before format 2 ")));
        EXPECT_EQ(contentOf(copies[0].path), content);

        // Told once: the next open says nothing and makes no other copy.
        ui().clearLog();
        open(path);
        EXPECT_EQ(window_->S.OpenDbPath, path);
        EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
        EXPECT_EQ(labelled(path).size(), 1u);
        window_->files->mnuFileClose_Click();
        ui().clearLog();
    }
}

// Without room for the copy or for the new index, or without a folder for the copy, the file
// is refused with one message saying why, holding what it held, with nothing beside it.
// Once the disk has room it opens up to date.
TEST_F(FormatUpgradeTest, AFileThatCannotBeBroughtUpToDateIsRefusedOnceAndLeftAsItWas)
{
    const QString path = quiltest::copyFormatFixture(1, QStringLiteral("demo-300.qdb"), dir_.path());
    const qint64 size = QFileInfo(path).size();
    struct Case {
        const char* what;
        rlim_t limit;              // the largest file the disk takes; 0 for none
        bool folderIsAFile;        // a file stands where the Backups folder belongs
        const char* reason;
    };
    const Case cases[] = {
        {"no room for the copy", rlim_t(size / 2), false, "no copy of it as it is could be made in "},
        {"no room for the new index", rlim_t(size), false, "(error "},
        {"a file where the folder belongs", 0, true, "A file of that name stands where the folder belongs."},
    };
    const QString content = contentOf(path);
    build();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = db::backupFolder(path);
        QDir(folder).removeRecursively();
        if (c.folderIsAFile) {
            QFile blocker(folder);
            ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        }
        {
            std::optional<dbtest::FileSizeLimit> limit;
            if (c.limit)
                limit.emplace(c.limit);
            open(path);
        }
        EXPECT_TRUE(window_->S.OpenDbPath.isEmpty());
        EXPECT_EQ(window_->S.db, nullptr);
        ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
        const QString prompt = ui().messages()[0].prompt;
        EXPECT_EQ(ui().messages()[0].title, "Unreadable File");
        EXPECT_TRUE(prompt.startsWith(QStringLiteral("QUIL cannot open the file\n%1\n\nThe file is of an earlier format (1) and "
                                                     "could not be brought up to date (format 2): ").arg(path)))
            << prompt.toStdString();
        EXPECT_TRUE(prompt.contains(QLatin1String(c.reason))) << prompt.toStdString();
        EXPECT_TRUE(prompt.contains(QStringLiteral("The file was not changed."))) << prompt.toStdString();
        EXPECT_EQ(prompt.count(QStringLiteral("(error ")), c.folderIsAFile ? 0 : 1) << prompt.toStdString();
        EXPECT_EQ(contentOf(path), content);
        QStringList expected{QStringLiteral("Club.qdb"), QStringLiteral("demo-300.qdb")};
        if (c.folderIsAFile)
            expected << QStringLiteral("Backups");
        QStringList files = folderFiles();
        expected.sort();
        files.sort();
        EXPECT_EQ(files, expected);
        if (!c.folderIsAFile) {
            EXPECT_TRUE(backupFolderFiles(path).isEmpty()) << backupFolderFiles(path).join(u' ').toStdString();
        }
        EXPECT_FALSE(ui().isBusyPointer());
        ui().clearLog();
        QFile::remove(folder);
    }
    open(path);
    EXPECT_EQ(window_->S.OpenDbPath, path);
    EXPECT_EQ(versionOf(path), db::kSchemaVersion);
}

// A file of no format this program reads, or one that does not hold what its format says, is
// one message and stays as it was: no copy made, nothing written.
TEST_F(FormatUpgradeTest, AFileOfNoFormatThisProgramReadsIsOneMessageAndUntouched)
{
    struct Case {
        const char* what;
        int format;
        const char* change;  // SQL after the format is made
        const char* prompt;  // how the message starts (%1 the file)
    };
    const Case cases[] = {
        {"no version", 0, "", "QUIL cannot open the file\n%1\n\n'%1' is not a QUIL database file."},
        {"a negative version", -4, "", "QUIL cannot open the file\n%1\n\n'%1' is not a QUIL database file."},
        {"format 1 with an index of its own", 1, "CREATE INDEX Extra ON Payments (CheckNumber)",
         "QUIL cannot open the file\n%1\n\n'%1' is not a QUIL database file: it holds an index 'Extra'"},
        {"format 2 without its amount index", 2, "DROP INDEX PaymentsAmount",
         "QUIL cannot open the file\n%1\n\n'%1' is not a QUIL database file: it has no index 'PaymentsAmount'"},
        {"format 99", 99, "",
         "%1 was written by a newer version of QUIL (file format 99); this version reads formats up to 2."},
        {"upgraded by a newer program", 3, "CREATE TABLE Budget (Year INTEGER, Amount CURRENCY)",
         "%1 was written by a newer version of QUIL (file format 3); this version reads formats up to 2."},
    };
    build();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir_.file(QStringLiteral("Odd%1.qdb").arg(++n));
        db::writeTemplate(path);
        if (c.format == 1)
            quiltest::takeBackToFormat(path, 1);
        {
            sqlite::Connection conn = dbtest::keyedFile(path);
            conn.exec(QStringLiteral("PRAGMA user_version = %1").arg(c.format));
            if (*c.change)
                conn.exec(QString::fromLatin1(c.change));
        }
        const QByteArray bytes = dbtest::digest(path);
        open(path);
        EXPECT_TRUE(window_->S.OpenDbPath.isEmpty());
        ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
        const ui::Message m = ui().messages()[0];
        EXPECT_TRUE(m.prompt.startsWith(QString::fromUtf8(c.prompt).arg(path))) << m.prompt.toStdString();
        if (c.format > db::kSchemaVersion) {
            EXPECT_EQ(m.prompt, QString::fromUtf8(c.prompt).arg(path));
        }
        EXPECT_EQ(m.title, "Unreadable File");
        EXPECT_EQ(m.icon, ui::Icon::Critical);
        EXPECT_EQ(dbtest::digest(path), bytes);
        EXPECT_FALSE(QFileInfo::exists(db::backupFolder(path)));
        ui().clearLog();
    }
}

// A program folder an update left with the earlier template: New Blank still makes a file of the
// current format, which opens without an upgrade or a copy in Backups.
TEST_F(FormatUpgradeTest, NewBlankFromAnOlderTemplateGivesAFileOfTheCurrentFormat)
{
    QFile::remove(templatePath_);
    const QString old = quiltest::copyFormatFixture(1, QStringLiteral("Base.dat"), dir_.path());
    ASSERT_EQ(old, templatePath_);
    const QByteArray templateBytes = dbtest::digest(templatePath_);
    const QString templateRows = rowsAsOpened(templatePath_, 1);

    build();
    const QString made = dir_.file(QStringLiteral("New.qdb"));
    ui().queueFile(made);
    window_->files->mnuFileNewBlank_Click();
    EXPECT_EQ(window_->S.OpenDbPath, made);
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
    window_->files->mnuFileClose_Click();

    EXPECT_EQ(versionOf(made), db::kSchemaVersion);
    EXPECT_EQ(rowsAsOpened(made, 1), templateRows);
    EXPECT_FALSE(QFileInfo::exists(db::backupFolder(made)) && !labelled(made).empty());
    EXPECT_EQ(dbtest::digest(templatePath_), templateBytes);
}

} // namespace
