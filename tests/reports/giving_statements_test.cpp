// File > Giving Statements through the window: the letters read back from the PDFs the command
// writes (the period, its gifts only, subtotals per fund, the total, the wording), the files
// written per donor, the donors without an address, and the input it refuses.
#include "platform/dao/database.h"
#include "platform/ui/scripted_ui.h"
#include "reports/statement_files.h"
#include "reports/statement_pages.h"
#include "schema/file_settings.h"
#include "support/executive.h"
#include "support/pdf_tools.h"
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

namespace {

const QString kWording = QStringLiteral("No goods or services were provided in exchange for these contributions.");

struct Gift {
    std::int64_t member;
    std::int64_t cents;
    std::int64_t check;
    const char* fund;
    const char* date;
};

class GivingStatementsTest : public quiltest::WindowTest<> {
protected:
    std::int64_t addMember(const QString& first, const QString& last, const QString& address)
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral(
            "INSERT INTO Members (FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes) "
            "VALUES (?1, ?2, ?3, 'Springfield', 'IL', '62701', '', '')"));
        s.bind(1, first).bind(2, last).bind(3, address);
        s.step();
        return c.lastInsertRowid();
    }
    void addGifts(const std::vector<Gift>& gifts)
    {
        sqlite::Connection c = keyed();
        sqlite::Transaction t(c);
        for (const Gift& g : gifts) {
            sqlite::Statement s = c.prepare(QStringLiteral(
                "INSERT INTO Payments (MemberID, PaymentAmount, CheckNumber, Destination, PaymentDate) VALUES (?, ?, ?, ?, ?)"));
            s.bind(1, g.member).bind(2, g.cents * 100).bind(3, g.check).bind(4, QString::fromUtf8(g.fund));
            s.bind(5, QString::fromLatin1(g.date) + QStringLiteral(" 00:00:00"));
            s.step();
        }
        t.commit();
    }

    // The demo's donors: two in the period (one without an address), one outside it, and
    // member 1 with a gift of an unknown donor.
    void addDonors()
    {
        ann_ = addMember(QStringLiteral("Ann"), QStringLiteral("O'Brien"), QStringLiteral("1 Main St"));
        bob_ = addMember(QStringLiteral("Bob"), QStringLiteral("Zed"), QStringLiteral("NONE"));
        cy_ = addMember(QStringLiteral("Cy"), QStringLiteral("Lee"), QStringLiteral("2 Elm St"));
        addGifts({
            {ann_, 10000, 101, "General", "2025-03-01"},
            {ann_, 5025, 0, "Building", "2025-06-15"},
            {ann_, 2500, 102, "general", "2025-12-31"},  // one fund with General, whatever the case
            {ann_, 99900, 103, "General", "2024-12-31"},  // the day before the period
            {ann_, 88800, 104, "General", "2026-01-01"},  // the day after it
            {bob_, 1000, 7, "General", "2025-05-05"},
            {cy_, 500, 8, "General", "2024-06-01"},
            {1, 777, 0, "General", "2025-02-02"},
        });
    }

    frmMain& openExecutive()
    {
        frmMain& f = open();
        quiltest::enterExecutive(f, ui());
        ui().clearLog();
        return f;
    }

    // The dialog filled and one of its output buttons pressed.
    void queueStatements(const char* button, const QString& from = QStringLiteral("1/1/2025"),
                         const QString& to = QStringLiteral("12/31/2025"), bool anonymous = false, const QString& wording = kWording)
    {
        ui().queueDialog([=](QDialog& d) {
            ui::child<QLineEdit>(d, "txtFrom").setText(from);
            ui::child<QLineEdit>(d, "txtTo").setText(to);
            ui::child<QCheckBox>(d, "chkAnonymous").setChecked(anonymous);
            ui::child<QPlainTextEdit>(d, "txtWording").setPlainText(wording);
            ui::click(d, QString::fromLatin1(button));
        });
    }

    QStringList messagePrompts() const
    {
        QStringList prompts;
        for (const ui::Message& m : ui_->messages())
            prompts << m.prompt;
        return prompts;
    }

    std::int64_t ann_ = 0, bob_ = 0, cy_ = 0;
};

TEST_F(GivingStatementsTest, OnePdfHoldsEachDonorsGiftsOfThePeriodWithSubtotalsTotalAndWording)
{
    addDonors();
    frmMain& f = openExecutive();
    const QString pdf = dir_.file(QStringLiteral("statements.pdf"));
    queueStatements("cmdCombinedPdf");
    ui().queueAnswer(ui::No);  // print no list of the donors without an address
    ui().queueFile(pdf);
    f.mnuFileGivingStatements_Click();

    const QStringList prompts = messagePrompts();
    ASSERT_EQ(prompts.size(), 2) << prompts.join(u'\n').toStdString();
    EXPECT_TRUE(prompts[0].contains(QStringLiteral("Bob Zed (%1)").arg(bob_))) << prompts[0].toStdString();
    EXPECT_FALSE(prompts[0].contains(QStringLiteral("O'Brien")));
    EXPECT_TRUE(prompts[1].contains(QStringLiteral("2 statements"))) << prompts[1].toStdString();

    ASSERT_EQ(quiltest::pdfPages(pdf), 2);
    const QStringList pages = quiltest::pdfText(pdf).split(u'\f');
    const QString ann = pages[0].simplified();
    const QString bob = pages[1].simplified();
    for (const QString& page : {ann, bob}) {
        EXPECT_TRUE(page.contains(QStringLiteral("Giving Statement"))) << page.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("January 1, 2025 - December 31, 2025")));
        EXPECT_TRUE(page.contains(kWording));
    }
    // Ann: the gifts of the period, each fund's subtotal, the total; nothing from outside it.
    for (const char* text : {"Ann O'Brien", "1 Main St", "Springfield, IL 62701", "$100.00", "$50.25", "$25.00", "Total for Building $50.25", "Total for General $125.00",
                             "Total of gifts in the period $175.25", "3/1/2025", "12/31/2025"})
        EXPECT_TRUE(ann.contains(QString::fromUtf8(text))) << text;
    for (const char* text : {"$999.00", "$888.00", "$10.00", "$7.77"})
        EXPECT_FALSE(ann.contains(QString::fromUtf8(text))) << text;
    // Bob: one fund, so no subtotal; Cy gave nothing in the period and member 1 was not asked for.
    EXPECT_TRUE(bob.contains(QStringLiteral("Total of gifts in the period $10.00"))) << bob.toStdString();
    EXPECT_FALSE(bob.contains(QStringLiteral("Total for")));
    EXPECT_FALSE(pages.join(u' ').contains(QStringLiteral("Cy Lee")));

    // The wording is the file's now, offered again next time.
    EXPECT_EQ(db::readSetting(*f.S.db, db::kStatementWording), kWording);
    QString offered;
    ui().queueDialog([&](QDialog& d) {
        offered = ui::child<QPlainTextEdit>(d, "txtWording").toPlainText();
        ui::click(d, "cmdCancel");
    });
    f.mnuFileGivingStatements_Click();
    EXPECT_EQ(offered, kWording);
}

TEST_F(GivingStatementsTest, ALongStatementContinuesWithTheDonorsNameAndPageNumbers)
{
    const std::int64_t many = addMember(QStringLiteral("Maria"), QStringLiteral("Ñúñez"), QStringLiteral("3 Oak Ave"));
    std::vector<Gift> gifts;
    std::vector<std::string> dates;
    for (int i = 0; i < 80; ++i)
        dates.push_back(QDate(2025, 1, 1).addDays(i).toString(Qt::ISODate).toStdString());
    for (int i = 0; i < 80; ++i)
        gifts.push_back({many, 100000 + i, 1000 + i, "General", dates[static_cast<std::size_t>(i)].c_str()});
    addGifts(gifts);
    frmMain& f = openExecutive();
    const QString pdf = dir_.file(QStringLiteral("long.pdf"));
    queueStatements("cmdCombinedPdf", QStringLiteral("1/1/2025"), QStringLiteral("12/31/2025"), true);
    ui().queueFile(pdf);
    f.mnuFileGivingStatements_Click();

    const int pageCount = quiltest::pdfPages(pdf);
    ASSERT_EQ(pageCount, 3);
    const QStringList pages = quiltest::pdfText(pdf).split(u'\f');
    for (int p = 0; p < pageCount; ++p) {
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Page %1 of 3").arg(p + 1))) << p;
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Maria Ñúñez"))) << p;
    }
    // Every gift once, in date order, across the pages.
    const QString all = pages.join(u' ');
    qsizetype at = 0;
    for (int i = 0; i < 80; ++i) {
        const QString amount = QStringLiteral("$1,000.%1").arg(i, 2, 10, QChar(u'0'));
        at = all.indexOf(amount, at);
        ASSERT_GE(at, 0) << amount.toStdString();
        EXPECT_EQ(all.count(amount), 1) << amount.toStdString();
    }
    EXPECT_TRUE(pages[2].simplified().contains(QStringLiteral("Total of gifts in the period $80,031.60")));
}

TEST_F(GivingStatementsTest, APdfPerDonorNamedForTheDonorNeverReplacedWithoutAsking)
{
    addDonors();
    // A second donor of the same name, and a name no file system takes as it stands.
    const std::int64_t twin = addMember(QStringLiteral("Ann"), QStringLiteral("O'Brien"), QStringLiteral("9 Pine"));
    const std::int64_t odd = addMember(QStringLiteral("J/K"), QStringLiteral("{Ünïcode: 中文}"), QStringLiteral("4 Ash"));
    addGifts({{twin, 300, 1, "General", "2025-04-04"}, {odd, 400, 2, "Missions", "2025-04-05"}});
    frmMain& f = openExecutive();
    const QString folder = dir_.file(QStringLiteral("letters"));
    ASSERT_TRUE(QDir().mkpath(folder));
    queueStatements("cmdPerMemberPdf", QStringLiteral("1/1/2025"), QStringLiteral("12/31/2025"), true);
    ui().queueAnswer(ui::No);
    ui().queueFile(folder);
    f.mnuFileGivingStatements_Click();

    const QStringList expected = {
        QStringLiteral("Donors Anonymous 2025 (1).pdf"),
        QStringLiteral("O'Brien Ann 2025 (%1).pdf").arg(ann_),
        QStringLiteral("O'Brien Ann 2025 (%1).pdf").arg(twin),
        QStringLiteral("Zed Bob 2025 (%1).pdf").arg(bob_),
        QStringLiteral("{Ünïcode_ 中文} J_K 2025 (%1).pdf").arg(odd),
    };
    QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    QStringList sortedExpected = expected;
    sortedExpected.sort();
    files.sort();
    EXPECT_EQ(files, sortedExpected);
    for (const QString& name : expected)
        EXPECT_EQ(quiltest::pdfPages(QDir(folder).filePath(name)), 1) << name.toStdString();
    EXPECT_TRUE(quiltest::pdfText(QDir(folder).filePath(expected[1])).contains(QStringLiteral("$175.25")));
    EXPECT_TRUE(quiltest::pdfText(QDir(folder).filePath(expected[2])).contains(QStringLiteral("$3.00")));

    // Again into the same folder: asked first, and No leaves every file as it was.
    const QString first = QDir(folder).filePath(expected[1]);
    QFile marker(first);
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("kept");
    marker.close();
    ui().clearLog();
    queueStatements("cmdPerMemberPdf", QStringLiteral("1/1/2025"), QStringLiteral("12/31/2025"), true);
    ui().queueAnswer(ui::No);  // no list
    ui().queueFile(folder);
    ui().queueAnswer(ui::No);  // replace nothing
    f.mnuFileGivingStatements_Click();
    const QStringList prompts = messagePrompts();
    ASSERT_EQ(prompts.size(), 2);
    EXPECT_TRUE(prompts[1].contains(QStringLiteral("5 of the statements' files are in"))) << prompts[1].toStdString();
    QFile check(first);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("kept"));
}

TEST_F(GivingStatementsTest, AFolderThatFillsUpKeepsTheFilesWrittenAndNoPartOfTheNext)
{
    addDonors();
    // Zed's letter, written after O'Brien's, runs to several pages: a larger file.
    std::vector<Gift> gifts;
    for (int i = 0; i < 150; ++i)
        gifts.push_back({bob_, 1000 + i, 10 + i, i % 2 ? "General" : "Building", "2025-08-08"});
    addGifts(gifts);
    frmMain& f = openExecutive();
    const QString sizes = dir_.file(QStringLiteral("sizes"));
    ASSERT_TRUE(QDir().mkpath(sizes));
    queueStatements("cmdPerMemberPdf");
    ui().queueAnswer(ui::No);
    ui().queueFile(sizes);
    f.mnuFileGivingStatements_Click();
    const qint64 small = QFileInfo(QDir(sizes).filePath(QStringLiteral("O'Brien Ann 2025 (%1).pdf").arg(ann_))).size();
    const qint64 large = QFileInfo(QDir(sizes).filePath(QStringLiteral("Zed Bob 2025 (%1).pdf").arg(bob_))).size();
    ASSERT_GT(small, 0);
    ASSERT_GT(large, small + 1000);

    const QString full = dir_.file(QStringLiteral("full"));
    ASSERT_TRUE(QDir().mkpath(full));
    ui().clearLog();
    queueStatements("cmdPerMemberPdf");
    ui().queueAnswer(ui::No);
    ui().queueFile(full);
    {
        struct rlimit before {};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = before;
        limited.rlim_cur = static_cast<rlim_t>((small + large) / 2);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        f.mnuFileGivingStatements_Click();
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
    }
    EXPECT_EQ(QDir(full).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("O'Brien Ann 2025 (%1).pdf").arg(ann_)});
    const std::vector<ui::Message> messages = ui().messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].title, QStringLiteral("File Error"));
    EXPECT_TRUE(messages[1].prompt.contains(QStringLiteral("1 of the 2 statements were written"))) << messages[1].prompt.toStdString();
    EXPECT_TRUE(messages[1].prompt.contains(QStringLiteral("O'Brien Ann 2025"))) << messages[1].prompt.toStdString();
    // The program goes on: the next run writes both.
    ui().clearLog();
    queueStatements("cmdPerMemberPdf");
    ui().queueAnswer(ui::No);
    ui().queueFile(full);
    ui().queueAnswer(ui::Yes);
    f.mnuFileGivingStatements_Click();
    EXPECT_EQ(QDir(full).entryList(QDir::Files).size(), 2);
}

TEST_F(GivingStatementsTest, OnlyTheMembersChosenInTheListGetALetter)
{
    addDonors();
    frmMain& f = openExecutive();
    const QString pdf = dir_.file(QStringLiteral("chosen.pdf"));
    int shown = -1;
    ui().queueDialog([&](QDialog& d) {
        ui::child<QLineEdit>(d, "txtFrom").setText(QStringLiteral("1/1/2025"));
        ui::child<QLineEdit>(d, "txtTo").setText(QStringLiteral("12/31/2025"));
        ui::click(d, "optChosen");
        auto& list = ui::child<QListWidget>(d, "lstMembers");
        // The search narrows the list; a name found is chosen; Cy, chosen too, gave nothing.
        ui::child<QLineEdit>(d, "txtSearch").setText(QStringLiteral("zed"));
        shown = 0;
        for (int i = 0; i < list.count(); ++i)
            if (!list.item(i)->isHidden()) {
                ++shown;
                list.item(i)->setSelected(true);
            }
        ui::child<QLineEdit>(d, "txtSearch").setText(QStringLiteral("Donors"));
        for (int i = 0; i < list.count(); ++i)
            if (!list.item(i)->isHidden() && list.item(i)->text().startsWith(QStringLiteral("Donors, Anonymous")))
                list.item(i)->setSelected(true);
        for (int i = 0; i < list.count(); ++i)
            if (list.item(i)->text().startsWith(QStringLiteral("Lee, Cy")))
                list.item(i)->setSelected(true);
        ui::click(d, "cmdCombinedPdf");
    });
    ui().queueAnswer(ui::No);
    ui().queueFile(pdf);
    f.mnuFileGivingStatements_Click();

    EXPECT_EQ(shown, 1);
    // Member 1 chosen by name gets its letter though the box for unknown donors is not ticked.
    ASSERT_EQ(quiltest::pdfPages(pdf), 2);
    const QString text = quiltest::pdfText(pdf).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Bob Zed")));
    EXPECT_TRUE(text.contains(QStringLiteral("$7.77")));
    EXPECT_FALSE(text.contains(QStringLiteral("O'Brien")));
    EXPECT_FALSE(text.contains(QStringLiteral("Cy Lee")));

    // Nobody chosen: refused in the dialog.
    ui().clearLog();
    ui().queueDialog([&](QDialog& d) {
        ui::click(d, "optChosen");
        ui::click(d, "cmdPreview");
        ui::click(d, "cmdCancel");
    });
    f.mnuFileGivingStatements_Click();
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_TRUE(ui().messages()[0].prompt.contains(QStringLiteral("Choose the members")));
}

TEST_F(GivingStatementsTest, ACancelKeepsTheFilesWrittenAndStartsNoOther)
{
    addDonors();
    frmMain& f = openExecutive();
    const reports::StatementPeriod period{QDate(2025, 1, 1), QDate(2025, 12, 31)};
    const reports::GivingStatementPages pages(
        *f.S.db, reports::StatementRequest{period, kWording, {}, QDate(2026, 1, 15)},
        reports::statementDonors(*f.S.db, period, {true, std::nullopt}, reports::GivingStatementPages::paging(kWording)));
    ASSERT_EQ(pages.donors().size(), 3u);  // member 1, O'Brien, Zed
    const QString folder = dir_.file(QStringLiteral("cancelled"));
    ASSERT_TRUE(QDir().mkpath(folder));
    std::vector<std::pair<int, int>> told;
    const reports::StatementFilesResult result =
        reports::writeStatementFiles(pages, folder, reports::statementFileNames(pages), [&](int done, int total) {
            told.emplace_back(done, total);
            return done < 2;  // Cancel pressed during the second file, seen before the third
        });
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.failure.isEmpty());
    EXPECT_EQ(result.written.size(), 2);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));
}

TEST_F(GivingStatementsTest, CancelInTheCombinedPdfsProgressLeavesTheFileThatStoodThere)
{
    // One donor of many pages, so the PDF lasts long enough for the progress to take events.
    const std::int64_t many = addMember(QStringLiteral("Maria"), QStringLiteral("Ñúñez"), QStringLiteral("3 Oak Ave"));
    std::vector<Gift> gifts(6000, Gift{many, 100, 1, "General", "2025-05-05"});
    addGifts(gifts);
    frmMain& f = openExecutive();
    const QString pdf = dir_.file(QStringLiteral("statements.pdf"));
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("last year's");
    old.close();

    // Cancel pressed at the first moment the progress takes events.
    QString label;
    QTimer::singleShot(0, &f, [&] {
        auto* progress = f.findChild<QProgressDialog*>(QStringLiteral("StatementProgress"));
        ASSERT_NE(progress, nullptr);
        label = progress->labelText();
        progress->cancel();
    });
    queueStatements("cmdCombinedPdf");
    ui().queueFile(pdf);
    ui().queueAnswer(ui::Yes);  // replace it
    f.mnuFileGivingStatements_Click();

    EXPECT_TRUE(label.startsWith(QStringLiteral("Page "))) << label.toStdString();
    EXPECT_FALSE(label.endsWith(QStringLiteral("of 1"))) << label.toStdString();
    QFile kept(pdf);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("last year's"));
    EXPECT_EQ(QDir(dir_.path()).entryList({QStringLiteral("*.pdf*")}, QDir::Files | QDir::Hidden), QStringList{QStringLiteral("statements.pdf")});
    for (const QString& prompt : messagePrompts())
        EXPECT_FALSE(prompt.contains(QStringLiteral("written to"))) << prompt.toStdString();

    // The program goes on: the next run writes the whole PDF.
    ui().clearLog();
    queueStatements("cmdCombinedPdf");
    ui().queueFile(pdf);
    ui().queueAnswer(ui::Yes);
    f.mnuFileGivingStatements_Click();
    EXPECT_GT(quiltest::pdfPages(pdf), 100);
}

TEST_F(GivingStatementsTest, RefusedInputIsOneMessageAndWritesNothing)
{
    struct Case {
        const char* name;
        const char* from;
        const char* to;
        const char* message;
        bool dialogStaysOpen;
    };
    const Case cases[] = {
        {"reversed", "12/31/2025", "1/1/2025", "comes after the last day", true},
        {"unreadable first day", "31/31/2025", "12/31/2025", "first day of the period is not a date", true},
        {"unreadable last day", "1/1/2025", "soon", "last day of the period is not a date", true},
        {"no gifts in the period", "1/1/2030", "12/31/2030", "There are no gifts from January 1, 2030 to December 31, 2030", false},
    };
    addDonors();
    frmMain& f = openExecutive();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui().clearLog();
        bool stayed = false;
        ui().queueDialog([&](QDialog& d) {
            ui::child<QLineEdit>(d, "txtFrom").setText(QString::fromLatin1(c.from));
            ui::child<QLineEdit>(d, "txtTo").setText(QString::fromLatin1(c.to));
            ui::click(d, "cmdCombinedPdf");
            stayed = d.isVisible() && d.result() == 0;
            if (stayed)
                ui::click(d, "cmdCancel");
        });
        f.mnuFileGivingStatements_Click();
        const QStringList prompts = messagePrompts();
        ASSERT_EQ(prompts.size(), 1) << prompts.join(u'\n').toStdString();
        EXPECT_TRUE(prompts[0].contains(QString::fromLatin1(c.message))) << prompts[0].toStdString();
        EXPECT_EQ(stayed, c.dialogStaysOpen);
        EXPECT_TRUE(ui().fileRequests().empty());
        EXPECT_FALSE(f.S.DialogCancelled);
    }
    EXPECT_EQ(QDir(dir_.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files).size(), 0);
}

} // namespace
