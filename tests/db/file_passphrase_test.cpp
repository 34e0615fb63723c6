// A file's own passphrase through the real window: set, asked at every open, kept by the
// commands that rewrite the file, removed; a wrong passphrase leaves the file's bytes as they
// were; the rules of the dialog's boxes in one table.
#include "db_fixture.h"

#include "db/backup.h"
#include "db/backup_file.h"
#include "db/file_commands.h"
#include "db/set_file_password.h"
#include "platform/dao/derived_keys.h"
#include "platform/jet/db_error.h"
#include "support/executive.h"

#include <QLineEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using dbtest::digest;
using dbtest::rowsOf;

TEST(FilePasswordRules, EachRefusalHasItsReasonAndWhatIsTypedIsWhatIsSet)
{
    const QString longOne(10000, u'p');
    const QString nonAscii = QStringLiteral("Gr\u00fc\u00dfe \u05e9\u05dc\u05d5\u05dd \U0001F511");
    const struct {
        const char* what;
        db::FilePasswordEntry entry;
        const char* refusal;  // how the message begins; nullptr: carried out
    } cases[] = {
        {"administrator wrong", {false, QStringLiteral("long enough"), QStringLiteral("long enough"), false}, "The Administrator password is not correct"},
        {"typed differently twice", {true, QStringLiteral("long enough"), QStringLiteral("long enougH"), false}, "The two new passwords are not the same"},
        {"one character", {true, QStringLiteral("x"), QStringLiteral("x"), false}, "A file password needs at least 8 characters"},
        {"seven characters", {true, QStringLiteral("1234567"), QStringLiteral("1234567"), true}, "A file password needs at least 8"},
        {"eight characters", {true, QStringLiteral("12345678"), QStringLiteral("12345678"), false}, nullptr},
        {"10,000 characters", {true, longOne, longOne, false}, nullptr},
        {"non-ASCII", {true, nonAscii, nonAscii, true}, nullptr},
        {"both empty: removed", {true, {}, {}, true}, nullptr},
        {"both empty, none to remove", {true, {}, {}, false}, "This file has no file password to remove"},
        {"one box empty", {true, QStringLiteral("long enough"), {}, true}, "The two new passwords are not the same"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString refusal = db::filePasswordRefusal(c.entry).value_or(QStringLiteral("<carried out>"));
        EXPECT_TRUE(refusal.startsWith(QLatin1String(c.refusal ? c.refusal : "<carried out>"))) << refusal.toStdString();
    }
}

class PassphraseTest : public dbtest::NewFilesTest {
protected:
    // Set File Password with the boxes filled and OK pressed; the answer to its message taken.
    void setPassword(frmMain& f, const QString& admin, const QString& typed, const QString& again)
    {
        ui().queueDialog([=](QDialog& d) {
            ASSERT_EQ(d.objectName(), "SetFilePassword");
            ui::child<QLineEdit>(d, "txtAdmin").setText(admin);
            ui::child<QLineEdit>(d, "txtNew").setText(typed);
            ui::child<QLineEdit>(d, "txtConfirm").setText(again);
            ui::click(d, "cmdOK");
        });
        f.files->mnuFileSetPassword_Click();
    }

    // The File Password dialog answered: typed and OK, or Cancel for a null text.
    void answerFilePassword(const std::optional<QString>& typed)
    {
        ui().queueDialog([typed](QDialog& d) {
            ASSERT_EQ(d.objectName(), "FilePassword");
            ASSERT_EQ(d.windowTitle(), "File Password");
            if (!typed) {
                ui::click(d, "cmdCancel");
                return;
            }
            ui::child<QLineEdit>(d, "txtPassword").setText(*typed);
            ui::click(d, "cmdOK");
        });
    }

    QStringList titles()
    {
        QStringList out;
        for (const auto& m : ui().messages())
            out << m.title + u':' + m.prompt.left(40);
        return out;
    }

    static int members(frmMain& f)
    {
        auto s = f.S.db->connection().prepare(QStringLiteral("SELECT count(*) FROM Members"));
        s.step();
        return static_cast<int>(s.int64(0));
    }
};

TEST_F(PassphraseTest, SetAskedAtEveryOpenKeptByCompressAndRemoved)
{
    const QString passphrase = QStringLiteral("r\u00f6\u00f6f fund 2026");
    frmMain& f = open();
    const int before = members(f);
    ui().clearLog();

    // Set: the file is rewritten under the passphrase and opened again without asking.
    setPassword(f, quiltest::kAdminPassword, passphrase, passphrase);
    ASSERT_EQ(f.S.OpenDbPath, file_) << titles().join(u'\n').toStdString();
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Set File Password:The file password was set. Keep it safe:")});
    EXPECT_TRUE(sqlite::carriesPassphrase(file_));
    EXPECT_EQ(members(f), before);
    // The program's own key does not open it.
    EXPECT_THROW(rowsOf(file_, QStringLiteral("SELECT count(*) FROM Members")), jet::DbError);

    // Repair / Compress keeps it and does not ask.
    ui().clearLog();
    f.files->mnuCompact_Click();
    ASSERT_EQ(f.S.OpenDbPath, file_) << titles().join(u'\n').toStdString();
    EXPECT_TRUE(sqlite::carriesPassphrase(file_));

    // The next open asks: a wrong passphrase is told and asked again, and changes no byte.
    f.files->mnuFileClose_Click();
    EXPECT_TRUE(f.S.Passphrase.isEmpty());
    const QByteArray bytes = digest(file_);
    ui().clearLog();
    answerFilePassword(passphrase + u'!');
    answerFilePassword(passphrase);
    open(file_);
    EXPECT_EQ(f.S.OpenDbPath, file_);
    ASSERT_EQ(ui().messages().size(), 1U);
    EXPECT_EQ(ui().messages().front().prompt, QStringLiteral("The password for %1 is not correct.").arg(file_));
    f.files->mnuFileClose_Click();
    EXPECT_EQ(digest(file_), bytes);

    // Cancel leaves the window without a file.
    answerFilePassword(std::nullopt);
    f.S.DbFileName = file_;
    f.files->mnuFileOpen_Click();
    EXPECT_TRUE(f.S.OpenDbPath.isEmpty());
    EXPECT_TRUE(f.S.db == nullptr);

    // Removed: the file is the program's again and opens without a question.
    answerFilePassword(passphrase);
    open(file_);
    ui().clearLog();
    setPassword(f, quiltest::kAdminPassword, {}, {});
    EXPECT_EQ(titles(), QStringList{QStringLiteral("Set File Password:The file password was removed.")});
    EXPECT_FALSE(sqlite::carriesPassphrase(file_));
    EXPECT_EQ(rowsOf(file_, QStringLiteral("SELECT count(*) FROM Members")), QStringList{QString::number(before)});
}

// What copies the file keeps its passphrase: the backup before a command (the file's bytes),
// Restore of that backup, Clone and Clear; each opens with the passphrase and nothing else, and
// the window opens each without asking again.
TEST_F(PassphraseTest, EveryCopyKeepsThePassphrase)
{
    const QString passphrase = QStringLiteral("every copy keeps it");
    frmMain& f = open();
    const int before = members(f);
    setPassword(f, quiltest::kAdminPassword, passphrase, passphrase);
    ASSERT_EQ(f.S.OpenDbPath, file_);

    ASSERT_TRUE(db::BackupBeforeCommand(f));
    const QString backup = db::listBackups(file_).back().path;
    EXPECT_TRUE(sqlite::carriesPassphrase(backup));
    {
        sqlite::Connection c(backup, passphrase.toUtf8(), sqlite::Connection::Mode::ReadOnly);
        c.verifyReadable(backup);
    }
    EXPECT_THROW(rowsOf(backup, QStringLiteral("SELECT count(*) FROM Members")), jet::DbError);

    ui().clearLog();
    ui().queueDialog([&](QDialog& d) {
        // Newest first: the backup made under the passphrase.
        auto& list = ui::child<QTreeWidget>(d, "lstBackups");
        list.setCurrentItem(list.topLevelItem(0));
        ui::click(d, "cmdRestore");
    });
    ui().queueAnswer(ui::Yes);
    f.files->mnuFileRestore_Click();
    ASSERT_EQ(f.S.OpenDbPath, file_) << titles().join(u'\n').toStdString();
    EXPECT_TRUE(sqlite::carriesPassphrase(file_));

    const QString clone = dir_.file(QStringLiteral("Clone.qdb"));
    ui().clearLog();
    ui().queueFile(clone);
    f.files->mnuFileNewClone_Click();
    ASSERT_EQ(f.S.OpenDbPath, clone) << titles().join(u'\n').toStdString();
    EXPECT_TRUE(sqlite::carriesPassphrase(clone));
    EXPECT_EQ(members(f), before);
    EXPECT_FALSE(f.S.Passphrase.isEmpty());
    EXPECT_THROW(rowsOf(clone, QStringLiteral("SELECT count(*) FROM Members")), jet::DbError);
}

// A backup keeps the key it was made under. Restore reads a backup of the program's key with
// that key (the file then has no passphrase), and asks for the passphrase of a backup made under
// an earlier one only when it is chosen: a wrong one is told and asked again.
TEST_F(PassphraseTest, RestoreTakesEachBackupsOwnKey)
{
    const QString first = QStringLiteral("the first passphrase");
    const QString second = QStringLiteral("the second passphrase");
    frmMain& f = open();
    // Chooses the newest backup made under the given key: a passphrase's mark or none.
    const auto restoreNewest = [&](bool marked) {
        ui().queueDialog([marked](QDialog& d) {
            auto& list = ui::child<QTreeWidget>(d, "lstBackups");
            for (int i = list.topLevelItemCount() - 1; i >= 0; --i)
                if (sqlite::carriesPassphrase(list.topLevelItem(i)->toolTip(0)) == marked)
                    list.setCurrentItem(list.topLevelItem(i));
            ui::click(d, "cmdRestore");
        });
    };
    setPassword(f, quiltest::kAdminPassword, first, first);      // backed up first: the program's key
    setPassword(f, quiltest::kAdminPassword, second, second);    // backed up first: the first passphrase
    ASSERT_EQ(f.S.OpenDbPath, file_);
    const QString lockedBackup = db::listBackups(file_).back().path;
    ASSERT_TRUE(sqlite::carriesPassphrase(lockedBackup));

    // The backup under the first passphrase, locked: asked, a wrong one, then the right one.
    ui().clearLog();
    restoreNewest(true);
    answerFilePassword(second);
    answerFilePassword(first);
    ui().queueAnswer(ui::Yes);
    f.files->mnuFileRestore_Click();
    ASSERT_EQ(f.S.OpenDbPath, file_) << titles().join(u'\n').toStdString();
    EXPECT_EQ(f.S.Passphrase, first.toUtf8());
    EXPECT_EQ(ui().messages().front().prompt, QStringLiteral("The password for %1 is not correct.").arg(lockedBackup));

    // The oldest: the program's key; the file has no passphrase after it, and nothing is asked.
    ui().clearLog();
    restoreNewest(false);
    ui().queueAnswer(ui::Yes);
    f.files->mnuFileRestore_Click();
    ASSERT_EQ(f.S.OpenDbPath, file_) << titles().join(u'\n').toStdString();
    EXPECT_TRUE(f.S.Passphrase.isEmpty());
    EXPECT_FALSE(sqlite::carriesPassphrase(file_));
}

TEST_F(PassphraseTest, ARefusedEntryChangesNothing)
{
    frmMain& f = open();
    const QByteArray bytes = digest(file_);
    ui().clearLog();
    setPassword(f, QStringLiteral("not the admin"), QStringLiteral("long enough"), QStringLiteral("long enough"));
    setPassword(f, quiltest::kAdminPassword, QStringLiteral("long enough"), QStringLiteral("long enougH"));
    ASSERT_EQ(ui().messages().size(), 2U);
    EXPECT_EQ(f.S.OpenDbPath, file_);
    EXPECT_FALSE(sqlite::carriesPassphrase(file_));
    f.files->mnuFileClose_Click();
    EXPECT_EQ(digest(file_), bytes);
}

} // namespace
