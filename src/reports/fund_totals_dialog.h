#pragma once
// File > Fund Totals (FundTotals, "Fund Totals"): a period, then its page per fund shown in the
// preview (which prints and exports as every report does) or written straight to a PDF file.
// The dialog stays open after either, so the same period can go to paper and to a file.
#include "frame/main_state.h"
#include "platform/report/report.h"
#include "reports/fund_totals.h"
#include "reports/fund_totals_report.h"
#include "reports/report_period.h"

#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace dao { class Database; }

class FundTotals : public QDialog {
    Q_OBJECT

public:
    // `letterhead` heads the page; `mainWindow` is the frame the preview is sized from.
    FundTotals(MainState& S, std::shared_ptr<dao::Database> db, reports::Letterhead letterhead, QWidget* mainWindow);
    ~FundTotals() override;

    QLabel* lblFrom = nullptr;
    QLabel* lblTo = nullptr;
    QLineEdit* txtFrom = nullptr;  // starts on the first day of last year
    QLineEdit* txtTo = nullptr;    // starts on the last day of last year
    QPushButton* cmdPreview = nullptr;
    QPushButton* cmdPdf = nullptr;
    QPushButton* cmdClose = nullptr;

    void cmdPreview_Click();
    void cmdPdf_Click();
    void cmdClose_Click();
    void reject() override;

    // The sums of the last Preview or PDF, for whoever asks after it.
    const std::vector<reports::FundTotal>& funds() const { return funds_; }

private:
    // The steps of both buttons; each tells the user and returns false when it refuses.
    bool readPeriod();
    bool sumFunds();
    bool anyGifts();
    bool makePage();
    bool showPreview();
    bool writePdf();

    MainState& S;
    std::shared_ptr<dao::Database> db_;
    reports::Letterhead letterhead_;
    QWidget* mainWindow_;
    std::optional<reports::Period> period_;
    std::vector<reports::FundTotal> funds_;
    std::unique_ptr<report::Report> page_;
};
