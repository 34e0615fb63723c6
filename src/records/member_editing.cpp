// Adding members (the Add Member command and its dialog) and editing one member field through a
// double-click on it.
#include "records/records_commands.h"

#include "frame/dispatch.h"
#include "frame/frm_main.h"
#include "platform/dao/recordset.h"
#include "platform/data/bound_text_box.h"
#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "platform/vb/convert.h"
#include "records/add_member_dialog.h"
#include "records/edit_mem_data.h"
#include "schema/schema.h"

#include <QEvent>
#include <QPalette>
#include <cmath>
#include <stdexcept>

namespace {

// Sends a double-click on a member field to its handler. The Notes box receives its mouse
// events on its viewport, so both the boxes and that viewport are watched.
class MemberFieldClicks : public QObject {
public:
    MemberFieldClicks(frmMain& f, RecordsCommands& records) : QObject(&f), f(f), records_(records)
    {
        for (QWidget* field : f.txtFields)
            field->installEventFilter(this);
        f.txtFields.notes()->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonDblClick)
            return false;
        const int index = indexOf(watched);
        if (index < 0 || !f.txtFields[static_cast<std::size_t>(index)]->isEnabled())
            return false;
        frame::RunHandler(f, frame::Origin::Event, [&] { records_.txtFields_DblClick(index); });
        // The number and the notes open no dialog: there a double-click still selects a word.
        return index != 0 && index != TextFields::kNotes;
    }

private:
    int indexOf(QObject* watched) const
    {
        if (watched == f.txtFields.notes()->viewport())
            return TextFields::kNotes;
        for (int i = 0; i < 9; ++i)
            if (watched == f.txtFields[static_cast<std::size_t>(i)])
                return i;
        return -1;
    }

    frmMain& f;
    RecordsCommands& records_;
};

// The member number as field 0 shows it; 0 when it shows none.
long long memberNumber(const QString& text)
{
    try {
        const double n = vb::leadingNumber(text);
        return std::isfinite(n) && std::fabs(n) < 9.0e15 ? static_cast<long long>(n) : 0;
    } catch (const std::overflow_error&) {
        return 0;
    }
}

} // namespace

void RecordsCommands::ConnectMemberEditing()
{
    new MemberFieldClicks(f, *this);
    // Member numbers come from the database: the number box shows them and takes no typing.
    f.txtFields.line(0)->setReadOnly(true);
}

// ---- Add Member ----------------------------------------------------------------------------

void RecordsCommands::mnuEditAddMem_Click()
{
    if (!f.S.db)
        return;
    {
        AddMember dialog(f.S, NewMemberCriteria, f.S.db, &f);
        ui::current().runModal(dialog);
    }
    RequeryView();
    if (!f.S.DialogCancelled) {
        // A member filter may keep the new member out of the view; it is saved all the same and
        // the view stays on the member RequeryView chose.
        dao::Recordset* members = f.datPrimaryRS->recordset();
        if (members && !NewMemberCriteria.isEmpty()) {
            members->findFirst(NewMemberCriteria);
            if (!members->noMatch())
                f.datPrimaryRS->notifyReposition();
        }
    }
    f.S.DialogCancelled = false;
}

// ---- Editing one member field --------------------------------------------------------------

void RecordsCommands::txtFields_DblClick(int Index)
{
    if (Index < 0 || Index > TextFields::kNotes)
        return;
    QWidget* field = f.txtFields[static_cast<std::size_t>(Index)];

    EditFieldValue = f.txtFields.text(Index);
    // The member filter may have coloured the text; the field gets back exactly what it had.
    const QPalette normal = field->palette();
    QPalette editing = normal;
    editing.setColor(QPalette::Base, Qt::blue);
    editing.setColor(QPalette::Text, Qt::white);
    field->setPalette(editing);

    struct Restore {
        RecordsCommands& rc;
        QWidget* field;
        QPalette palette;
        ~Restore()
        {
            rc.f.S.DialogCancelled = false;
            rc.EditFieldValue.clear();
            field->setPalette(palette);
        }
    } restore{*this, field, normal};

    const long long member = memberNumber(f.txtFields.text(0));
    if (Index == 0 || Index == TextFields::kNotes)
        return;

    QString newText;
    {
        const int limit = db::textFieldSize(u"Members", f.txtFields.line(Index)->dataField());
        EditMemData dialog(f.S, EditFieldValue, limit, &f);
        ui::current().runModal(dialog);
        newText = dialog.Text1->text();
    }
    // Names and address cannot be emptied this way.
    if (Index <= 3 && newText.isEmpty())
        return;
    if (f.S.DialogCancelled)
        return;

    f.txtFields.setText(Index, newText);
    try {
        f.datPrimaryRS->refresh();
    } catch (const jet::DbError& e) {
        // The stored row stays as it was; the fields show it again instead of the refused text.
        if (dao::Recordset* rs = f.datPrimaryRS->recordset(); rs && rs->editMode() != dao::Recordset::EditMode::None)
            rs->cancelUpdate();
        f.datPrimaryRS->notifyReposition();
        f.S.LastAnswer = ui::dataError(QStringLiteral("The change could not be saved: %1").arg(e.description()));
        return;
    }
    dao::Recordset* members = f.datPrimaryRS->recordset();
    if (!members)
        return;
    if (members->recordCount() == 0) {
        // The edit took the member out of the member filter's result, and nobody is left:
        // the view falls back the way every empty member query does.
        RequeryView();
        return;
    }
    members->findFirst(QStringLiteral("memberid = %1").arg(member));
    f.datPrimaryRS->notifyReposition();
}
