// Every command that writes a file under a name the user picks, offered every file the program
// keeps, by every road that reaches it: one message naming the file and why, nothing written,
// the dialog offered again (New and Clone end, as they do for any file that exists), and the
// open file still open and whole.
#include "report_window.h"

#include "db/backup.h"
#include "db/backup_file.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "schema/template.h"
#include "support/faultfs/fault_vfs.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using reporttest::Choice;
using reporttest::ReportWindowTest;

struct Command {
    const char* name;
    QString extension;  // what the command gives a chosen name, so that a target keeps its name
    bool offersAgain;   // false: the command ends at a refusal
    std::function<void(frmMain&)> run;
};

struct Target {
    const char* name;
    // Makes the target for a command writing files of that extension; "" when the road cannot
    // reach a file the program keeps under that extension.
    std::function<QString(const QString& extension)> make;
};

class SaveTargetTest : public ReportWindowTest {
protected:
    void SetUp() override
    {
        ReportWindowTest::SetUp();
        templatePath_ = program_ + QString::fromLatin1(db::kTemplateFileName);
        db::writeTemplate(templatePath_);
    }

    static QString digest(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("unreadable");
        return QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
    }

    // The files the program keeps that nothing writes meanwhile, as bytes. The open file is
    // written by the reports' work tables; it is checked as a database instead.
    std::map<QString, QString> kept() const
    {
        std::map<QString, QString> files{{templatePath_, digest(templatePath_)}};
        for (const db::BackupEntry& b : db::listBackups(file_))
            files[b.path] = digest(b.path);
        return files;
    }

    bool isOpenFile(const QString& path) const
    {
        struct stat a = {}, b = {};
        return ::stat(QFile::encodeName(path).constData(), &a) == 0 && ::stat(QFile::encodeName(file_).constData(), &b) == 0
            && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    }

    // Runs the export commands as Executive mode offers them, over List View's donations.
    static void inListView(frmMain& f)
    {
        f.S.StandardMode = false;
        f.S.ListViewActive = true;
        f.datSecondaryRS->setRecordset(f.S.db->openRecordset(QStringLiteral(
            "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] Order by  PaymentDate")));
    }

    QString templatePath_;

    // The commands as a user reaches them, each given the file dialog's answers queued before it.
    std::vector<Command> commands()
    {
        return {
            {"Export Members", "csv", true, [](frmMain& f) { f.mnuFileExportMembers_Click(); }},
            {"Export Donations in View", "csv", true, [](frmMain& f) { f.mnuFileExportDonations_Click(); }},
            {"Export Fund Totals", "csv", true,
             [this](frmMain& f) {
                 ui().queueDialog([](QDialog& d) {
                     ui::child<QLineEdit>(d, "txtFrom").setText("1/1/2001");
                     ui::child<QLineEdit>(d, "txtTo").setText("12/31/2001");
                     ui::click(d, "cmdOK");
                 });
                 f.mnuFileExportFunds_Click();
             }},
            {"Create Mail Merge Data File", "rtf", true,
             [this](frmMain& f) {
                 queueChoice({4, [](Printouts& p) { p.PrnList->item(0)->setSelected(true); }});
                 f.mnuFilePrint_Click();
             }},
            {"Export to PDF in the preview", "pdf", true,
             [this](frmMain& f) {
                 queueChoice({1, {}});
                 ui().queueDialog([this](QDialog& preview) {
                     ui().queueDialog([](QDialog& pages) { ui::click(pages, "cmdOK"); });
                     ui::click(preview, "cmdExport");
                     preview.close();
                 });
                 f.mnuFilePrint_Click();
             }},
            {"the filter criteria page without a printer", "pdf", true,
             [this](frmMain& f) {
                 f.S.DonationFilter = QStringLiteral(" WHERE [Destination] Like '*Roof*' ");
                 f.S.FilterCaptions.fill(QStringLiteral(" "));
                 QString pages;
                 queueChoice({3, {}});
                 queuePreview(&pages);
                 ui().queueAnswer(ui::Yes);
                 f.mnuFilePrint_Click();
             }},
            {"New Blank Database", "qdb", false, [](frmMain& f) { f.files->mnuFileNewBlank_Click(); }},
            {"Clone and Clear", "qdb", false, [](frmMain& f) { f.files->mnuFileNewClone_Click(); }},
        };
    }
};

TEST_F(SaveTargetTest, NoCommandWritesOverAFileTheProgramKeeps)
{
    frmMain& f = opened();
    ASSERT_TRUE(db::BackupBeforeCommand(f));
    const QString backup = db::listBackups(file_).back().path;
    const QString folder = dir_.file("targets");
    ASSERT_TRUE(QDir().mkpath(folder));
    int made = 0;
    // A fresh name for each target, so that no case sees another's file.
    const auto fresh = [&](const QString& stem, const QString& extension) {
        return QDir(folder).filePath(QStringLiteral("%1 %2.%3").arg(stem).arg(++made).arg(extension));
    };
    const std::vector<Target> targets{
        {"the open file itself", [&](const QString& ext) { return ext == "csv" || ext == "qdb" ? file_ : QString(); }},
        {"the open file by another spelling",
         [&](const QString& ext) { return ext == "csv" || ext == "qdb" ? dir_.file("targets/../Club.qdb") : QString(); }},
        {"a symbolic link to the open file",
         [&](const QString& ext) {
             const QString link = fresh("link", ext);
             return QFile::link(file_, link) ? link : QStringLiteral("<no link>");
         }},
        {"a hard link to the open file",
         [&](const QString& ext) {
             const QString link = fresh("hard", ext);
             return ::link(QFile::encodeName(file_).constData(), QFile::encodeName(link).constData()) == 0 ? link
                                                                                                             : QStringLiteral("<no link>");
         }},
        {"a backup", [&](const QString& ext) { return ext == "csv" || ext == "qdb" ? backup : QString(); }},
        {"a new name in the Backups folder",
         [&](const QString& ext) { return QDir(db::backupFolder(file_)).filePath(QStringLiteral("notes %1.%2").arg(++made).arg(ext)); }},
        {"the template", [&](const QString& ext) { return ext == "csv" ? templatePath_ : QString(); }},
        {"a symbolic link to the template",
         [&](const QString& ext) {
             const QString link = fresh("template", ext);
             return QFile::link(templatePath_, link) ? link : QStringLiteral("<no link>");
         }},
        {"another database of the program under another extension",
         [&](const QString& ext) {
             const QString copy = fresh("other", ext);
             return QFile::copy(file_, copy) ? copy : QStringLiteral("<no copy>");
         }},
        {"the lock file of the open database", [&](const QString& ext) { return ext == "csv" ? db::lockPath(file_) : QString(); }},
        {"a folder",
         [&](const QString& ext) {
             const QString sub = fresh("folder", ext);
             return QDir().mkpath(sub) ? sub : QStringLiteral("<no folder>");
         }},
    };

    for (const Command& command : commands()) {
        for (const Target& target : targets) {
            const QString path = target.make(command.extension);
            if (path.isEmpty())
                continue;
            SCOPED_TRACE(QStringLiteral("%1, offered %2: %3").arg(QLatin1String(command.name), QLatin1String(target.name), path).toStdString());
            inListView(f);
            const auto before = kept();
            const QString targetBefore = isOpenFile(path) ? QString() : digest(path);
            ui().clearLog();
            ui().clearPending();
            ui().queueFile(path);
            ui().queueFileCancel();
            command.run(f);

            std::vector<ui::Message> refusals;
            for (const ui::Message& m : ui().messages())
                if (m.icon == ui::Icon::Critical)
                    refusals.push_back(m);
            ASSERT_EQ(refusals.size(), 1u) << ui().trace().join('\n').toStdString();
            // The program's own refusal names the file; New and Clone keep theirs for a file that exists.
            if (command.offersAgain || !QFileInfo::exists(path)) {
                EXPECT_TRUE(refusals[0].prompt.contains(QDir::toNativeSeparators(path))) << refusals[0].prompt.toStdString();
                EXPECT_TRUE(refusals[0].prompt.startsWith("Nothing was written to")) << refusals[0].prompt.toStdString();
            }
            EXPECT_EQ(ui().fileRequests().size(), command.offersAgain ? 2u : 1u) << ui().trace().join('\n').toStdString();
            // A command may add a backup of its own (Clone makes one first); none changes.
            for (const auto& [keptPath, keptDigest] : before)
                EXPECT_EQ(digest(keptPath), keptDigest) << keptPath.toStdString();
            if (!targetBefore.isEmpty()) {
                EXPECT_EQ(digest(path), targetBefore);
            }
            EXPECT_EQ(f.S.OpenDbPath, file_);
            EXPECT_EQ(tableRows("PRAGMA quick_check"), QStringList{"ok"});
            EXPECT_EQ(tableRows("SELECT count(*) FROM Members"), QStringList{"5"});
        }
    }
    // Nothing else appeared in the folders the program keeps.
    EXPECT_EQ(QDir(db::backupFolder(file_)).entryList(QDir::Files).size(), db::listBackups(file_).size());
}

TEST_F(SaveTargetTest, AFreeNameAfterARefusedOneIsWritten)
{
    frmMain& f = opened();
    inListView(f);
    const QString free = dir_.file("members.csv");
    ui().queueFile(file_);
    ui().queueFile(free);
    f.mnuFileExportMembers_Click();
    EXPECT_EQ(ui().trace().filter("message:").size(), 2) << ui().trace().join('\n').toStdString();
    EXPECT_TRUE(ui().trace().last().contains(QStringLiteral("members written to '%1'").arg(free))) << ui().trace().last().toStdString();
    EXPECT_TRUE(QFile::exists(free));
    EXPECT_EQ(f.S.OpenDbPath, file_);
}

// The check reads a candidate to tell whether it is a database of the program; a read that fails
// at any point must not make it look like some other file, free to be written over.
TEST_F(SaveTargetTest, ADatabaseThatCannotBeReadToTellIsNotWrittenOver)
{
    frmMain& f = opened();
    inListView(f);
    const QString other = dir_.file("other.csv");
    ASSERT_TRUE(QFile::copy(file_, other));
    const QString before = digest(other);
    faultfs::install();
    faultfs::watch(other);
    faultfs::arm({faultfs::Op::Read, 0});
    ui().queueFile(other);
    ui().queueFileCancel();
    f.mnuFileExportMembers_Click();
    faultfs::disarm();
    const std::int64_t reads = faultfs::counts()[faultfs::Op::Read];
    ASSERT_GT(reads, 0);
    for (std::int64_t n = 1; n <= reads; ++n) {
        SCOPED_TRACE(n);
        ui().clearLog();
        ui().clearPending();
        faultfs::arm({faultfs::Op::Read, n});
        ui().queueFile(other);
        ui().queueFileCancel();
        f.mnuFileExportMembers_Click();
        faultfs::disarm();
        EXPECT_TRUE(faultfs::fired());
        EXPECT_EQ(digest(other), before);
        EXPECT_EQ(ui().messages().size(), 1u) << ui().trace().join('\n').toStdString();
    }
    faultfs::watch(QStringLiteral("/nothing watched/"));
}

} // namespace
