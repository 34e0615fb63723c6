// The CSV writer on its own: how each kind of text, amount and date stands in the file, and a
// round trip of awkward texts through a strict reader.
#include "csv_reader.h"
#include "reports/csv_writer.h"
#include "schema/csv_text.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <cstdint>
#include <limits>

namespace {

using reports::csv::Writer;

struct FieldCase {
    const char* name;
    QString text;
    QByteArray inFile;
};

TEST(CsvWriter, TrickyTextsStandInTheFileAsTheStandardWritesThem)
{
    const std::vector<FieldCase> cases = {
        {"plain", "Smith", "Smith"},
        {"empty", "", ""},
        {"apostrophe", "O'Brien", "O'Brien"},
        {"comma", "Smith, Jr.", "\"Smith, Jr.\""},
        {"quotes", "say \"hi\"", "\"say \"\"hi\"\"\""},
        {"a lone quote", "\"", "\"\"\"\""},
        {"line feed", "12 Oak St\nApt 4", "\"12 Oak St\nApt 4\""},
        {"CR LF", "a\r\nb", "\"a\r\nb\""},
        {"a lone CR", "a\rb", "\"a\rb\""},
        {"blanks kept", "  two blanks ", "  two blanks "},
        {"accents", QString::fromUtf8("Müller-Lüdenscheidt, Zoë"), "\"M\xC3\xBCller-L\xC3\xBC" "denscheidt, Zo\xC3\xAB\""},
        {"other alphabets", QString::fromUtf8("Дмитрий 山田"), "\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9 \xE5\xB1\xB1\xE7\x94\xB0"},
        {"emoji", QString::fromUtf8("🎉"), "\xF0\x9F\x8E\x89"},
        {"semicolon and tab stay bare", "a;b\tc", "a;b\tc"},
        {"a formula is guarded", "=SUM(A1)", "'=SUM(A1)"},
        {"a guarded formula that must be quoted", "=A1,B1", "\"'=A1,B1\""},
        {"CR first: guarded inside the quotes", "\r=1+1", "\"'\r=1+1\""},
        {"tab first", "\t=1+1", "'\t=1+1"},
        {"minus first", "-5 Main St", "'-5 Main St"},
        {"plus first", "+1 555 0100", "'+1 555 0100"},
        {"at first", "@home", "'@home"},
        {"an apostrophe first gets one more", "'=1", "''=1"},
        {"a quote first", "\"=1\"", "\"\"\"=1\"\"\""},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reports::csv::field(c.text), c.inFile);

        // The same text in a line of three fields reads back as it was.
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        Writer w(buffer);
        w.byteOrderMark();
        w.text(QStringLiteral("before"));
        w.text(c.text);
        w.text(QStringLiteral("after"));
        w.endLine();
        w.flush();
        const csvtest::Parsed back = csvtest::readCsv(buffer.data());
        ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
        ASSERT_EQ(back.records.size(), 1u);
        EXPECT_EQ(back.records[0], (QStringList{"before", db::csvtext::written(c.text), "after"}));
    }
}

TEST(CsvWriter, AmountsHaveADecimalPointAndTwoDecimalsAndLoseNothing)
{
    const struct {
        std::int64_t tenThousandths;
        const char* inFile;
    } cases[] = {
        {0, "0.00"},
        {10000, "1.00"},
        {12345000, "1234.50"},
        {100, "0.01"},
        {-2500, "-0.25"},
        {-10000000, "-1000.00"},
        {10050, "1.005"},       // finer than a cent: kept
        {1, "0.0001"},
        {-12, "-0.0012"},
        {std::numeric_limits<std::int64_t>::max(), "922337203685477.5807"},
        {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
    };
    for (const auto& c : cases) {
        QByteArray out;
        reports::csv::appendAmount(out, c.tenThousandths);
        EXPECT_EQ(out, QByteArray(c.inFile)) << c.tenThousandths;
    }
}

TEST(CsvWriter, DatesAreIsoWithTheirTimeOnlyWhenTheyHaveOne)
{
    const struct {
        const char* stored;
        const char* inFile;
    } cases[] = {
        {"2001-03-15 00:00:00", "2001-03-15"},
        {"2001-03-15 13:45:10", "2001-03-15 13:45:10"},
        {"1899-12-30 00:00:00", "1899-12-30"},
        {"2001-03-15", "2001-03-15"},
        {"odd, stored text", "\"odd, stored text\""},
    };
    for (const auto& c : cases) {
        QByteArray out;
        reports::csv::appendDate(out, c.stored);
        EXPECT_EQ(out, QByteArray(c.inFile)) << c.stored;
    }
}

TEST(CsvWriter, LinesEndInCrLfAndEmptyFieldsKeepTheirPlaces)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Writer w(buffer);
    w.byteOrderMark();
    w.integer(-42);
    w.empty();
    w.amount(250000);
    w.endLine();
    w.empty();
    w.empty();
    w.endLine();
    w.flush();
    EXPECT_EQ(buffer.data(), QByteArray("\xEF\xBB\xBF-42,,25.00\r\n,\r\n"));
}

TEST(CsvWriter, NumbersAmountsAndDatesAreWrittenWithoutTheGuard)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Writer w(buffer);
    w.integer(-42);
    w.amount(-2500);
    w.real(-1.5);
    w.date("2001-03-15 00:00:00");
    w.text(QStringLiteral("-42"));
    w.endLine();
    w.flush();
    EXPECT_EQ(buffer.data(), QByteArray("-42,-0.25,-1.5,2001-03-15,'-42\r\n")) << "only the text is guarded";
}

// A device that takes a number of bytes and then refuses, as a full disk does.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 len) override
    {
        if (room_ <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = std::min(len, room_);
        room_ -= n;
        return n;
    }

private:
    qint64 room_;
};

TEST(CsvWriter, ADeviceThatRefusesIsAWriteErrorWithItsReason)
{
    FullDevice device(100);
    Writer w(device);
    try {
        for (int i = 0; i < 200000; ++i) {
            w.text(QStringLiteral("a line of some length"));
            w.endLine();
        }
        w.flush();
        FAIL() << "the refusal was not reported";
    } catch (const reports::csv::WriteError& e) {
        EXPECT_EQ(e.reason(), "No space left on device");
    }
}

} // namespace
