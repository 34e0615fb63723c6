// The rapid search through the real window: what each typed text lists (beginnings of last name,
// first name and address; blanks; apostrophes in names; wildcards; letter case in any alphabet),
// the hidden id list, the automatic choice of a single match, what Enter and a double-click do,
// and Down and Up between the box and the list.
#include "entry_fixture.h"

#include "platform/data/data_control.h"
#include "records/rapid_search_query.h"

#include <QLabel>
#include <QMouseEvent>
#include <QAbstractItemModel>
#include <algorithm>

namespace {

using entrytest::EntryTest;
using entrytest::MemberRow;

TEST(RapidSearchQuery, WordsEndAtOneBlankEachAndAFourthIsIgnored)
{
    struct Case {
        const char* typed;
        const char* last;
        const char* first;
        const char* address;
    };
    const Case cases[] = {
        {"s", "s", "", ""},
        {"s j", "s", "j", ""},
        {"s j 12", "s", "j", "12"},
        {"smi jo", "smi", "jo", ""},
        {"s  1", "s", "", "1"},
        {"s j 12 x", "s", "j", "12"},
        {" j", "", "j", ""},
        {"s ", "s", "", ""},
    };
    for (const Case& c : cases) {
        const auto words = records::splitRapidSearch(QString::fromUtf8(c.typed));
        EXPECT_EQ(words.lastName, QString::fromUtf8(c.last)) << c.typed;
        EXPECT_EQ(words.firstName, QString::fromUtf8(c.first)) << c.typed;
        EXPECT_EQ(words.address, QString::fromUtf8(c.address)) << c.typed;
    }
}

TEST(RapidSearchQuery, ApostrophesStayInsideTheirPatternAndWildcardsStayWildcards)
{
    EXPECT_EQ(records::rapidSearchSql(u"s j"),
              "SELECT [MemberID], [LastName], [FirstName], [Address] FROM [Members] WHERE [Lastname] Like 's*' "
              "And [FirstName] Like 'j*' And [Address] Like '*'");
    EXPECT_EQ(records::rapidSearchSql(u"o'b d'a"),
              "SELECT [MemberID], [LastName], [FirstName], [Address] FROM [Members] WHERE [Lastname] Like 'o''b*' "
              "And [FirstName] Like 'd''a*' And [Address] Like '*'");
    // A closing apostrophe typed on purpose cannot end the literal and smuggle in a condition.
    EXPECT_EQ(records::rapidSearchSql(u"x' Or 'a'='a"),
              "SELECT [MemberID], [LastName], [FirstName], [Address] FROM [Members] WHERE [Lastname] Like 'x''*' "
              "And [FirstName] Like 'Or*' And [Address] Like '''a''=''a*'");
    EXPECT_EQ(records::matchItemText("Smith", "John", "12 Oak St"), "Smith, John   -    12 Oak St");
}

class RapidSearchTest : public EntryTest {
protected:
    void SetUp() override
    {
        EntryTest::SetUp();
        ids = addMembers({
            {"John", "Smith", "12 Oak St"},       // 0
            {"Jane", "Smith", "45 Elm Ave"},      // 1
            {"Joe", "Smythe", "120 Pine Rd"},     // 2
            {"Bob", "Sanders", "1 Main St"},      // 3
            {"Sam", "Jones", "12 Oak St"},        // 4
            {"Pat", "O'Brien", "3 Shore Rd"},     // 5
            {"Maria", "D'Angelo", "9 Hill St"},   // 6
            {"Éric", "Émond", "7 Rue Haute"},     // 7
            {"Jon", "Snow", std::nullopt},        // 8: no address, never listed
            {"Иван", "Сидоров", "5 Lenin St"},    // 9
        });
    }

    QString item(int member) const
    {
        static const MemberRow rows[] = {
            {"John", "Smith", "12 Oak St"},   {"Jane", "Smith", "45 Elm Ave"}, {"Joe", "Smythe", "120 Pine Rd"},
            {"Bob", "Sanders", "1 Main St"},  {"Sam", "Jones", "12 Oak St"},   {"Pat", "O'Brien", "3 Shore Rd"},
            {"Maria", "D'Angelo", "9 Hill St"}, {"Éric", "Émond", "7 Rue Haute"}, {"Jon", "Snow", std::nullopt},
            {"Иван", "Сидоров", "5 Lenin St"},
        };
        const MemberRow& r = rows[member];
        return records::matchItemText(r.last, r.first, r.address.value_or(QString()));
    }

    // The listed lines, each checked against the id beside it.
    std::string search(entrytest::EntryMain& f, const QString& typed)
    {
        f.EntNme->clear();
        type(f.EntNme, typed);
        EXPECT_EQ(f.EntNme->text(), typed);
        EXPECT_EQ(f.C_List->count(), f.ID_list->count()) << typed.toStdString();
        QStringList listed;
        for (int i = 0; i < f.C_List->count() && i < f.ID_list->count(); ++i) {
            const QString line = f.C_List->text(i);
            listed << line;
            const std::int64_t id = f.ID_list->text(i).toLongLong();
            bool matchesId = false;
            for (std::size_t m = 0; m < ids.size(); ++m)
                matchesId = matchesId || (ids[m] == id && item(static_cast<int>(m)) == line);
            EXPECT_TRUE(matchesId) << typed.toStdString() << ": " << line.toStdString() << " beside id " << id;
        }
        listed.sort();
        return listed.join(" | ").toStdString();
    }

    // The lines of these members, in the order search() gives them.
    std::string expected(std::initializer_list<int> members) const
    {
        QStringList out;
        for (int m : members)
            out << item(m);
        out.sort();
        return out.join(" | ").toStdString();
    }

    static int rowOf(const MatchList* list, const QString& line)
    {
        for (int r = 0; r < list->count(); ++r)
            if (list->text(r) == line)
                return r;
        return -1;
    }

    std::vector<std::int64_t> ids;
};

TEST_F(RapidSearchTest, EachTypedTextListsTheMembersWhoseNamesBeginSo)
{
    auto& f = open();
    struct Case {
        const char* typed;
        std::initializer_list<int> members;
    };
    const Case cases[] = {
        {"s", {0, 1, 2, 3}},            // Snow has no address: never listed
        {"s j", {0, 1, 2}},
        {"s j 12", {0, 2}},             // 12 Oak St and 120 Pine Rd both begin with 12
        {"smi jo", {0}},
        {"s  1", {0, 2, 3}},            // any first name, address 1*
        {"s j 12 x", {0, 2}},           // the fourth word is ignored
        {"SMITH J", {0, 1}},            // letter case is ignored
        {"o'b", {5}},                   // the apostrophe is part of the name
        {"O'BRIEN PAT", {5}},
        {"d'a m", {6}},
        {"'", {}},                      // a lone apostrophe is a name beginning, not a broken query
        {"é", {7}},                     // letters outside ASCII, in either case
        {"ÉM", {7}},
        {"émond éric 7", {7}},
        {"си ив", {9}},
        {"?m", {0, 1, 2, 7}},           // typed wildcards act as wildcards
        {"*o* ?a", {4, 5, 6}},         // "Donors, Anonymous" of the template has no a second
        {"s[!m]", {3}},
        {"s[a-c]", {3}},
        {"sm*h", {0, 1, 2}},
        {"x", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(search(f, QString::fromUtf8(c.typed)), expected(c.members)) << c.typed;
}

TEST_F(RapidSearchTest, AnEmptyBoxListsNothingAndRunsNoQuery)
{
    auto& f = open();
    type(f.EntNme, QStringLiteral("s"));
    ASSERT_GT(f.C_List->count(), 0);
    f.datScratchRS->setRecordSource(QStringLiteral("untouched"));
    f.EntNme->clear();
    EXPECT_EQ(f.C_List->count(), 0);
    EXPECT_EQ(f.ID_list->count(), 0);
    EXPECT_EQ(f.datScratchRS->recordSource(), "untouched");
    EXPECT_EQ(f.datScratchRS->recordset(), nullptr);
}

TEST_F(RapidSearchTest, APatternTheDialectRefusesListsNothingAndLeavesTheSearchUsable)
{
    auto& f = open();
    for (const char* typed : {"[", "s[", "[!", "s j ["}) {
        f.EntNme->clear();
        type(f.EntNme, QString::fromUtf8(typed));
        EXPECT_EQ(f.C_List->count(), f.ID_list->count()) << typed;
        EXPECT_EQ(f.datScratchRS->recordset(), nullptr) << "the scratch set is released after " << typed;
    }
    EXPECT_EQ(search(f, QStringLiteral("smi jo")), expected({0}));
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(RapidSearchTest, OnlyASingleMatchIsChosenAtOnce)
{
    auto& f = open();
    type(f.EntNme, QStringLiteral("smi jo"));
    ASSERT_EQ(f.C_List->count(), 1);
    EXPECT_EQ(f.C_List->selectedRow(), 0);
    f.EntNme->clear();
    type(f.EntNme, QStringLiteral("s j"));
    ASSERT_EQ(f.C_List->count(), 3);
    EXPECT_EQ(f.C_List->selectedRow(), -1);
}

TEST_F(RapidSearchTest, EnterOnASingleMatchAddsItsDonationThenEmptiesTheSearch)
{
    auto& f = open();
    QString donor;
    ui().queueDialog([&](QDialog& d) {
        donor = ui::child<QLabel>(d, "Label2").text();
        text1(d, 0).setText("25");
        chooseDestination(d, "General Fund");
        ui::click(d, "Command1");
    });
    type(f.EntNme, QStringLiteral("o'b"));
    pressEnter(f.EntNme);

    EXPECT_EQ(f.ran, QStringList{"mnuEditAddPay"});
    EXPECT_EQ(donor, "Donation for Pat O'Brien");
    const auto rows = payments();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].member, ids[5]);
    EXPECT_EQ(rows[0].amount, "25");
    EXPECT_EQ(f.datPrimaryRS->recordset()->field("MemberID").toLong(), ids[5]);
    EXPECT_TRUE(f.EntNme->text().isEmpty());
    EXPECT_EQ(f.focusWidget(), f.EntNme);
    EXPECT_EQ(f.C_List->count(), 0);
    EXPECT_EQ(f.ID_list->count(), 0);
}

TEST_F(RapidSearchTest, EnterWithNothingChosenStartsANewMemberAndKeepsTheText)
{
    auto& f = open();
    for (const char* typed : {"s j", "zzz"}) {  // several matches, none highlighted; no match
        f.ran.clear();
        f.EntNme->clear();
        type(f.EntNme, QString::fromUtf8(typed));
        pressEnter(f.EntNme);
        EXPECT_EQ(f.ran, QStringList{"mnuEditAddMem"}) << typed;
        EXPECT_EQ(f.EntNme->text(), typed);
        EXPECT_EQ(f.focusWidget(), f.C_List) << "Enter moves the focus to the list";
    }
    EXPECT_TRUE(payments().empty());
    EXPECT_EQ(ui().pendingScripts(), 0);
}

TEST_F(RapidSearchTest, AHighlightedLineIsChosenByEnterInTheListAndByADoubleClick)
{
    auto& f = open();
    QStringList donors;
    for (int i = 0; i < 2; ++i)
        ui().queueDialog([&](QDialog& d) {
            donors << ui::child<QLabel>(d, "Label2").text();
            ui::click(d, "Command2");
        });

    type(f.EntNme, QStringLiteral("s j"));
    const int jane = rowOf(f.C_List, item(1));
    f.C_List->setCurrentRow(jane);
    pressEnter(f.C_List);
    EXPECT_TRUE(f.EntNme->text().isEmpty()) << "emptied after the dialog, even a cancelled one";

    type(f.EntNme, QStringLiteral("s j"));
    const int joe = rowOf(f.C_List, item(2));
    f.C_List->setCurrentRow(joe);
    const QPoint at = f.C_List->visualRect(f.C_List->model()->index(joe, 0)).center();
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, f.C_List->viewport()->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.C_List->viewport(), &dbl);

    EXPECT_EQ(donors, (QStringList{"Donation for Jane Smith", "Donation for Joe Smythe"}));
    EXPECT_EQ(f.ran, (QStringList{"mnuEditAddPay", "mnuEditAddPay"}));
    EXPECT_TRUE(payments().empty());
}

// Down, Up and Enter from the keyboard alone, each key sent where the focus is, as a user's is.
TEST_F(RapidSearchTest, DownAndUpMoveBetweenTheBoxAndTheListAndEnterPicksTheHighlightedLine)
{
    auto& f = open();
    f.show();
    enum class At { Box, List };
    struct Case {
        const char* typed;
        std::vector<Qt::Key> keys;
        At focus;            // where the focus ends (after a donation: the box, emptied)
        int highlighted;     // the row highlighted before Enter (or at the end); -1: none
        const char* ran;     // the command Enter ran, "" for none
    };
    const Case cases[] = {
        {"s j", {Qt::Key_Down}, At::List, 0, ""},
        {"s j", {Qt::Key_Down, Qt::Key_Down}, At::List, 1, ""},
        {"s j", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}, At::List, 0, ""},  // Up inside the list
        {"s j", {Qt::Key_Down, Qt::Key_Up}, At::Box, -1, ""},                 // back: none chosen again
        {"smi jo", {Qt::Key_Down, Qt::Key_Up}, At::Box, 0, ""},              // a single match stays chosen
        {"zzz", {Qt::Key_Down}, At::Box, -1, ""},                            // no list to go to
        {"s j", {Qt::Key_Down, Qt::Key_Return}, At::Box, 0, "mnuEditAddPay"},
        {"s j", {Qt::Key_Down, Qt::Key_Down, Qt::Key_Enter}, At::Box, 1, "mnuEditAddPay"},
        {"s j", {Qt::Key_Down, Qt::Key_Up, Qt::Key_Return}, At::List, -1, "mnuEditAddMem"},
        {"s j", {Qt::Key_Return}, At::List, -1, "mnuEditAddMem"},
    };
    for (const Case& c : cases) {
        std::string keys;
        for (Qt::Key k : c.keys)
            keys += k == Qt::Key_Down ? " Down" : k == Qt::Key_Up ? " Up" : " Enter";
        SCOPED_TRACE(c.typed + keys);
        f.ran.clear();
        f.EntNme->setFocus();
        f.EntNme->clear();
        type(f.EntNme, QString::fromUtf8(c.typed));
        QString donor;
        std::int64_t expectedMember = -1;
        const bool donation = QLatin1String(c.ran) == QLatin1String("mnuEditAddPay");
        if (donation)
            ui().queueDialog([&](QDialog& d) {
                donor = ui::child<QLabel>(d, "Label2").text();
                ui::click(d, "Command2");
            });
        for (Qt::Key k : c.keys) {
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                EXPECT_EQ(f.C_List->selectedRow(), c.highlighted) << "before Enter";
                expectedMember = f.ID_list->text(c.highlighted).toLongLong();
            }
            QKeyEvent press(QEvent::KeyPress, k, k == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QApplication::sendEvent(f.focusWidget(), &press);
        }
        EXPECT_EQ(f.focusWidget(), c.focus == At::Box ? static_cast<QWidget*>(f.EntNme) : f.C_List);
        if (*c.ran)
            EXPECT_EQ(f.ran, QStringList{QString::fromUtf8(c.ran)});
        else
            EXPECT_TRUE(f.ran.isEmpty());
        if (donation) {
            EXPECT_EQ(f.datPrimaryRS->recordset()->field("MemberID").toLong(), expectedMember);
            EXPECT_TRUE(donor.startsWith("Donation for J")) << donor.toStdString();
            EXPECT_TRUE(f.EntNme->text().isEmpty());
        } else if (!*c.ran) {
            EXPECT_EQ(f.C_List->selectedRow(), c.highlighted);
            EXPECT_EQ(f.EntNme->text(), c.typed) << "moving does not change the search";
        }
    }
    EXPECT_EQ(ui().pendingScripts(), 0);
    EXPECT_TRUE(payments().empty());
}

TEST_F(RapidSearchTest, AMemberOutsideTheMemberQueryGetsNoDonationMeantForAnother)
{
    auto& f = open();
    // A member filter leaves only the Smiths in the member query.
    f.datPrimaryRS->setRecordSource(QStringLiteral("SELECT * FROM Members WHERE LastName = 'Smith'"));
    f.records->RequeryView();
    const auto current = f.datPrimaryRS->recordset()->field("MemberID");
    type(f.EntNme, QStringLiteral("o'b"));
    pressEnter(f.EntNme);

    EXPECT_TRUE(f.ran.isEmpty());
    EXPECT_EQ(ui().beepCount(), 1);
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].title, "QUIL");
    EXPECT_EQ(f.datPrimaryRS->recordset()->field("MemberID"), current);
    EXPECT_EQ(f.EntNme->text(), "o'b");
    EXPECT_TRUE(payments().empty());
}

} // namespace

namespace {

TEST_F(RapidSearchTest, AListOfThousandsIsMadeAsItIsPaintedAndKeepsItsNumbersLineForLine)
{
    // More matches than a record set reads at its open: the keys are read in steps and the lines
    // only when asked for, from the middle and the end as well as the top.
    std::vector<entrytest::MemberRow> many;
    for (int i = 0; i < 2500; ++i)
        many.push_back({QStringLiteral("Kim%1").arg(i, 4, 10, QChar(u'0')), QStringLiteral("Kowalski"), QStringLiteral("%1 Long Rd").arg(i)});
    const auto added = addMembers(many);
    auto& f = open();
    f.show();
    type(f.EntNme, QStringLiteral("kow"));
    ASSERT_EQ(f.C_List->count(), 2500);
    ASSERT_EQ(f.ID_list->count(), 2500);
    for (int row : {0, 1, 1023, 1024, 1500, 2499}) {
        const QString line = f.C_List->text(row);
        const std::int64_t id = f.ID_list->text(row).toLongLong();
        const auto at = std::find(added.begin(), added.end(), id);
        ASSERT_NE(at, added.end()) << row;
        const int k = static_cast<int>(at - added.begin());
        EXPECT_EQ(line, records::matchItemText("Kowalski", many[static_cast<std::size_t>(k)].first,
                                               many[static_cast<std::size_t>(k)].address.value_or(QString())))
            << row;
    }
    // The line chosen is the member recorded.
    f.C_List->setCurrentRow(1500);
    const std::int64_t chosen = f.ID_list->text(1500).toLongLong();
    ui().queueDialog([](QDialog& d) { ui::click(d, "Command2"); });
    pressEnter(f.C_List);
    EXPECT_EQ(f.datPrimaryRS->recordset()->field("MemberID").toLong(), chosen);
    EXPECT_EQ(f.C_List->count(), 0);
}

} // namespace
