// The mail-merge file: byte for byte against golden files, each field's escaping, and the
// escaping undone by an independent RTF reader for the fixture and for random hostile texts.
#include "mail_merge_fixture.h"
#include "reports/mail_merge_rtf.h"
#include "reports/rtf_text.h"
#include "support/rtf_reader.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <ostream>

namespace {

using mailmergetest::shownCells;
using mailmergetest::threeMembers;
using reports::MailMergeRow;

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct GoldenCase {
    const char* file;
    std::vector<MailMergeRow> rows;
};

void PrintTo(const GoldenCase& c, std::ostream* out)
{
    *out << c.file;
}

class MailMergeGolden : public ::testing::TestWithParam<GoldenCase> {};

// QUIL_UPDATE_GOLDEN=1 rewrites the files; look at the diff before committing it.
TEST_P(MailMergeGolden, FileIsByteForByteTheGoldenOne)
{
    const GoldenCase& c = GetParam();
    const QString path = QStringLiteral(QUIL_GOLDEN_DIR "/") + QString::fromLatin1(c.file);
    const QByteArray written = reports::mailMergeRtf(c.rows);
    if (qEnvironmentVariableIsSet("QUIL_UPDATE_GOLDEN")) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(written);
    }
    const QByteArray golden = readFile(path);
    ASSERT_FALSE(golden.isEmpty()) << "no golden file " << path.toStdString();
    EXPECT_EQ(written, golden);

    // Line ends are CR LF only, and nothing follows the document's closing brace.
    for (qsizetype i = 0; i < written.size(); ++i) {
        if (written[i] == '\n') {
            EXPECT_TRUE(i > 0 && written[i - 1] == '\r') << "a bare line feed at " << i;
        }
        if (written[i] == '\r') {
            EXPECT_TRUE(i + 1 < written.size() && written[i + 1] == '\n') << "a bare carriage return at " << i;
        }
    }
    EXPECT_TRUE(written.endsWith(" {\\par }}"));
    EXPECT_EQ(written.count("\r\n"), 11 + 2 * static_cast<qsizetype>(c.rows.size()) + (c.rows.empty() ? 1 : 0));

    const quiltest::RtfTable table = quiltest::readRtfTable(written);
    ASSERT_EQ(table.error, QString());
    EXPECT_EQ(table.rows, shownCells(c.rows));
}

// "one" holds only printable ASCII: the classic file, unchanged by any escaping.
INSTANTIATE_TEST_SUITE_P(
    Files, MailMergeGolden,
    ::testing::Values(GoldenCase{"mail_merge_none.rtf", {}},
                      GoldenCase{"mail_merge_one.rtf",
                                 {{QStringLiteral("John Smith"), QStringLiteral("12 Main St."), QStringLiteral("Boston"),
                                   QStringLiteral("MA"), QStringLiteral("02108-1234")}}},
                      GoldenCase{"mail_merge_three.rtf", threeMembers()}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::to_string(info.index); });

struct EscapeCase {
    QString text;
    QByteArray written;
};

TEST(RtfText, EachKindOfCharacterIsWrittenSoThatAReaderShowsIt)
{
    const EscapeCase cases[] = {
        {QStringLiteral("O'Brien & \"Sons\" 100% #2 [x] *?"), "O'Brien & \"Sons\" 100% #2 [x] *?"},
        {QStringLiteral("a\\b{c}d"), "a\\\\b\\{c\\}d"},
        {QStringLiteral("\\{}"), "\\\\\\{\\}"},
        {QStringLiteral("Montréal ÿ ß"), "Montr\xe9" "al \xff \xdf"},
        {QStringLiteral("€ ‚ „ … ™ Œ œ Ÿ ’ – —"), "\x80 \x82 \x84 \x85 \x99 \x8c \x9c \x9f \x92 \x96 \x97"},
        {QStringLiteral("李"), "\\u26446?"},
        {QStringLiteral("Ω9"), "\\u937?9"},  // a digit after the fallback stays text
        {QStringLiteral("🎉"), "\\u-10180?\\u-8311?"},
        {QString(QChar(0xFFFF)), "\\u-1?"},
        {QString(QChar(0x8000)), "\\u-32768?"},
        {QString(QChar(0x0081)) + QChar(0x008D) + QChar(0x009D), "\\u129?\\u141?\\u157?"},  // unassigned in 1252
        {QString(QChar(0xD800)) + u'x' + QChar(0xDC00), "\\u-3?x\\u-3?"},                   // lone surrogates
        {QStringLiteral("a\tb"), "a\\tab b"},
        {QStringLiteral("1\r\n2\n3\r4"), "1\\line 2\\line 3\\line 4"},
        {QString(QChar(0)) + QChar(0x1F) + QChar(0x7F), "\\'00\\'1f\\'7f"},
        {QStringLiteral(" lead and trail "), " lead and trail "},
        {QString(), ""},
    };
    for (const EscapeCase& c : cases) {
        EXPECT_EQ(reports::rtfText(c.text), c.written) << c.text.toStdString();
        // The reader, given the text as a cell, shows it back.
        const QByteArray doc = "{\\rtf1\\ansi\\ansicpg1252\\uc1 {" + c.written + "\\cell }{\\row }}";
        const quiltest::RtfTable t = quiltest::readRtfTable(doc);
        ASSERT_EQ(t.error, QString()) << c.text.toStdString();
        ASSERT_EQ(t.rows.size(), 1u);
        EXPECT_EQ(t.rows[0], std::vector<QString>{quiltest::shownRtfText(c.text)}) << c.text.toStdString();
    }
}

TEST(RtfText, CodePageTableRoundTrips)
{
    int assigned = 0;
    for (int b = 0; b < 256; ++b) {
        const char16_t c = reports::cp1252Char(static_cast<unsigned char>(b));
        if (c == 0xFFFD)
            continue;
        ++assigned;
        EXPECT_EQ(reports::cp1252Byte(c), static_cast<char>(b)) << b;
    }
    EXPECT_EQ(assigned, 251);
    EXPECT_FALSE(reports::cp1252Byte(0x0100));
    EXPECT_FALSE(reports::cp1252Byte(0x0080));
}

// Random rows from a hostile alphabet: the reader must show every field exactly, in its cell.
TEST(MailMergeRtf, RandomFieldsReadBackExactly)
{
    const QString alphabet = QStringLiteral("aZ 09'\"\\{}*?#[]!-%;\t\r\néÿ€’ŒΩ李🎉") + QChar(0) + QChar(0x7F) + QChar(0x81)
                             + QChar(0xD800) + QChar(0xDFFF) + QChar(0xFFFF) + QChar(0xFEFF);
    QRandomGenerator random(20011);
    const auto randomText = [&] {
        QString t;
        const int length = static_cast<int>(random.bounded(12));
        for (int i = 0; i < length; ++i)
            t += alphabet[static_cast<qsizetype>(random.bounded(static_cast<quint32>(alphabet.size())))];
        return t;
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<MailMergeRow> rows(random.bounded(4));
        for (MailMergeRow& r : rows)
            r = {randomText(), randomText(), randomText(), randomText(), randomText()};
        const QByteArray rtf = reports::mailMergeRtf(rows);
        const quiltest::RtfTable table = quiltest::readRtfTable(rtf);
        ASSERT_EQ(table.error, QString()) << "round " << round;
        std::vector<std::vector<QString>> expected = shownCells(rows);
        for (auto& row : expected)
            for (QString& cell : row)
                cell = quiltest::shownRtfText(cell);
        ASSERT_EQ(table.rows, expected) << "round " << round;
        for (const char byte : {'\x81', '\x8d', '\x8f', '\x90', '\x9d'})
            ASSERT_FALSE(rtf.contains(byte)) << "a byte code page 1252 leaves unassigned, round " << round;
    }
}

// The reader is the tests' judge of a well-formed file, so it must refuse what is not one.
TEST(RtfReader, RefusesMalformedDocuments)
{
    const char* broken[] = {
        "",
        "{\\rtf",
        "{\\rtf1 a",                     // not closed
        "{\\rtf1 a}}",                   // a brace too many
        "{\\rtf1 a} b",                  // text after the end
        "{\\rtf1 a\tb}",                 // a raw tab
        "{\\rtf1 \\'g1}",                // not hexadecimal
        "{\\rtf1 \\u}",                  // \u without its number
        "{\\rtf1 \\u-}",
        "{\\rtf1 \\",                    // a lone backslash
        "{\\rtf1 \\%}",                  // not a control symbol
        "{\\rtf1 {x\\cell }a\\row }",    // text between the last cell and the row end
        "{\\rtf1 {x\\cell }}",           // a cell without its row
    };
    for (const char* doc : broken)
        EXPECT_NE(quiltest::readRtfTable(QByteArray(doc)).error, QString()) << doc;
}

} // namespace
