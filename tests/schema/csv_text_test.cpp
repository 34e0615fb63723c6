// The CSV text rule alone: which stored texts are written with an apostrophe in front, and that
// taking one off gives back every stored text.
#include "schema/csv_text.h"

#include <QByteArray>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

using db::csvtext::needsGuard;
using db::csvtext::stored;
using db::csvtext::written;

TEST(CsvText, TextsASpreadsheetWouldRunAreGuardedAndComeBackAsStored)
{
    const struct {
        const char* name;
        QString stored;
        QString inField;  // before the file's quoting
    } cases[] = {
        {"plain", "Smith", "Smith"},
        {"empty", "", ""},
        {"formula", "=1+1", "'=1+1"},
        {"a link", "=HYPERLINK(\"http://x\",\"y\")", "'=HYPERLINK(\"http://x\",\"y\")"},
        {"a command", "=cmd|' /C calc'!A0", "'=cmd|' /C calc'!A0"},
        {"a street number below zero", "-5 Main St", "'-5 Main St"},
        {"a phone number", "+44 20 7946 0958", "'+44 20 7946 0958"},
        {"at", "@home", "'@home"},
        {"tab first", "\tindented", "'\tindented"},
        {"CR first", "\r=1+1", "'\r=1+1"},
        {"a lone apostrophe", "'", "''"},
        {"apostrophe and formula", "'=1", "''=1"},
        {"two apostrophes", "''", "'''"},
        {"an apostrophe inside", "O'Brien", "O'Brien"},
        {"the signs inside", "5-7 Main St = home @ +1", "5-7 Main St = home @ +1"},
        {"a blank first", " =1+1", " =1+1"},
        {"a line feed first", "\n=1+1", "\n=1+1"},
        {"a letter beyond ASCII first", QString::fromUtf8("Ödegaard"), QString::fromUtf8("Ödegaard")},
        {"an emoji first", QString::fromUtf8("🎉=1"), QString::fromUtf8("🎉=1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(written(c.stored), c.inField);
        EXPECT_EQ(stored(c.inField), c.stored);
        // The export decides on the UTF-8 bytes, the import on the text: the same answer.
        const QByteArray utf8 = c.stored.toUtf8();
        EXPECT_EQ(needsGuard(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))),
                  needsGuard(c.stored));
        EXPECT_EQ(needsGuard(c.stored), c.inField != c.stored);
    }
}

TEST(CsvText, EveryShortTextOfTheTellingCharactersComesBackAsStored)
{
    // Every text of up to four characters from those that decide the rule, and some that do not.
    const QString alphabet = QStringLiteral("'=+-@\t\r\n a");
    QStringList texts{QString()};
    QStringList last{QString()};
    for (int length = 1; length <= 4; ++length) {
        QStringList next;
        for (const QString& t : last)
            for (QChar ch : alphabet)
                next << t + ch;
        texts << next;
        last = next;
    }
    for (const QString& text : texts) {
        const QString field = written(text);
        EXPECT_EQ(stored(field), text) << text.toStdString();
        EXPECT_TRUE(field == text || field == QChar(u'\'') + text) << text.toStdString();
        // What a spreadsheet sees first is never a character it would start a formula with.
        EXPECT_FALSE(!field.isEmpty() && QStringLiteral("=+-@\t\r").contains(field.front())) << text.toStdString();
    }
}

TEST(CsvText, AHandWrittenFieldLosesOneLeadingApostrophe)
{
    const struct {
        const char* inField;
        const char* stored;
    } cases[] = {
        {"'Quoted", "Quoted"},
        {"'", ""},
        {"''", "'"},
        {"'0123", "0123"},
        {"Plain", "Plain"},
        {"=1+1", "=1+1"},  // a file that did not guard it: the text as it stands
        {"Rock 'n' Roll", "Rock 'n' Roll"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stored(QString::fromUtf8(c.inField)), QString::fromUtf8(c.stored)) << c.inField;
}

} // namespace
