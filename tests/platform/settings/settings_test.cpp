#include "platform/settings/settings.h"

#include "support/temp_dir.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    quiltest::TempDir dir;
    settings::ScopedFile file{dir.file("quil.ini")};

    QString iniText() const
    {
        QFile f(dir.file("quil.ini"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

TEST_F(SettingsTest, FirstStartGetsTheDefaultPlacement)
{
    EXPECT_EQ(settings::readPlacement(), (settings::WindowPlacement{1000, 1000, 6500, 6500}));
}

// Only a store without any of the four values is a first start; one value stored, even an
// unreadable one, is a stored placement with defaults for the rest.
TEST_F(SettingsTest, APlacementIsStoredOnceAnyOfItsValuesIs)
{
    EXPECT_FALSE(settings::storedPlacement());
    settings::setValue("Other", "1");
    EXPECT_FALSE(settings::storedPlacement());
    for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
        settings::remove("MainLeft");
        settings::remove("MainTop");
        settings::remove("MainWidth");
        settings::remove("MainHeight");
        settings::setValue(key, "abc");
        ASSERT_TRUE(settings::storedPlacement()) << key;
        EXPECT_EQ(*settings::storedPlacement(), settings::WindowPlacement{}) << key;
    }
}

TEST_F(SettingsTest, PlacementIsWrittenAsDecimalTextUnderSettingsAndReadBack)
{
    const settings::WindowPlacement placed{-120, 45, 14400, 9015};
    settings::writePlacement(placed);
    EXPECT_EQ(settings::readPlacement(), placed);

    const QString text = iniText();
    EXPECT_TRUE(text.contains("[Settings]")) << text.toStdString();
    for (const char* line : {"MainLeft=-120", "MainTop=45", "MainWidth=14400", "MainHeight=9015"})
        EXPECT_TRUE(text.contains(line)) << line << " in\n" << text.toStdString();
}

TEST_F(SettingsTest, UnreadableValuesFallBackToTheirDefaultsOneByOne)
{
    const struct {
        const char* stored;
        int expectedLeft;
    } cases[] = {
        {"1234", 1234},  {" 77 ", 77},   {"1000.6", 1001}, {"-5", -5}, {"", 1000},
        {"abc", 1000},   {"12abc", 1000}, {"1e12", 1000},   {"nan", 1000},
    };
    for (const auto& c : cases) {
        settings::setValue("MainLeft", c.stored);
        settings::setValue("MainTop", "200");
        const auto placement = settings::readPlacement();
        EXPECT_EQ(placement.left, c.expectedLeft) << '"' << c.stored << '"';
        EXPECT_EQ(placement.top, 200) << c.stored;
        EXPECT_EQ(placement.width, 6500) << c.stored;
    }
}

TEST_F(SettingsTest, GenericValuesRoundTripAndDefaultWhenMissing)
{
    EXPECT_EQ(settings::value("LastFolder", "C:\\"), "C:\\");
    settings::setValue("LastFolder", "/home/ørjan/Ünïcode, 'quoted'; [x]=y");
    EXPECT_EQ(settings::value("LastFolder", "C:\\"), "/home/ørjan/Ünïcode, 'quoted'; [x]=y");
    settings::setValue("Empty", "");
    EXPECT_EQ(settings::value("Empty", "fallback"), "");
    settings::remove("LastFolder");
    EXPECT_EQ(settings::value("LastFolder", "gone"), "gone");
}

TEST_F(SettingsTest, RedirectionIsUndoneWhenTheScopeEnds)
{
    const QString outer = settings::fileInUse();
    {
        quiltest::TempDir other;
        settings::ScopedFile inner(other.file("other.ini"));
        settings::writePlacement({1, 2, 3, 4});
        EXPECT_EQ(settings::readPlacement(), (settings::WindowPlacement{1, 2, 3, 4}));
    }
    EXPECT_EQ(settings::fileInUse(), outer);
    EXPECT_EQ(settings::readPlacement(), (settings::WindowPlacement{}));
}

// The user's own store, with Qt's test mode and the user-scope path pointed at a temporary
// folder so that the real settings stay untouched: application and organisation "QUIL".
TEST(SettingsUserStore, WithoutRedirectionTheStoreIsTheUsersQuilSettings)
{
    quiltest::TempDir dir;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    settings::ScopedFile userStore{QString()};

    settings::writePlacement({10, 20, 30, 40});
    QSettings direct(QSettings::NativeFormat, QSettings::UserScope, "QUIL", "QUIL");
    EXPECT_TRUE(direct.fileName().startsWith(dir.path())) << direct.fileName().toStdString();
    EXPECT_EQ(direct.value("Settings/MainWidth").toString(), "30");
    EXPECT_EQ(settings::readPlacement(), (settings::WindowPlacement{10, 20, 30, 40}));
}

} // namespace
