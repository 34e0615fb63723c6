#pragma once
// The Batch Totals dialog. Without a batch it takes the number of gifts and the total the
// treasurer expects and starts one; during a batch it shows how far the batch has come and ends
// it with End Batch, asking first when the batch does not balance. It writes nothing to the file.
#include "records/batch_totals.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
struct MainState;

class BatchTotalsDialog : public QDialog {
    Q_OBJECT

public:
    // batch: the session's batch, none when no batch is running; Start and End Batch change it.
    BatchTotalsDialog(MainState& S, std::optional<records::BatchTotals>& batch, QWidget* parent = nullptr);

    QLabel* lblIntro = nullptr;
    QLabel* lblGifts = nullptr;
    QLineEdit* txtGifts = nullptr;  // the number of gifts expected
    QLabel* lblTotal = nullptr;
    QLineEdit* txtTotal = nullptr;  // their total
    QLabel* lblProgress = nullptr;  // during a batch: what has been recorded
    QPushButton* cmdOK = nullptr;   // "Start Batch"; hidden during a batch
    QPushButton* cmdEnd = nullptr;  // "End Batch"; hidden without a batch
    QPushButton* cmdCancel = nullptr;

    void cmdOK_Click();
    void cmdEnd_Click();
    void cmdCancel_Click();
    void reject() override;

    // The batch End Batch ended, for its deposit list; none otherwise.
    std::optional<records::BatchTotals> ended;

private:
    MainState& S;
    std::optional<records::BatchTotals>& batch_;
};
