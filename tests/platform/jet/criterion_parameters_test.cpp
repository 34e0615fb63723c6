// Find criteria translated once per shape with their literals as parameters must find exactly
// the rows, and raise exactly the errors, of the same criteria translated with their literals
// written out: numbers, currency, texts with quotes (case-blind), dates, Null, Like, And/Or.
#include "platform/dao/sqlite.h"
#include "platform/jet/catalog.h"
#include "platform/jet/db_error.h"
#include "platform/jet/tokenizer.h"
#include "platform/jet/translator.h"

#include <gtest/gtest.h>

#include <optional>
#include <variant>
#include <vector>

namespace {

struct Outcome {
    std::vector<std::int64_t> rows;
    int error = 0;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o)
{
    out << "error " << o.error << ", rows";
    for (std::int64_t r : o.rows)
        out << ' ' << r;
    return out;
}

class CriterionParameters : public ::testing::Test {
protected:
    void SetUp() override
    {
        c_ = sqlite::Connection(":memory:", {}, sqlite::Connection::Mode::Create);
        c_.exec("CREATE TABLE Gifts (GiftID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT(50) COLLATE JETNOCASE, "
                "Amount CURRENCY, Day DATETIME, Qty INTEGER, Ratio DOUBLE)");
        c_.exec("CREATE INDEX GiftsName ON Gifts(Name)");
        // Amounts in ten-thousandths, as the file keeps them.
        c_.exec("INSERT INTO Gifts (Name, Amount, Day, Qty, Ratio) VALUES "
                "('Smith', 125000, '2003-01-02 00:00:00', 3, 0.5),"
                "('SMITH', -50000, '2003-01-02 10:30:00', -2, 150.0),"
                "('O''Brien', 1005000, '2002-12-31 00:00:00', 1, 2.5),"
                "('Smyth', 0, NULL, NULL, NULL),"
                "(NULL, 200000, '2004-02-29 00:00:00', 5, 1e3),"
                "('42', 420000, '2001-07-04 00:00:00', 42, -1.5),"
                "('Fund #2', 10000, '2003-01-01 00:00:00', 3, 0.0),"
                "('smithson', 99990000, '2005-05-05 00:00:00', 7, 99.5)");
        table_ = *jet::Catalog::read(c_.handle()).find(u"Gifts");
    }

    Outcome run(const QString& sql, const std::vector<jet::SqlValue>& values)
    {
        auto s = c_.prepare(QStringLiteral("SELECT rowid FROM Gifts WHERE %1 ORDER BY rowid").arg(sql));
        for (std::size_t i = 0; i < values.size(); ++i)
            std::visit([&](const auto& v) { s.bind(static_cast<int>(i) + 1, v); }, values[i]);
        Outcome o;
        while (s.step())
            o.rows.push_back(s.int64(0));
        return o;
    }

    Outcome written(const QString& criterion)
    {
        try {
            return run(jet::translateCriterion(criterion, table_), {});
        } catch (const jet::DbError& e) {
            return {{}, e.number()};
        }
    }

    Outcome bound(const jet::CriterionShape& shape, const QString& criterion)
    {
        try {
            const auto values = jet::criterionValues(shape, jet::tokenize(criterion), criterion, table_);
            if (!values) {
                ADD_FAILURE() << "no parameters for " << criterion.toStdString();
                return {};
            }
            return run(shape.sql, *values);
        } catch (const jet::DbError& e) {
            return {{}, e.number()};
        }
    }

    sqlite::Connection c_;
    jet::Table table_;
};

// Each family is criteria of one shape: the first is translated into the shape, every one is
// then bound to it and must find what it finds written out.
struct Family {
    const char* what;
    bool parameterized;  // false: its literals decide the condition's form
    std::vector<const char*> criteria;
};

const std::vector<Family> kFamilies = {
    {"a counter", true, {"GiftID = 1", "GiftID = 7", "GiftID = 999", "GiftID = 1.5", "GiftID = 00003"}},
    {"a whole number", true, {"Qty > 4", "Qty > 0", "Qty > 42"}},
    {"a whole number, signed", true, {"Qty > -2", "Qty > -3", "Qty > -1"}},
    {"a double, with exponents", true, {"Ratio >= 1e2", "Ratio >= 2.5", "Ratio >= .5", "Ratio >= 1E3"}},
    {"currency scaled", true, {"Amount > 100.5", "Amount > 12.4999", "Amount > 0", "Amount > 9999"}},
    {"currency under a minus", true, {"Amount > -5", "Amount > -6", "Amount > -0"}},
    {"currency typed as text", true, {"Amount = '12.50'", "Amount = '-5'", "Amount = 'twelve'", "Amount = '1e400'"}},
    {"currency beyond its range", true, {"Amount < 1", "Amount < 1e300"}},
    {"text, case-blind, with quotes", true,
     {"Name = 'smith'", "Name = 'O''BRIEN'", "Name = \"smyth\"", "Name = 'nobody'", "Name = ''", "Name = 'Fund #2'"}},
    {"text against a number", true, {"Name = 42", "Name = 43", "Name = 4.2e1"}},
    {"number as text", true, {"Qty = '3'", "Qty = ' 42 '", "Qty = 'three'"}},
    {"dates", true, {"Day = #1/2/2003#", "Day = #12/31/2002#", "Day = #2/29/2004#", "Day = #2/30/2004#"}},
    {"dates as text", true, {"Day > '1/1/2003'", "Day > '2004-02-28'", "Day > 'soon'"}},
    {"dates in a range", true, {"Day Between #1/1/2003# And #1/2/2003 11:00#", "Day Between #1/1/2001# And #1/1/2002#"}},
    {"Is Null", true, {"Name Is Null"}},
    {"Null beside a value", true, {"Qty Is Not Null And Amount > 1", "Qty Is Not Null And Amount > 100.5"}},
    {"Null compared", true, {"Amount = Null Or Qty = 3", "Amount = Null Or Qty = 5"}},
    {"Like", false, {"Name Like 'sm*'", "Name Like '*'", "Name Like 'SMITH'", "Name Like 'o''b*'", "Name Like 'Fund [#]2'",
                     "Name Like '*th'"}},
    {"Like with a condition beside it", false, {"Name Like 'sm?th' And Qty = 3", "Name Like 'sm?th' And Qty = 1"}},
    {"And", true, {"Qty = 3 And Amount > 10", "Qty = 5 And Amount > 1", "Qty = 3 And Amount > 12.5"}},
    {"Or", true, {"Qty = 1 Or Name = 'smith'", "Qty = 42 Or Name = 'smyth'", "Qty = 7 Or Name = 'NOBODY'"}},
    {"Not and parentheses", true, {"(Qty = 3 Or Qty = 5) And Not Name = 'fund #2'", "(Qty = 1 Or Qty = 7) And Not Name = 'x'"}},
    {"In", true, {"Qty In (1, 3, 5)", "Qty In (42, 2, 0)"}},
    {"In, signed", true, {"Qty In (-2, -3, -4)", "Qty In (-1, -5, -6)"}},
    {"a literal beside a literal", false, {"1 = 1", "1 = 2"}},
    {"arithmetic on an amount", true, {"Amount + 5 > 20", "Amount + 0 > 0", "Amount + 1 > 9999"}},
};

TEST_F(CriterionParameters, BoundCriteriaFindWhatWrittenOnesFind)
{
    std::vector<QString> keys;
    for (const Family& family : kFamilies) {
        SCOPED_TRACE(family.what);
        const QString first = QString::fromUtf8(family.criteria.front());
        const std::optional<jet::CriterionShape> shape = jet::shapeCriterion(first, table_);
        ASSERT_EQ(shape.has_value(), family.parameterized);
        const QString key = jet::criterionShapeKey(jet::tokenize(first));
        for (const QString& other : keys)
            EXPECT_NE(key, other) << "two families share a shape";
        keys.push_back(key);
        bool anyRows = false;
        for (const char* text : family.criteria) {
            const QString criterion = QString::fromUtf8(text);
            SCOPED_TRACE(text);
            EXPECT_EQ(jet::criterionShapeKey(jet::tokenize(criterion)), key);
            const Outcome expected = written(criterion);
            anyRows = anyRows || !expected.rows.empty();
            if (shape) {
                EXPECT_FALSE(shape->sql.contains(QStringLiteral("smith"), Qt::CaseInsensitive));
                EXPECT_EQ(bound(*shape, criterion), expected);
            }
        }
        EXPECT_TRUE(anyRows) << "a family that finds nothing proves nothing";
    }
}

TEST_F(CriterionParameters, ErrorsOfBoundValuesAreThoseOfWrittenOnes)
{
    const struct {
        const char* shapeFrom;
        const char* criterion;
        int error;
    } cases[] = {
        {"Amount = '1'", "Amount = 'twelve'", jet::err::DataTypeMismatchInCriteria},
        {"Qty = '1'", "Qty = 'three'", jet::err::DataTypeMismatchInCriteria},
        {"Day > '1/1/2003'", "Day > 'soon'", jet::err::DataTypeMismatchInCriteria},
        {"Day = #1/2/2003#", "Day = #2/30/2004#", jet::err::SyntaxErrorInExpression},
        {"Amount < 1", "Amount < 1e300", jet::err::Overflow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.criterion);
        const auto shape = jet::shapeCriterion(QString::fromUtf8(c.shapeFrom), table_);
        ASSERT_TRUE(shape);
        EXPECT_EQ(written(QString::fromUtf8(c.criterion)).error, c.error);
        EXPECT_EQ(bound(*shape, QString::fromUtf8(c.criterion)).error, c.error);
    }
    // A name the table lacks fails as the written criterion does, before any shape is kept.
    try {
        jet::shapeCriterion(u"Nobody = 3", table_);
        ADD_FAILURE() << "an unknown field made a shape";
    } catch (const jet::DbError& e) {
        EXPECT_EQ(e.number(), jet::err::FieldNotFoundInCriteria);
    }
}

} // namespace
