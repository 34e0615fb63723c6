// The rules of giving statements that need no file: the default period, usable addresses, where
// a letter's lines fall on its pages, and the names of the files written per donor.
#include "reports/statement_donors.h"
#include "reports/statement_files.h"
#include "reports/statement_pages.h"

#include <gtest/gtest.h>

namespace {

using reports::StatementPeriod;

QDate day(const char* iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }

TEST(StatementRules, TheDefaultPeriodIsTheLastWholeYear)
{
    struct Case {
        const char* today;
        int startMonth;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"2026-12-09", 1, "2025-01-01", "2025-12-31"},
        {"2026-01-01", 1, "2025-01-01", "2025-12-31"},
        {"2026-12-31", 1, "2025-01-01", "2025-12-31"},  // this year is not over yet
        {"2026-07-01", 7, "2025-07-01", "2026-06-30"},
        {"2026-06-30", 7, "2024-07-01", "2025-06-30"},
        {"2026-11-30", 12, "2024-12-01", "2025-11-30"},
        {"2024-03-01", 3, "2023-03-01", "2024-02-29"},  // a leap day ends it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.today) + " start " + std::to_string(c.startMonth));
        const StatementPeriod p = reports::lastWholeYear(day(c.today), c.startMonth);
        EXPECT_EQ(p.from, day(c.from));
        EXPECT_EQ(p.to, day(c.to));
    }
    EXPECT_EQ(StatementPeriod({day("2025-01-01"), day("2025-12-31")}).inWords(), QStringLiteral("January 1, 2025 - December 31, 2025"));
    EXPECT_EQ(StatementPeriod({day("2025-01-01"), day("2025-12-31")}).shortName(), QStringLiteral("2025"));
    EXPECT_EQ(StatementPeriod({day("2025-07-01"), day("2026-06-30")}).shortName(), QStringLiteral("2025-07-01 to 2026-06-30"));
    EXPECT_EQ(StatementPeriod({day("2025-01-01"), day("2025-12-30")}).shortName(), QStringLiteral("2025-01-01 to 2025-12-30"));
}

TEST(StatementRules, AnAddressIsUsableUnlessBlankOrNone)
{
    const std::pair<const char*, bool> cases[] = {{"", false},        {"   ", false},     {"NONE", false},
                                                  {" none ", false},  {"None", false},    {"NONE St", true},
                                                  {"1 Main St", true}, {"Nonesuch Rd", true}};
    for (const auto& [address, usable] : cases)
        EXPECT_EQ(reports::isUsableAddress(QString::fromUtf8(address)), usable) << address;
}

// Places the lines one at a time, then the closing block where it fits whole: what the
// arithmetic must agree with.
int pagesByPlacing(const reports::StatementPaging& p, int lines)
{
    int page = 0;
    int room = p.firstPageLines;
    for (int i = 0; i < lines; ++i) {
        if (room == 0) {
            ++page;
            room = p.laterPageLines;
        }
        --room;
    }
    return room >= p.closingLines ? page + 1 : page + 2;
}

TEST(StatementRules, ALettersPagesHoldEveryLineAndTheClosingWhole)
{
    for (const QString& wording : {QString(), QStringLiteral("Thank you."), QString(1000, u'w')}) {
        const reports::StatementPaging p = reports::GivingStatementPages::paging(wording);
        SCOPED_TRACE(wording.size());
        ASSERT_GT(p.firstPageLines, 0);
        ASSERT_LE(p.closingLines, p.laterPageLines);
        for (int lines = 1; lines <= 4 * p.laterPageLines; ++lines) {
            const int pages = p.pages(lines);
            ASSERT_EQ(pages, pagesByPlacing(p, lines)) << lines << " lines";
            // Every line on exactly one page, in order.
            int next = 0;
            for (int page = 0; page < pages; ++page) {
                ASSERT_EQ(p.firstLine(page, lines), next);
                next = std::min(lines, next + p.lineCap(page));
            }
            ASSERT_EQ(next, lines);
        }
    }
}

TEST(StatementRules, FileNamesAreSafeAndSayWhoseAndWhen)
{
    const StatementPeriod year{day("2025-01-01"), day("2025-12-31")};
    const StatementPeriod fiscal{day("2025-07-01"), day("2026-06-30")};
    struct Case {
        QString last;
        QString first;
        StatementPeriod period;
        std::int64_t id;
        QString name;
    };
    const Case cases[] = {
        {"O'Brien", "Seán", year, 12, "O'Brien Seán 2025 (12).pdf"},
        {"Lee", "Ann", fiscal, 5, "Lee Ann 2025-07-01 to 2026-06-30 (5).pdf"},
        {"{Smith}", "J.", year, 3, "{Smith} J 2025 (3).pdf"},
        {"A/B\\C", "D:E*F?\"<>|", year, 4, "A_B_C D_E_F_____ 2025 (4).pdf"},
        {"..hidden", "x", year, 6, "hidden x 2025 (6).pdf"},
        {"Ann\n\t  Lee", "", year, 7, "Ann Lee 2025 (7).pdf"},
        {"", "  ", year, 8, "Donor 2025 (8).pdf"},
        {"Иванов", "中文", year, 9, "Иванов 中文 2025 (9).pdf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reports::statementFileName(c.last, c.first, c.period, c.id), c.name) << c.name.toStdString();

    // Long names are cut whole characters at a time, the number and the period kept.
    for (const QString& huge : {QString(5000, u'x'), QString(5000, QChar(0x4E2D)), QString::fromUcs4(U"😀").repeated(5000)}) {
        const QString name = reports::statementFileName(huge, QStringLiteral("First"), fiscal, 123456);
        EXPECT_LE(name.toUtf8().size(), 255);
        EXPECT_TRUE(name.endsWith(QStringLiteral(" 2025-07-01 to 2026-06-30 (123456).pdf"))) << name.toStdString();
        EXPECT_TRUE(name.startsWith(huge.left(10))) << name.toStdString();
        EXPECT_FALSE(name.contains(QChar(QChar::ReplacementCharacter)));
        // No character cut in half: a lone surrogate would not survive the trip through UTF-8.
        EXPECT_EQ(QString::fromUtf8(name.toUtf8()), name);
    }
}

} // namespace
