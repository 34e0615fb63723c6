// Every query and criterion text the program issues, run through the dialect translator and the
// record sets on a small file, checked against the rows it must give.
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/jet/db_error.h"
#include "schema/connect_key.h"
#include "schema/template.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class DialectQueries : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new quiltest::TempDir;
        const QString path = dir_->file("fixture.qdb");
        db::writeTemplate(path);
        db_ = dao::Engine::instance().defaultWorkspace().openDatabase(path, false, false,
                                                                       db::DescrambleConnect(db::kScrambledConnect));
        // Member 1 comes with the template.
        const char* members[][5] = {
            {"John", "Smith", "12 Main St", "Boston", "MA"},
            {"Anna", "Smythe", "5 Elm St", "Boston", "MA"},
            {"Seán", "O'Brien", "7 Oak Rd", "Cambridge", "MA"},
            {"Émile", "Émond", "3 Rue de Paris", "Montréal", "QC"},
            {"Jürgen", "MÜLLER", nullptr, "Boston", "MA"},
            {"jane", "jones", "9 Pine Ave", "Springfield", "IL"},
            {"Jack", "Sanders", "1 Elm St", "boston", "MA"},
        };
        auto m = db_->openRecordset("Members");
        for (const auto& r : members) {
            m->addNew();
            m->setField("FirstName", QString::fromUtf8(r[0]));
            m->setField("LastName", QString::fromUtf8(r[1]));
            m->setField("Address", r[2] ? vb::Value(QString::fromUtf8(r[2])) : vb::Value());
            m->setField("City", QString::fromUtf8(r[3]));
            m->setField("State", QString::fromUtf8(r[4]));
            m->update();
        }
        struct P { const char* amount; int check; const char* dest; const char* date; int member; };
        const P payments[] = {
            {"100", 1001, "Roof", "2001-01-01", 2},
            {"150.50", 1002, "New Roof", "2001-06-15", 2},
            {"15", 0, "General Fund", "2001-12-31", 3},
            {"25.25", 1001, "Roof", "2002-01-01", 2},
            {"500", 2000, "St. Mary's Fund", "2000-12-31", 4},
            {"11", 17, "Missions", "2001-03-03 10:30:00", 7},
            {"19", 18, "roof", "2001-05-05", 8},
        };
        auto p = db_->openRecordset("Payments");
        for (const auto& r : payments) {
            p->addNew();
            p->setField("PaymentAmount", *vb::Currency::fromDecimalText(QString::fromLatin1(r.amount)));
            p->setField("CheckNumber", r.check);
            p->setField("Destination", QString::fromUtf8(r.dest));
            p->setField("PaymentDate", *vb::DateTime::fromIso(QString::fromLatin1(r.date)));
            p->setField("MemberID", r.member);
            p->update();
        }
    }

    static void TearDownTestSuite()
    {
        db_->close();
        db_.reset();
        delete dir_;
    }

    // The first field of every row, as text, in record order.
    static std::vector<QString> firstFields(const QString& query)
    {
        auto rs = db_->openRecordset(query);
        std::vector<QString> out;
        if (rs->recordCount() == 0)
            return out;
        for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
            out.push_back(rs->field(0).toText());
        return out;
    }

    static std::vector<QString> ids(std::initializer_list<int> list)
    {
        std::vector<QString> out;
        for (int i : list)
            out.push_back(QString::number(i));
        return out;
    }

    static inline quiltest::TempDir* dir_ = nullptr;
    static inline std::shared_ptr<dao::Database> db_;
};

const QString kMemberSelect = QStringLiteral(
    "select [memberID],[firstname],[lastname], [address],[city],[state],[postalcode],[homephone], [notes] FROM [members] ");
const QString kPaymentSelect = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments]");

struct Case {
    QString query;
    std::vector<int> expected;
    bool ordered;  // false: the text has no Order by, so only the set of rows is fixed
};

TEST_F(DialectQueries, QueriesGiveTheirRows)
{
    const Case cases[] = {
        {"Members", {1, 2, 3, 4, 5, 6, 7, 8}, false},
        {"Payments", {1, 2, 3, 4, 5, 6, 7}, false},
        {kMemberSelect, {1, 2, 3, 4, 5, 6, 7, 8}, false},
        {kMemberSelect.trimmed(), {1, 2, 3, 4, 5, 6, 7, 8}, false},
        {kMemberSelect + "WHERE [MemberID] = 7 and [Lastname] Like 'J*' and [Firstname] Like 'j*' and [City] Like 'Springfield' ", {7}, false},
        {kMemberSelect + "WHERE [Lastname] Like 'S*' and [City] Like 'Boston' ", {2, 3, 8}, false},
        {kMemberSelect + "WHERE [Firstname] Like 'A*' and [City] Like 'Boston' ", {3}, false},
        {kMemberSelect + "WHERE [City] Like 'Bos' ", {}, false},
        {kMemberSelect + "WHERE [MemberID]= 42", {}, false},
        {kMemberSelect + "WHERE [MemberID]= 4", {4}, false},
        {"SELECT [MemberID], [LastName], [FirstName], [Address] FROM [Members] WHERE [Lastname] Like 's*' And [FirstName] Like 'j*' And [Address] Like '*'", {2, 8}, false},
        {kPaymentSelect + " WHERE [MemberID]= 2 Order by  PaymentDate", {1, 2, 4}, true},
        {kPaymentSelect + "  WHERE [PaymentAmount] >100 and [Destination] Like '*Roof*'  AND [MemberID]= 2 Order by  PaymentDate", {2}, true},
        {kPaymentSelect + "  WHERE [PaymentAmount] Between 11 and 19  Order by  PaymentDate", {6, 7, 3}, true},
        {kPaymentSelect + "  WHERE [CheckNumber] =1001  Order by  PaymentID", {1, 4}, true},
        {kPaymentSelect + "  WHERE [Destination] = 'Roof'  Order by  PaymentID", {1, 4, 7}, true},
        {kPaymentSelect + "  WHERE [PaymentDate] >#1/1/2001#  Order by  PaymentDate", {6, 7, 2, 3, 4}, true},
        {kPaymentSelect + "  WHERE [PaymentDate] Between #1/1/2001# and #12/31/2001#  Order by  PaymentDate", {1, 6, 7, 2, 3}, true},
        {kPaymentSelect + " WHERE [MemberID]=2 Order by [PaymentDate]", {1, 2, 4}, true},
        {kPaymentSelect + " Order by  Destination, PaymentID", {3, 6, 2, 1, 4, 7, 5}, true},
        {kPaymentSelect + " Order by  PaymentAmount", {6, 3, 7, 4, 1, 2, 5}, true},
        {"SELECT * FROM [members] ", {1, 2, 3, 4, 5, 6, 7, 8}, false},
        {"SELECT * FROM Payments WHERE Destination ='Roof'", {1, 4, 7}, false},
        {"SELECT * FROM Payments WHERE Destination ='St. Mary''s Fund'", {5}, false},
        {"Select * from Payments  WHERE [PaymentAmount] =25.25 ", {4}, false},
        {"Select * from Members WHERE [City] Like 'Boston' ", {2, 3, 6, 8}, false},
        {"SELECT MemberID FROM payments WHERE MemberID = 1", {}, false},
        {"SELECT * FROM ListTable  Order by [PaymentDate]", {}, true},
        // Letter case is ignored in every alphabet, and a null never matches Like.
        {"Select * from Members WHERE [LastName] = 'émond'", {5}, false},
        {"Select * from Members WHERE [LastName] Like 'mü*'", {6}, false},
        {"Select * from Members WHERE [FirstName] Like 'ÉM*'", {5}, false},
        {"Select * from Members WHERE [LastName] Like 'o''b*'", {4}, false},
        {"Select * from Members WHERE [LastName] Like 'Sm?th'", {2}, false},
        {"Select * from Members WHERE [LastName] Like 'Sm[iy]*'", {2, 3}, false},
        {"Select * from Members WHERE [LastName] Like '[!S]*'", {1, 4, 5, 6, 7}, false},
        {"Select * from Members WHERE [LastName] Like '[m-p]*'", {4, 6}, false},
        {"Select * from Members WHERE [Address] Like '#*'", {2, 3, 4, 5, 7, 8}, false},
        {"Select * from Members WHERE [Address] Like '*'", {1, 2, 3, 4, 5, 7, 8}, false},
        {"Select * from Members WHERE [LastName] < 'e' Order by [LastName]", {1}, true},
        {"Select * from Members Order by [LastName], [FirstName]", {1, 7, 6, 4, 8, 2, 3, 5}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query.toStdString());
        std::vector<QString> got;
        ASSERT_NO_THROW(got = firstFields(c.query));
        std::vector<QString> want;
        for (int id : c.expected)
            want.push_back(QString::number(id));
        if (!c.ordered) {
            std::sort(got.begin(), got.end());
            std::sort(want.begin(), want.end());
        }
        EXPECT_EQ(got, want);
    }
}

TEST_F(DialectQueries, SumsAndSnapshots)
{
    auto all = db_->openRecordset("SELECT Sum (PaymentAmount) AS [ListTotal] FROM Payments ");
    EXPECT_FALSE(all->isUpdatable());
    EXPECT_EQ(all->field("ListTotal"), vb::Value(*vb::Currency::fromDecimalText(u"820.75")));
    auto one = db_->openRecordset("SELECT Sum (PaymentAmount) AS [ListTotal] FROM Payments  WHERE [MemberID]= 2 Order by  PaymentDate");
    EXPECT_EQ(one->field("ListTotal"), vb::Value(*vb::Currency::fromDecimalText(u"275.75")));
    auto filtered = db_->openRecordset("SELECT Sum (PaymentAmount) AS [ListTotal] FROM Payments   WHERE [PaymentAmount] >100 and [Destination] Like '*Roof*' ");
    EXPECT_EQ(filtered->field(0), vb::Value(*vb::Currency::fromDecimalText(u"150.50")));
    // The sum over no rows is null, not zero.
    auto empty = db_->openRecordset("SELECT SUM (PaymentAmount) AS [Gtotal] FROM ListTable  WHERE [Paymentdate] Between #1/1/2001# AND #12/31/2001#");
    EXPECT_TRUE(empty->field("Gtotal").isNull());

    auto distinct = db_->openRecordset("SELECT DISTINCT [Destination] FROM [Payments]");
    EXPECT_FALSE(distinct->isUpdatable());
    EXPECT_EQ(distinct->recordCount(), 5);  // "Roof" and "roof" are one destination
    EXPECT_THROW(distinct->edit(), jet::DbError);
}

TEST_F(DialectQueries, PasswordAndOrganizationTexts)
{
    auto org = db_->openRecordset("SELECT OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo FROM Passwords");
    EXPECT_EQ(org->fieldCount(), 5);
    EXPECT_EQ(org->field("OrgName").toText(), QString::fromLatin1(db::templ::OrgName));
    EXPECT_EQ(org->field(4).toText(), QStringLiteral("quil.jpg"));
    auto admin = db_->openRecordset("SELECT [PassName],[MyPassWord] from [Passwords] where [PassName] = 'Administrator'");
    EXPECT_EQ(admin->recordCount(), 1);
    EXPECT_EQ(admin->field("MyPassWord").toText(), QString::fromLatin1(db::templ::AdminPassword));
    auto words = db_->openRecordset("SELECT [MyPassWord] from [Passwords]");
    words->moveLast();
    words->findFirst("MyPassWord = 'admin'");
    EXPECT_FALSE(words->noMatch());
    words->findFirst("MyPassWord = 'secret'");
    EXPECT_TRUE(words->noMatch());
    auto dest = db_->openRecordset("SELECT * FROM Dest");
    dest->findFirst("DestItem = 'General Fund'");
    EXPECT_FALSE(dest->noMatch());
}

TEST_F(DialectQueries, FindCriteria)
{
    auto members = db_->openRecordset("Members");
    members->findFirst("memberid = 5");
    ASSERT_FALSE(members->noMatch());
    EXPECT_EQ(members->field("LastName").toText(), QStringLiteral("Émond"));
    members->findFirst("MemberID = 57");
    EXPECT_TRUE(members->noMatch());
    EXPECT_EQ(members->field("MemberID").toLong(), 5);  // a failed find leaves the row where it was
    auto passwords = db_->openRecordset("Passwords");
    passwords->findFirst("PassName = 'Administrator'");
    EXPECT_FALSE(passwords->noMatch());
}

TEST_F(DialectQueries, UnreadableTextsRaiseNumberedErrors)
{
    const std::pair<QString, int> cases[] = {
        {"SELECT * FROM Nowhere", jet::err::TableNotFound},
        {"Nowhere", jet::err::TableNotFound},
        {"SELECT [Nope] FROM Members", jet::err::TooFewParameters},
        {kMemberSelect + "WHERE [Shoe] Like 'x' ", jet::err::TooFewParameters},
        {kMemberSelect + "WHERE [City] Like 'Bos", jet::err::SyntaxErrorInExpression},
        {kMemberSelect + "WHERE [City] Like ", jet::err::SyntaxErrorInExpression},
        {kMemberSelect + "WHERE [City] Like 'x' and ", jet::err::SyntaxErrorInExpression},
        {kPaymentSelect + " WHERE [PaymentDate] > #13/45/2001#", jet::err::SyntaxErrorInExpression},
        {kPaymentSelect + " WHERE [PaymentAmount] = 'abc'", jet::err::DataTypeMismatchInCriteria},
        {kPaymentSelect + " WHERE [Destination] = 'St. Mary's Fund'", jet::err::SyntaxErrorInExpression},
        {"SELECT * FROM", jet::err::SyntaxErrorInFrom},
        {"SELECT FROM Members", jet::err::SyntaxErrorInExpression},
        {"", jet::err::SyntaxErrorInFrom},
        {"SELECT PaymentID, Sum(PaymentAmount) AS X FROM Payments", jet::err::SyntaxErrorInQuery},
    };
    for (const auto& [query, number] : cases) {
        SCOPED_TRACE(query.toStdString());
        try {
            db_->openRecordset(query);
            ADD_FAILURE() << "no error";
        } catch (const jet::DbError& e) {
            EXPECT_EQ(e.number(), number) << e.description().toStdString();
            EXPECT_FALSE(e.description().isEmpty());
        }
    }
    auto members = db_->openRecordset("Members");
    try {
        members->findFirst("Nope = 1");
        ADD_FAILURE() << "no error";
    } catch (const jet::DbError& e) {
        EXPECT_EQ(e.number(), jet::err::FieldNotFoundInCriteria);
    }
}

} // namespace
