// Record-set behaviour on a small keyed file: keyset order, rows added at the end, deletes seen
// by other sets, finds, bookmarks, exact counts, edits and the errors the program relies on.
#include "platform/dao/write_unit.h"
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

const QString kConnect = QStringLiteral("pwd=test1");

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = dir_.file("rs.qdb");
        {
            sqlite::Connection c(path_, dao::passwordOf(kConnect).toUtf8(), sqlite::Connection::Mode::Create);
            c.exec("CREATE TABLE Items (ItemID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT(10) COLLATE JETNOCASE, "
                   "Amount CURRENCY, Day DATETIME, Qty INTEGER)");
            c.exec("CREATE INDEX ItemsName ON Items(Name)");
            sqlite::Transaction t(c);
            for (int i = 1; i <= 200; ++i)
                c.exec(QStringLiteral("INSERT INTO Items (Name, Amount, Day, Qty) VALUES ('item%1', %2, '2001-01-%3 00:00:00', %4)")
                           .arg(i, 3, 10, QChar(u'0'))
                           .arg(i * 10000)
                           .arg(1 + i % 28, 2, 10, QChar(u'0'))
                           .arg(i % 7));
            t.commit();
        }
        db_ = dao::Engine::instance().defaultWorkspace().openDatabase(path_, false, false, kConnect);
    }
    void TearDown() override { dao::Engine::instance().defaultWorkspace().close(); }

    int errorOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const jet::DbError& e) {
            return e.number();
        }
        return 0;
    }

    quiltest::TempDir dir_;
    QString path_;
    std::shared_ptr<dao::Database> db_;
};

TEST_F(RecordsetTest, NavigationFollowsTheKeysetOrderAndItsEnds)
{
    auto rs = db_->openRecordset("SELECT * FROM Items WHERE Qty = 3 ORDER BY Name DESC");
    EXPECT_EQ(rs->recordCount(), 29);  // exact at once: a set this small is read whole at open
    EXPECT_FALSE(rs->isBOF());
    EXPECT_EQ(rs->field("Name").toText(), QStringLiteral("item199"));
    rs->movePrevious();
    EXPECT_TRUE(rs->isBOF());
    EXPECT_EQ(errorOf([&] { rs->movePrevious(); }), jet::err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->field(0); }), jet::err::NoCurrentRecord);
    rs->moveLast();
    EXPECT_EQ(rs->field("Name").toText(), QStringLiteral("item003"));
    EXPECT_EQ(rs->absolutePosition(), 28);
    rs->moveNext();
    EXPECT_TRUE(rs->isEOF());
    EXPECT_EQ(rs->absolutePosition(), -1);
    EXPECT_EQ(errorOf([&] { rs->moveNext(); }), jet::err::NoCurrentRecord);

    // Walking forward reads every row once, in order, across the blocks rows are fetched in.
    auto all = db_->openRecordset("Items");
    int n = 0;
    std::int64_t previous = 0;
    for (all->moveFirst(); !all->isEOF(); all->moveNext()) {
        const auto id = all->field("ItemID").toLong();
        EXPECT_GT(id, previous);
        previous = id;
        ++n;
    }
    EXPECT_EQ(n, 200);
    all->setAbsolutePosition(130);
    EXPECT_EQ(all->field(0).toLong(), 131);

    auto empty = db_->openRecordset("SELECT * FROM Items WHERE Qty = 99");
    EXPECT_TRUE(empty->isBOF());
    EXPECT_TRUE(empty->isEOF());
    EXPECT_EQ(empty->recordCount(), 0);
    EXPECT_EQ(errorOf([&] { empty->moveFirst(); }), jet::err::NoCurrentRecord);
}

TEST_F(RecordsetTest, AddedRowsJoinTheEndAndTheCurrentRowStays)
{
    auto rs = db_->openRecordset("SELECT * FROM Items WHERE Qty = 1 ORDER BY Name");
    const int before = rs->recordCount();
    rs->moveFirst();
    const auto firstName = rs->field("Name").toText();
    rs->addNew();
    rs->setField("Name", QStringLiteral("aaa"));  // would sort first; it still joins the end
    rs->setField("Qty", 1);
    rs->setField("Amount", *vb::Currency::fromDecimalText(u"12.3456"));
    rs->update();
    EXPECT_EQ(rs->recordCount(), before + 1);
    EXPECT_EQ(rs->field("Name").toText(), firstName);
    const auto added = rs->lastModified();
    rs->moveLast();
    EXPECT_EQ(rs->bookmark(), added);
    EXPECT_EQ(rs->field("Name").toText(), QStringLiteral("aaa"));
    EXPECT_EQ(rs->field("Amount"), vb::Value(*vb::Currency::fromDecimalText(u"12.3456")));
    EXPECT_GT(rs->field("ItemID").toLong(), 200);

    // A new set reads the row in its proper place.
    auto fresh = db_->openRecordset("SELECT * FROM Items WHERE Qty = 1 ORDER BY Name");
    EXPECT_EQ(fresh->field("Name").toText(), QStringLiteral("aaa"));

    // Adding to an empty set leaves it at its end until the program moves.
    auto empty = db_->openRecordset("SELECT * FROM Items WHERE Qty = 42");
    empty->addNew();
    empty->setField("Qty", 42);
    empty->update();
    EXPECT_EQ(empty->recordCount(), 1);
    empty->setBookmark(empty->lastModified());
    EXPECT_EQ(empty->field("Qty").toLong(), 42);
}

TEST_F(RecordsetTest, EditsAreWrittenAndChecked)
{
    auto rs = db_->openRecordset("Items");
    rs->findFirst("ItemID = 10");
    ASSERT_FALSE(rs->noMatch());
    EXPECT_EQ(errorOf([&] { rs->setField("Name", QStringLiteral("x")); }), jet::err::UpdateWithoutEdit);
    rs->edit();
    rs->setField("Name", QStringLiteral("renamed"));
    EXPECT_EQ(rs->field("Name").toText(), QStringLiteral("renamed"));  // the pending value shows
    rs->update();
    auto check = db_->openRecordset("SELECT * FROM Items WHERE Name = 'RENAMED'");
    EXPECT_EQ(check->recordCount(), 1);

    // A text longer than its field is refused, not cut; nothing changes.
    rs->edit();
    EXPECT_EQ(errorOf([&] { rs->setField("Name", QStringLiteral("elevenchars")); }), jet::err::FieldTooSmall);
    EXPECT_EQ(errorOf([&] { rs->setField("Amount", QStringLiteral("lots")); }), jet::err::DataTypeConversion);
    EXPECT_EQ(errorOf([&] { rs->setField("ItemID", 5); }), jet::err::NotUpdatable);
    EXPECT_EQ(errorOf([&] { rs->setField("Nope", 5); }), jet::err::ItemNotFound);
    rs->setField("Amount", QStringLiteral("1,234.50"));  // a numeric text converts
    rs->setField("Day", QStringLiteral("3/15/2001"));
    rs->update();
    rs->requery();
    rs->findFirst("ItemID = 10");
    EXPECT_EQ(rs->field("Name").toText(), QStringLiteral("renamed"));
    EXPECT_EQ(rs->field("Amount"), vb::Value(vb::Currency::fromRaw(12345000)));
    EXPECT_EQ(rs->field("Day"), vb::Value(vb::DateTime(QDate(2001, 3, 15))));

    rs->edit();
    rs->setField("Name", QStringLiteral("dropped"));
    rs->cancelUpdate();
    EXPECT_EQ(rs->field("Name").toText(), QStringLiteral("renamed"));
}

TEST_F(RecordsetTest, DeletedRowsReadAsDeletedAndAreSkipped)
{
    auto a = db_->openRecordset("SELECT * FROM Items WHERE Qty = 2");
    auto b = db_->openRecordset("SELECT * FROM Items WHERE Qty = 2");
    const int count = a->recordCount();
    a->moveFirst();
    a->moveNext();
    const auto doomed = a->bookmark();
    a->deleteCurrent();
    EXPECT_EQ(a->recordCount(), count - 1);
    EXPECT_EQ(errorOf([&] { a->field(0); }), jet::err::RecordDeleted);
    a->moveFirst();
    a->moveNext();
    EXPECT_NE(a->bookmark(), doomed);  // the deleted row is passed over

    // The other set still holds the key; visiting it shows the row is gone.
    b->setBookmark(doomed);
    EXPECT_EQ(errorOf([&] { b->field("Name"); }), jet::err::RecordDeleted);
    EXPECT_EQ(errorOf([&] { b->edit(); }), jet::err::RecordDeleted);
    b->moveNext();
    EXPECT_NO_THROW(b->field("Name"));
}

TEST_F(RecordsetTest, FindsFollowRecordOrder)
{
    auto rs = db_->openRecordset("SELECT * FROM Items ORDER BY Name DESC");
    rs->findFirst("Qty = 5");
    ASSERT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->field("Name").toText(), QStringLiteral("item194"));
    rs->findNext("Qty = 5");
    EXPECT_EQ(rs->field("Name").toText(), QStringLiteral("item187"));
    rs->findFirst("Name Like 'ITEM00?' AND Qty > 3");
    EXPECT_EQ(rs->field("Name").toText(), QStringLiteral("item006"));
    rs->findFirst("Amount > 199.5");
    EXPECT_EQ(rs->field("Name").toText(), QStringLiteral("item200"));

    // In a set in key order, many matches are walked a batch at a time.
    auto byKey = db_->openRecordset("Items");
    byKey->moveLast();
    byKey->findFirst("Qty >= 0");
    EXPECT_EQ(byKey->field("ItemID").toLong(), 1);
    byKey->setAbsolutePosition(150);
    byKey->findNext("Qty >= 0");
    EXPECT_EQ(byKey->field("ItemID").toLong(), 152);
    byKey->findFirst("ItemID = 999");
    EXPECT_TRUE(byKey->noMatch());
    EXPECT_EQ(byKey->field("ItemID").toLong(), 152);
}

TEST_F(RecordsetTest, FindsOfOneShapeBindTheirValuesToOneStatement)
{
    // Member after member by number, in a set whose order is not the key order: each find binds
    // its number to the statement of the first, and finds its own row.
    auto rs = db_->openRecordset("SELECT * FROM Items ORDER BY Name DESC");
    rs->findFirst("ItemID = 1");
    const std::size_t pooled = db_->pooledStatements();
    for (int id = 2; id <= 200; id += 3) {
        rs->findFirst(QStringLiteral("ItemID = %1").arg(id));
        ASSERT_FALSE(rs->noMatch()) << id;
        EXPECT_EQ(rs->field("ItemID").toLong(), id);
        EXPECT_EQ(rs->absolutePosition(), 200 - id);
    }
    EXPECT_EQ(db_->pooledStatements(), pooled) << "each number prepared a statement of its own";
    // Texts compare case-blind, a quote inside them stays a character.
    rs->findFirst("Name = 'ITEM042'");
    EXPECT_EQ(rs->field("ItemID").toLong(), 42);
    rs->findFirst("Name = 'item042'' OR ''x'' = ''x'");
    EXPECT_TRUE(rs->noMatch());
    EXPECT_EQ(db_->pooledStatements(), pooled + 1);  // the Name finds' one shape

    // Like patterns decide the condition's form: they are prepared for their one use and leave
    // the pool as it was.
    for (int n = 0; n < 10; ++n) {
        rs->findFirst(QStringLiteral("Name Like 'item%1*'").arg(n, 2, 10, QChar(u'0')));
        ASSERT_FALSE(rs->noMatch()) << n;
        EXPECT_TRUE(rs->field("Name").toText().startsWith(QStringLiteral("item%1").arg(n, 2, 10, QChar(u'0'))));
    }
    EXPECT_EQ(db_->pooledStatements(), pooled + 1);

    // A bound value fails as the written one does, and the set stays where it was.
    rs->findFirst("Qty = '3'");
    const auto at = rs->field("ItemID").toLong();
    EXPECT_EQ(errorOf([&] { rs->findFirst("Qty = 'three'"); }), jet::err::DataTypeMismatchInCriteria);
    EXPECT_EQ(rs->field("ItemID").toLong(), at);

    // In key order, a walk of more matches than a batch rebinds the value with each batch.
    {
        dao::WriteUnit unit(*db_);
        auto& c = unit.connection();
        c.exec("INSERT INTO Items (Name, Amount, Day, Qty) SELECT Name, Amount, Day, Qty FROM Items");
        c.exec("INSERT INTO Items (Name, Amount, Day, Qty) SELECT Name, Amount, Day, Qty FROM Items");
        unit.commit();
    }
    auto byKey = db_->openRecordset("Items");
    const std::size_t beforeKeyFinds = db_->pooledStatements();
    for (int id = 1; id <= 800; id += 27) {
        byKey->findFirst(QStringLiteral("ItemID = %1").arg(id));
        EXPECT_EQ(byKey->absolutePosition(), id - 1);
    }
    EXPECT_LE(db_->pooledStatements(), beforeKeyFinds + 1);
    for (const int qty : {3, 4}) {
        int found = 0;
        for (byKey->findFirst(QStringLiteral("Qty = %1").arg(qty)); !byKey->noMatch();
             byKey->findNext(QStringLiteral("Qty = %1").arg(qty))) {
            EXPECT_EQ(byKey->field("Qty").toLong(), qty);
            ++found;
        }
        EXPECT_EQ(found, 4 * 29) << qty;  // 29 of the first 200, four times over
    }
    byKey->findFirst("Amount >= 150");
    EXPECT_EQ(byKey->field("ItemID").toLong(), 150);
    byKey->findNext("Amount >= 150");
    EXPECT_EQ(byKey->field("ItemID").toLong(), 151);
}

TEST_F(RecordsetTest, LargeResultsReadKeysFirstAndRowsOnDemand)
{
    {
        dao::WriteUnit unit(*db_);
        auto& c = unit.connection();
        c.exec("CREATE TABLE Big (BigID INTEGER PRIMARY KEY AUTOINCREMENT, Label TEXT(20) COLLATE JETNOCASE, Grp INTEGER)");
        c.exec("CREATE INDEX BigLabel ON Big(Label)");
        auto s = c.prepare("INSERT INTO Big (Label, Grp) VALUES (?, ?)");
        for (int i = 1; i <= 20000; ++i) {
            // Labels run against the keys, so the label order is not the key order.
            s.bind(1, QStringLiteral("L%1").arg(100000 - i, 6, 10, QChar(u'0'))).bind(2, std::int64_t{i % 10});
            s.step();
            s.reset();
        }
        unit.commit();
        db_->reloadCatalog();
    }
    // Keys are read as far as the set is used: a walk past the first keys, then a row added
    // through another set while this one has not read all its keys, which it must count once.
    auto rs = db_->openRecordset("SELECT * FROM Big WHERE Grp <> 3 ORDER BY Label");
    EXPECT_EQ(rs->field("BigID").toLong(), 20000);
    int steps = 0;
    for (; steps < 12000 && !rs->isEOF(); ++steps)
        rs->moveNext();
    EXPECT_EQ(rs->absolutePosition(), 12000);
    auto adder = db_->openRecordset("Big");
    adder->addNew();
    adder->setField("Label", QStringLiteral("L000000"));
    adder->setField("Grp", 1);
    adder->update();
    EXPECT_EQ(rs->recordCount(), 18000);
    // A jump, then a walk across block edges, then a jump back.
    rs->setAbsolutePosition(17500);
    const auto atJump = rs->field("Label").toText();
    int walked = 0;
    QString previous = atJump;
    for (rs->moveNext(); !rs->isEOF(); rs->moveNext(), ++walked) {
        EXPECT_GT(rs->field("Label").toText(), previous);
        previous = rs->field("Label").toText();
    }
    EXPECT_EQ(walked, 499);
    auto again = db_->openRecordset("SELECT * FROM Big WHERE Grp <> 3 ORDER BY Label");
    EXPECT_EQ(again->recordCount(), 18001);
    rs->setAbsolutePosition(10);
    EXPECT_LT(rs->field("Label").toText(), atJump);

    // Finds in a keyset whose order is not the key order still find the first in record order.
    rs->findFirst("Grp = 7");
    ASSERT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->field("BigID").toLong(), 19997);
    rs->findFirst("BigID = 12");
    EXPECT_EQ(rs->absolutePosition(), 17989);  // ids 13..20000 stand before it, less the 1999 of group 3
    EXPECT_EQ(rs->field("BigID").toLong(), 12);
    const auto mark = rs->bookmark();
    rs->moveFirst();
    rs->setBookmark(mark);
    EXPECT_EQ(rs->field("BigID").toLong(), 12);

    // A row changed through another set shows on the next visit.
    auto other = db_->openRecordset("Big");
    other->findFirst("BigID = 12");
    other->edit();
    other->setField("Label", QStringLiteral("changed"));
    other->update();
    EXPECT_EQ(rs->field("Label").toText(), QStringLiteral("changed"));
}

TEST_F(RecordsetTest, FilteredOrdersComeRightWhetherAnIndexGivesThemOrTheRowsAreSorted)
{
    // The names run against the keys, so an order by name is not the key order.
    {
        dao::WriteUnit unit(*db_);
        unit.connection().exec("UPDATE Items SET Name = 'n' || substr('000' || (1000 - ItemID), -3)");
        unit.commit();
    }
    const struct {
        const char* query;
        std::function<bool(int)> passes;  // by ItemID
        bool descending;                  // by name
    } cases[] = {
        // The condition needs every row, the order an index: the rows that pass are sorted.
        {"SELECT * FROM Items WHERE Qty = 3 ORDER BY Name", [](int i) { return i % 7 == 3; }, false},
        {"SELECT * FROM Items WHERE Qty <> 3 ORDER BY Name DESC", [](int i) { return i % 7 != 3; }, true},
        {"SELECT * FROM Items WHERE Qty = 3 ORDER BY Name, ItemID", [](int i) { return i % 7 == 3; }, false},
        // The index gives both the rows and their order.
        {"SELECT * FROM Items WHERE Name >= 'n900' ORDER BY Name", [](int i) { return 1000 - i >= 900; }, false},
        {"SELECT * FROM Items ORDER BY Name DESC", [](int) { return true; }, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.query);
        auto rs = db_->openRecordset(QString::fromLatin1(k.query));
        std::vector<int> ids;
        for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
            ids.push_back(static_cast<int>(rs->field("ItemID").toLong()));
        std::vector<int> want;
        for (int i = 1; i <= 200; ++i)
            if (k.passes(i))
                want.push_back(i);
        // Names fall as ids rise.
        if (!k.descending)
            std::reverse(want.begin(), want.end());
        EXPECT_EQ(ids, want);
        EXPECT_EQ(rs->recordCount(), static_cast<int>(want.size()));
        // Rows are read by position too, as a grid reads them.
        if (!want.empty()) {
            const auto row = rs->rowAt(static_cast<int>(want.size()) / 2);
            ASSERT_TRUE(row.has_value());
            EXPECT_EQ(row->at(0).toLong(), want[want.size() / 2]);
        }
    }
}

TEST_F(RecordsetTest, ClosedFilesAndReadOnlySetsFailClearly)
{
    auto snap = db_->openRecordset("SELECT Sum(Amount) AS Total, Count(*) AS N FROM Items");
    EXPECT_EQ(snap->field("N").toLong(), 200);
    EXPECT_EQ(snap->field("Total"), vb::Value(vb::Currency::fromUnits(20100)));
    EXPECT_EQ(errorOf([&] { snap->addNew(); }), jet::err::NotUpdatable);

    auto rs = db_->openRecordset("Items");
    EXPECT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 1);
    dao::Engine::instance().defaultWorkspace().close();
    EXPECT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 0);
    EXPECT_NE(errorOf([&] { rs->moveNext(); rs->field(0); }), 0);
    EXPECT_NE(errorOf([&] { db_->openRecordset("Items"); }), 0);
}

TEST_F(RecordsetTest, ASnapshotHoldsItsRowsAndRefusesWhatNeedsARowKey)
{
    auto snap = db_->openRecordset("SELECT DISTINCT Qty FROM Items ORDER BY Qty");
    ASSERT_FALSE(snap->isUpdatable());
    EXPECT_EQ(snap->recordCount(), 7);
    EXPECT_EQ(snap->positionCount(), 7);
    snap->moveLast();
    EXPECT_EQ(snap->field("Qty").toLong(), 6);
    const auto mark = snap->bookmark();
    snap->moveFirst();
    snap->setBookmark(mark);
    EXPECT_EQ(snap->field("Qty").toLong(), 6);
    EXPECT_EQ(errorOf([&] { snap->setBookmark(7); }), jet::err::NoCurrentRecord);
    ASSERT_TRUE(snap->rowAt(2));
    EXPECT_EQ((*snap->rowAt(2))[0].toLong(), 2);
    EXPECT_FALSE(snap->rowAt(7));
    EXPECT_FALSE(snap->isDeletedAt(0));

    // A find is refused before its criterion is read, so an unknown field changes nothing.
    EXPECT_EQ(errorOf([&] { snap->findFirst("Qty = 3"); }), jet::err::NotUpdatable);
    EXPECT_EQ(errorOf([&] { snap->findNext("Nope = 3"); }), jet::err::NotUpdatable);
    EXPECT_EQ(errorOf([&] { snap->edit(); }), jet::err::NotUpdatable);
    EXPECT_EQ(errorOf([&] { snap->deleteCurrent(); }), jet::err::NotUpdatable);
    EXPECT_EQ(snap->field("Qty").toLong(), 6);

    // The rows are the ones read at open until the query runs again.
    db_->execute("DELETE FROM Items WHERE Qty = 0");
    EXPECT_EQ(snap->recordCount(), 7);
    snap->requery();
    EXPECT_EQ(snap->recordCount(), 6);
    EXPECT_EQ(snap->field("Qty").toLong(), 1);
}

TEST_F(RecordsetTest, EverySetHasItsOwnRisingSerialWhichARequeryKeeps)
{
    auto a = db_->openRecordset("Items");
    auto b = db_->openRecordset("Items");
    auto snap = db_->openRecordset("SELECT Count(*) AS N FROM Items");
    EXPECT_GT(a->serial(), 0u);
    EXPECT_LT(a->serial(), b->serial());
    EXPECT_LT(b->serial(), snap->serial());

    const auto serial = a->serial();
    a->requery();
    EXPECT_EQ(a->serial(), serial);
    a->close();
    a->requery();
    EXPECT_EQ(a->serial(), serial);

    // A set opened after one is freed gets a number of its own, wherever it is placed.
    const auto freed = snap->serial();
    snap.reset();
    auto next = db_->openRecordset("SELECT Count(*) AS N FROM Items");
    EXPECT_GT(next->serial(), freed);

    // The numbers are the process's, not the file's.
    quiltest::TempDir otherDir;
    const QString otherPath = otherDir.file("other.qdb");
    {
        sqlite::Connection c(otherPath, dao::passwordOf(kConnect).toUtf8(), sqlite::Connection::Mode::Create);
        c.exec("CREATE TABLE Things (ThingID INTEGER PRIMARY KEY AUTOINCREMENT)");
    }
    auto other = dao::Engine::instance().defaultWorkspace().openDatabase(otherPath, false, false, kConnect);
    EXPECT_GT(other->openRecordset("Things")->serial(), next->serial());
}

TEST_F(RecordsetTest, UnopenableFilesRaiseNumberedErrors)
{
    auto& ws = dao::Engine::instance().defaultWorkspace();
    EXPECT_EQ(errorOf([&] { ws.openDatabase(dir_.file("missing.qdb"), false, false, kConnect); }), jet::err::FileNotFound);
    EXPECT_EQ(errorOf([&] { ws.openDatabase(path_, false, false, "pwd=wrong"); }), jet::err::NotValidPassword);

    QFile text(dir_.file("notes.qdb"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(8192, 'x'));
    text.close();
    EXPECT_EQ(errorOf([&] { ws.openDatabase(text.fileName(), false, false, kConnect); }), jet::err::NotValidPassword);

    QFile::copy(path_, dir_.file("locked.qdb"));
    QFile::setPermissions(dir_.file("locked.qdb"), QFileDevice::ReadOwner);
    if (!QFileInfo(dir_.file("locked.qdb")).isWritable()) {  // root may write anyway
        EXPECT_EQ(errorOf([&] { ws.openDatabase(dir_.file("locked.qdb"), false, false, kConnect); }), jet::err::ReadOnlyDatabase);
    }

    // A damaged file: keep its first page, scramble the rest.
    db_.reset();
    ws.close();
    QFile damaged(path_);
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    damaged.seek(4096);
    damaged.write(QByteArray(damaged.size() - 4096, '\x5a'));
    damaged.close();
    const int n = errorOf([&] {
        auto db = ws.openDatabase(path_, false, false, kConnect);
        auto rs = db->openRecordset("Items");
        for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
            rs->field(1);
    });
    EXPECT_NE(n, 0);
}

} // namespace
