// Edit > Add Donation: the Add Donations dialog for the current member, then its lines as
// donation rows at the end of the grid. The rows of one dialog are written in one transaction,
// so a split check is recorded whole or not at all.
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
#include "records/add_payment_dialog.h"
#include "schema/counters.h"

#include <QListWidget>
#include <QTableView>
#include <exception>
#include <vector>

namespace {

struct DonationLine {
    vb::Currency amount;
    QString destination;
};

std::vector<DonationLine> acceptedLines(const AddPayment& dialog)
{
    std::vector<DonationLine> lines;
    for (int i = 0; i < dialog.A_List->count(); ++i) {
        const auto amount = vb::Currency::fromDecimalText(dialog.A_List->item(i)->text());
        const QListWidgetItem* destination = dialog.D_List->item(i);
        lines.push_back({amount.value_or(vb::Currency()), destination ? destination->text() : QString()});
    }
    return lines;
}

// The current member's number; null when there is no member to give a donation to (a file
// without members shows an empty new row).
vb::Value currentMemberId(dao::Recordset* members)
{
    if (!members || members->editMode() == dao::Recordset::EditMode::AddNew || !members->hasCurrentRow())
        return {};
    return members->field(QStringLiteral("MemberID"));
}

// Adds every line through the grid's record set, in one transaction. On failure nothing stays
// written and the record set is read again, so that it holds no row the file does not have.
// `written` receives each row's PaymentID and amount once the rows are committed.
bool writeLines(frmMain& f, const std::vector<DonationLine>& lines, const DonationEntry& entry, const vb::Value& memberId,
                std::vector<std::pair<std::int64_t, vb::Currency>>& written)
{
    std::vector<std::pair<std::int64_t, vb::Currency>> rows;
    dao::Recordset* donations = f.datSecondaryRS->recordset();
    if (lines.empty())
        return true;
    try {
        // A command that failed while it re-ran the view (a report on a failing disk) can leave
        // the grid without its list: it is read again for the current member before anything is written.
        if (!donations) {
            f.records->datPrimaryRS_Reposition();
            donations = f.datSecondaryRS->recordset();
        }
        if (!donations)
            throw jet::DbError(jet::err::NoCurrentRecord, QStringLiteral("The donation list is not open."));
        const auto lineCount = static_cast<std::int64_t>(lines.size());
        if (const auto refusal = db::counterRefusal(db::counterState(f.S.db->connection(), u"Payments"), u"Payments", lineCount)) {
            f.S.LastAnswer = ui::message(ui::Beep::Yes, *refusal, ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL"));
            return false;
        }
        dao::WriteUnit unit(*f.S.db);
        for (const DonationLine& line : lines) {
            donations->addNew();
            donations->setField(QStringLiteral("PaymentAmount"), line.amount);
            donations->setField(QStringLiteral("CheckNumber"), static_cast<std::int64_t>(entry.CheckNumber));
            donations->setField(QStringLiteral("Destination"), line.destination);
            donations->setField(QStringLiteral("PaymentDate"), entry.DonationDate);
            donations->setField(QStringLiteral("MemberID"), memberId);
            donations->update();
            rows.emplace_back(donations->lastModified(), line.amount);
        }
        unit.commit();
    } catch (const std::exception& e) {
        const QString reason = jet::reasonOf(e);
        // The rollback took the rows the set had appended off it again.
        if (donations) {
            donations->cancelUpdate();
            f.datSecondaryRS->notifyReposition();
        }
        f.S.LastAnswer = ui::dataError(QStringLiteral("%1 not recorded: nothing has been written.\n\n%2")
                .arg(lines.size() > 1 ? QStringLiteral("The donations were") : QStringLiteral("The donation was"), reason));
        return false;
    }
    written = std::move(rows);
    // The last row added becomes the current donation.
    donations->setBookmark(donations->lastModified());
    f.datSecondaryRS->notifyReposition();
    return true;
}

} // namespace

void RecordsCommands::mnuEditAddPay_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    dao::Recordset* members = f.datPrimaryRS->recordset();
    const vb::Value memberId = currentMemberId(members);
    if (memberId.isNull()) {
        S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("There is no member to add a donation for. Add the member first."),
                                   ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL"));
        return;
    }
    S.DonorName = members->field(QStringLiteral("FirstName")).toText() + u' '
                  + members->field(QStringLiteral("LastName")).toText();

    {
        AddPayment dialog(S, Donation, S.db, &f);
        // The rows are written while the dialog is open, so a refused write leaves it open with
        // everything typed instead of losing a split check's lines.
        bool gridHidden = false;
        dialog.WriteLines = [&] {
            f.grdDataGrid->hide();
            gridHidden = true;
            std::vector<std::pair<std::int64_t, vb::Currency>> written;
            const bool ok = writeLines(f, acceptedLines(dialog), Donation, memberId, written);
            // Every row recorded counts towards a running batch, a split check's lines each.
            if (Batch) {
                for (const auto& [id, amount] : written)
                    Batch->add(id, amount);
                ShowBatch();
            }
            return ok;
        };
        ui::current().runModal(dialog);
        if (S.DialogCancelled) {
            S.DialogCancelled = false;
            if (gridHidden && !S.StandardMode)
                f.grdDataGrid->show();
            return;
        }
    }
    if (!S.StandardMode)
        f.grdDataGrid->show();
    ShowListTotal();
    S.DialogCancelled = false;
}
