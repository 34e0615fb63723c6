// The conditions of the member filter and the clauses of the donation filter, for the program's
// examples and for bad input: each text exactly, or the exact refusal, and each text run through
// the dialect on a real file to prove that it translates and selects the right rows.
#include "filter_data.h"
#include "support/qstring_printer.h"
#include "filters/donation_clause.h"
#include "filters/member_clause.h"
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "schema/connect_key.h"
#include "schema/queries.h"
#include "schema/template.h"
#include "support/temp_dir.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <random>

namespace {

class FilterClauses : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new quiltest::TempDir;
        const QString path = dir_->file("filters.qdb");
        db::writeTemplate(path);
        {
            sqlite::Connection c(path, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
            filtertest::writeFilterData(c);
        }
        db_ = dao::Engine::instance().defaultWorkspace().openDatabase(path, false, false,
                                                                       db::DescrambleConnect(db::kScrambledConnect));
    }

    static void TearDownTestSuite()
    {
        db_->close();
        db_.reset();
        dao::Engine::instance().defaultWorkspace().close();
        delete dir_;
    }

    // The first field of every row the query gives, in ascending order, as "2 3 6".
    static QString ids(const QString& query)
    {
        auto rs = db_->openRecordset(query);
        QList<qint64> found;
        if (rs->recordCount() > 0)
            for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
                found << rs->field(0).toLong();
        std::sort(found.begin(), found.end());
        QStringList out;
        for (qint64 id : found)
            out << QString::number(id);
        return out.join(u' ');
    }

    static inline quiltest::TempDir* dir_ = nullptr;
    static inline std::shared_ptr<dao::Database> db_;
};

// ---- Member filter ------------------------------------------------------------------------------

struct MemberCase {
    std::map<int, QString> boxes;  // box index -> text; the others empty
    QString condition;             // expected condition
    QString outcome;               // the members it selects, or the refusal
    bool refused = false;
};

MemberCase refusedMember(std::map<int, QString> boxes, const QString& message)
{
    return {std::move(boxes), {}, message, true};
}

TEST_F(FilterClauses, MemberConditionsAreExactAndSelectTheirMembers)
{
    const QString x10000(10000, u'x');
    const MemberCase cases[] = {
        // The program's own examples.
        {{{1, "A*"}, {4, "Boston"}}, "[Firstname] Like 'A*' and [City] Like 'Boston' ", "2 3"},
        {{{0, "6"}, {2, "S*"}}, "[MemberID] = 6 and [Lastname] Like 'S*' ", "6"},
        {{{0, "7"}, {2, "S*"}}, "[MemberID] = 7 and [Lastname] Like 'S*' ", ""},
        {{}, "", "1 2 3 4 5 6 7 8 9"},
        {{{4, "boston"}}, "[City] Like 'boston' ", "2 3 6"},
        {{{4, "Bos"}}, "[City] Like 'Bos' ", ""},
        {{{4, "Bos*"}}, "[City] Like 'Bos*' ", "2 3 6 8"},
        {{{3, "*Main*"}}, "[Address] Like '*Main*' ", "2 6 9"},
        {{{2, "Sm?th"}}, "[Lastname] Like 'Sm?th' ", "3"},
        // The member number is read leniently.
        {{{0, "3abc"}}, "[MemberID] = 3 ", "3"},
        {{{0, "12abc"}}, "[MemberID] = 12 ", ""},
        {{{0, "abc"}}, "[MemberID] = 0 ", ""},
        {{{0, " 2 "}}, "[MemberID] = 2 ", "2"},
        {{{0, "-5"}}, "[MemberID] = -5 ", ""},
        {{{0, "2.5"}}, "[MemberID] = 2.5 ", ""},
        {{{0, "1e9x"}}, "[MemberID] = 1000000000 ", ""},
        refusedMember({{0, "1e999"}}, "The Member ID is too large."),
        refusedMember({{0, QString(10000, u'9')}}, "The Member ID is too large."),
        {{{0, QString(10000, u'x')}}, "[MemberID] = 0 ", ""},
        // Every box, in the order of the boxes.
        {{{0, "2"}, {1, "Ann"}, {2, "Adams"}, {3, "12 Main St"}, {4, "Boston"}, {5, "MA"}, {6, "02108"}, {7, "617*"}, {8, "Ush*"}},
         "[MemberID] = 2 and [Firstname] Like 'Ann' and [Lastname] Like 'Adams' and [Address] Like '12 Main St' and "
         "[City] Like 'Boston' and [State] Like 'MA' and [PostalCode] Like '02108' and [HomePhone] Like '617*' and "
         "[Notes] Like 'Ush*' ",
         "2"},
        // Apostrophes are part of the text and cannot end it.
        {{{2, "O'Brien"}}, "[Lastname] Like 'O''Brien' ", "4"},
        {{{2, "o'b*"}}, "[Lastname] Like 'o''b*' ", "4"},
        {{{2, "x' or '1'='1"}}, "[Lastname] Like 'x'' or ''1''=''1' ", ""},
        // Only * and ? are wildcards; # and [ are what they are.
        {{{3, "*#4"}}, "[Address] Like '*[#]4' ", "3"},
        {{{3, "*[Old]*"}}, "[Address] Like '*[[]Old]*' ", "8"},
        {{{2, "[bracket"}}, "[Lastname] Like '[[]bracket' ", ""},
        {{{8, "*50%*"}}, "[Notes] Like '*50%*' ", "9"},
        {{{3, "*"}}, "[Address] Like '*' ", "1 2 3 4 5 6 7 8 9"},
        {{{7, "* ]"}}, "[HomePhone] Like '* ]' ", ""},
        // Other alphabets, letter case ignored.
        {{{1, "émile"}}, "[Firstname] Like 'émile' ", "5"},
        {{{4, "MONTRÉAL"}}, "[City] Like 'MONTRÉAL' ", "5"},
        {{{2, "mü*"}}, "[Lastname] Like 'mü*' ", "7"},
        // Huge texts and the one character no text can hold.
        {{{8, x10000}}, "[Notes] Like '" + x10000 + "' ", ""},
        refusedMember({{8, QStringLiteral("a") + QChar(0) + "b"}}, "The Notes box holds a character that cannot be searched for."),
        refusedMember({{1, QString(QChar(0))}}, "The First Name box holds a character that cannot be searched for."),
    };
    for (const MemberCase& c : cases) {
        std::array<QString, filters::kMemberBoxes> boxes;
        QStringList typed;
        for (const auto& [box, text] : c.boxes) {
            boxes[static_cast<std::size_t>(box)] = text;
            typed << QStringLiteral("%1=%2").arg(box).arg(text.left(20));
        }
        SCOPED_TRACE(typed.join(", ").toStdString());
        const filters::MemberCondition m = filters::memberCondition(boxes);
        if (c.refused) {
            EXPECT_EQ(m.refusal, c.outcome);
            EXPECT_TRUE(m.condition.isEmpty());
            continue;
        }
        EXPECT_TRUE(m.refusal.isEmpty()) << m.refusal.toStdString();
        EXPECT_EQ(m.condition, c.condition);
        const QString query = db::kAllMembersQuery + (m.condition.isEmpty() ? QString() : QStringLiteral("WHERE ") + m.condition);
        QString found;
        ASSERT_NO_THROW(found = ids(query)) << query.left(200).toStdString();
        EXPECT_EQ(found, c.outcome);
    }
}

// ---- Donation filter ----------------------------------------------------------------------------

struct Criteria {
    const char* amountOp = "";
    const char* amount = "";
    const char* amountTo = "";
    bool amountRange = false;
    const char* checkOp = "";
    const char* check = "";
    const char* checkTo = "";
    bool checkRange = false;
    const char* destMode = "";
    QString dest{};
    const char* dateOp = "";
    QString date{};
    const char* dateTo = "";

    filters::DonationCriteria dialog() const
    {
        filters::DonationCriteria c;
        c.operators = {QString::fromUtf8(amountOp), QString::fromUtf8(checkOp), QString::fromUtf8(destMode), QString::fromUtf8(dateOp)};
        c.values = {QString::fromUtf8(amount), QString::fromUtf8(amountTo), QString::fromUtf8(check), QString::fromUtf8(checkTo),
                    dest, date, QString::fromUtf8(dateTo)};
        c.ranges = {amountRange, checkRange};
        return c;
    }
};

struct DonationCase {
    Criteria criteria;
    QString filter;    // expected DonationFilter
    QString outcome;   // the donations it lets pass, or the refusal
    QString captions;  // FilterCaptions 9..22 that are not " ", as "9=> 10=100"; null: not checked
    bool refused = false;
};

DonationCase refusedDonation(const Criteria& criteria, const QString& message)
{
    return {criteria, {}, message, {}, true};
}

// The captions that hold something, as "9=> 10=100".
QString captionsOf(const filters::DonationClause& d)
{
    QStringList used;
    for (std::size_t i = 0; i < d.captions.size(); ++i)
        if (d.captions[i] != u" ")
            used << QStringLiteral("%1=%2").arg(filters::kFirstDonationCaption + static_cast<int>(i)).arg(d.captions[i]);
    return used.join(u' ');
}

TEST_F(FilterClauses, DonationClausesAreExactAndLetTheirDonationsPass)
{
    const QString notANumber = QStringLiteral("The Payment Amount must be a number, such as 25 or 12.50.");
    const QString notACheck = QStringLiteral("The Check Number must be a number, such as 1001.");
    const DonationCase cases[] = {
        // The program's own examples.
        {{.amountOp = ">", .amount = "100", .destMode = "Contains", .dest = "Roof"},
         " WHERE [PaymentAmount] >100 and [Destination] Like '*Roof*' ", "2", "9=> 10=100 17=Contains 18=Roof"},
        {{}, "", "1 2 3 4 5 6 7 8 9", ""},
        {{.amountOp = ">"}, "", "1 2 3 4 5 6 7 8 9", ""},
        {{.amount = "25"}, "", "1 2 3 4 5 6 7 8 9", ""},
        // Only the operators the dialog lists are written.
        {{.amountOp = ">=", .amount = "25", .checkOp = "; 1=1 or", .check = "1", .dateOp = "Until", .date = "1/1/2001"},
         "", "1 2 3 4 5 6 7 8 9", ""},
        {{.destMode = "Like", .dest = "roof*"}, " WHERE [Destination] = 'roof*' ", "", {}},
        {{.amountOp = "=", .amount = "25"}, " WHERE [PaymentAmount] =25 ", "9", "9== 10=25"},
        // Strictly between the bounds, cents included.
        {{.amountOp = ">", .amount = "10", .amountTo = "20", .amountRange = true},
         " WHERE [PaymentAmount] >10 and [PaymentAmount] <20 ", "3 4 6", "9=> 10=10 11=< 12=20"},
        {{.amountOp = ">", .amount = "10", .amountTo = "20"}, " WHERE [PaymentAmount] >10 ", "1 2 3 4 5 6 7 9", "9=> 10=10"},
        {{.amountOp = ">", .amount = "10", .amountRange = true}, " WHERE [PaymentAmount] >10 ", "1 2 3 4 5 6 7 9", "9=> 10=10"},
        // Amounts as people write them, in plain decimal form in the clause and as typed in the captions.
        {{.amountOp = "=", .amount = "$100.00"}, " WHERE [PaymentAmount] =100 ", "1", "9== 10=$100.00"},
        {{.amountOp = "=", .amount = " 10.50 "}, " WHERE [PaymentAmount] =10.5 ", "3", "9== 10= 10.50 "},
        {{.amountOp = "<", .amount = "1,000"}, " WHERE [PaymentAmount] <1000 ", "1 2 3 4 5 6 7 8 9", {}},
        {{.amountOp = ">", .amount = "-5"}, " WHERE [PaymentAmount] >-5 ", "1 2 3 4 5 6 7 8 9", {}},
        {{.amountOp = "<", .amount = "1e9"}, " WHERE [PaymentAmount] <1000000000 ", "1 2 3 4 5 6 7 8 9", {}},
        {{.amountOp = "=", .amount = "922337203685477"}, " WHERE [PaymentAmount] =922337203685477 ", "", {}},
        refusedDonation({.amountOp = "=", .amount = "922337203685478"}, "The Payment Amount is too large."),
        refusedDonation({.amountOp = "=", .amount = "abc"}, notANumber),
        refusedDonation({.amountOp = "=", .amount = "1e9x"}, notANumber),
        refusedDonation({.amountOp = "=", .amount = "12,50"}, notANumber),
        refusedDonation({.amountOp = "=", .amount = "1/2"}, notANumber),
        refusedDonation({.amountOp = "=", .amount = "10'; DROP TABLE Payments"}, notANumber),
        refusedDonation({.amountOp = ">", .amount = "10", .amountTo = "abc", .amountRange = true}, notANumber),
        // Check numbers are whole: a range is the numbers between the bounds.
        {{.checkOp = "=", .check = "1001"}, " WHERE [CheckNumber] =1001 ", "1", "13== 14=1001"},
        {{.checkOp = ">", .check = "17", .checkTo = "20", .checkRange = true},
         " WHERE [CheckNumber] Between 18 and 19 ", "4 7", "13=> 14=17 15=20 16=<"},
        {{.checkOp = ">", .check = "17.5", .checkTo = "19.5", .checkRange = true},
         " WHERE [CheckNumber] Between 18 and 19 ", "4 7", {}},
        {{.checkOp = ">", .check = "1,000"}, " WHERE [CheckNumber] >1000 ", "1 2 5", "13=> 14=1,000"},
        {{.checkOp = "<", .check = "-1"}, " WHERE [CheckNumber] <-1 ", "", {}},
        refusedDonation({.checkOp = "=", .check = "3000000000"}, "The Check Number is too large."),
        refusedDonation({.checkOp = "=", .check = "#17"}, notACheck),
        refusedDonation({.checkOp = ">", .check = "17", .checkTo = "1e999", .checkRange = true}, notACheck),
        // Destinations: the whole text, or the text anywhere, every character as typed.
        {{.destMode = "Exactly", .dest = "Roof Fund"}, " WHERE [Destination] = 'Roof Fund' ", "1", "17=Exactly 18=Roof Fund"},
        {{.destMode = "Exactly", .dest = "Roof"}, " WHERE [Destination] = 'Roof' ", "6", {}},
        {{.destMode = "Contains", .dest = "roof"}, " WHERE [Destination] Like '*roof*' ", "1 2 6", {}},
        {{.destMode = "Contains", .dest = "Fund #2"}, " WHERE [Destination] Like '*Fund [#]2*' ", "3", {}},
        {{.destMode = "Contains", .dest = "St. Mary's"}, " WHERE [Destination] Like '*St. Mary''s*' ", "5", "17=Contains 18=St. Mary's"},
        {{.destMode = "Exactly", .dest = "St. Mary's Fund"}, " WHERE [Destination] = 'St. Mary''s Fund' ", "5", {}},
        {{.destMode = "Contains", .dest = "[old]"}, " WHERE [Destination] Like '*[[]old]*' ", "7", {}},
        {{.destMode = "Contains", .dest = "50%"}, " WHERE [Destination] Like '*50%*' ", "8", {}},
        {{.destMode = "Contains", .dest = "*"}, " WHERE [Destination] Like '*[*]*' ", "", {}},
        {{.destMode = "Contains", .dest = "?"}, " WHERE [Destination] Like '*[?]*' ", "", {}},
        {{.destMode = "Contains", .dest = "ΕΛΛΗΝ"}, " WHERE [Destination] Like '*ΕΛΛΗΝ*' ", "9", {}},
        {{.destMode = "Exactly", .dest = "x' or '1'='1"}, " WHERE [Destination] = 'x'' or ''1''=''1' ", "", {}},
        {{.destMode = "Contains", .dest = QString(10000, u'r')}, " WHERE [Destination] Like '*" + QString(10000, u'r') + "*' ", "", {}},
        refusedDonation({.destMode = "Contains", .dest = QStringLiteral("a") + QChar(0)},
                        "The Destination holds a character that cannot be searched for."),
        // Dates in the one form the dialect reads, whatever form they were typed in.
        {{.dateOp = ">", .date = "1/1/2001"}, " WHERE [PaymentDate] >#1/1/2001# ", "2 3 4 6 7 8 9", "19=> 20=1/1/2001"},
        {{.dateOp = "<", .date = "March 1, 2001"}, " WHERE [PaymentDate] <#3/1/2001# ", "1 5 8", "19=< 20=March 1, 2001"},
        {{.dateOp = "=", .date = "2001-03-03 10:30"}, " WHERE [PaymentDate] =#3/3/2001 10:30:00 AM# ", "6", {}},
        {{.dateOp = "=", .date = "28-Feb-01"}, " WHERE [PaymentDate] =#2/28/2001# ", "8", {}},
        {{.dateOp = "From", .date = "1/1/2001", .dateTo = "12/31/2001"},
         " WHERE [PaymentDate] Between #1/1/2001# and #12/31/2001# ", "1 2 3 6 7 8 9", "19=From 20=1/1/2001 21=To 22=12/31/2001"},
        {{.dateOp = "From", .date = "2001-01-01", .dateTo = "Dec 31, 2001"},
         " WHERE [PaymentDate] Between #1/1/2001# and #12/31/2001# ", "1 2 3 6 7 8 9", "19=From 20=2001-01-01 21=To 22=Dec 31, 2001"},
        refusedDonation({.dateOp = "<", .date = "not a date"}, "Invalid  'From'  Date"),
        refusedDonation({.dateOp = "=", .date = "2/30/2001"}, "Invalid  'From'  Date"),
        refusedDonation({.dateOp = ">", .date = "13/13/13"}, "Invalid  'From'  Date"),
        refusedDonation({.dateOp = ">", .date = QString(10000, u'1')}, "Invalid  'From'  Date"),
        refusedDonation({.dateOp = "From", .date = "1/1/2001"}, "Invalid  'To'  Date"),
        refusedDonation({.dateOp = "From", .date = "1/1/2001", .dateTo = "2/30/2001"}, "Invalid  'To'  Date"),
        // Every row, joined in the order amount, check number, destination, date.
        {{.amountOp = ">", .amount = "10", .checkOp = "<", .check = "1500", .destMode = "Contains", .dest = "Roof",
          .dateOp = ">", .date = "1/1/2000"},
         " WHERE [PaymentAmount] >10 and [CheckNumber] <1500 and [Destination] Like '*Roof*' and [PaymentDate] >#1/1/2000# ", "1 2",
         "9=> 10=10 13=< 14=1500 17=Contains 18=Roof 19=> 20=1/1/2000"},
        // The first row that cannot be used is the one reported.
        refusedDonation({.amountOp = "=", .amount = "abc", .dateOp = ">", .date = "no date"}, notANumber),
        refusedDonation({.checkOp = "=", .check = "abc", .dateOp = ">", .date = "no date"}, notACheck),
    };
    const QString select = QStringLiteral(
        "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] ");
    for (const DonationCase& c : cases) {
        const filters::DonationCriteria criteria = c.criteria.dialog();
        SCOPED_TRACE((criteria.operators.at(0) + u'|' + criteria.values.at(0).left(20) + u'|' + criteria.operators.at(1) + u'|'
                      + criteria.values.at(2).left(20) + u'|' + criteria.operators.at(2) + u'|' + criteria.values.at(4).left(20)
                      + u'|' + criteria.operators.at(3) + u'|' + criteria.values.at(5).left(20))
                         .toStdString());
        const filters::DonationClause d = filters::donationClause(criteria);
        if (c.refused) {
            EXPECT_EQ(d.refusal, c.outcome);
            EXPECT_TRUE(d.filter.isEmpty());
            continue;
        }
        EXPECT_TRUE(d.refusal.isEmpty()) << d.refusal.toStdString();
        EXPECT_EQ(d.filter, c.filter);
        if (!c.captions.isNull()) {
            EXPECT_EQ(captionsOf(d), c.captions);
        }
        // The grid's query, the totals' sum and the reports' source all take the clause as it is.
        QString found;
        ASSERT_NO_THROW(found = ids(select + d.filter + QStringLiteral(" Order by  PaymentDate"))) << d.filter.left(200).toStdString();
        EXPECT_EQ(found, c.outcome);
        ASSERT_NO_THROW(db_->openRecordset(QStringLiteral("SELECT Sum (PaymentAmount) AS [ListTotal] FROM Payments ") + d.filter));
    }
}


// Typed text of every kind: either a refusal, or a condition the dialect reads and the file runs.
TEST_F(FilterClauses, AnyTypedTextIsRefusedOrGivesAConditionThatRuns)
{
    const QString alphabet = QStringLiteral("'\"*?#[]!%-_.,;:$()+/\\=<> 0123456789eEaZzéÉΣσ\t\n") + QChar(0xD800);
    std::mt19937 random(20240611);
    auto typed = [&] {
        QString text;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i)
            text += alphabet[static_cast<qsizetype>(random() % static_cast<unsigned>(alphabet.size()))];
        if (random() % 40 == 0)
            text += QChar(0);  // now and then the one character no text can hold
        return random() % 8 == 0 ? QString() : text;
    };
    const QStringList numberOps{"", "=", ">", "<"}, destModes{"", "Exactly", "Contains"}, dateOps{"", "=", ">", "<", "From"};
    const QString select = QStringLiteral(
        "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] ");
    int refused = 0, run = 0;
    for (int round = 0; round < 400; ++round) {
        std::array<QString, filters::kMemberBoxes> boxes;
        for (QString& box : boxes)
            box = typed();
        const filters::MemberCondition m = filters::memberCondition(boxes);
        if (m.refusal.isEmpty()) {
            const QString query = db::kAllMembersQuery + (m.condition.isEmpty() ? QString() : QStringLiteral("WHERE ") + m.condition);
            EXPECT_NO_THROW(ids(query)) << query.toStdString();
            ++run;
        } else {
            ++refused;
        }

        filters::DonationCriteria c;
        c.operators = {numberOps[static_cast<qsizetype>(random() % 4)], numberOps[static_cast<qsizetype>(random() % 4)],
                       destModes[static_cast<qsizetype>(random() % 3)], dateOps[static_cast<qsizetype>(random() % 5)]};
        for (QString& value : c.values)
            value = typed();
        // Numbers and dates now and then, so that the clauses get past their first row.
        if (random() % 2)
            c.values[0] = QString::number(static_cast<int>(random() % 300) - 50);
        if (random() % 2)
            c.values[5] = QStringLiteral("%1/%2/2001").arg(random() % 12 + 1).arg(random() % 28 + 1);
        c.ranges = {random() % 2 == 0, random() % 2 == 0};
        const filters::DonationClause d = filters::donationClause(c);
        if (d.refusal.isEmpty()) {
            const QString query = select + d.filter + QStringLiteral(" Order by  PaymentDate");
            EXPECT_NO_THROW(ids(query)) << query.toStdString();
            ++run;
        } else {
            ++refused;
        }
    }
    // Both ways were taken often.
    EXPECT_GT(run, 300);
    EXPECT_GT(refused, 100);
}

} // namespace
