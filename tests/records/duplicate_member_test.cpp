// Add Member's warning about a member already on file: letter case and accents ignored, a
// different address or first name is no duplicate, Yes adds anyway, No keeps the dialog with
// what was typed.
#include "member_fixture.h"

#include "records/duplicate_member.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

using namespace membertest;

class DuplicateMemberTest : public MemberTest {};

TEST_F(DuplicateMemberTest, WarnsForTheSameNamesAndAddressAndFollowsTheAnswer)
{
    struct Case {
        const char* name;
        QString first, last, address;
        int answer;     // 0: no question expected
        bool added;
    };
    const Case cases[] = {
        {"exact, No", "Anna", "Müller", "12 Elm St", ui::No, false},
        {"exact, Yes", "Anna", "Müller", "12 Elm St", ui::Yes, true},
        {"letter case", "ANNA", "MÜLLER", "12 elm st", ui::No, false},
        {"accents dropped", "Anna", "Muller", "12 Elm St", ui::No, false},
        {"accent on the first letter", "Eloise", "Eclair", "1 Rue", ui::No, false},
        {"other address", "Anna", "Müller", "14 Elm St", 0, true},
        {"other first name", "Anne", "Müller", "12 Elm St", 0, true},
        {"other last name", "Anna", "Miller", "12 Elm St", 0, true},
    };
    addRows({{"Anna", "Müller", "12 Élm St", ""}, {"Éloïse", "Éclair", "1 Rue", ""}});
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t seen = ui().events().size();
        const std::int64_t before = highestId();
        if (c.answer)
            ui().queueAnswer(c.answer);
        bool stayedOpen = false;
        ui().queueDialog([&](QDialog& d) {
            ui::child<QLineEdit>(d, "NewMem(0)").setText(c.first);
            ui::child<QLineEdit>(d, "NewMem(1)").setText(c.last);
            ui::child<QLineEdit>(d, "NewMem(2)").setText(c.address);
            ui::click(d, QStringLiteral("Command1"));
            stayedOpen = d.result() == 0 && ui::child<QLineEdit>(d, "NewMem(1)").text() == c.last;
            if (!d.isHidden() && d.result() == 0)
                ui::click(d, QStringLiteral("Command2"));
        });
        window_->records->mnuEditAddMem_Click();
        int questions = 0;
        for (std::size_t i = seen; i < ui().events().size(); ++i) {
            const ui::Event& e = ui().events()[i];
            if (e.kind == ui::Event::Kind::Message && e.message.prompt.contains("already on file"))
                ++questions;
        }
        EXPECT_EQ(questions, c.answer ? 1 : 0);
        EXPECT_EQ(highestId() > before, c.added);
        if (c.answer == ui::No) {
            EXPECT_TRUE(stayedOpen);
        }
    }
}

TEST(DuplicateFold, DropsAccentsAndLetterCase)
{
    EXPECT_EQ(records::foldForDuplicates(QStringLiteral("ÉLOÏSE Müller")), QStringLiteral("eloise muller"));
}

} // namespace
