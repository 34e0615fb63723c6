// The write unit: every way a unit ends moves the write generation and leaves the record sets
// holding what the file holds, nested units are savepoints, and the connection refuses a write
// that goes around a unit.
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/dao/write_unit.h"
#include "platform/jet/db_error.h"
#include "support/fixture_db.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class WriteUnitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture.exec({quiltest::membersTableSql(), quiltest::insertMemberSql("Ann", "Adams", "1 Elm St"),
                      quiltest::insertMemberSql("Bob", "Brown", "2 Oak Ave"),
                      quiltest::insertMemberSql("Cy", "Clark", "3 Pine Rd")});
        db = fixture.open();
    }
    void TearDown() override { dao::Engine::instance().defaultWorkspace().close(); }

    // Members as the file holds them, read by a set of its own.
    int storedCount() const { return db->openRecordset("SELECT * FROM Members")->recordCount(); }

    quiltest::TempDir dir;
    quiltest::FixtureDatabase fixture{dir.file("members.qdb")};
    std::shared_ptr<dao::Database> db;
};

void addMember(dao::Recordset& rs, const char* last)
{
    rs.addNew();
    rs.setField("FirstName", vb::Value(QStringLiteral("New")));
    rs.setField("LastName", vb::Value(QString::fromLatin1(last)));
    rs.update();
}

// Each row: what a command does with a set of all members inside its unit, and whether it
// commits. Afterwards the set must count what the file holds and show its current member.
TEST_F(WriteUnitTest, EveryEndOfAUnitLeavesTheSetsAsTheFileIsAndMovesTheGeneration)
{
    const struct {
        const char* name;
        std::function<void(dao::Recordset&)> work;
        bool commit;
        int stored;          // members in the file afterwards
        int setCount;        // rows the set counts afterwards
        const char* current; // last name of the set's current row afterwards
    } cases[] = {
        {"an added row, committed", [](dao::Recordset& rs) { addMember(rs, "Kept"); }, true, 4, 4, "Adams"},
        {"an added row, rolled back", [](dao::Recordset& rs) { addMember(rs, "Gone"); }, false, 3, 3, "Adams"},
        {"two added rows, rolled back",
         [](dao::Recordset& rs) {
             addMember(rs, "One");
             addMember(rs, "Two");
         },
         false, 3, 3, "Adams"},
        {"a deleted row, committed",
         [](dao::Recordset& rs) {
             rs.moveNext();
             rs.deleteCurrent();
         },
         true, 2, 2, ""},
        {"a deleted row, rolled back: the row is current again",
         [](dao::Recordset& rs) {
             rs.moveNext();
             rs.deleteCurrent();
         },
         false, 3, 3, "Brown"},
        {"a row added and another deleted, rolled back",
         [](dao::Recordset& rs) {
             addMember(rs, "Gone");
             rs.moveLast();
             rs.movePrevious();
             rs.deleteCurrent();
         },
         false, 3, 3, "Clark"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fixture.exec({"DELETE FROM Members", quiltest::insertMemberSql("Ann", "Adams", "1 Elm St"),
                      quiltest::insertMemberSql("Bob", "Brown", "2 Oak Ave"),
                      quiltest::insertMemberSql("Cy", "Clark", "3 Pine Rd")});
        db->noteWrite();
        auto rs = db->openRecordset("Members");
        const std::uint64_t before = db->writeGeneration();
        {
            dao::WriteUnit unit(*db);
            c.work(*rs);
            if (c.commit)
                unit.commit();
        }
        EXPECT_GT(db->writeGeneration(), before);
        EXPECT_FALSE(db->isWriting());
        EXPECT_EQ(storedCount(), c.stored);
        EXPECT_EQ(rs->recordCount(), c.setCount);
        EXPECT_EQ(rs->hasCurrentRow() ? rs->field("LastName").toText() : QString(), QString::fromLatin1(c.current));
        // The set still writes afterwards: its keys are the file's.
        rs->moveFirst();
        rs->edit();
        rs->setField("Address", vb::Value(QStringLiteral("9 New Rd")));
        rs->update();
        EXPECT_EQ(db->openRecordset("SELECT * FROM Members WHERE Address = '9 New Rd'")->recordCount(), 1);
    }
}

TEST_F(WriteUnitTest, AnInnerUnitIsASavepointOfTheOuterOne)
{
    auto rs = db->openRecordset("Members");
    {
        dao::WriteUnit outer(*db);
        addMember(*rs, "Outer");
        try {
            dao::WriteUnit inner(*db);
            addMember(*rs, "Inner");
            throw jet::DbError(jet::err::EngineError, QStringLiteral("refused"));
        } catch (const jet::DbError&) {
        }
        EXPECT_EQ(rs->recordCount(), 4);  // the inner row is off the set again, the outer stays
        outer.commit();
    }
    EXPECT_EQ(storedCount(), 4);
    EXPECT_EQ(db->openRecordset("SELECT * FROM Members WHERE LastName = 'Outer'")->recordCount(), 1);
    EXPECT_EQ(db->openRecordset("SELECT * FROM Members WHERE LastName = 'Inner'")->recordCount(), 0);

    // An outer rollback takes back what committed inner units wrote.
    {
        dao::WriteUnit outer(*db);
        {
            dao::WriteUnit inner(*db);
            addMember(*rs, "Inner");
            inner.commit();
        }
        EXPECT_EQ(rs->recordCount(), 5);
    }
    EXPECT_EQ(rs->recordCount(), 4);
    EXPECT_EQ(storedCount(), 4);
}

TEST_F(WriteUnitTest, AWriteAroundAUnitIsRefusedAndAWatcherHearsEveryUnit)
{
    const auto errorOf = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const jet::DbError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_NE(errorOf([&] { db->connection().exec("INSERT INTO Members (LastName) VALUES ('Sneaky')"); }), 0);
    EXPECT_EQ(storedCount(), 3);

    int heard = 0;
    {
        const auto watch = db->watchWrites([&] { ++heard; });
        quiltest::write(*db, "INSERT INTO Members (LastName) VALUES ('Open')");
        EXPECT_EQ(heard, 1);
        EXPECT_NE(errorOf([&] { db->execute("UPDATE Members SET MemberID = 2 WHERE MemberID = 1"); }), 0);
        EXPECT_EQ(heard, 2) << "a rolled-back unit is heard too";
    }
    quiltest::write(*db, "DELETE FROM Members WHERE LastName = 'Open'");
    EXPECT_EQ(heard, 2) << "a watch let go hears nothing";
    EXPECT_EQ(storedCount(), 3);

    // A file opened read-only refuses a unit before anything starts.
    dao::Engine::instance().defaultWorkspace().close();
    auto readOnly = dao::Engine::instance().defaultWorkspace().openDatabase(fixture.path(), false, true, fixture.connect());
    EXPECT_EQ(errorOf([&] { dao::WriteUnit unit(*readOnly); }), jet::err::ReadOnlyDatabase);
    EXPECT_FALSE(readOnly->isWriting());
}

} // namespace
