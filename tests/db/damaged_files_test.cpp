// Files the Open command must refuse: damaged ones (cut off at any page, a changed byte in any
// page), ones that are not the program's (another key, plain SQLite, a folder, other columns or
// types) and crafted ones that bring SQL of their own (a trigger, a view, a table or an index
// the program does not know). Each ends in one "Unreadable File" message naming the file, the
// window in its no-file state and the file's bytes as they were; the next open still works.
// A failure later in the open sequence, in an event it raises included, ends the same way.
#include "frame/dispatch.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"
#include "schema/schema.h"
#include "support/event_wait.h"
#include "support/file_bytes.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

constexpr int kPageSize = 1024;

using quiltest::readBytes;
using quiltest::writeBytes;

// A folder's "bytes" for the before/after comparison: its listing.
QByteArray fingerprint(const QString& path)
{
    if (QFileInfo(path).isDir())
        return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(u'|').toUtf8();
    return QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256);
}

class DamagedFilesTest : public quiltest::WindowTest<> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (HasFatalFailure())
            return;
        // Enough rows that members, donations and both indexes span several pages each.
        sqlite::Connection c = keyed();
        sqlite::Transaction t(c);
        for (int i = 0; i < 40; ++i)
            c.exec(QStringLiteral("INSERT INTO Members (FirstName, LastName, Address) VALUES ('First%1', 'Last%1', 'Street %1')").arg(i));
        for (int i = 0; i < 300; ++i)
            c.exec(QStringLiteral("INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                                  "VALUES (%1, %2, 'General Fund', '2020-03-%3 00:00:00', %4)")
                       .arg(i * 2500)
                       .arg(i)
                       .arg(i % 28 + 10)
                       .arg(i % 40 + 2));
        t.commit();
    }

    // A copy of the good file changed by `change` (run on a keyed connection to it).
    QString crafted(const QString& name, const std::function<void(sqlite::Connection&)>& change)
    {
        const QString path = dir_.file(name);
        QFile::copy(file_, path);
        sqlite::Connection c(path, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
        change(c);
        return path;
    }

    QString withBytes(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir_.file(name);
        writeBytes(path, bytes);
        return path;
    }

    // Opens the file on a new window and checks the refusal.
    void expectRefused(const QString& what, const QString& path, const QString& reason = {})
    {
        SCOPED_TRACE(what.toStdString());
        build();
        ui().clearLog();
        const QByteArray before = fingerprint(path);
        open(path);
        frmMain& f = *window_;
        // A damaged page the open did not read is found by the page check after it.
        auto& files = static_cast<FileCommands&>(*f.files);
        ASSERT_TRUE(quiltest::runEventsUntil([&] { return !files.FileJobsPending(); }));
        const auto messages = ui().messages();
        ASSERT_EQ(messages.size(), 1u) << ui().trace().join(" | ").toStdString();
        EXPECT_EQ(messages[0].title, "Unreadable File");
        EXPECT_EQ(messages[0].icon, ui::Icon::Critical);
        EXPECT_TRUE(messages[0].prompt.contains(path)) << messages[0].prompt.toStdString();
        if (!reason.isEmpty()) {
            EXPECT_TRUE(messages[0].prompt.contains(reason)) << messages[0].prompt.toStdString();
        }
        EXPECT_EQ(ui().beepCount(), 1);
        EXPECT_TRUE(f.S.OpenDbPath.isEmpty());
        EXPECT_EQ(f.S.db, nullptr);
        EXPECT_TRUE(f.mnuFileOpen->isEnabled());
        EXPECT_FALSE(f.mnuFileClose->isEnabled());
        EXPECT_FALSE(f.mnuEdit->isEnabled());
        EXPECT_TRUE(f.EntNme->isHidden());
        EXPECT_EQ(f.datPrimaryRS->recordset(), nullptr);
        EXPECT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 0);
        EXPECT_EQ(fingerprint(path), before) << "the file was changed";
    }
};

TEST_F(DamagedFilesTest, EveryDamagedOrForeignFileIsRefusedAndLeftAsItWas)
{
    const QByteArray good = readBytes(file_);
    const int pages = int(good.size() / kPageSize);
    ASSERT_GT(pages, 20);

    struct Case {
        QString what;
        QString path;
        QString reason;  // a part of the message that says why, when it is ours to word
    };
    std::vector<Case> cases;
    cases.push_back({"zero bytes", withBytes("zero.qdb", {}), "not a QUIL database file"});
    for (int p = 1; p < pages; ++p)
        cases.push_back({QStringLiteral("cut off after page %1").arg(p),
                         withBytes(QStringLiteral("cut%1.qdb").arg(p), good.left(p * kPageSize)), {}});
    cases.push_back({"cut off inside the last page", withBytes("cutmid.qdb", good.left(good.size() - 300)), {}});
    for (int p = 0; p < pages; ++p) {
        QByteArray bytes = good;
        // Within the page's content, away from its start: a different spot on every page.
        const int at = p * kPageSize + 17 + (p * 37) % (kPageSize - 34);
        bytes[at] = char(bytes[at] ^ 0x04);
        cases.push_back({QStringLiteral("a byte changed in page %1").arg(p + 1),
                         withBytes(QStringLiteral("flip%1.qdb").arg(p), bytes), {}});
    }
    {
        const QString path = dir_.file("otherkey.qdb");
        sqlite::Connection c(path, "not the program's", sqlite::Connection::Mode::Create);
        db::createSchema(c);
        cases.push_back({"another key", path, "password"});
    }
    {
        const QString path = dir_.file("plain.qdb");
        sqlite::Connection c(path, QByteArray(), sqlite::Connection::Mode::Create);
        db::createSchema(c);
        db::insertTemplateRows(c);
        cases.push_back({"plain SQLite with the program's tables", path, "password"});
    }
    {
        const QString path = dir_.file("folder.qdb");
        QDir().mkpath(path);
        cases.push_back({"a folder", path, "folder"});
    }
    cases.push_back({"an extra column", crafted("extracol.qdb", [](sqlite::Connection& c) {
                         c.exec("ALTER TABLE Members ADD COLUMN Shoe TEXT");
                     }), "other columns or types"});
    cases.push_back({"a column of another type", crafted("othertype.qdb", [](sqlite::Connection& c) {
                         c.exec("PRAGMA writable_schema=ON");
                         c.exec("UPDATE sqlite_master SET sql = replace(sql, 'PaymentAmount CURRENCY', 'PaymentAmount TEXT') "
                                "WHERE name = 'Payments'");
                     }), "other columns or types"});
    cases.push_back({"a trigger", crafted("trigger.qdb", [](sqlite::Connection& c) {
                         c.exec("CREATE TRIGGER Wipe AFTER INSERT ON Payments BEGIN DELETE FROM Members; END");
                     }), "trigger 'Wipe'"});
    cases.push_back({"a trigger on update", crafted("trigger2.qdb", [](sqlite::Connection& c) {
                         c.exec("CREATE TRIGGER Steal AFTER UPDATE ON Passwords BEGIN UPDATE Payments SET MemberID = 1; END");
                     }), "trigger 'Steal'"});
    cases.push_back({"a view", crafted("view.qdb", [](sqlite::Connection& c) {
                         c.exec("CREATE VIEW Everything AS SELECT * FROM Members");
                     }), "view 'Everything'"});
    cases.push_back({"a table of its own", crafted("table.qdb", [](sqlite::Connection& c) {
                         c.exec("CREATE TABLE Extra (x)");
                     }), "table 'Extra'"});
    cases.push_back({"an index of its own", crafted("index.qdb", [](sqlite::Connection& c) {
                         c.exec("CREATE INDEX ByCity ON Members (City)");
                     }), "index 'ByCity'"});
    cases.push_back({"one of the program's indexes changed", crafted("index2.qdb", [](sqlite::Connection& c) {
                         c.exec("DROP INDEX PaymentsDate");
                         c.exec("CREATE INDEX PaymentsDate ON Payments (PaymentDate, Destination)");
                     }), "index 'PaymentsDate'"});
    cases.push_back({"a check constraint", crafted("check.qdb", [](sqlite::Connection& c) {
                         c.exec("PRAGMA writable_schema=ON");
                         c.exec("UPDATE sqlite_master SET sql = replace(sql, 'DestItem TEXT(50) COLLATE JETNOCASE', "
                                "'DestItem TEXT(50) COLLATE JETNOCASE CHECK (DestItem <> ''x'')') WHERE name = 'Dest'");
                     }), "other columns or types"});
    if (geteuid() != 0) {
        const QString path = crafted("private.qdb", [](sqlite::Connection&) {});
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        cases.push_back({"no read permission", path, "permission"});
    }

    for (const Case& c : cases)
        expectRefused(c.what, c.path, c.reason);

    // After all of that a good file opens in the same process.
    build();
    ui().clearLog();
    open(file_);
    EXPECT_EQ(window_->S.OpenDbPath, file_);
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join(" | ").toStdString();
}

TEST_F(DamagedFilesTest, AFailureLaterInTheOpenSequenceLeavesNoHalfOpenWindow)
{
    // A failure in an event the open raises (here the member reposition, as a page that could
    // not be read there would fail it) is one "Unreadable File", not a "QUIL Data Error" and a
    // window bound to half a file.
    frmMain& f = build();
    int raised = 0;
    QObject::connect(f.datPrimaryRS, &data::DataControl::reposition, f.datPrimaryRS, frame::AsEvent(f, [&raised] {
                         if (++raised == 2)
                             throw jet::DbError(jet::err::DiskOrNetworkError, QStringLiteral("Disk or network error (read)."));
                     }));
    const QByteArray before = fingerprint(file_);
    open(file_);
    ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join(" | ").toStdString();
    EXPECT_EQ(ui().messages()[0].title, "Unreadable File");
    EXPECT_TRUE(ui().messages()[0].prompt.contains("Disk or network error (read). (error 3043)"));
    EXPECT_TRUE(f.S.OpenDbPath.isEmpty());
    EXPECT_EQ(f.S.db, nullptr);
    EXPECT_TRUE(f.mnuFileOpen->isEnabled());
    EXPECT_TRUE(f.EntNme->isHidden());
    EXPECT_EQ(f.windowTitle(), " QUIL    ");
    EXPECT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 0);
    // The logo's rewrite comes after the member table is bound, so the file is untouched.
    EXPECT_EQ(fingerprint(file_), before);

    // The window is usable: the same file opens once the fault is gone.
    ui().clearLog();
    open(file_);
    EXPECT_EQ(f.S.OpenDbPath, file_);
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join(" | ").toStdString();
}

} // namespace
