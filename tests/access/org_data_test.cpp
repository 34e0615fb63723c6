// The Organization Data dialog over a template copy: what it shows, what OK and Cancel leave in
// the file and in memory, the boxes' limits, every kind of logo Browse can be given, a write the
// file refuses, and the current folder kept around the command.
#include "support/fixture_db.h"
#include "access/org_data.h"
#include "support/qstring_printer.h"
#include "support/window_fixture.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class OrgDataTest : public quiltest::WindowTest<> {
protected:
    QStringList storedRow()
    {
        sqlite::Connection c = keyed();
        auto s = c.prepare("SELECT OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo FROM Passwords ORDER BY rowid LIMIT 1");
        EXPECT_TRUE(s.step());
        QStringList row;
        for (int i = 0; i < 5; ++i)
            row << s.text(i);
        return row;
    }

    QStringList inMemory() const
    {
        const auto& S = window_->S;
        return {S.OrgName, S.OrgAdd, S.OrgPhone, S.OrgEmail, S.OrgLogo};
    }

    static QStringList boxes(const OrgData& d)
    {
        QStringList texts;
        for (const QLineEdit* box : d.Text1)
            texts << box->text();
        return texts;
    }
};

TEST_F(OrgDataTest, ShowsTheStoredValuesAndWritesThemWithTheInMemoryCopiesOnlyOnOk)
{
    frmMain& f = open();
    const QStringList before = storedRow();
    {
        OrgData dialog(f.S, f.S.db, &f);
        EXPECT_EQ(dialog.windowTitle(), "Organization Data");
        EXPECT_EQ(boxes(dialog), before);
        const int sizes[] = {25, 75, 75, 75, 100};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(dialog.Text1[static_cast<std::size_t>(i)]->maxLength(), sizes[i]) << i;
        EXPECT_EQ(dialog.Label1[4]->text(), "Logo to appear on Reports    (100 Chars)");
        dialog.Text1[0]->setText("Changed");
        dialog.Command1_Click();  // Cancel
    }
    EXPECT_EQ(storedRow(), before);
    EXPECT_EQ(inMemory()[0], before[0]);

    const QStringList typed = {"St. Mary's", QString(1000, u'a'), "☎ 555-0100 / 555-0101", "o'hara@例え.jp", ""};
    QStringList expected;
    {
        OrgData dialog(f.S, f.S.db, &f);
        for (int i = 0; i < 5; ++i)
            dialog.Text1[static_cast<std::size_t>(i)]->setText(typed[i]);
        expected = boxes(dialog);
        EXPECT_EQ(expected[1].size(), 75);  // what does not fit is never taken
        dialog.show();
        dialog.Command2_Click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
    EXPECT_EQ(storedRow(), expected);
    EXPECT_EQ(inMemory(), expected);
    // Each opening shows the file's values.
    OrgData again(f.S, f.S.db, &f);
    EXPECT_EQ(boxes(again), expected);
}

TEST_F(OrgDataTest, BrowseTakesOnlyAPictureThatTheFileAndTheReportsCanHold)
{
    struct Case {
        const char* name;
        QString chosen;       // "" cancels the chooser
        const char* prompt;   // the message's beginning, "" for none
        bool taken;           // the box shows the chosen path afterwards
    };
    const QString folder = dir_.path() + u'/';
    QImage(30, 20, QImage::Format_RGB32).save(folder + "logo.jpg");
    QImage(30, 20, QImage::Format_RGB32).save(folder + "logo.bmp");
    {
        QFile text(folder + "notes.jpg");
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("this is not a picture");
    }
    {
        // The head of a picture of 30,000 x 30,000 pixels (a PNG under a .jpg name, which the
        // reader recognizes by its content).
        QFile huge(folder + "huge.jpg");
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        huge.write(QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200007530000075300802000000e9456fed"
                                          "0000000c49444154789c6360a00c000000400001b7347cef0000000049454e44ae426082"));
    }
    const QString deep = folder + QString(60, u'd') + u'/' + QString(60, u'e');
    ASSERT_TRUE(QDir().mkpath(deep));
    QImage(10, 10, QImage::Format_RGB32).save(deep + "/logo.jpg");

    const Case cases[] = {
        {"cancelled", "", "", false},
        {"a JPEG", folder + "logo.jpg", "", true},
        {"a bitmap", folder + "logo.bmp", "", true},
        {"not a picture", folder + "notes.jpg", "Bad Picture File", false},
        {"a missing file", folder + "gone.jpg", "Bad Picture File", false},
        {"a huge picture", folder + "huge.jpg", "This picture is too large", false},
        {"a path of more than 100 characters", deep + "/logo.jpg", "The path of this picture has", false},
    };
    frmMain& f = open();
    f.S.OrgLogo = QStringLiteral("/in/force.jpg");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui().clearLog();
        OrgData dialog(f.S, f.S.db, &f);
        const QString shownBefore = dialog.Text1[4]->text();
        if (c.chosen.isEmpty())
            ui().queueFileCancel();
        else
            ui().queueFile(c.chosen);
        dialog.Command3_Click();
        ASSERT_EQ(ui().fileRequests().size(), 1u);
        EXPECT_EQ(ui().fileRequests()[0].title, "Choose Logo for Reports");
        EXPECT_EQ(ui().fileRequests()[0].filter, "*.jpg;*.bmp");
        EXPECT_EQ(ui().fileRequests()[0].initialName, "*.jpg;*.bmp");
        if (*c.prompt) {
            ASSERT_EQ(ui().messages().size(), 1u);
            EXPECT_TRUE(ui().messages()[0].prompt.startsWith(QLatin1String(c.prompt))) << ui().messages()[0].prompt.toStdString();
            EXPECT_EQ(ui().messages()[0].title, "Unreadable File");
            EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Critical);
            EXPECT_EQ(dialog.Text1[4]->text(), f.S.OrgLogo);
        } else {
            EXPECT_TRUE(ui().messages().empty());
            EXPECT_EQ(dialog.Text1[4]->text(), c.taken ? c.chosen : shownBefore);
        }
    }
}

TEST_F(OrgDataTest, AWriteTheFileRefusesKeepsTheDialogOpenAndChangesNothing)
{
    frmMain& f = open();
    const QStringList before = storedRow();
    const QStringList memory = inMemory();
    quiltest::write(*f.S.db, "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON Passwords "
                              "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    OrgData dialog(f.S, f.S.db, &f);
    dialog.show();
    dialog.Text1[0]->setText("New name");
    dialog.Command2_Click();
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].title, "QUIL Data Error");
    EXPECT_TRUE(ui().messages()[0].prompt.contains("refused by the test"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Text1[0]->text(), "New name");
    EXPECT_EQ(storedRow(), before);
    EXPECT_EQ(inMemory(), memory);

    quiltest::write(*f.S.db, "DROP TRIGGER refuse");
    dialog.Command2_Click();
    EXPECT_EQ(storedRow()[0], "New name");
    EXPECT_EQ(f.S.OrgName, "New name");
}

TEST_F(OrgDataTest, PropertiesRunsTheDialogAndKeepsTheCurrentFolder)
{
    frmMain& f = open();
    const QString folder = QDir::currentPath();
    ui().queueDialog([&](QDialog& d) {
        auto& org = static_cast<OrgData&>(d);
        QDir::setCurrent(QDir::rootPath());  // as a file chooser may leave it
        org.Text1[3]->setText("new@example.org");
        ui::click(org, "Command2");
    });
    f.mnuQuilProperties_Click();
    EXPECT_EQ(QDir::currentPath(), folder);
    EXPECT_EQ(f.S.SavedFolder, folder);
    EXPECT_EQ(f.S.OrgEmail, "new@example.org");
    EXPECT_EQ(storedRow()[3], "new@example.org");
}

} // namespace
