// The rapid search: the members whose names begin as typed into EntNme are listed at every
// keystroke (their lines made as the list paints them); Enter or a double-click records a
// donation for the chosen one, or starts a new member when none is chosen; Down and Up move
// between the box and the list.
#include "records/records_commands.h"

#include "frame/dispatch.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/data/recordset_list_model.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "platform/vb/skip_on_failure.h"
#include "records/rapid_search_query.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <exception>

namespace {

// The key pressed, with Enter on the keypad read as Return; 0 for other events. Enter counts
// whatever modifier is held; Down and Up only alone, so Shift+Down and the like keep their use.
int pressedKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return 0;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return Qt::Key_Return;
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return 0;
    return key->key();
}

// Enter in the search box and in the list, and a double-click anywhere in the list, choose. Down
// in the box goes to the list with a line highlighted, Up on the list's first line comes back,
// so a donor is picked from the keyboard without the mouse.
// The watched widgets are kept by pointer: the filter also sees the events of the window's
// teardown, when the window is no longer a whole frmMain.
class RapidSearchKeys : public QObject {
public:
    RapidSearchKeys(RecordsCommands& commands, frmMain& f)
        : QObject(&f), f_(f), commands_(commands), box_(f.EntNme), list_(f.C_List), listArea_(f.C_List->viewport())
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == listArea_)
            return event->type() == QEvent::MouseButtonDblClick && choose();
        if (watched != box_ && watched != list_)
            return false;
        const int key = pressedKey(event);
        if (key == Qt::Key_Return) {
            if (watched == box_)
                list_->setFocus();
            return choose();
        }
        if (watched == box_ && key == Qt::Key_Down)
            return intoList();
        if (watched == list_ && key == Qt::Key_Up)
            return backToBox();
        return false;
    }

private:
    bool choose()
    {
        frame::RunHandler(f_, frame::Origin::Event, [this] { commands_.ChooseMatch(); });
        return true;
    }

    bool intoList()
    {
        if (list_->count() == 0)
            return false;
        if (list_->selectedRow() < 0)
            list_->setCurrentRow(0);
        list_->setFocus();
        return true;
    }

    // Only from the first line (or a list without a line under the cursor). Back in the box the
    // search's own choice holds again: a single match stays chosen, from several none is, so
    // what Enter does there is what the box alone would do.
    bool backToBox()
    {
        if (list_->currentIndex().row() > 0)
            return false;
        if (list_->count() != 1)
            list_->clearSelection();
        box_->setFocus();
        return true;
    }

    frmMain& f_;
    RecordsCommands& commands_;
    QWidget* box_;
    MatchList* list_;
    QObject* listArea_;
};

// Makes the member with this number current. False when the member query does not hold it
// (a member filter or List View leaves it out): another member must not get the donation.
bool locateMember(frmMain& f, const QString& memberId)
{
    dao::Recordset* members = f.datPrimaryRS->recordset();
    if (!members)
        return false;
    try {
        members->findFirst(QStringLiteral("memberid = ") + memberId);
    } catch (const jet::DbError&) {
        return false;
    }
    if (members->noMatch())
        return false;
    f.datPrimaryRS->notifyReposition();
    return true;
}

} // namespace

void RecordsCommands::ConnectRapidSearch()
{
    QObject::connect(f.EntNme, &QLineEdit::textChanged, &f, frame::AsEvent(f, [this](const QString&) { EntNme_Change(); }));
    // One model for both lists, made of the search's rows as they are painted: the names in
    // C_List, the member numbers in the hidden ID_list, line for line.
    matches_ = new data::RecordsetListModel(
        {[](const std::vector<vb::Value>& row) { return records::matchItemText(row[1].toText(), row[2].toText(), row[3].toText()); },
         [](const std::vector<vb::Value>& row) { return row[0].toText(); }},
        &f);
    f.C_List->setModel(matches_);
    f.C_List->setModelColumn(0);
    f.ID_list->setModel(matches_);
    f.ID_list->setModelColumn(1);
    // Every line has the height of the first: laying out thousands of matches after a short
    // search text then costs no measuring of each line's text.
    f.C_List->setUniformItemSizes(true);
    f.ID_list->setUniformItemSizes(true);
    auto* keys = new RapidSearchKeys(*this, f);
    f.EntNme->installEventFilter(keys);
    f.C_List->installEventFilter(keys);
    f.C_List->viewport()->installEventFilter(keys);
}

void RecordsCommands::EntNme_Change()
{
    matches_->setRecordset(nullptr);
    const QString typed = f.EntNme->text();
    if (typed.isEmpty() || !f.S.db)
        return;

    // A search that fails (a typed pattern the dialect cannot read) lists nothing. The columns
    // are read by position: MemberID, LastName, FirstName, Address.
    skipOnFailure([&] { matches_->setRecordset(f.S.db->openRecordset(records::rapidSearchSql(typed))); });

    // A single match is chosen at once, so that one Enter records its donation.
    if (f.C_List->count() == 1)
        f.C_List->setCurrentRow(0);
}

void RecordsCommands::ChooseMatch()
{
    const int k = f.C_List->selectedRow();
    if (k < 0) {
        f.mnuEditAddMem_Click();
        return;
    }
    const QString id = f.ID_list->text(k);
    if (id.isEmpty() || !locateMember(f, id)) {
        f.S.LastAnswer = ui::message(ui::Beep::Yes,
                                     QStringLiteral("This member is not among the members in view (a member filter or the "
                                                    "List View leaves it out), so no donation can be added for it here."),
                                     ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL"));
        return;
    }
    f.mnuEditAddPay_Click();
    f.EntNme->setFocus();
    f.EntNme->clear();
}
