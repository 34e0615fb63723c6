// The rapid search: the members whose names begin as typed into EntNme are listed at every
// keystroke; Enter or a double-click records a donation for the chosen one, or starts a new member
// when none is chosen.
#include "records/records_commands.h"

#include "frame/dispatch.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "platform/vb/skip_on_failure.h"
#include "records/rapid_search_query.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <exception>

namespace {

bool isEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Enter in the search box and in the list, and a double-click anywhere in the list, choose.
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
        if (watched == box_ && isEnter(event)) {
            list_->setFocus();
            choose();
            return true;
        }
        if (watched == list_ && isEnter(event)) {
            choose();
            return true;
        }
        if (watched == listArea_ && event->type() == QEvent::MouseButtonDblClick) {
            choose();
            return true;
        }
        return false;
    }

private:
    void choose() { frame::RunHandler(f_, frame::Origin::Event, [this] { commands_.ChooseMatch(); }); }

    frmMain& f_;
    RecordsCommands& commands_;
    QObject* box_;
    QListWidget* list_;
    QObject* listArea_;
};

// The highlighted line of a list, -1 when none is: a line that only has the keyboard cursor
// without being highlighted is not chosen.
int selectedIndex(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

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
    // Every line has the height of the first: laying out thousands of matches after a short
    // search text then costs no measuring of each line's text.
    f.C_List->setUniformItemSizes(true);
    auto* keys = new RapidSearchKeys(*this, f);
    f.EntNme->installEventFilter(keys);
    f.C_List->installEventFilter(keys);
    f.C_List->viewport()->installEventFilter(keys);
}

void RecordsCommands::EntNme_Change()
{
    f.C_List->clear();
    f.ID_list->clear();
    const QString typed = f.EntNme->text();
    if (typed.isEmpty() || !f.S.db)
        return;

    // A search that fails (a typed pattern the dialect cannot read) lists what it found before
    // the failure, which is usually nothing.
    QStringList items;
    QStringList ids;
    skipOnFailure([&] {
        const QString sql = records::rapidSearchSql(typed);
        f.datScratchRS->setRecordSource(sql);
        f.datScratchRS->setRecordset(f.S.db->openRecordset(sql));
        dao::Recordset* rs = f.datScratchRS->recordset();
        const int id = rs->fieldIndex(QStringLiteral("MemberID"));
        const int last = rs->fieldIndex(QStringLiteral("LastName"));
        const int first = rs->fieldIndex(QStringLiteral("FirstName"));
        const int address = rs->fieldIndex(QStringLiteral("Address"));
        items.reserve(rs->recordCount());
        ids.reserve(rs->recordCount());
        for (; !rs->isEOF(); rs->moveNext()) {
            items << records::matchItemText(rs->field(last).toText(), rs->field(first).toText(),
                                            rs->field(address).toText());
            ids << rs->field(id).toText();
        }
    });
    f.C_List->addItems(items);
    f.ID_list->addItems(ids);
    skipOnFailure([&] { f.datScratchRS->setRecordset(nullptr); });

    // A single match is chosen at once, so that one Enter records its donation.
    if (f.C_List->count() == 1)
        f.C_List->setCurrentRow(0);
}

void RecordsCommands::ChooseMatch()
{
    const int k = selectedIndex(f.C_List);
    if (k < 0) {
        f.mnuEditAddMem_Click();
        return;
    }
    const QListWidgetItem* id = f.ID_list->item(k);
    if (!id || !locateMember(f, id->text())) {
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
