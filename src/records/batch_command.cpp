// Edit > Batch Totals: the treasurer's check of a batch of gifts against the expected count and
// total, shown in the main window while donations are recorded. In memory only: it writes
// nothing, and ends with the file (Close, any command that closes the file, Exit).
#include "records/records_commands.h"

#include "frame/frm_main.h"
#include "platform/ui/ui.h"
#include "records/batch_dialog.h"

#include <QLabel>

void RecordsCommands::mnuEditBatch_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    std::optional<BatchGifts> ended;
    {
        BatchTotalsDialog dialog(S, Batch, &f);
        ui::current().runModal(dialog);
        if (dialog.ended)
            ended = dialog.ended->handedOver();
    }
    S.DialogCancelled = false;
    ShowBatch();
    if (ended)
        f.reports->OfferDepositList(*ended);
}

void RecordsCommands::EndBatchOnClose()
{
    if (!Batch)
        return;
    if (!Batch->balances()) {
        f.S.LastAnswer = ui::message(ui::Beep::Yes,
                                     QStringLiteral("The batch ends as the file closes, and it does not balance.\n\n%1\n\n"
                                                    "The donations recorded stay in the file.")
                                         .arg(Batch->differences()),
                                     ui::Buttons::OKOnly, ui::Icon::Exclamation, QStringLiteral("Batch Totals"));
    }
    const BatchGifts ended = Batch->handedOver();
    Batch.reset();
    ShowBatch();
    // The file is still open: the list reads its gifts before it closes. The system ending the
    // program waits for no question.
    if (!f.QuittingOnRequest())
        f.reports->OfferDepositList(ended);
}

void RecordsCommands::ShowBatch()
{
    if (!Batch) {
        f.lblBatch->hide();
        f.lblBatch->clear();
        return;
    }
    f.lblBatch->setText(Batch->progressText());
    f.lblBatch->show();
    f.ArrangeBatchLabel();
}
