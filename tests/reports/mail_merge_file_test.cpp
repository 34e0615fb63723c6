// Create Mail Merge Data File through the real window: the save dialog as the program asks, the
// ".rtf" rule, the rows handed to the writer (the selected members by the ids their entries
// keep, in the list's order, a backslash in a name included), Cancel writing nothing, a file
// replaced whole, and a file that cannot be written reported, with nothing half-written left.
#include "report_window.h"

#include <QDir>
#include <QFile>

namespace {

using reporttest::Choice;
using reporttest::ReportWindowTest;

QString rowText(const reports::MailMergeRow& r)
{
    return QStringList{r.fullName, r.address, r.city, r.state, r.postalCode}.join(u'|');
}

TEST_F(ReportWindowTest, TheMailMergeFileTakesTheChosenNameAndTheSelectedMembers)
{
    frmMain& f = opened();
    std::vector<QStringList> passed;
    commands(f).MailMergeWriter = [&](const std::vector<reports::MailMergeRow>& rows) {
        QStringList texts;
        for (const auto& r : rows)
            texts << rowText(r);
        passed.push_back(texts);
        return QByteArrayLiteral("RTF:") + QByteArray::number(static_cast<int>(rows.size()));
    };
    const QString folder = dir_.path() + QStringLiteral("/merge");
    ASSERT_TRUE(QDir().mkpath(folder));
    struct {
        QString chosen;
        QString written;
    } names[] = {
        {folder + "/Default Merge.rtf", folder + "/Default Merge.rtf"},
        {folder + "/letters.RTF", folder + "/letters.RTF"},
        {folder + "/letters.Rtf", folder + "/letters.Rtf"},
        {folder + "/thanks.doc", folder + "/thanks.doc.rtf"},
        {folder + "/thanks", folder + "/thanks.rtf"},
    };
    const QString cwd = QDir::currentPath();
    for (const auto& n : names) {
        SCOPED_TRACE(n.chosen.toStdString());
        ui().clearLog();
        passed.clear();
        queueChoice({4, [&](Printouts& p) { selectEntries(p, {"Smith, John \\2", "Back\\Slash, Zoë 🎉 \\4", "李,  \\5"}); }});
        ui().queueFile(n.chosen);
        f.mnuFilePrint_Click();
        ASSERT_EQ(ui().fileRequests().size(), 1U);
        const ui::FileRequest request = ui().fileRequests().front();
        EXPECT_EQ(request.kind, ui::FileDialogKind::Save);
        EXPECT_EQ(request.title, "Create Mail Merge Data File");
        EXPECT_EQ(request.initialName, "Default Merge.rtf");
        EXPECT_EQ(request.filter, "*.rtf");
        EXPECT_TRUE(ui().messages().empty());
        // In the list's order, which is by name; the full name is first name, blank, last name.
        ASSERT_EQ(passed.size(), 1U);
        EXPECT_EQ(passed.front(), (QStringList{"Zoë 🎉 Back\\Slash||Montréal|QC|H2X 1Y4", "John Smith|12 Main St|Boston|MA|02108",
                                                " 李|" + reporttest::kLongAddress.left(255) + "|Springfield|IL|62701"}));
        QFile file(n.written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "RTF:3");
        EXPECT_FALSE(f.Picture2->isVisible());
        EXPECT_EQ(QDir::currentPath(), cwd);
    }
    // Cancel writes nothing and hands the writer nothing.
    ui().clearLog();
    passed.clear();
    queueChoice({4, [](Printouts& p) { ui::click(p, "Check1"); }});
    ui().queueFileCancel();
    f.mnuFilePrint_Click();
    EXPECT_TRUE(passed.empty());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 5);
    EXPECT_FALSE(f.Picture2->isVisible());

    // An existing file is replaced whole.
    queueChoice({4, [&](Printouts& p) { selectEntries(p, {"O'Brien, Seán \\3"}); }});
    ui().queueFile(folder + "/thanks");
    f.mnuFilePrint_Click();
    QFile replaced(folder + "/thanks.rtf");
    ASSERT_TRUE(replaced.open(QIODevice::ReadOnly));
    EXPECT_EQ(replaced.readAll(), "RTF:1");
    EXPECT_EQ(passed.back(), QStringList{"Seán O'Brien|7 {Oak} Rd \\ Apt \"B\"|Cambridge|MA|02139"});
}

TEST_F(ReportWindowTest, AMailMergeFileThatCannotBeWrittenIsReportedAndLeavesNothing)
{
    frmMain& f = opened();
    // A folder that does not exist, and a "folder" that is a file (no write permission stops
    // the administrator, who runs the tests in some places).
    const QString notAFolder = dir_.file(QStringLiteral("plain.txt"));
    QFile plain(notAFolder);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString paths[] = {dir_.path() + "/no/such/folder/merge.rtf", notAFolder + "/merge.rtf"};
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        ui().clearLog();
        queueChoice({4, [](Printouts& p) { ui::click(p, "Check1"); }});
        ui().queueFile(path);
        f.mnuFilePrint_Click();
        ASSERT_EQ(ui().messages().size(), 1U);
        EXPECT_EQ(ui().messages().front().title, "File Creation Error");
        EXPECT_TRUE(ui().messages().front().prompt.contains(QDir::toNativeSeparators(path)));
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_TRUE(QDir(dir_.path()).entryList({"*.rtf*", ".*rtf*"}, QDir::Files | QDir::Hidden).isEmpty());
        EXPECT_FALSE(f.Picture2->isVisible());
    }
}

} // namespace
