// The database's statement pool through its leases: what comes back, when, and how much is kept.
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/jet/db_error.h"
#include "support/fixture_db.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

class StatementLeaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture.exec({QStringLiteral("CREATE TABLE Items (ItemID INTEGER PRIMARY KEY AUTOINCREMENT, Qty INTEGER)"),
                      QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                                     "INSERT INTO Items (Qty) SELECT i % 7 FROM n")});
        db = fixture.open();
    }
    void TearDown() override { dao::Engine::instance().defaultWorkspace().close(); }

    quiltest::TempDir dir;
    quiltest::FixtureDatabase fixture{dir.file("lease.qdb")};
    std::shared_ptr<dao::Database> db;
};

TEST_F(StatementLeaseTest, AStatementComesBackResetHoweverItsLeaseEnds)
{
    // abs() of the lowest integer overflows: the step fails and the exception ends the lease.
    const QString overflowing = QStringLiteral("SELECT abs(?)");
    const auto pooled = db->pooledStatements();
    const sqlite3_stmt* failed = nullptr;
    EXPECT_THROW(
        {
            dao::StatementLease s = db->lease(overflowing);
            failed = s->handle();
            s->bind(1, std::numeric_limits<std::int64_t>::min());
            s->step();
        },
        jet::DbError);
    EXPECT_EQ(db->pooledStatements(), pooled + 1);
    {
        dao::StatementLease again = db->lease(overflowing);
        EXPECT_EQ(again->handle(), failed);  // the pooled one, not prepared anew
        EXPECT_EQ(db->pooledStatements(), pooled);
        ASSERT_TRUE(again->step());
        EXPECT_TRUE(again->isNull(0));  // its binding was cleared
    }

    // A lease ended in the middle of a read: the next holder starts from the first row.
    const QString keys = QStringLiteral("SELECT ItemID FROM Items ORDER BY ItemID");
    {
        dao::StatementLease s = db->lease(keys);
        ASSERT_TRUE(s->step() && s->step());
        EXPECT_EQ(s->int64(0), 2);
    }
    dao::StatementLease s = db->lease(keys);
    ASSERT_TRUE(s->step());
    EXPECT_EQ(s->int64(0), 1);
}

TEST_F(StatementLeaseTest, AMovedLeaseGivesBackOnceAndAReplacedOneAtOnce)
{
    const auto pooled = db->pooledStatements();
    dao::StatementLease a = db->lease(QStringLiteral("SELECT 1"));
    dao::StatementLease b = std::move(a);
    EXPECT_FALSE(a.isValid());
    a = std::move(b);
    EXPECT_FALSE(b.isValid());
    EXPECT_EQ(db->pooledStatements(), pooled);
    a = db->lease(QStringLiteral("SELECT 2"));  // the statement it held goes back now
    EXPECT_EQ(db->pooledStatements(), pooled + 1);
    a = dao::StatementLease();
    b = dao::StatementLease();
    EXPECT_EQ(db->pooledStatements(), pooled + 2);
}

TEST_F(StatementLeaseTest, ThePoolStaysBoundedAndAClosedDatabaseTakesNothingBack)
{
    const std::size_t taken = dao::Database::kStatementPoolLimit + 10;
    {
        std::vector<dao::StatementLease> held;
        for (std::size_t i = 0; i < taken; ++i)
            held.push_back(db->lease(QStringLiteral("SELECT %1").arg(i)));
    }
    EXPECT_EQ(db->pooledStatements(), dao::Database::kStatementPoolLimit);
    // Every one of them could be leased again from the pool without growing it.
    for (std::size_t i = 0; i < taken; ++i)
        db->lease(QStringLiteral("SELECT %1").arg(i));
    EXPECT_EQ(db->pooledStatements(), dao::Database::kStatementPoolLimit);

    dao::StatementLease open = db->lease(QStringLiteral("SELECT ItemID FROM Items"));
    ASSERT_TRUE(open->step());
    db->close();
    EXPECT_EQ(db->pooledStatements(), 0u);
    open = dao::StatementLease();
    EXPECT_EQ(db->pooledStatements(), 0u);
    EXPECT_THROW(db->lease(QStringLiteral("SELECT 1")), jet::DbError);
}

TEST_F(StatementLeaseTest, ARecordSetGivesBackTheStatementsItHoldsWhenItGoes)
{
    // A set too large to be read whole at open reads a jump alone and a step in a block; both
    // statements stay leased while the set lives.
    for (const bool closeFirst : {false, true}) {
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Items WHERE Qty <> 3"));
        rs->setAbsolutePosition(1500);
        rs->field(0);
        rs->moveNext();
        rs->field(0);
        const auto whileOpen = db->pooledStatements();
        if (closeFirst)
            rs->close();
        rs.reset();
        EXPECT_EQ(db->pooledStatements(), whileOpen + 2) << (closeFirst ? "closed" : "destroyed");
    }
}

} // namespace
