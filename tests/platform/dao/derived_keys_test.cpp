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

// Expects the connection to refuse the file as keyed otherwise.
void expectRefused(const QString& path, const QByteArray& password)
{
    Connection c(path, password, Connection::Mode::ReadOnly);
    try {
        c.verifyReadable(path);
        ADD_FAILURE() << "the file opened with " << password.left(40).toStdString();
    } catch (const jet::DbError& e) {
        EXPECT_EQ(e.number(), jet::err::NotValidPassword);
    }
}

// A file keyed with a passphrase of its own: what is set is exactly what opens it, whatever its
// length or script; neither the passphrase through SQLCipher's own derivation nor the program's
// password opens it; the key forgotten at close is derived again at the next open.
TEST(DerivedKeys, AFileKeyedWithAPassphraseOpensWithItAloneAndAfterItsKeysAreForgotten)
{
    quiltest::TempDir dir;
    const QByteArray passphrases[] = {"x", QStringLiteral("sch\u00f6n \u05e9\u05dc\u05d5\u05dd \U0001F511").toUtf8(), QByteArray(10000, 'p'),
                                      "with = and ; and ' quotes"};
    int n = 0;
    for (const QByteArray& passphrase : passphrases) {
        SCOPED_TRACE(passphrase.left(30).toStdString());
        const QString path = dir.file(QStringLiteral("keyed%1.qdb").arg(++n));
        {
            const QByteArray key = sqlite::newPassphraseKey(passphrase);
            RawFile raw(path, key);
            ASSERT_EQ(raw.exec("CREATE TABLE Things (x INTEGER); INSERT INTO Things VALUES (1), (2);"), SQLITE_OK);
        }
        EXPECT_TRUE(sqlite::carriesPassphrase(path));
        for (int pass = 0; pass < 2; ++pass) {
            Connection c(path, passphrase, Connection::Mode::ReadOnly);
            c.verifyReadable(path);
            EXPECT_EQ(countThrough(c), 2);
            sqlite::forgetKeysOf(passphrase);
        }
        expectRefused(path, "program's password");
        expectRefused(path, passphrase + "x");
        RawFile raw(path, passphrase);
        EXPECT_EQ(raw.count(), -1) << "SQLCipher's own derivation of the passphrase read the file";
    }
    // Two files of one passphrase get two salts.
    EXPECT_NE(sqlite::newPassphraseKey("same").right(34), sqlite::newPassphraseKey("same").right(34));
    // A file of the program's password carries no mark.
    const QString plain = dir.file(QStringLiteral("plain.qdb"));
    RawFile(plain, "program").exec("CREATE TABLE Things (x INTEGER)");
    EXPECT_FALSE(sqlite::carriesPassphrase(plain));
}

} // namespace
