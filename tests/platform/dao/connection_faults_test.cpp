// What a connection says when the world around the file changes: another copy of the program
// holding the file's write lock for a moment (the write waits for it; only a lock held on
// beyond the wait is "in use"), and the file deleted or renamed while it is open (the file is
// gone, not "read-only").
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "support/temp_dir.h"

#include <QFile>
#include <chrono>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace {

using sqlite::Connection;

const QByteArray kKey = QByteArrayLiteral("connection faults");

QString makeFile(const quiltest::TempDir& dir, const QString& name)
{
    const QString path = dir.file(name);
    Connection c(path, kKey, Connection::Mode::Create);
    c.exec(QStringLiteral("CREATE TABLE Things (x INTEGER)"));
    c.exec(QStringLiteral("INSERT INTO Things VALUES (1)"));
    return path;
}

TEST(ConnectionFaults, AWriteWaitsForAnotherCopysLockAndReportsInUseOnlyWhenItStays)
{
    quiltest::TempDir dir;
    const QString path = makeFile(dir, QStringLiteral("shared.qdb"));

    struct Case {
        const char* what;
        std::chrono::milliseconds held;  // how long the other copy keeps its write transaction
        bool succeeds;
    };
    const Case cases[] = {
        {"a lock held for a moment", std::chrono::milliseconds(150), true},
        {"a lock held on and on", std::chrono::milliseconds(6000), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::promise<void> locked;
        std::promise<void> release;
        std::thread other([&] {
            Connection theirs(path, kKey, Connection::Mode::ReadWrite);
            theirs.exec(QStringLiteral("BEGIN IMMEDIATE"));
            theirs.exec(QStringLiteral("INSERT INTO Things VALUES (2)"));
            locked.set_value();
            release.get_future().wait_for(c.held);
            theirs.exec(QStringLiteral("COMMIT"));
        });
        locked.get_future().wait();
        Connection ours(path, kKey, Connection::Mode::ReadWrite);
        try {
            ours.exec(QStringLiteral("INSERT INTO Things VALUES (3)"));
            EXPECT_TRUE(c.succeeds) << "the write went through a lock held on";
        } catch (const jet::DbError& e) {
            EXPECT_FALSE(c.succeeds) << "the write gave up at once: " << e.description().toStdString();
            EXPECT_EQ(e.number(), jet::err::CannotOpenFile);
            EXPECT_TRUE(e.description().contains("in use")) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains(path)) << e.description().toStdString();
        }
        release.set_value();
        other.join();
    }
}

TEST(ConnectionFaults, AFileDeletedOrRenamedWhileOpenIsReportedAsGone)
{
    quiltest::TempDir dir;
    const std::pair<const char*, std::function<bool(const QString&)>> cases[] = {
        {"deleted", [](const QString& path) { return QFile::remove(path); }},
        {"renamed", [](const QString& path) { return QFile::rename(path, path + QStringLiteral(".moved")); }},
    };
    int n = 0;
    for (const auto& [what, change] : cases) {
        SCOPED_TRACE(what);
        const QString path = makeFile(dir, QStringLiteral("gone%1.qdb").arg(++n));
        Connection c(path, kKey, Connection::Mode::ReadWrite);
        c.exec(QStringLiteral("SELECT count(*) FROM Things"));
        ASSERT_TRUE(change(path));
        try {
            c.exec(QStringLiteral("INSERT INTO Things VALUES (4)"));
            ADD_FAILURE() << "the write to a file that is gone was reported as done";
        } catch (const jet::DbError& e) {
            EXPECT_EQ(e.number(), jet::err::FileNotFound);
            EXPECT_TRUE(e.description().contains("deleted, moved or renamed")) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains(path)) << e.description().toStdString();
            EXPECT_FALSE(e.description().contains("read-only")) << e.description().toStdString();
        }
    }
}

} // namespace
