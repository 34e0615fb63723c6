// Edit > Delete Donation: the highlighted donation, after a question that names its amount and
// its donor (in List View the member fields show the donor of the highlighted donation).
#include "records/records_commands.h"

#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "platform/vb/format.h"
#include "platform/vb/skip_on_failure.h"

#include <exception>

namespace {

QString memberName(frmMain& f)
{
    dao::Recordset* members = f.datPrimaryRS->recordset();
    if (!members || !members->hasCurrentRow())
        return QStringLiteral(" ");
    return members->field(QStringLiteral("FirstName")).toText() + u' ' + members->field(QStringLiteral("LastName")).toText();
}

} // namespace

void RecordsCommands::mnuEditDelPay_Click()
{
    auto& S = f.S;
    dao::Recordset* donations = f.datSecondaryRS->recordset();
    // Without a highlighted donation there is nothing to ask about.
    if (!S.db || !donations || !donations->hasCurrentRow())
        return;

    QString amount;
    skipOnFailure([&] { amount = vb::format(donations->field(QStringLiteral("PaymentAmount")), u"$##,##0.00"); });
    QString donor = QStringLiteral(" ");
    skipOnFailure([&] { donor = memberName(f); });
    S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("Delete Donation of ") + amount + QStringLiteral(" From ") + donor,
                               ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("Confirm Delete"));
    if (S.LastAnswer != ui::Yes)
        return;

    std::int64_t paymentId = 0;
    skipOnFailure([&] { paymentId = donations->field(QStringLiteral("PaymentID")).toLong(); });
    try {
        donations->deleteCurrent();
        // A donation of the running batch deleted leaves the batch.
        if (Batch && Batch->remove(paymentId))
            ShowBatch();
    } catch (const std::exception& e) {
        // The donation is still there: say so instead of acting as if it were gone.
        S.LastAnswer = ui::dataError(QStringLiteral("The donation was not deleted.\n\n%1").arg(jet::reasonOf(e)));
    }
    skipOnFailure([&] { f.datSecondaryRS->moveFirst(); });
    ShowListTotal();
}
