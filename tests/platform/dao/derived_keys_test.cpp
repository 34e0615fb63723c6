// The key kept per password and salt must be the very key SQLCipher derives, or every second
// connection to a file would read it as foreign; and a file without a salt yet must get the
// password, or it would be written under a key no later open derives.
#include "platform/dao/derived_keys.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "support/temp_dir.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <gtest/gtest.h>

namespace {

using sqlite::Connection;

// SQLCipher on its own, keyed with the password as given: no derived key of ours involved.
struct RawFile {
    sqlite3* db = nullptr;
    RawFile(const QString& path, const QByteArray& password)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_key(db, password.constData(), static_cast<int>(password.size()));
    }
    ~RawFile() { sqlite3_close_v2(db); }
    int exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
    int count()
    {
        sqlite3_stmt* s = nullptr;
        int n = -1;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM Things", -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
            n = sqlite3_column_int(s, 0);
        sqlite3_finalize(s);
        return n;
    }
};

int countThrough(Connection& c)
{
    sqlite::Statement s = c.prepare(QStringLiteral("SELECT count(*) FROM Things"));
    s.step();
    return static_cast<int>(s.int64(0));
}

TEST(DerivedKeys, FilesSqlCipherKeyedOpenThroughTheKeptKeyAndAWrongPasswordStaysWrong)
{
    quiltest::TempDir dir;
    // Two files of one password (two salts), one of another, and a non-ASCII password.
    const struct {
        const char* name;
        QByteArray password;
        int rows;
    } files[] = {
        {"a.qdb", "one password", 1},
        {"b.qdb", "one password", 2},
        {"c.qdb", "another", 3},
        {"d.qdb", QStringLiteral("gr\u00fc\u00dfe \u20ac").toUtf8(), 4},
    };
    for (const auto& f : files) {
        RawFile raw(dir.file(QString::fromLatin1(f.name)), f.password);
        ASSERT_EQ(raw.exec("CREATE TABLE Things (x INTEGER)"), SQLITE_OK);
        for (int i = 0; i < f.rows; ++i)
            ASSERT_EQ(raw.exec("INSERT INTO Things VALUES (1)"), SQLITE_OK);
    }
    // Twice over: the first pass derives, the second takes the kept keys.
    for (int pass = 0; pass < 2; ++pass)
        for (const auto& f : files) {
            SCOPED_TRACE(f.name);
            const QString path = dir.file(QString::fromLatin1(f.name));
            EXPECT_TRUE(sqlite::connectionKey(path, f.password).startsWith("x'"));
            Connection c(path, f.password, Connection::Mode::ReadWrite);
            c.verifyReadable(path);
            EXPECT_EQ(countThrough(c), f.rows);
            Connection wrong(path, "not " + f.password, Connection::Mode::ReadOnly);
            try {
                wrong.verifyReadable(path);
                ADD_FAILURE() << "a wrong password read the file";
            } catch (const jet::DbError& e) {
                EXPECT_EQ(e.number(), jet::err::NotValidPassword);
            }
        }
}

TEST(DerivedKeys, AFileWithoutAFirstPageGetsThePasswordSoSqlCipherOpensItLater)
{
    quiltest::TempDir dir;
    const QByteArray password = "new files";
    const QString absent = dir.file(QStringLiteral("absent.qdb"));
    const QString empty = dir.file(QStringLiteral("empty.qdb"));
    const QString shortFile = dir.file(QStringLiteral("short.qdb"));
    QFile(empty).open(QIODevice::WriteOnly);
    {
        QFile f(shortFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100, 'x'));
    }
    EXPECT_EQ(sqlite::connectionKey(absent, password), password);
    EXPECT_EQ(sqlite::connectionKey(empty, password), password);
    EXPECT_EQ(sqlite::connectionKey(shortFile, password), password);
    EXPECT_EQ(sqlite::connectionKey(absent, {}), QByteArray());

    for (const QString& path : {absent, empty}) {
        {
            Connection c(path, password, Connection::Mode::Create);
            c.exec(QStringLiteral("CREATE TABLE Things (x INTEGER)"));
            c.exec(QStringLiteral("INSERT INTO Things VALUES (7)"));
        }
        RawFile raw(path, password);
        EXPECT_EQ(raw.count(), 1) << path.toStdString();
    }
}

} // namespace
