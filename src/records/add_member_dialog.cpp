#include "records/add_member_dialog.h"

#include "records/duplicate_member.h"

#include "frame/main_state.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/jet/db_error.h"
#include "platform/ui/object_names.h"
#include "platform/ui/ui.h"
#include "schema/counters.h"
#include "schema/schema.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The captions of the boxes; box i writes the Members column after the member number, i + 1.
constexpr std::array<const char*, 8> kCaptions{"First Name", "Last Name", "Address", "City",
                                               "State",      "Zip Code",  "Phone",   "Notes"};

QString fieldOf(int box)
{
    return QLatin1String(db::memberColumns()[static_cast<std::size_t>(box) + 1].name);
}

// Boxes 0 to 2 must be filled before a member can be added.
constexpr int kRequired = 3;

} // namespace

AddMember::AddMember(MainState& S, QString& newMemberCriteria, std::shared_ptr<dao::Database> database, QWidget* parent)
    : QDialog(parent), S(S), newMemberCriteria_(newMemberCriteria), database_(std::move(database))
{
    setObjectName(QStringLiteral("AddMember"));
    setWindowTitle(QStringLiteral("Add a New Member"));

    Frame1 = new QGroupBox(QStringLiteral("Enter Member Information"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(Frame1);
    for (int i = 0; i < 8; ++i) {
        Label1[i] = new QLabel(QLatin1String(kCaptions[i]), Frame1);
        Label1[i]->setObjectName(ui::elementName("Label1", i));
        if (i == kNotes) {
            auto* notes = new QPlainTextEdit(Frame1);
            // Tab moves on to the buttons instead of typing a tab into the notes.
            notes->setTabChangesFocus(true);
            notes->setMinimumHeight(notes->fontMetrics().lineSpacing() * 4);
            NewMem[i] = notes;
        } else {
            auto* line = new QLineEdit(Frame1);
            // The box holds what the field holds: longer input could only be refused at OK.
            const int size = db::textFieldSize(u"Members", fieldOf(i));
            if (size > 0)
                line->setMaxLength(size);
            NewMem[i] = line;
        }
        NewMem[i]->setObjectName(ui::elementName("NewMem", i));
        Label1[i]->setBuddy(NewMem[i]);
        grid->addWidget(Label1[i], i, 0, i == kNotes ? Qt::AlignTop : Qt::Alignment());
        grid->addWidget(NewMem[i], i, 1);
    }
    for (int i = 0; i + 1 < 8; ++i)
        setTabOrder(NewMem[i], NewMem[i + 1]);

    Label2 = new QLabel(QStringLiteral("Enter  NONE for address if unknown"), this);
    Label2->setObjectName(QStringLiteral("Label2"));

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("&Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    // Enter in a box must not add a half-typed member: only a click or Alt+O does.
    for (QPushButton* b : {Command1, Command2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(Command1, &QPushButton::clicked, this, &AddMember::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &AddMember::Command2_Click);
    setTabOrder(NewMem[kNotes], Command1);
    setTabOrder(Command1, Command2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Label2);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    NewMem[0]->setFocus();
}

QString AddMember::text(int index) const
{
    if (index == kNotes)
        return static_cast<QPlainTextEdit*>(NewMem[index])->toPlainText();
    return static_cast<QLineEdit*>(NewMem.at(static_cast<std::size_t>(index)))->text();
}

void AddMember::Command1_Click()
{
    for (int i = 0; i < kRequired; ++i) {
        if (text(i).isEmpty()) {
            S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("First Three Cells Must Have Data!"), ui::Buttons::OKOnly,
                                       ui::Icon::None, QStringLiteral("QUIL"));
            NewMem[0]->setFocus();
            return;
        }
    }
    if (!numberLeft() || !confirmIfOnFile() || !addRow())
        return;
    S.DialogCancelled = false;
    accept();
}

bool AddMember::numberLeft()
{
    std::optional<QString> refusal;
    try {
        if (database_)
            refusal = db::counterRefusal(db::counterState(database_->connection(), u"Members"), u"Members", 1);
    } catch (const jet::DbError&) {
        // A file that cannot answer refuses the write itself, with its message.
        return true;
    }
    if (!refusal)
        return true;
    S.LastAnswer = ui::message(ui::Beep::Yes, *refusal, ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL"));
    NewMem[0]->setFocus();
    return false;
}

bool AddMember::confirmIfOnFile()
{
    std::int64_t id = -1;
    try {
        if (database_)
            id = records::findSameMember(*database_, text(1), text(0), text(2));
    } catch (const jet::DbError&) {
        // Only a warning: a file that cannot answer refuses the write itself, with its message.
        return true;
    }
    if (id < 0)
        return true;
    S.LastAnswer = ui::message(ui::Beep::No,
                               QStringLiteral("A member with this name and address is already on file (member %1). "
                                              "Add this member anyway?").arg(id),
                               ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("QUIL"));
    if (S.LastAnswer == ui::Yes)
        return true;
    NewMem[0]->setFocus();
    return false;
}

bool AddMember::addRow()
{
    std::unique_ptr<dao::Recordset> members;
    try {
        members = database_ ? database_->openRecordset(QStringLiteral("Members")) : nullptr;
        if (!members)
            throw jet::DbError(jet::err::EngineError, QStringLiteral("No database is open."));
        members->addNew();
        for (int i = 0; i < 8; ++i) {
            // Names are always written; an empty optional box leaves its field without a value.
            const QString value = text(i);
            if (i < 2 || !value.isEmpty())
                members->setField(fieldOf(i), value);
        }
        members->update();
        // The database numbers the member: MemberID is the table's row key, which the set
        // knows without reading the row back. Nothing after the insert may fail, or a member
        // that is stored would be reported as not saved and could be added twice.
        newMemberCriteria_ = QStringLiteral("MemberID = ") + QString::number(members->lastModified());
        return true;
    } catch (const jet::DbError& e) {
        // Nothing was stored (the row is one statement); what was typed stays for another try.
        if (members && members->editMode() != dao::Recordset::EditMode::None)
            members->cancelUpdate();
        S.LastAnswer = ui::dataError(QStringLiteral("The new member could not be saved: %1").arg(e.description()));
        NewMem[0]->setFocus();
        return false;
    }
}

void AddMember::Command2_Click()
{
    reject();
}

void AddMember::reject()
{
    S.DialogCancelled = true;
    QDialog::reject();
}
