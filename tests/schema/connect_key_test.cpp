#include "schema/connect_key.h"

#include <gtest/gtest.h>

namespace {

TEST(DescrambleConnect, TheProgramConstantGivesTheConnectSuffix)
{
    EXPECT_EQ(db::kScrambledConnect.size(), 10);
    EXPECT_EQ(db::DescrambleConnect(db::kScrambledConnect), QStringLiteral("pwd=Qz8tWm"));
    EXPECT_EQ(db::databasePassword(), QStringLiteral("Qz8tWm"));
}

TEST(DescrambleConnect, ShorterInputUsesTheLeadingKeyCharacters)
{
    const QString full = db::DescrambleConnect(db::kScrambledConnect);
    for (qsizetype n = 0; n <= db::kScrambledConnect.size(); ++n)
        EXPECT_EQ(db::DescrambleConnect(db::kScrambledConnect.left(n)), full.left(n)) << n;
}

TEST(DescrambleConnect, EachPositionDependsOnlyOnItsOwnCharacter)
{
    const QString full = db::DescrambleConnect(db::kScrambledConnect);
    for (qsizetype i = 0; i < db::kScrambledConnect.size(); ++i) {
        QString changed = db::kScrambledConnect;
        changed[i] = QChar(changed.at(i).unicode() - 1);
        QString expected = full;
        expected[i] = QChar(full.at(i).unicode() - 1);
        EXPECT_EQ(db::DescrambleConnect(changed), expected) << i;
    }
}

TEST(DescrambleConnect, RejectsWhatTheKeyCannotDescramble)
{
    struct Case {
        const char* what;
        QString input;
    };
    const Case cases[] = {
        {"longer than the key", db::kScrambledConnect + QLatin1Char('x')},
        {"eleven blanks", QString(11, QLatin1Char(' '))},
        {"a difference below zero", QString(1, QChar(0))},
        {"below zero at the last position", db::kScrambledConnect.left(9) + QChar(1)},
        {"a character outside Latin-1", QStringLiteral("\u20AC")},
    };
    for (const Case& c : cases)
        EXPECT_THROW(db::DescrambleConnect(c.input), db::DescrambleError) << c.what;
}

TEST(PasswordOfConnect, TakesTheTextAfterTheFirstEqualsSign)
{
    const std::pair<const char*, const char*> cases[] = {
        {"pwd=Qz8tWm", "Qz8tWm"}, {"a=b=c", "b=c"}, {"=x", "x"}, {"pwd=", ""}, {"no sign", ""}, {"", ""},
    };
    for (const auto& [connect, password] : cases)
        EXPECT_EQ(db::passwordOfConnect(QString::fromLatin1(connect)), QString::fromLatin1(password)) << connect;
}

} // namespace
