#pragma once
// The gifts of a period summed per destination: what the fund totals export writes and the Fund
// Totals page prints, counted by one rule so that the two never disagree. Destinations that
// differ only in letter case are one fund, as the file's text comparison has them; the fund is
// named by the first spelling met, and the funds stand in the order of the file's collation.
#include "platform/vb/currency.h"
#include "platform/vb/datetime.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace dao { class Database; }

namespace reports {

// The key two destinations share when they are one fund: the name with letter case folded.
QString fundKey(const QString& destination);

struct FundTotal {
    QString name;
    std::int64_t count = 0;
    vb::CurrencySum total;   // cannot overflow however many gifts a fund holds
    bool anyAmount = false;  // false when every gift of the fund has no amount at all
};

// Asked every few thousand rows; false stops the scan.
using KeepScanning = std::function<bool()>;

// The donations dated from `from` to `to`, both days included (no bound on a side not given),
// summed per fund. None when `keepScanning` stopped it. Throws jet::DbError when the rows cannot
// be read.
std::optional<std::vector<FundTotal>> fundTotals(dao::Database& db, std::optional<vb::DateTime> from,
                                                 std::optional<vb::DateTime> to, const KeepScanning& keepScanning = {});

// The funds added up: every gift and every amount; the total is spoiled when a fund's is.
FundTotal grandTotal(const std::vector<FundTotal>& funds);

} // namespace reports
