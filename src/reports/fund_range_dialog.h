#pragma once
// The date range of the fund totals export (FundRange, "Fund Totals"): a first and a last day,
// either of which may be left empty for no bound on that side.
#include "frame/main_state.h"
#include "platform/vb/datetime.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class FundRange : public QDialog {
    Q_OBJECT

public:
    explicit FundRange(MainState& S, QWidget* parent = nullptr);

    QLabel* lblFrom = nullptr;
    QLabel* lblTo = nullptr;
    QLineEdit* txtFrom = nullptr;  // starts on the first day of this year
    QLineEdit* txtTo = nullptr;    // starts on today
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // OK: both boxes empty or a date, the first not after the last; else a message and the
    // dialog stays open.
    void cmdOK_Click();
    void cmdCancel_Click();
    void reject() override;

    // The range read by OK.
    std::optional<vb::DateTime> from;
    std::optional<vb::DateTime> to;

private:
    bool readBox(QLineEdit* box, std::optional<vb::DateTime>& date);

    MainState& S;
};
