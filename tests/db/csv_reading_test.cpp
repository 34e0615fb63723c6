// Reading CSV files for the import: quoting, line ends and line numbers, blank lines, the two
// encodings and how they are told apart, the header names, and the amounts, dates and check
// numbers other programs write.
#include "db/csv_reading.h"
#include "db/import_columns.h"
#include "db/import_values.h"
#include "support/qstring_printer.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

using db::csv::Encoding;
using db::import::Field;

struct Read {
    std::vector<QStringList> records;
    std::vector<std::int64_t> lines;
    std::vector<bool> unclosed;
};

Read readAll(const QByteArray& bytes, Encoding encoding = Encoding::Utf8)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    db::csv::Reader reader(buffer, encoding);
    db::csv::Record record;
    Read out;
    while (reader.next(record)) {
        out.records.push_back(record.fields);
        out.lines.push_back(record.line);
        out.unclosed.push_back(record.unclosedQuote);
    }
    return out;
}

TEST(CsvReader, QuotingLineEndsAndBlankLines)
{
    const struct {
        const char* name;
        QByteArray bytes;
        std::vector<QStringList> records;
        std::vector<std::int64_t> lines;
    } cases[] = {
        {"plain CR LF", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"LF only, no end at the last line", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"CR only", "a\rb\r", {{"a"}, {"b"}}, {1, 2}},
        {"a comma inside quotes", "\"Smith, Jr.\",x\r\n", {{"Smith, Jr.", "x"}}, {1}},
        {"doubled quotes", "\"say \"\"hi\"\"\",\"\"\r\n", {{"say \"hi\"", ""}}, {1}},
        {"a line break inside quotes counts as a line", "\"1 Elm\r\nUnit 2\",x\r\nnext\r\n",
         {{"1 Elm\r\nUnit 2", "x"}, {"next"}}, {1, 3}},
        {"a lone LF inside quotes", "\"a\nb\nc\",d\ne\n", {{"a\nb\nc", "d"}, {"e"}}, {1, 4}},
        {"blank lines and comma-only lines are skipped", "a\r\n\r\n   \r\n,,\r\nb\r\n", {{"a"}, {"b"}}, {1, 5}},
        {"empty fields stay", ",a,,\r\n", {{"", "a", "", ""}}, {1}},
        {"blanks around unquoted fields are kept", "  Jo ,x\r\n", {{"  Jo ", "x"}}, {1}},
        {"a stray quote inside an unquoted field is text", "5\" pipe,x\r\n", {{"5\" pipe", "x"}}, {1}},
        {"text after a closing quote joins the field", "\"ab\"cd,x\n", {{"abcd", "x"}}, {1}},
        {"the byte-order mark is not part of the first header", "\xEF\xBB\xBFName,City\r\n", {{"Name", "City"}}, {1}},
        {"nothing at all", "", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Read r = readAll(c.bytes);
        EXPECT_EQ(r.records, c.records);
        EXPECT_EQ(r.lines, c.lines);
    }
}

TEST(CsvReader, AnUnclosedQuoteRunsToTheEndAndIsMarked)
{
    const Read r = readAll("a,b\r\n\"open,x\r\ny\r\n");
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_FALSE(r.unclosed[0]);
    EXPECT_TRUE(r.unclosed[1]);
    EXPECT_EQ(r.records[1], QStringList{"open,x\r\ny\r\n"});
}

TEST(CsvReader, RecordsAcrossTheReadersPiecesKeepTheirTextAndLines)
{
    // The reader takes the file a megabyte at a time: put each awkward spot on the seam.
    constexpr qsizetype kPiece = 1 << 20;
    const struct {
        const char* name;
        QByteArray tail;          // what follows the filler, the seam after its first `split` bytes
        qsizetype split;
        QStringList last;         // the record the tail holds
        std::int64_t lineAfter;   // the line of a record after it
    } cases[] = {
        {"CR LF split inside quotes", "\"a\r\nb\"\r\nz\r\n", 3, {"a\r\nb"}, 4},
        {"CR LF split between records", "q\r\nz\r\n", 2, {"q"}, 3},
        {"a doubled quote split", "\"a\"\"b\"\r\nz\r\n", 3, {"a\"b"}, 3},
        {"a two-byte letter split", "\"Z\xC3\xBCrich\"\r\nz\r\n", 3, {QString::fromUtf8("Z\xC3\xBCrich")}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Line 1 is a filler whose end puts the seam `split` bytes into the tail.
        QByteArray bytes(kPiece - c.split - 2, 'x');
        bytes += "\r\n";
        bytes += c.tail;
        const Read r = readAll(bytes);
        ASSERT_EQ(r.records.size(), 3u);
        EXPECT_EQ(r.records[1], c.last);
        EXPECT_EQ(r.lines[1], 2);
        EXPECT_EQ(r.records[2], QStringList{"z"});
        EXPECT_EQ(r.lines[2], c.lineAfter);
    }
}

TEST(CsvEncoding, TheBytesDecide)
{
    const struct {
        const char* name;
        QByteArray bytes;
        Encoding encoding;
        QString text;  // the one field
    } cases[] = {
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFZ\xC3\xBCrich\r\n", Encoding::Utf8, QString::fromUtf8("Z\xC3\xBCrich")},
        {"UTF-8 without one", "\xE5\xB1\xB1\xE7\x94\xB0 \xF0\x9F\x8E\x89\n", Encoding::Utf8, QString::fromUtf8("\xE5\xB1\xB1\xE7\x94\xB0 \xF0\x9F\x8E\x89")},
        {"plain ASCII", "Smith\n", Encoding::Utf8, "Smith"},
        {"Windows-1252 letters", "Z\xFCrich Se\xE1n\n", Encoding::Windows1252, QString::fromUtf8("Z\xC3\xBCrich Se\xC3\xA1n")},
        {"Windows-1252 punctuation", "\x80 5 \x93quoted\x94 \x96\n", Encoding::Windows1252, QString::fromUtf8("\xE2\x82\xAC 5 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x80\x93")},
        {"an overlong form is not UTF-8", "a\xC0\x80\n", Encoding::Windows1252, QString::fromUtf8("a\xC3\x80\xE2\x82\xAC")},
        {"a surrogate is not UTF-8", "\xED\xA0\x80\n", Encoding::Windows1252, QString::fromUtf8("\xC3\xAD\xC2\xA0\xE2\x82\xAC")},
        {"a sequence cut at the end is not UTF-8", "ab\xC3", Encoding::Windows1252, QString::fromUtf8("ab\xC3\x83")},
        {"beyond U+10FFFF is not UTF-8", "\xF4\x90\x80\x80\n", Encoding::Windows1252, QString::fromUtf8("\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray copy = c.bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        buffer.seek(2);
        EXPECT_EQ(db::csv::detectEncoding(buffer), c.encoding);
        EXPECT_EQ(buffer.pos(), 0) << "the device is put back at its start";
        const Read r = readAll(c.bytes, c.encoding);
        ASSERT_EQ(r.records.size(), 1u);
        EXPECT_EQ(r.records[0], QStringList{c.text});
    }
}

TEST(CsvEncoding, OneBadByteLateInALargeFileMakesItWindows1252)
{
    QByteArray bytes;
    for (int i = 0; i < 40000; ++i)
        bytes += "Ann,Adams,1 Elm St,Z\xC3\xBCrich\r\n";
    EXPECT_EQ([&] { QBuffer b(&bytes); b.open(QIODevice::ReadOnly); return db::csv::detectEncoding(b); }(), Encoding::Utf8);
    bytes += "Bob,Brown,2 Oak,M\xFCnchen\r\n";
    QBuffer b(&bytes);
    b.open(QIODevice::ReadOnly);
    EXPECT_EQ(db::csv::detectEncoding(b), Encoding::Windows1252);
}

TEST(ImportHeaders, NamesAndTheirSynonyms)
{
    const struct {
        const char* header;
        std::optional<Field> field;
    } cases[] = {
        {"First Name", Field::FirstName}, {"FirstName", Field::FirstName}, {"first_name", Field::FirstName},
        {"Given Name", Field::FirstName}, {"Last Name", Field::LastName},   {"SURNAME", Field::LastName},
        {"Family-Name", Field::LastName}, {"Address", Field::Address},      {"Street", Field::Address},
        {"City", Field::City},            {"Town", Field::City},            {"State", Field::State},
        {"Province", Field::State},       {"Region", Field::State},         {"Zip", Field::PostalCode},
        {"Zip Code", Field::PostalCode},  {"Postal Code", Field::PostalCode}, {"Postcode", Field::PostalCode},
        {"PostalCode", Field::PostalCode}, {"Phone", Field::Phone},         {"Telephone", Field::Phone},
        {"HomePhone", Field::Phone},      {"Notes", Field::Notes},          {"Comments", Field::Notes},
        {"Member ID", Field::MemberId},   {"MemberID", Field::MemberId},    {"ID", Field::MemberId},
        {"member-id", Field::MemberId},   {"Amount", Field::Amount},        {"Gift", Field::Amount},
        {"Donation", Field::Amount},      {"PaymentAmount", Field::Amount}, {"Fund", Field::Destination},
        {"Destination", Field::Destination}, {"Date", Field::Date},         {"Gift Date", Field::Date},
        {"PaymentDate", Field::Date},     {"Check", Field::Check},          {"Check Number", Field::Check},
        {"Cheque", Field::Check},         {"CheckNumber", Field::Check},    {" Check  No. ", Field::Check},
        {"PaymentID", std::nullopt},      {"E-mail", std::nullopt},         {"", std::nullopt},
        {"Names", std::nullopt},          {"Firstname2", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        EXPECT_EQ(db::import::fieldOfHeader(QString::fromUtf8(c.header)), c.field);
    }
}

TEST(ImportHeaders, MappingPerKindRequiredColumnsAndIgnoredOnes)
{
    using db::import::Kind;
    const struct {
        const char* name;
        Kind kind;
        QStringList header;
        bool complete;
        QStringList ignored;
    } cases[] = {
        {"members: the program's own export", Kind::Members,
         {"MemberID", "FirstName", "LastName", "Address", "City", "State", "PostalCode", "HomePhone", "Notes"}, true, {}},
        {"members: an amount column is not a member's", Kind::Members,
         {"Given Name", "Surname", "Street", "Gift", "E-mail"}, true, {"Gift", "E-mail"}},
        {"members: a second phone column is ignored", Kind::Members,
         {"First Name", "Last Name", "Address", "Phone", "Telephone"}, true, {"Telephone"}},
        {"members: no address", Kind::Members, {"First Name", "Last Name"}, false, {}},
        {"donations: the program's own export", Kind::Donations,
         {"PaymentID", "PaymentAmount", "CheckNumber", "Destination", "PaymentDate", "MemberID"}, true, {"PaymentID"}},
        {"donations: by names and address", Kind::Donations,
         {"First Name", "Last Name", "Address", "City", "Gift", "Fund", "Gift Date"}, true, {"City"}},
        {"donations: names without address do not say who", Kind::Donations,
         {"First Name", "Last Name", "Amount", "Fund", "Date"}, false, {}},
        {"donations: no fund", Kind::Donations, {"ID", "Amount", "Date"}, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const db::import::ColumnMap map = db::import::mapColumns(c.header, c.kind);
        EXPECT_EQ(map.missing.isEmpty(), c.complete) << map.missing.toStdString();
        EXPECT_EQ(map.ignored, c.ignored);
        for (int i = 0; i < c.header.size(); ++i) {
            const auto field = db::import::fieldOfHeader(c.header[i]);
            if (field && !c.ignored.contains(c.header[i])) {
                EXPECT_EQ(map.of(*field), i) << c.header[i].toStdString();
            }
        }
    }
}

TEST(ImportValues, AmountsDatesAndCheckNumbers)
{
    const struct {
        const char* text;
        std::int64_t tenThousandths;  // 0: refused
    } amounts[] = {
        {"25", 250000},         {"25.00", 250000},      {"$25", 250000},        {" 1,234.50 ", 12345000},
        {"1.234,50", 12345000}, {"25,5", 255000},       {"1.234.567,89", 12345678900}, {"$1,234", 12340000},
        {"1.234", 12340},       {"0.01", 100},          {"(25)", 0},            {"-25", 0},
        {"0", 0},               {"0.001", 0},           {"", 0},                {"abc", 0},
        {"12,34,5", 0},         {"1e999", 0},           {"(1.234,50)", 0},      {"25 dollars", 0},
    };
    for (const auto& c : amounts) {
        SCOPED_TRACE(c.text);
        const auto read = db::import::readAmount(QString::fromUtf8(c.text));
        if (c.tenThousandths == 0) {
            ASSERT_TRUE(std::holds_alternative<db::import::Refusal>(read));
            EXPECT_FALSE(std::get<db::import::Refusal>(read).reason.isEmpty());
        } else {
            ASSERT_TRUE(std::holds_alternative<vb::Currency>(read));
            EXPECT_EQ(std::get<vb::Currency>(read).raw(), c.tenThousandths);
        }
    }

    const struct {
        const char* text;
        const char* iso;  // nullptr: refused
    } dates[] = {
        {"3/12/2004", "2004-03-12 00:00:00"},   {"2004-03-12", "2004-03-12 00:00:00"},
        {"12 Mar 2004", "2004-03-12 00:00:00"}, {"12-Mar-2004", "2004-03-12 00:00:00"},
        {"2002-01-02 10:30:00", "2002-01-02 10:30:00"}, {" 12/31/1999 ", "1999-12-31 00:00:00"},
        {"2/30/2004", nullptr}, {"13/1/2004", nullptr}, {"", nullptr}, {"yesterday", nullptr}, {"3/12", nullptr},
    };
    for (const auto& c : dates) {
        SCOPED_TRACE(c.text);
        const auto read = db::import::readDate(QString::fromUtf8(c.text));
        if (!c.iso) {
            EXPECT_TRUE(std::holds_alternative<db::import::Refusal>(read));
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<vb::DateTime>(read));
        EXPECT_EQ(std::get<vb::DateTime>(read).toIso(), QLatin1String(c.iso));
    }

    const struct {
        const char* text;
        std::int64_t number;  // -1: blank, -2: refused
    } checks[] = {
        {"", -1}, {"  ", -1}, {"0", 0}, {"101", 101}, {" 7 ", 7}, {"2147483647", 2147483647},
        {"2147483648", -2}, {"-3", -2}, {"12a", -2}, {"1.5", -2},
    };
    for (const auto& c : checks) {
        SCOPED_TRACE(c.text);
        const auto read = db::import::readCheck(QString::fromUtf8(c.text));
        if (c.number == -2) {
            EXPECT_TRUE(std::holds_alternative<db::import::Refusal>(read));
            continue;
        }
        ASSERT_TRUE((std::holds_alternative<std::optional<std::int32_t>>(read)));
        const auto& n = std::get<std::optional<std::int32_t>>(read);
        EXPECT_EQ(n.has_value(), c.number >= 0);
        if (n) {
            EXPECT_EQ(*n, c.number);
        }
    }
}

} // namespace
