// The shaped command of the member report: how its text is read, what a malformed one gives, and
// the parent rows, child rows and sums it yields on a small file.
#include "reports_fixture.h"

#include "platform/jet/db_error.h"
#include "reports/shape_command.h"
#include "reports/shaped_recordset.h"

#include <gtest/gtest.h>

namespace {

using namespace reportstest;
using reports::ShapedRecordset;

TEST(ShapeCommand, ReadsTheCommandOfTheMemberReport)
{
    const reports::ShapeCommand shape = reports::parseShapeCommand(kMemberShape);
    EXPECT_EQ(shape.parent, "SELECT * FROM MemFullName");
    ASSERT_EQ(shape.children.size(), 1u);
    EXPECT_EQ(shape.children[0].command,
              "SELECT * FROM Payments WHERE [Paymentdate] Between #1/1/2001# AND #12/31/2001# Order by [PaymentDate]");
    EXPECT_EQ(shape.children[0].alias, "QuilPay");
    ASSERT_EQ(shape.children[0].relations.size(), 1u);
    EXPECT_EQ(shape.children[0].relations[0].parentField, "MemberID");
    EXPECT_EQ(shape.children[0].relations[0].childField, "MemberID");
    ASSERT_EQ(shape.aggregates.size(), 1u);
    EXPECT_EQ(shape.aggregates[0].function, "SUM");
    EXPECT_EQ(shape.aggregates[0].member, "QuilPay");
    EXPECT_EQ(shape.aggregates[0].field, "paymentamount");
    EXPECT_EQ(shape.aggregates[0].name, "Gtotal");
}

TEST(ShapeCommand, ReadsTheFormsTheLanguageAllows)
{
    struct Case {
        const char* text;
        const char* child;  // the child query as read
        const char* alias;
        int relations;
        const char* aggregate;  // "" for none
    };
    const Case cases[] = {
        // Letter case, brackets, no AS, blanks around everything.
        {"shape{select * from MemFullName}append({Payments}[Quil Pay]relate [MemberID] to memberid) , sum([Quil Pay].[PaymentAmount]) [Sum]",
         "Payments", "Quil Pay", 1, "Sum"},
        // Braces inside a string, a bracketed name and a date stay part of the query.
        {"SHAPE {SELECT * FROM MemFullName} APPEND ({SELECT * FROM Payments WHERE Destination = 'a}b{' Or [x}] = #1/1/2001#} AS P "
         "RELATE MemberID TO MemberID)",
         "SELECT * FROM Payments WHERE Destination = 'a}b{' Or [x}] = #1/1/2001#", "P", 1, ""},
        // Two fields related, no aggregate.
        {"SHAPE {SELECT * FROM MemFullName} APPEND ({SELECT * FROM Payments} AS P RELATE MemberID TO MemberID, FullName TO Destination)",
         "SELECT * FROM Payments", "P", 2, ""},
    };
    for (const Case& c : cases) {
        const reports::ShapeCommand shape = reports::parseShapeCommand(QString::fromUtf8(c.text));
        ASSERT_EQ(shape.children.size(), 1u) << c.text;
        EXPECT_EQ(shape.children[0].command, QString::fromUtf8(c.child)) << c.text;
        EXPECT_EQ(shape.children[0].alias, QString::fromUtf8(c.alias)) << c.text;
        EXPECT_EQ(static_cast<int>(shape.children[0].relations.size()), c.relations) << c.text;
        EXPECT_EQ(shape.aggregates.empty() ? QString() : shape.aggregates[0].name, QString::fromUtf8(c.aggregate)) << c.text;
    }
}

TEST(ShapeCommand, AMalformedCommandIsADatabaseErrorThatSaysWhere)
{
    const QString child = QStringLiteral("({SELECT * FROM Payments} AS Q RELATE MemberID TO MemberID)");
    struct Case {
        QString text;
        int number;
        const char* says;
    };
    const Case cases[] = {
        {"", 3141, "expected 'SHAPE'"},
        {"SELECT * FROM MemFullName", 3141, "expected 'SHAPE'"},
        {"SHAPE", 3141, "a query between braces"},
        {"SHAPE {SELECT * FROM MemFullName}", 3141, "expected 'APPEND'"},
        {"SHAPE {SELECT * FROM MemFullName APPEND " + child, 3141, "is not closed"},
        {"SHAPE {SELECT * FROM MemFullName WHERE LastName = 'x} APPEND " + child, 3141, "is not closed"},
        {"SHAPE {} APPEND " + child, 3141, "is empty"},
        {"SHAPE {SELECT * FROM MemFullName}} APPEND " + child, 3141, "closes no query"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND", 3141, "expected '(' or SUM"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND ({SELECT * FROM Payments} AS Q RELATE MemberID TO MemberID", 3141, "expected ')'"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND ({SELECT * FROM Payments} AS Q RELATE MemberID MemberID)", 3141, "expected 'TO'"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND ({SELECT * FROM Payments} RELATE MemberID TO MemberID)", 3141, "the name of the child rows"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND " + child + ", SUM(Q.PaymentAmount)", 3141, "the name of the aggregate"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND " + child + ", AVG(Q.PaymentAmount) AS A", 3141, "'AVG' at"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND " + child + ", SUM(Other.PaymentAmount) AS G", 3141, "'Other'"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND " + child + ", " + child, 3141, "named twice"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND SUM(Q.PaymentAmount) AS G", 3141, "relates nowhere"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND " + child + " extra", 3141, "follows the end"},
        {"SHAPE {SELECT * FROM MemFullName} APPEND " + child + " $", 3075, "missing operator"},
    };
    for (const Case& c : cases) {
        try {
            reports::parseShapeCommand(c.text);
            ADD_FAILURE() << "read without complaint: " << c.text.toStdString();
        } catch (const jet::DbError& e) {
            EXPECT_EQ(e.number(), c.number) << c.text.toStdString();
            EXPECT_TRUE(e.description().contains(QString::fromUtf8(c.says)))
                << c.text.toStdString() << "\n  says: " << e.description().toStdString();
        }
    }
}

class ShapedRows : public ReportsFixture {};

TEST_F(ShapedRows, ParentsChildrenAndSumsOfTheMemberReport)
{
    ShapedRecordset shaped(db_, kMemberShape);
    EXPECT_EQ(shaped.fieldNames().mid(0, 5), (QStringList{"MemberID", "FullName", "Address", "CityStateZip", "HomePhone"}));
    EXPECT_EQ(shaped.fieldNames().last(), "Gtotal");
    EXPECT_EQ(shaped.memberNames(), QStringList{"QuilPay"});
    EXPECT_EQ(shaped.memberFieldNames("quilpay").mid(0, 2), (QStringList{"PaymentID", "PaymentAmount"}));
    ASSERT_EQ(shaped.count(), 4);

    struct Expected {
        std::int64_t member;
        const char* name;
        std::vector<const char*> dates;  // of the child rows, in order
        const char* total;               // "" for null
    };
    const Expected expected[] = {
        {2, "John Smith", {"2001-01-15", "2001-06-01"}, "250.5"},
        {3, "Seán O'Brien", {"2001-03-03", "2001-12-31"}, "11.05"},
        {4, "小龍 李", {}, "59.2"},   // 35 weekly gifts: 18 of 2.25 and 17 of 1.10
        {5, " Zoë 🎉", {}, ""},       // the one gift lies in 2000
    };
    const int gtotal = static_cast<int>(shaped.fieldNames().size()) - 1;
    for (int p = 0; p < 4; ++p) {
        const Expected& e = expected[p];
        const std::vector<vb::Value> row = shaped.row(p);
        EXPECT_EQ(row[0].toLong(), e.member);
        EXPECT_EQ(row[1].toText(), QString::fromUtf8(e.name));
        EXPECT_EQ(row[static_cast<std::size_t>(gtotal)].toText(), QString::fromUtf8(e.total)) << e.member;

        std::unique_ptr<report::Rows> children = shaped.children(p, "QuilPay");
        EXPECT_EQ(children->count(), shaped.childCount(p, "QuilPay")) << e.member;
        const int dateField = report::indexOfName(children->fieldNames(), u"PaymentDate");
        const int memberField = report::indexOfName(children->fieldNames(), u"MemberID");
        vb::Currency sum;
        QString previous;
        for (int c = 0; c < children->count(); ++c) {
            const std::vector<vb::Value> child = children->row(c);
            EXPECT_EQ(child[static_cast<std::size_t>(memberField)].toLong(), e.member);
            const QString date = child[static_cast<std::size_t>(dateField)].asDate().toIso().left(10);
            EXPECT_GE(date, previous) << "in date order";
            EXPECT_TRUE(date.startsWith("2001")) << "in the date range";
            if (c < static_cast<int>(e.dates.size())) {
                EXPECT_EQ(date, QString::fromLatin1(e.dates[static_cast<std::size_t>(c)]));
            }
            previous = date;
            sum += child[1].asCurrency();
        }
        if (!e.dates.empty()) {
            EXPECT_EQ(children->count(), static_cast<int>(e.dates.size()));
        }
        // The sum the grouped pass gives is the sum of the rows the narrowed query gives.
        EXPECT_EQ(children->count() == 0 ? QString() : sum.toString(), QString::fromUtf8(e.total)) << e.member;
    }
    EXPECT_EQ(shaped.childCount(2, "QuilPay"), 35);
    EXPECT_THROW(shaped.childCount(0, "Pledges"), jet::DbError);
}

TEST_F(ShapedRows, TheChildQueryIsNarrowedToOneParentAndKeepsItsOrder)
{
    struct Case {
        const char* child;
        const char* narrowed;  // for member 2
    };
    const Case cases[] = {
        {"SELECT * FROM Payments WHERE [Paymentdate] Between #1/1/2001# AND #12/31/2001# Order by [PaymentDate]",
         "SELECT * FROM Payments WHERE ([MemberID] = 2) AND ([Paymentdate] Between #1/1/2001# AND #12/31/2001#) Order by [PaymentDate]"},
        {"SELECT * FROM Payments Order by [PaymentDate]", "SELECT * FROM Payments WHERE [MemberID] = 2 Order by [PaymentDate]"},
        {"SELECT * FROM Payments", "SELECT * FROM Payments WHERE [MemberID] = 2"},
        {"Payments", "SELECT * FROM Payments WHERE [MemberID] = 2"},
        {"SELECT * FROM Payments WHERE Destination = 'Order by' OR [PaymentAmount] > 1 ORDER BY PaymentAmount DESC",
         "SELECT * FROM Payments WHERE ([MemberID] = 2) AND (Destination = 'Order by' OR [PaymentAmount] > 1) ORDER BY PaymentAmount DESC"},
    };
    for (const Case& c : cases) {
        const QString shape = QStringLiteral("SHAPE {SELECT * FROM MemFullName} APPEND ({%1} AS QuilPay RELATE MemberID TO MemberID)")
                                  .arg(QString::fromUtf8(c.child));
        ShapedRecordset shaped(db_, shape);
        EXPECT_EQ(shaped.childQuery(0, "QuilPay"), QString::fromUtf8(c.narrowed));
        std::unique_ptr<report::Rows> rows = shaped.children(0, "QuilPay");
        EXPECT_EQ(rows->count(), shaped.childCount(0, "QuilPay")) << c.child;
    }
    // Every donation of member 2, largest first.
    ShapedRecordset shaped(db_, QStringLiteral("SHAPE {SELECT * FROM MemFullName} APPEND ({SELECT * FROM Payments ORDER BY "
                                               "PaymentAmount DESC} AS P RELATE MemberID TO MemberID), SUM(P.PaymentAmount) AS T"));
    std::unique_ptr<report::Rows> rows = shaped.children(0, "P");
    ASSERT_EQ(rows->count(), 3);
    EXPECT_EQ(rows->row(0)[1].toText(), "150.5");
    EXPECT_EQ(rows->row(2)[1].toText(), "25.25");
    EXPECT_EQ(shaped.row(0).back().toText(), "275.75");
}

TEST_F(ShapedRows, ATextRelationMatchesAsTheDatabaseComparesTexts)
{
    // Destinations relate without regard to letter case, in every alphabet, as the database's
    // own comparison does; the counts of the one pass agree with the rows of the narrowed query.
    auto dest = db_->openRecordset("Dest");
    for (const char* item : {"ROOF", "MISSIONS 宣教", "Nothing"}) {
        dest->addNew();
        dest->setField("DestItem", QString::fromUtf8(item));
        dest->update();
    }
    ShapedRecordset shaped(db_, QStringLiteral("SHAPE {SELECT * FROM Dest} APPEND ({SELECT * FROM Payments Order by PaymentDate} AS P "
                                               "RELATE DestItem TO Destination), SUM(P.PaymentAmount) AS T"));
    struct Expected {
        const char* item;
        int count;
        const char* total;
    };
    const Expected expected[] = {{"General Fund", 1, "500"}, {"ROOF", 2, "125.25"}, {"MISSIONS 宣教", 35, "59.2"}, {"Nothing", 0, ""}};
    ASSERT_EQ(shaped.count(), 4);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(shaped.row(p)[0].toText(), QString::fromUtf8(expected[p].item));
        EXPECT_EQ(shaped.childCount(p, "P"), expected[p].count) << expected[p].item;
        EXPECT_EQ(shaped.children(p, "P")->count(), expected[p].count) << expected[p].item;
        EXPECT_EQ(shaped.row(p)[1].toText(), QString::fromUtf8(expected[p].total)) << expected[p].item;
    }
    db_->execute("DELETE FROM Dest WHERE DestItem <> 'General Fund'");
}

TEST_F(ShapedRows, AnEmptyParentTableGivesNoRowsAndNoError)
{
    ShapedRecordset shaped(db_, QStringLiteral("SHAPE {SELECT * FROM MemFullName WHERE MemberID = 999} APPEND "
                                               "({SELECT * FROM Payments} AS QuilPay RELATE MemberID TO MemberID),"
                                               "SUM(QuilPay.PaymentAmount) AS Gtotal"));
    EXPECT_EQ(shaped.count(), 0);
    EXPECT_EQ(shaped.childCount(0, "QuilPay"), 0);
    EXPECT_EQ(shaped.children(0, "QuilPay")->count(), 0);
}

TEST_F(ShapedRows, QueriesAndFieldsTheDatabaseLacksAreDatabaseErrors)
{
    const auto shape = [](const char* parent, const char* child, const char* relate, const char* sum) {
        return QStringLiteral("SHAPE {%1} APPEND ({%2} AS QuilPay RELATE %3),SUM(QuilPay.%4) AS Gtotal")
            .arg(QString::fromUtf8(parent), QString::fromUtf8(child), QString::fromUtf8(relate), QString::fromUtf8(sum));
    };
    struct Case {
        QString text;
        int number;
    };
    const Case cases[] = {
        {shape("SELECT * FROM MemberList", "SELECT * FROM Payments", "MemberID TO MemberID", "PaymentAmount"), 3078},
        {shape("SELECT * FROM MemFullName", "SELECT * FROM Donations", "MemberID TO MemberID", "PaymentAmount"), 3078},
        {shape("SELECT * FROM MemFullName", "SELECT * FROM Payments WHERE", "MemberID TO MemberID", "PaymentAmount"), 3075},
        {shape("SELECT * FROM MemFullName", "SELECT * FROM Payments", "MemberNo TO MemberID", "PaymentAmount"), 3265},
        {shape("SELECT * FROM MemFullName", "SELECT * FROM Payments", "MemberID TO Member", "PaymentAmount"), 3265},
        {shape("SELECT * FROM MemFullName", "SELECT * FROM Payments", "MemberID TO MemberID", "Amount"), 3265},
        {shape("SELECT * FROM MemFullName", "SELECT * FROM Payments", "MemberID TO MemberID", "Destination"), 13},
    };
    for (const Case& c : cases) {
        try {
            ShapedRecordset shaped(db_, c.text);
            ADD_FAILURE() << "opened: " << c.text.toStdString();
        } catch (const jet::DbError& e) {
            EXPECT_EQ(e.number(), c.number) << c.text.toStdString() << "\n  " << e.description().toStdString();
        }
    }
}

} // namespace
