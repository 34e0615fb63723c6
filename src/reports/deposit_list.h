#pragma once
// The deposit list of a batch: its gifts read back from the file by their PaymentIDs (so a gift
// corrected in the grid prints as it stands now), checks apart from cash (check number 0 or
// none), each with its count and subtotal, and the batch's figures against those expected.
#include "frame/batch_gifts.h"
#include "platform/report/report.h"
#include "platform/vb/currency.h"
#include "reports/fund_totals_report.h"
#include "reports/letterhead.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace dao { class Database; }

namespace reports {

struct DepositGift {
    std::int64_t paymentId = 0;
    QString donor;        // "First Last"; empty when the member is gone
    std::int64_t check = 0;  // 0 for cash
    QString destination;
    std::optional<vb::Currency> amount;  // none when the file holds no amount there
};

// The gifts of the batch still on file, in the order they were recorded. Throws jet::DbError
// when they cannot be read.
std::vector<DepositGift> readDepositGifts(dao::Database& db, const std::vector<std::int64_t>& paymentIds);

std::unique_ptr<report::Report> depositListReport(const std::vector<DepositGift>& gifts, const BatchGifts& batch,
                                                  const Letterhead& letterhead, report::ReportOptions options = {});

} // namespace reports
