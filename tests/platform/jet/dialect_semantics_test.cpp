// The dialect's text semantics: Like wildcards, case folding in every alphabet, the index range a
// prefix pattern becomes, and quoting of typed text.
#include "platform/dao/sqlite.h"
#include "platform/jet/catalog.h"
#include "platform/jet/db_error.h"
#include "platform/jet/like_pattern.h"
#include "platform/jet/text_fold.h"
#include "platform/jet/translator.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

bool like(const char* text, const char* pattern)
{
    const jet::LikePattern p(pattern, std::strlen(pattern));
    return p.matches(text, std::strlen(text));
}

TEST(LikePattern, WildcardsMatchTheWholeText)
{
    struct Case { const char* text; const char* pattern; bool match; };
    const Case cases[] = {
        {"Smith", "s*", true},
        {"Smith", "S", false},
        {"Smith", "smith", true},
        {"Smith", "*ITH", true},
        {"Smith", "*it", false},
        {"Smith", "Sm?th", true},
        {"Smyth", "Sm?th", true},
        {"Smth", "Sm?th", false},
        {"Room 12", "Room ##", true},
        {"Room 1a", "Room ##", false},
        {"Smith", "Sm[iy]th", true},
        {"Smoth", "Sm[iy]th", false},
        {"Smoth", "Sm[!iy]th", true},
        {"Smith", "Sm[!iy]th", false},
        {"Boston", "[a-c]*", true},
        {"Dover", "[a-c]*", false},
        {"a*b", "a[*]b", true},
        {"axb", "a[*]b", false},
        {"", "*", true},
        {"", "?", false},
        {"abc", "a*b*c*", true},
        {"aXbXc", "a*b*c", true},
        {"aXbXd", "a*b*c", false},
        {"1 Main St", "*Main*", true},
        {"[bracket", "[bracket", true},  // an unclosed bracket is a literal
        // Letter case is folded in every alphabet.
        {"MÜLLER", "mü*", true},
        {"Émile", "émile", true},
        {"ΣΟΦΙΑ", "σοφ*", true},
        {"Straße", "STRASSE", false},  // one character is not two
        {"O'Brien", "o'b*", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(like(c.text, c.pattern), c.match) << c.text << " Like " << c.pattern;
}

TEST(LikePattern, LiteralPatternsMatchOnlyTheirOwnText)
{
    const struct {
        const char* typed;
        const char* text;
        bool match;
    } cases[] = {
        {"Fund #2", "Fund #2", true},   {"Fund #2", "Fund 22", false}, {"a*b", "a*b", true},
        {"a*b", "axxb", false},         {"a?b", "a?b", true},          {"a?b", "axb", false},
        {"[x]", "[x]", true},           {"[x]", "x", false},           {"[!x]", "[!x]", true},
        {"[a-c]", "b", false},          {"]", "]", true},              {"[[", "[[", true},
        {"O'Brien", "o'brien", true},   {"#*?[", "#*?[", true},        {"", "", true},
    };
    for (const auto& c : cases) {
        const QByteArray pattern = jet::likeLiteral(QString::fromUtf8(c.typed)).toUtf8();
        const jet::LikePattern p(pattern.constData(), static_cast<std::size_t>(pattern.size()));
        EXPECT_EQ(p.matches(c.text, std::strlen(c.text)), c.match) << c.typed << " against " << c.text;
    }
    EXPECT_EQ(jet::likeLiteral(u"Fund #2"), QStringLiteral("Fund [#]2"));
}

TEST(LikePattern, PrefixesForIndexRanges)
{
    EXPECT_EQ(jet::likePrefix(u"smi*").prefix, QStringLiteral("smi"));
    EXPECT_TRUE(jet::likePrefix(u"smi*").prefixThenStar);
    EXPECT_FALSE(jet::likePrefix(u"smi*th").prefixThenStar);
    EXPECT_EQ(jet::likePrefix(u"*smi").prefix, QString());
    EXPECT_TRUE(jet::likePrefix(u"Boston").exact);
    EXPECT_EQ(jet::likePrefix(u"sm[iy]*").prefix, QStringLiteral("sm"));
}

TEST(TextFold, ComparisonIsACaseBlindTotalOrder)
{
    auto cmp = [](const char* a, const char* b) { return jet::compareFolded(a, std::strlen(a), b, std::strlen(b)); };
    EXPECT_EQ(cmp("Smith", "SMITH"), 0);
    EXPECT_EQ(cmp("émile", "ÉMILE"), 0);
    EXPECT_LT(cmp("Smit", "smith"), 0);
    EXPECT_GT(cmp("smith", "Smit"), 0);
    EXPECT_LT(cmp("abc", "ABD"), 0);
    EXPECT_LT(cmp("zeta", "Émile"), 0);  // accented letters sort after ASCII, consistently
    // Malformed UTF-8 compares without reading past the end.
    const char broken[] = {'a', static_cast<char>(0xC3)};
    EXPECT_NE(jet::compareFolded(broken, 2, "a", 1), 0);
}

// A list the program sorts itself must stand as the file sorts the same names: the comparison
// of texts in memory gives, for every pair, the sign the file's collation gives their UTF-8.
TEST(TextFold, TextsInMemoryCompareAsTheFileComparesThem)
{
    const QString texts[] = {
        "",  "a",     "A",     "Smith", "SMITH", "Smit", "émile", "ÉMILE", "zeta",  "Émile", "Émond", "Zimmerman",
        "ß", "ẞ",     "Σ",     "ς",     "李",    "🎉",   "𝒜lpha", "Ｔａｎａｋａ", "\uFFFD", "\uE000", "a\U0001F389", "a\uFF21",
    };
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const QString& a : texts)
        for (const QString& b : texts) {
            const QByteArray ua = a.toUtf8();
            const QByteArray ub = b.toUtf8();
            EXPECT_EQ(sign(jet::compareFolded(a, b)),
                      sign(jet::compareFolded(ua.constData(), static_cast<std::size_t>(ua.size()), ub.constData(),
                                              static_cast<std::size_t>(ub.size()))))
                << a.toStdString() << " / " << b.toStdString();
        }
    EXPECT_TRUE(jet::FoldedLess{}(u"Ｔａｎａｋａ", u"𝒜lpha"));
}

class Translation : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection_ = sqlite::Connection(":memory:", {}, sqlite::Connection::Mode::Create);
        connection_.exec("CREATE TABLE Members (MemberID INTEGER PRIMARY KEY AUTOINCREMENT, FirstName TEXT(50) COLLATE JETNOCASE, "
                         "LastName TEXT(50) COLLATE JETNOCASE, Address TEXT(255) COLLATE JETNOCASE)");
        connection_.exec("CREATE INDEX MembersName ON Members(LastName, FirstName)");
        connection_.exec("CREATE TABLE Payments (PaymentID INTEGER PRIMARY KEY AUTOINCREMENT, PaymentAmount CURRENCY, "
                         "PaymentDate DATETIME, MemberID INTEGER)");
        catalog_ = jet::Catalog::read(connection_.handle());
    }

    QString plan(const QString& sql)
    {
        auto s = connection_.prepare("EXPLAIN QUERY PLAN " + sql);
        QString out;
        while (s.step())
            out += s.text(3) + u'\n';
        return out;
    }

    sqlite::Connection connection_;
    jet::Catalog catalog_;
};

TEST_F(Translation, CatalogReadsTheClassicTypes)
{
    const jet::Table* m = catalog_.find(u"members");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->find(u"memberid")->type, jet::FieldType::Counter);
    EXPECT_EQ(m->find(u"LastName")->size, 50);
    const jet::Table* p = catalog_.find(u"PAYMENTS");
    EXPECT_EQ(p->find(u"PaymentAmount")->type, jet::FieldType::Currency);
    EXPECT_EQ(p->find(u"PaymentDate")->type, jet::FieldType::Date);
    EXPECT_EQ(p->find(u"MemberID")->type, jet::FieldType::Long);
}

TEST_F(Translation, PrefixPatternsSearchTheIndex)
{
    const auto p = jet::translateSelect(
        u"SELECT [MemberID], [LastName], [FirstName], [Address] FROM [Members] WHERE [Lastname] Like 's*' And [FirstName] Like 'j*' And [Address] Like '*'",
        catalog_);
    EXPECT_TRUE(plan(p.keySql()).contains(QStringLiteral("SEARCH")));
    EXPECT_TRUE(plan(p.keySql()).contains(QStringLiteral("MembersName")));
    // A pattern that starts with a wildcard cannot use it, and still translates.
    const auto q = jet::translateSelect(u"SELECT * FROM Members WHERE LastName Like '*son'", catalog_);
    EXPECT_TRUE(plan(q.keySql()).contains(QStringLiteral("SCAN")));
}

TEST_F(Translation, LiteralsTakeTheColumnsStoredForm)
{
    const auto p = jet::translateSelect(
        u"SELECT * FROM Payments WHERE [PaymentAmount] >100.5 AND [PaymentDate] Between #1/1/2001# and #12/31/2001#", catalog_);
    EXPECT_TRUE(p.where.contains(QStringLiteral("1005000")));
    EXPECT_TRUE(p.where.contains(QStringLiteral("'2001-01-01 00:00:00'")));
    EXPECT_TRUE(p.where.contains(QStringLiteral("'2001-12-31 00:00:00'")));
    const auto sum = jet::translateSelect(u"SELECT Sum (PaymentAmount) AS [ListTotal] FROM Payments ", catalog_);
    ASSERT_EQ(sum.columns.size(), 1u);
    EXPECT_EQ(sum.columns[0].name, QStringLiteral("ListTotal"));
    EXPECT_EQ(sum.columns[0].type, jet::FieldType::Currency);
    EXPECT_FALSE(sum.updatable);
}

TEST_F(Translation, NegativeNumbersTakeTheColumnsStoredFormToo)
{
    connection_.exec("INSERT INTO Payments (PaymentAmount) VALUES (-50000), (-2500), (2500), (50000)");
    const struct {
        const char* condition;
        const char* where;  // what the literal becomes
        int rows;
    } cases[] = {
        {"[PaymentAmount] = -5", "-50000", 1},
        {"[PaymentAmount] >-0.25", "-2500", 2},
        {"[PaymentAmount] < - -5", "50000", 3},
        {"[PaymentAmount] Between -5 and -0.25", "-2500", 2},
        {"[PaymentAmount] In (-5, 5)", "-50000", 2},
        {"[PaymentAmount] + -5 = 0", "-50000", 1},
    };
    for (const auto& c : cases) {
        const auto p = jet::translateSelect(QStringLiteral("SELECT * FROM Payments WHERE ") + c.condition, catalog_);
        EXPECT_TRUE(p.where.contains(QLatin1String(c.where))) << c.condition << ": " << p.where.toStdString();
        auto s = connection_.prepare(QStringLiteral("SELECT count(*) FROM (%1)").arg(p.sql()));
        ASSERT_TRUE(s.step());
        EXPECT_EQ(s.int64(0), c.rows) << c.condition;
    }
}

TEST_F(Translation, TypedTextIsQuotedAndCannotRewriteTheQuery)
{
    EXPECT_EQ(jet::quoted(u"O'Brien"), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(jet::quoted(u"s*"), QStringLiteral("'s*'"));
    const QString hostile = QStringLiteral("x' OR '1'='1");
    const auto p = jet::translateSelect(QStringLiteral("SELECT * FROM Members WHERE LastName = %1").arg(jet::quoted(hostile)), catalog_);
    auto s = connection_.prepare(p.sql());
    connection_.exec("INSERT INTO Members (LastName) VALUES ('Smith')");
    auto rows = connection_.prepare(p.sql());
    EXPECT_FALSE(rows.step());
}

TEST_F(Translation, HostileInputFailsCleanly)
{
    // Deep nesting, stray characters and truncated texts raise the engine's error, never crash.
    const QString deep = QString(5000, u'(') + u'1' + QString(5000, u')');
    const QString texts[] = {
        "SELECT * FROM Members WHERE " + deep,
        "SELECT * FROM Members WHERE LastName = 'a' AND",
        "SELECT * FROM Members WHERE LastName @ 1",
        "SELECT * FROM Members WHERE LastName Like",
        "SELECT * FROM [Members",
        "SELECT * FROM Members WHERE #1/1/2001",
        "SELECT * FROM Members WHERE Sum(Sum(MemberID)) > 1",
        "SELECT * FROM Members WHERE Foo(1) = 1",
        "DELETE Members",
        "SELECT 1e FROM Members",
        "SELECT * FROM Members WHERE " + QString(40, u'-') + "'s' = 1",
        "SELECT * FROM Payments WHERE PaymentAmount > 99999999999999999999999999",
        QStringLiteral("SELECT * FROM Members WHERE LastName = 'a") + QChar(0) + "b'",
    };
    for (const QString& t : texts)
        EXPECT_THROW(jet::translateSelect(t, catalog_), jet::DbError) << t.left(80).toStdString();
}

TEST_F(Translation, LongConditionChainsStayWithinSQLitesParser)
{
    // A member filter of many clauses is written as one flat chain, not nested pairs.
    QStringList clauses;
    for (int i = 0; i < 200; ++i)
        clauses << QStringLiteral("[LastName] Like 'a%1*'").arg(i);
    const auto p = jet::translateSelect(QStringLiteral("SELECT * FROM Members WHERE ") + clauses.join(" or "), catalog_);
    EXPECT_NO_THROW(connection_.prepare(p.keySql()));
    // Far longer chains are refused cleanly rather than exhausting a stack.
    QStringList terms(20000, QStringLiteral("MemberID"));
    EXPECT_THROW(jet::translateSelect(QStringLiteral("SELECT * FROM Members WHERE ") + terms.join(" - ") + " = 1", catalog_),
                 jet::DbError);
    EXPECT_THROW(jet::translateSelect(QStringLiteral("SELECT * FROM Members WHERE ") + terms.join(" = 1 AND ") + " = 1", catalog_),
                 jet::DbError);
}

TEST_F(Translation, StatementsForMaintenance)
{
    const QString del = jet::translateStatement(u"DELETE FROM [Payments] WHERE [MemberID] = 5", catalog_);
    EXPECT_EQ(del, QStringLiteral("DELETE FROM \"Payments\" WHERE (\"MemberID\" = 5)"));
    const QString upd = jet::translateStatement(u"UPDATE Payments SET MemberID = 1, PaymentAmount = 2.5 WHERE MemberID = 9", catalog_);
    EXPECT_TRUE(upd.contains(QStringLiteral("\"PaymentAmount\" = 25000")));
    EXPECT_THROW(jet::translateStatement(u"SELECT * FROM Payments", catalog_), jet::DbError);
    EXPECT_THROW(jet::translateStatement(u"UPDATE Payments SET Nope = 1", catalog_), jet::DbError);
}

// The dialect's Sum of money and whole numbers is exact to the edge of 64 bits, whatever the
// order of its rows, and fails with a number of its own where SQLite's sum would wrap, fail with
// "integer overflow", or count a text as 0 and give a double.
TEST_F(Translation, SumsAreExactOrFailAsTotalsThatCannotBeComputed)
{
    constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();
    const std::string max = std::to_string(Max), min = std::to_string(Min);
    const std::string cases[][2] = {
        // the amounts stored, as SQL values; the Sum as text, "<null>", or the error's number
        {"(250000), (12345000)", "12595000"},
        {"(NULL)", "<null>"},
        {"(250000), (NULL)", "250000"},
        {"(" + std::to_string(Max - 807) + "), (807)", max},
        {"(" + max + "), (1)", "error 6"},
        {"(" + max + "), (" + max + "), (" + min + "), (1)", max},  // past the edge and back
        {"(" + min + "), (-1)", "error 6"},
        {"(250000), ('abc')", "error 13"},
        {"(250000), ('12000')", "262000"},  // the column's affinity stores a numeric text as the number
        {"(250000), (2.5)", "error 13"},
        {"(250000), (x'00')", "error 13"},
    };
    const auto p = jet::translateSelect(u"SELECT Sum (PaymentAmount) AS [ListTotal] FROM Payments", catalog_);
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        connection_.exec("DELETE FROM Payments");
        connection_.exec(QStringLiteral("INSERT INTO Payments (PaymentAmount) VALUES %1").arg(QString::fromStdString(c[0])));
        auto sum = connection_.prepare(p.sql());
        QString got;
        try {
            ASSERT_TRUE(sum.step());
            got = sum.isNull(0) ? QStringLiteral("<null>") : QString::number(sum.int64(0));
        } catch (const jet::DbError& e) {
            got = QStringLiteral("error %1").arg(e.number());
            EXPECT_TRUE(jet::isUncomputableTotal(e));
        }
        EXPECT_EQ(got.toStdString(), c[1]);
    }
    // Keys and other whole numbers take the same exact Sum.
    const auto keys = jet::translateSelect(u"SELECT Sum(PaymentID) AS n FROM Payments", catalog_);
    EXPECT_TRUE(keys.sql().contains(QStringLiteral("jet_sum")));
    EXPECT_EQ(keys.columns[0].type, jet::FieldType::Long);
}

} // namespace
