// Editing member fields by double-click through the real window: the write-back of each field,
// the fields that cannot be emptied, cancel and Enter, the fields without a dialog, the box
// limits, typing kept in other fields, a refused write and an edit that leaves a filter empty.
#include "member_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <functional>

namespace {

using namespace membertest;

QLineEdit& text1(QDialog& d)
{
    return ui::child<QLineEdit>(d, QStringLiteral("Text1"));
}

class EditMemberTest : public MemberTest {
protected:
    // Three members; the middle one is the one edited, so the re-run must find it again.
    void SetUp() override
    {
        MemberTest::SetUp();
        ids_ = addRows({{"Bob", "Adams", "1 Main St", "Troy"},
                        {"Ann", "Lee", "12 Oak Rd", "Albany"},
                        {"Cy", "Baker", "2 Main St", "Troy"}});
        member_ = ids_[1];
        open();
        enableFields();
        standOn(member_);
    }

    // Double-clicks field `index`, types `text` into the dialog and presses OK.
    void edit(int index, const QString& text)
    {
        ui().queueDialog([text](QDialog& d) {
            text1(d).setText(text);
            ui::click(d, QStringLiteral("OkBut"));
        });
        doubleClick(index);
    }

    std::vector<std::int64_t> ids_;
    std::int64_t member_ = 0;
};

TEST_F(EditMemberTest, EachFieldIsWrittenBackAndTheMemberStaysCurrent)
{
    struct Case {
        int index;
        QString typed;
        QString expected;  // stored and shown afterwards
    };
    const Case cases[] = {
        {1, "Jo'anne", "Jo'anne"},
        {2, "Ñúñez-Ødegård", "Ñúñez-Ødegård"},
        {3, "12 Rue de l'Église", "12 Rue de l'Église"},
        {4, "Québec", "Québec"},
        {5, "QC", "QC"},
        {6, "H2X 1Y4", "H2X 1Y4"},
        {7, "(514) 555-0199", "(514) 555-0199"},
        {4, "", ""},               // city, state, zip and phone can be emptied
        {7, "", ""},
        {1, "", "Jo'anne"},        // the names and the address cannot
        {2, "", "Ñúñez-Ødegård"},
        {3, "", "12 Rue de l'Église"},
    };
    frmMain& f = *window_;
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("field %1, typed '%2'").arg(c.index).arg(c.typed).toStdString());
        ui().clearLog();
        const QString before = f.txtFields.text(c.index);
        QString offered;
        ui().queueDialog([&](QDialog& d) {
            offered = text1(d).text();
            EXPECT_EQ(quiltest::recordsOf(f).EditFieldValue, before);
            text1(d).setText(c.typed);
            ui::click(d, QStringLiteral("OkBut"));
        });
        doubleClick(c.index);
        EXPECT_EQ(dialogsRun(), QStringList{"EditMemData"});
        EXPECT_EQ(offered, before);
        EXPECT_EQ(stored(member_, kFields[c.index]).value_or(QString()), c.expected);
        EXPECT_EQ(f.txtFields.text(c.index), c.expected);
        EXPECT_EQ(currentMember(), member_);
        EXPECT_EQ(f.txtFields.text(0), QString::number(member_));
        EXPECT_TRUE(quiltest::recordsOf(f).EditFieldValue.isEmpty());
        EXPECT_FALSE(f.S.DialogCancelled);
        EXPECT_TRUE(ui().messages().empty());
    }
    // The other members were not touched.
    EXPECT_EQ(stored(ids_[0], "LastName"), "Adams");
    EXPECT_EQ(stored(ids_[2], "City"), "Troy");
}

TEST_F(EditMemberTest, DialogOffersTheValueWithinTheFieldsLimitAndPaintsTheField)
{
    frmMain& f = *window_;
    for (std::size_t k = 0; k < kFieldSizes.size(); ++k) {
        const int index = static_cast<int>(k) + 1;
        const auto& [field, size] = kFieldSizes[k];
        SCOPED_TRACE(field.toStdString());
        QWidget* box = f.txtFields[static_cast<std::size_t>(index)];
        const QPalette before = box->palette();
        ui().queueDialog([&, size = size](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Edit Member Data");
            EXPECT_EQ(ui::child<QLabel>(d, "Label1").text(), "Enter New Data");
            EXPECT_EQ(ui::child<QPushButton>(d, "OkBut").text(), "O&K");
            EXPECT_EQ(ui::child<QPushButton>(d, "CanBut").text(), "&Cancel");
            EXPECT_EQ(text1(d).maxLength(), size);
            EXPECT_EQ(box->palette().color(QPalette::Base), QColor(Qt::blue));
            EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::white));
            text1(d).setText(QStringLiteral("x'é").repeated(100));
            ui::click(d, QStringLiteral("OkBut"));
        });
        doubleClick(index);
        const QString expected = QStringLiteral("x'é").repeated(100).left(size);
        EXPECT_EQ(stored(member_, field), expected);
        EXPECT_EQ(box->palette(), before);
    }
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(EditMemberTest, MainWindowBoxesHoldNoMoreThanTheirFields)
{
    frmMain& f = *window_;
    for (std::size_t k = 0; k < kFieldSizes.size(); ++k)
        EXPECT_EQ(f.txtFields.line(static_cast<int>(k) + 1)->maxLength(), kFieldSizes[k].second)
            << kFieldSizes[k].first.toStdString();
    // The number is the database's: it can be read, not typed over.
    EXPECT_TRUE(f.txtFields.line(0)->isReadOnly());
}

TEST_F(EditMemberTest, CancelAndEscapeChangeNothing)
{
    frmMain& f = *window_;
    const std::function<void(QDialog&)> cancels[] = {
        [](QDialog& d) { ui::click(d, QStringLiteral("CanBut")); },
        [](QDialog& d) { pressKey(&text1(d), Qt::Key_Escape); },
    };
    for (const auto& cancel : cancels) {
        ui().queueDialog([&](QDialog& d) {
            text1(d).setText("Changed");
            cancel(d);
            EXPECT_FALSE(d.isVisible());
        });
        doubleClick(4);
        EXPECT_EQ(stored(member_, "City"), "Albany");
        EXPECT_EQ(f.txtFields.text(4), "Albany");
        EXPECT_FALSE(f.S.DialogCancelled);
        EXPECT_TRUE(quiltest::recordsOf(f).EditFieldValue.isEmpty());
    }
}

TEST_F(EditMemberTest, EnterInTheBoxActsAsOk)
{
    ui().queueDialog([](QDialog& d) {
        text1(d).setText("Schenectady");
        pressKey(&text1(d), Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    doubleClick(4);
    EXPECT_EQ(stored(member_, "City"), "Schenectady");
}

TEST_F(EditMemberTest, MemberIdAndNotesOpenNoDialogAndReturnToNormal)
{
    frmMain& f = *window_;
    for (int index : {0, 8}) {
        SCOPED_TRACE(index);
        QWidget* box = f.txtFields[static_cast<std::size_t>(index)];
        const QPalette before = box->palette();
        doubleClick(index);
        EXPECT_TRUE(dialogsRun().isEmpty());
        EXPECT_EQ(box->palette(), before);
        EXPECT_TRUE(quiltest::recordsOf(f).EditFieldValue.isEmpty());
        EXPECT_EQ(currentMember(), member_);
    }
    // The double-click still does what it does in any text box: it selects the word.
    f.txtFields.setText(8, "alpha beta");
    doubleClick(8);
    EXPECT_EQ(f.txtFields.notes()->textCursor().selectedText(), "alpha");
}

TEST_F(EditMemberTest, DisabledFieldsDoNotAnswerADoubleClick)
{
    frmMain& f = *window_;
    for (QWidget* field : f.txtFields)
        field->setEnabled(false);
    doubleClick(4);
    EXPECT_TRUE(dialogsRun().isEmpty());
    EXPECT_EQ(ui().pendingScripts(), 0);
}

TEST_F(EditMemberTest, TextTypedIntoOtherFieldsIsSavedWithTheEdit)
{
    frmMain& f = *window_;
    f.txtFields.setText(5, "NY");
    f.txtFields.setText(8, "Prefers e-mail");
    edit(2, "Leigh");
    EXPECT_EQ(stored(member_, "LastName"), "Leigh");
    EXPECT_EQ(stored(member_, "State"), "NY");
    EXPECT_EQ(stored(member_, "Notes"), "Prefers e-mail");
}

TEST_F(EditMemberTest, FilterColourIsKeptAfterTheEdit)
{
    frmMain& f = *window_;
    QWidget* box = f.txtFields[4];
    QPalette blue = box->palette();
    blue.setColor(QPalette::Text, Qt::blue);
    box->setPalette(blue);
    edit(4, "Utica");
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::blue));
    EXPECT_EQ(box->palette().color(QPalette::Base), blue.color(QPalette::Base));
}

TEST_F(EditMemberTest, RefusedWriteKeepsTheStoredValueAndSaysSo)
{
    // Once with the member source's own error handler, once with the error left to the edit.
    for (const bool sourceHandlesErrors : {true, false}) {
        SCOPED_TRACE(sourceHandlesErrors ? "handled by the member source" : "left to the edit");
        exec("CREATE TRIGGER refuse_edits BEFORE UPDATE ON Members BEGIN SELECT RAISE(ABORT, 'disk says no'); END");
        frmMain& f = *window_;
        if (!sourceHandlesErrors)
            QObject::disconnect(f.datPrimaryRS, &data::DataControl::error, nullptr, nullptr);
        ui().clearLog();
        standOn(member_);
        edit(4, "Utica");
        EXPECT_EQ(stored(member_, "City"), "Albany");
        EXPECT_EQ(f.txtFields.text(4), "Albany");
        ASSERT_FALSE(ui().messages().empty());
        EXPECT_EQ(ui().messages().back().title, "QUIL Data Error");
        if (!sourceHandlesErrors) {
            EXPECT_TRUE(ui().messages().back().prompt.contains("disk says no"));
        }
        EXPECT_EQ(f.datPrimaryRS->recordset()->editMode(), dao::Recordset::EditMode::None);
        EXPECT_FALSE(f.S.DialogCancelled);
        EXPECT_TRUE(quiltest::recordsOf(f).EditFieldValue.isEmpty());

        // Nothing refused is left pending: once writes pass again, the next edit is the only change.
        exec("DROP TRIGGER refuse_edits");
        ui().clearLog();
        f.datPrimaryRS->moveFirst();
        EXPECT_TRUE(ui().messages().empty());
        standOn(member_);
        edit(5, sourceHandlesErrors ? "NY" : "VT");
        EXPECT_EQ(stored(member_, "State"), sourceHandlesErrors ? "NY" : "VT");
        EXPECT_EQ(stored(member_, "City"), "Albany");
    }
}

TEST_F(EditMemberTest, EditThatEmptiesTheMemberFilterFallsBackToAllMembers)
{
    frmMain& f = *window_;
    filterMembers("[LastName] = 'Lee'");
    ASSERT_EQ(currentMember(), member_);
    edit(2, "Leigh");
    EXPECT_EQ(stored(member_, "LastName"), "Leigh");
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages().front().prompt, "No Records Found For Current Filter");
    EXPECT_EQ(ui().messages().front().title, "Bad Query");
    EXPECT_TRUE(f.S.MemberFilter.isEmpty());
    EXPECT_EQ(f.datPrimaryRS->recordset()->recordCount(), static_cast<int>(memberCount()));
}

} // namespace
