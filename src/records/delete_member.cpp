// Edit > Delete Member: the current member, after DelForm's confirmation with Alt held. The
// member's donations pass to member 1 first, which can never be deleted and so collects the
// donations of every deleted member. The transfer and the delete are one transaction: either the
// member is gone and every donation is member 1's, or nothing has changed.
#include "records/records_commands.h"

#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/dao/sqlite.h"
#include "platform/dao/write_unit.h"
#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "platform/vb/skip_on_failure.h"
#include "records/del_form.h"

#include <exception>
#include <optional>

namespace {

// The member that collects the donations of deleted members.
constexpr std::int64_t kCollector = 1;

// Gives every donation of the member to member 1 and deletes the member row, in one
// transaction. On failure nothing stays written, the record sets hold no change the file does
// not have, and the reason is returned.
std::optional<QString> transferAndDelete(frmMain& f, dao::Recordset& members, std::int64_t memberId)
{
    auto& S = f.S;
    try {
        dao::WriteUnit unit(*S.db);
        // One statement gives every donation of the member to member 1, keeping amounts,
        // checks, destinations and dates: row by row through a record set cost a statement
        // and a re-read of the set's rows for each of a generous member's donations.
        S.db->execute(QStringLiteral("UPDATE [Payments] SET [MemberID] = %1 WHERE [MemberID] = %2").arg(kCollector).arg(memberId));
        members.deleteCurrent();
        unit.commit();
    } catch (const std::exception& e) {
        // The rollback brought the member back into the set, which reads nothing for it: on a
        // disk that keeps failing, a requery would fail too and leave the member hidden.
        return jet::reasonOf(e);
    }
    return std::nullopt;
}

// After the delete the next member becomes current, or the last when the deleted one was last.
void standAfterDeleted(frmMain& f, dao::Recordset& members)
{
    skipOnFailure([&] {
        if (members.recordCount() == 0)
            return;
        members.moveNext();
        if (members.isEOF())
            members.moveLast();
    });
    // The member fields show the member now current; what was typed into the deleted member's
    // fields goes with it.
    f.datPrimaryRS->notifyReposition();
}

} // namespace

void RecordsCommands::mnuEditDelMem_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    dao::Recordset* members = f.datPrimaryRS->recordset();
    // A file without members shows an empty new row: there is nobody to delete.
    if (!members || members->editMode() == dao::Recordset::EditMode::AddNew || !members->hasCurrentRow())
        return;
    S.DonorName = members->field(QStringLiteral("FirstName")).toText() + u' '
                  + members->field(QStringLiteral("LastName")).toText();
    const vb::Value id = members->field(QStringLiteral("MemberID"));
    if (id.isNull() || id.toLong() == kCollector)
        return;

    {
        DelForm dialog(S, &f);
        ui::current().runModal(dialog);
    }
    if (!S.DialogCancelled) {
        const std::optional<QString> failure = transferAndDelete(f, *members, id.toLong());
        if (failure) {
            S.LastAnswer = ui::dataError(QStringLiteral("The member was not deleted: nothing has been changed.\n\n%1").arg(*failure));
        } else {
            standAfterDeleted(f, *members);
            S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("All Donations were transferred to Record 1"),
                                       ui::Buttons::OKOnly, ui::Icon::Information, QStringLiteral("Donation Transfer"));
            RequeryView();
        }
    }
    skipOnFailure([&] { f.datScratchRS->setRecordset(nullptr); });
    S.DialogCancelled = false;
}
