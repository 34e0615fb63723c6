// New Blank Database and Clone and Clear through the real window: what a clone holds for sources
// of several shapes, every name and template that cannot give a file (one message, nothing on
// disk, the open file still open), and the clone made whole or not at all while the new file
// refuses its n-th row or its n-th byte; the source is never written.
#include "db_fixture.h"

#include "db/backup.h"

#include "platform/data/data_control.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

using dbtest::rowsOf;

struct Member {
    int id;
    QString first, last;
};

struct CloneCase {
    const char* name;
    std::vector<Member> members;                       // member 1 included when it is given
    std::vector<std::pair<QString, QString>> extraPasswords;  // after the Administrator entry
    QStringList destinations;
};

const QString kMemberRows = QStringLiteral(
    "SELECT MemberID, FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes FROM Members ORDER BY MemberID");

class NewFilesTest : public dbtest::NewFilesTest {
protected:
    // Replaces the source's rows with a case's, with particulars derived from each member's name.
    void fillSource(const CloneCase& c)
    {
        sqlite::Connection s = keyed();
        s.exec("DELETE FROM Members");
        s.exec("DELETE FROM Dest");
        s.exec("DELETE FROM Passwords WHERE rowid > (SELECT min(rowid) FROM Passwords)");
        s.exec("DELETE FROM Settings");
        s.exec("INSERT INTO Settings VALUES ('StatementWording', 'Thank you, ' || '" + QString::fromLatin1(c.name) + "')");
        s.exec("UPDATE Passwords SET MyPassWord = 'Sécret''s', OrgName = 'Friends', OrgAdd = '1 Main St', "
               "OrgPhone = '555', OrgEmail = 'a@b.org', OrgLogo = ''");
        for (const Member& m : c.members) {
            auto insert = s.prepare("INSERT INTO Members VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
            insert.bind(1, std::int64_t(m.id)).bind(2, m.first).bind(3, m.last).bind(4, m.last + " Street");
            insert.bind(5, "City " + m.first).bind(6, "ST").bind(7, QString::number(m.id * 11)).bind(8, "555-" + m.first);
            insert.bind(9, "Notes of " + m.first);
            insert.step();
        }
        for (const auto& [name, password] : c.extraPasswords) {
            auto insert = s.prepare("INSERT INTO Passwords (PassName, MyPassWord) VALUES (?, ?)");
            insert.bind(1, name).bind(2, password);
            insert.step();
        }
        for (const QString& d : c.destinations) {
            auto insert = s.prepare("INSERT INTO Dest (DestItem) VALUES (?)");
            insert.bind(1, d);
            insert.step();
        }
    }

    // Opens the source, clones it to `clone` through Clone and Clear.
    void cloneTo(const QString& clone)
    {
        ui().queueFile(clone);
        window_->files->mnuFileNewClone_Click();
    }
};

TEST_F(NewFilesTest, TheCloneHoldsTheSourcesMembersPasswordsOrganizationDestinationsAndSettingsWithoutDonations)
{
    const CloneCase cases[] = {
        {"members 1, 5, 9", {{1, "Anna", "One"}, {5, "Bob", "Five"}, {9, "Cleo", "Nine"}},
         {{"User", "userpass"}, {"administrator", "lower"}, {"Ζωή", "παράδειγμα"}}, {"Building", "Organ", "Fund #2"}},
        {"only member 1", {{1, "Solo", "Member"}}, {{"User", "mavo"}}, {"General"}},
        {"only the Administrator entry", {{1, "Anna", "One"}, {3, "Dan", "Three"}}, {}, {}},
        {"no member 1", {{4, "Eve", "Four"}, {7, "Fay", "Seven"}}, {{"Clerk", "clerkpw"}}, {"Roof"}},
    };
    int run = 0;
    for (const CloneCase& c : cases) {
        SCOPED_TRACE(c.name);
        fillSource(c);
        {
            sqlite::Connection s = keyed();
            s.exec("INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                   "VALUES (100000, 12, 'Organ', '2024-01-02 00:00:00', 1)");
        }
        const QByteArray before = dbtest::digest(file_);
        const QStringList sourceMembers = rowsOf(file_, kMemberRows);
        if (!window_)
            build();
        open(file_);
        ASSERT_EQ(window_->S.OpenDbPath, file_);
        const QString clone = dir_.file(QStringLiteral("Clone%1.qdb").arg(++run));
        cloneTo(clone);

        EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
        EXPECT_EQ(window_->S.OpenDbPath, clone);
        EXPECT_EQ(window_->windowTitle(), " QUIL    " + clone);

        // Members: member 1 with the source's member 1 particulars (the template's when the
        // source has none), then every other source member in order with new numbers.
        const QStringList templateMembers = rowsOf(templatePath_, kMemberRows);
        QStringList expected;
        auto particulars = [](const QString& row) { return row.section(u'|', 1); };
        const auto one = std::find_if(c.members.begin(), c.members.end(), [](const Member& m) { return m.id == 1; });
        expected << "1|" + particulars(one != c.members.end() ? sourceMembers.first() : templateMembers.first());
        int next = 2;
        if (c.members.size() > 1)
            for (const QString& row : sourceMembers)
                if (row.section(u'|', 0, 0) != "1")
                    expected << QString::number(next++) + u'|' + particulars(row);
        EXPECT_EQ(rowsOf(clone, kMemberRows), expected);

        EXPECT_TRUE(rowsOf(clone, "SELECT * FROM Payments").isEmpty());

        // Passwords: the template's administrator name with the source's organization data and
        // password, then every source entry not named "Administrator" exactly.
        QStringList passwords{"Administrator|Sécret's|Friends|1 Main St|555|a@b.org|"};
        for (const auto& [name, password] : c.extraPasswords)
            passwords << name + u'|' + password + "|<null>|<null>|<null>|<null>|<null>";
        EXPECT_EQ(rowsOf(clone, "SELECT * FROM Passwords ORDER BY rowid"), passwords);

        // Destinations: the template's less its first, then the source's.
        EXPECT_EQ(rowsOf(clone, "SELECT DestItem FROM Dest ORDER BY rowid"), c.destinations);
        EXPECT_EQ(rowsOf(clone, "SELECT * FROM Settings"), rowsOf(file_, "SELECT * FROM Settings"));

        // The source was only read.
        EXPECT_EQ(dbtest::digest(file_), before);
        window_->files->mnuFileClose_Click();
        ui().clearLog();
    }
}

TEST_F(NewFilesTest, NewBlankClosesTheOpenFileAndOpensATemplateCopy)
{
    frmMain& f = open();
    f.EntNme->setText("sm");
    const QString made = dir_.file("Blank.qdb");
    ui().queueFile(made);
    f.files->mnuFileNewBlank_Click();
    EXPECT_EQ(f.S.OpenDbPath, made);
    EXPECT_TRUE(f.EntNme->text().isEmpty());
    EXPECT_FALSE(f.S.DialogCancelled);
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
    EXPECT_EQ(rowsOf(made, kMemberRows), rowsOf(templatePath_, kMemberRows));
    EXPECT_EQ(ui().fileRequests().back().title, "File Name for NEW Data Base");

    // Without a file open it opens the copy directly; cancelling the dialog changes nothing.
    f.files->mnuFileClose_Click();
    const QString second = dir_.file("Second.qdb");
    ui().queueFile(second);
    f.files->mnuFileNewBlank_Click();
    EXPECT_EQ(f.S.OpenDbPath, second);
    ui().queueFileCancel();
    f.files->mnuFileNewBlank_Click();
    EXPECT_EQ(f.S.OpenDbPath, second);
    EXPECT_FALSE(f.S.DialogCancelled);
}

TEST_F(NewFilesTest, ANameOrTemplateThatCannotGiveAFileIsOneMessageAndLeavesEverythingAsItWas)
{
    struct Case {
        const char* name;
        QString path;             // the name chosen in the dialog
        const char* prompt;       // the message's beginning
        const char* title;
        void (*prepare)(const QString& program);
    };
    auto none = [](const QString&) {};
    const QString longName = QString(300, u'x') + ".qdb";
    const Case cases[] = {
        {"an existing file: the open one", file_, "File Exists", "File Creation Error", none},
        {"a folder that does not exist", dir_.file("nowhere/New.qdb"), "Error 76 - Path not found", "File Error", none},
        {"a name over the length limit", dir_.file(longName), "Error 52 - Bad file name or number", "File Error", none},
        {"a folder nobody may write into", "/proc/New.qdb", "Error 75 - Path/File access error", "File Creation Error", none},
        {"the template missing", dir_.file("New.qdb"), "Missing Program File(s)", "File Creation Error",
         [](const QString& program) { QFile::rename(program + "Base.dat", program + "Base.away"); }},
        {"the template damaged", dir_.file("New.qdb"), "The program's template file", "File Creation Error",
         [](const QString& program) {
             QFile::remove(program + "Base.away");
             QFile t(program + "Base.dat");
             ASSERT_TRUE(t.open(QIODevice::WriteOnly));
             t.write(QByteArray(8192, 'Q'));
         }},
    };
    frmMain& f = open();
    for (bool clone : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (clone ? " (clone)" : " (new)"));
            c.prepare(program_);
            const QStringList filesBefore = folderFiles();
            const QByteArray before = dbtest::digest(file_);
            ui().clearLog();
            ui().queueFile(c.path);
            if (clone)
                f.files->mnuFileNewClone_Click();
            else
                f.files->mnuFileNewBlank_Click();
            ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
            const ui::Message m = ui().messages()[0];
            EXPECT_TRUE(m.prompt.startsWith(QLatin1String(c.prompt))) << m.prompt.toStdString();
            EXPECT_EQ(m.title, c.title);
            EXPECT_EQ(m.icon, ui::Icon::Critical);
            EXPECT_EQ(ui().beepCount(), 1);
            EXPECT_TRUE(f.S.DbFileName.isEmpty());
            EXPECT_EQ(f.S.OpenDbPath, file_);
            EXPECT_NE(f.S.db, nullptr);
            EXPECT_EQ(folderFiles(), filesBefore);
            EXPECT_FALSE(QFile::exists("/proc/New.qdb"));
            EXPECT_EQ(dbtest::digest(file_), before);
        }
        QFile::remove(program_ + "Base.dat");
        db::writeTemplate(program_ + "Base.dat");
    }
}

TEST_F(NewFilesTest, ACloneFromATemplateHoldingATriggerIsRefusedBeforeAnythingIsMade)
{
    // A template carrying code of its own (here a trigger that would refuse a member row) is not
    // the program's template: nothing is copied from it, and the source stays open unchanged.
    // Refusals half-way through the fill are covered by the file-size sweep below.
    {
        sqlite::Connection t = dbtest::keyedFile(templatePath_);
        t.exec("CREATE TRIGGER refuse BEFORE INSERT ON Members WHEN NEW.LastName = 'Refuse' "
               "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    }
    CloneCase c{"", {{1, "Anna", "One"}, {2, "M1", "Refuse"}, {3, "M2", "Keep"}}, {{"User", "userpass"}}, {"Organ"}};
    fillSource(c);
    const QByteArray before = dbtest::digest(file_);
    if (!window_)
        build();
    open(file_);
    ui().clearLog();
    const QString clone = dir_.file("Clone.qdb");
    cloneTo(clone);
    ASSERT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
    EXPECT_EQ(ui().messages()[0].title, "File Creation Error");
    EXPECT_TRUE(ui().messages()[0].prompt.contains("trigger 'refuse'")) << ui().messages()[0].prompt.toStdString();
    EXPECT_FALSE(QFile::exists(clone));
    EXPECT_EQ(folderFiles(), QStringList{"Club.qdb"});
    EXPECT_EQ(window_->S.OpenDbPath, file_);
    EXPECT_EQ(dbtest::digest(file_), before);
    EXPECT_FALSE(ui().isBusyPointer());
}

TEST_F(NewFilesTest, ACloneWhoseWritesFailPastAnyByteIsWholeOrAbsent)
{
    CloneCase c{"", {{1, "Anna", "One"}}, {{"User", "userpass"}, {"Clerk", "clerkpw"}}, {"Organ", "Roof"}};
    for (int i = 2; i <= 300; ++i)
        c.members.push_back({i, QStringLiteral("First%1").arg(i), QStringLiteral("Last name of member %1").arg(i)});
    fillSource(c);
    const QByteArray before = dbtest::digest(file_);
    frmMain& f = open();

    // A clone without limits gives the size every write stays below.
    const QString probe = dir_.file("Probe.qdb");
    cloneTo(probe);
    ASSERT_EQ(f.S.OpenDbPath, probe);
    const QStringList wholeMembers = rowsOf(probe, kMemberRows);
    const qint64 full = QFileInfo(probe).size();
    f.files->mnuFileClose_Click();
    open(file_);

    int failures = 0;
    for (qint64 limit = 0; limit <= full + 8192; limit += 4096) {
        SCOPED_TRACE(limit);
        const QString clone = dir_.file(QStringLiteral("Clone%1.qdb").arg(limit));
        // The backup the command makes first is made without a limit: this sweep is the clone's.
        ASSERT_TRUE(db::BackupBeforeCommand(f));
        ui().clearLog();
        ui().queueFile(clone);
        {
            dbtest::FileSizeLimit refuse(static_cast<rlim_t>(limit));
            f.files->mnuFileNewClone_Click();
        }
        if (QFile::exists(clone)) {
            EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
            EXPECT_EQ(rowsOf(clone, kMemberRows), wholeMembers);
            EXPECT_EQ(f.S.OpenDbPath, clone);
            f.files->mnuFileClose_Click();
            QFile::remove(clone);
            open(file_);
        } else {
            ++failures;
            EXPECT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
            EXPECT_EQ(f.S.OpenDbPath, file_);
            EXPECT_FALSE(QFile::exists(clone + "-journal"));
        }
        EXPECT_EQ(dbtest::digest(file_), before);
        QStringList stray = folderFiles();
        stray.removeAll("Club.qdb");
        stray.removeAll("Probe.qdb");
        EXPECT_TRUE(stray.isEmpty()) << stray.join(' ').toStdString();
    }
    EXPECT_GT(failures, 2);
}

} // namespace
