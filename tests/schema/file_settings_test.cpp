// The file's own settings: read with a default, written all at once or not at all, and a write
// the file refuses told in one message with the stored values as they were.
#include "db_fixture.h"

#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "schema/file_settings.h"
#include "schema/template.h"

namespace {

class FileSettingsTest : public dbtest::TempFolder {
protected:
    void SetUp() override
    {
        path_ = file(QStringLiteral("settings.qdb"));
        db::writeTemplate(path_);
    }
    void TearDown() override { dao::Engine::instance().defaultWorkspace().close(); }

    std::shared_ptr<dao::Database> openDb(bool readOnly = false)
    {
        return dao::Engine::instance().defaultWorkspace().openDatabase(path_, false, readOnly,
                                                                       db::DescrambleConnect(db::kScrambledConnect));
    }

    QString path_;
};

TEST_F(FileSettingsTest, ValuesWrittenTogetherReadBackAndReplaceEarlierOnes)
{
    auto db = openDb();
    EXPECT_EQ(db::readSetting(*db, db::kStatementWording, QStringLiteral("none yet")), QStringLiteral("none yet"));

    const QString wording = QStringLiteral("No goods or services were provided; O'Brien's {gift} é 中文\nsecond line");
    EXPECT_FALSE(db::writeSettings(*db, {{db::kStatementWording, wording}, {db::kFiscalYearStart, QStringLiteral("7")}}).has_value());
    EXPECT_EQ(db::readSetting(*db, db::kStatementWording), wording);
    EXPECT_EQ(db::fiscalYearStartMonth(*db), 7);

    // A second write under a name replaces the value; the other stays.
    EXPECT_FALSE(db::writeSettings(*db, {{db::kStatementWording, QStringLiteral("Thank you.")}}).has_value());
    EXPECT_EQ(db::readSetting(*db, db::kStatementWording), QStringLiteral("Thank you."));
    EXPECT_EQ(db::fiscalYearStartMonth(*db), 7);

    // Kept in the file: a new connection reads them.
    db.reset();
    dao::Engine::instance().defaultWorkspace().close();
    auto again = openDb();
    EXPECT_EQ(db::readSetting(*again, db::kStatementWording), QStringLiteral("Thank you."));
    sqlite::Connection c = dbtest::openKeyed(path_);
    EXPECT_EQ(dbtest::scalar(c, QStringLiteral("SELECT count(*) FROM Settings")), 2);
}

TEST_F(FileSettingsTest, YearStartReadsOnlyAMonth)
{
    struct Case {
        const char* stored;  // nullptr: none stored
        int month;
    };
    const Case cases[] = {{nullptr, 1}, {"1", 1}, {"7", 7}, {" 12 ", 12}, {"0", 1}, {"13", 1}, {"-3", 1}, {"July", 1}, {"", 1}, {"7.5", 1}};
    auto db = openDb();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(none)");
        {
            sqlite::Connection raw = dbtest::openKeyed(path_);
            raw.exec(QStringLiteral("DELETE FROM Settings"));
            if (c.stored) {
                sqlite::Statement s = raw.prepare(QStringLiteral("INSERT INTO Settings VALUES (?1, ?2)"));
                s.bind(1, db::kFiscalYearStart.toString()).bind(2, QString::fromUtf8(c.stored));
                s.step();
            }
        }
        EXPECT_EQ(db::fiscalYearStartMonth(*db), c.month);
    }
}

TEST_F(FileSettingsTest, ARefusedWriteIsOneMessageAndChangesNothing)
{
    {
        auto db = openDb();
        ASSERT_FALSE(db::writeSettings(*db, {{db::kStatementWording, QStringLiteral("Before")}}).has_value());
    }
    dao::Engine::instance().defaultWorkspace().close();
    auto readOnly = openDb(true);
    const std::optional<QString> refusal =
        db::writeSettings(*readOnly, {{db::kFiscalYearStart, QStringLiteral("4")}, {db::kStatementWording, QStringLiteral("After")}});
    ASSERT_TRUE(refusal.has_value());
    EXPECT_TRUE(refusal->contains(QStringLiteral("could not be saved"))) << refusal->toStdString();
    EXPECT_TRUE(refusal->contains(QStringLiteral("The file is unchanged."))) << refusal->toStdString();
    EXPECT_EQ(db::readSetting(*readOnly, db::kStatementWording), QStringLiteral("Before"));
    EXPECT_EQ(db::fiscalYearStartMonth(*readOnly), 1);
}

} // namespace
