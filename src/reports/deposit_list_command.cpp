// As a batch of gifts ends: "Print the deposit list?" and, on Yes, the list in the preview,
// where it is printed or saved as PDF as every report is.
#include "reports/letterhead.h"
#include "reports/report_commands.h"

#include "frame/frm_main.h"
#include "platform/jet/db_error.h"
#include "platform/report/preview.h"
#include "platform/ui/ui.h"
#include "reports/deposit_list.h"

void ReportCommands::OfferDepositList(const BatchGifts& batch)
{
    auto& S = f.S;
    // Nothing to deposit.
    if (!S.db || batch.paymentIds.empty())
        return;
    S.LastAnswer = ui::message(ui::Beep::No,
                               QStringLiteral("Print the deposit list of the batch: its %1 %2, checks and cash apart?")
                                   .arg(batch.paymentIds.size())
                                   .arg(batch.paymentIds.size() == 1 ? QStringLiteral("gift") : QStringLiteral("gifts")),
                               ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("Batch Totals"));
    if (S.LastAnswer != ui::Yes)
        return;
    std::vector<reports::DepositGift> gifts;
    try {
        gifts = reports::readDepositGifts(*S.db, batch.paymentIds);
    } catch (const std::exception& e) {
        S.LastAnswer = ui::dataError(QStringLiteral("The gifts of the batch could not be read: no deposit list was made.\n\n%1")
                                         .arg(jet::reasonOf(e)));
        return;
    }
    const reports::Letterhead letterhead = reports::letterheadOf(S);
    const std::unique_ptr<report::Report> list = reports::depositListReport(gifts, batch, letterhead);
    preview(*list, list->layout().caption);
    f.activateWindow();
}
