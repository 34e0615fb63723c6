#pragma once
// A batch of gifts as it ends, handed from the records, which keep the batch, to the reports,
// which print its deposit list.
#include "platform/vb/currency.h"

#include <QString>
#include <cstdint>
#include <vector>

struct BatchGifts {
    std::vector<std::int64_t> paymentIds;  // the donations recorded in the batch, in the order recorded
    std::int64_t expectedGifts = 0;
    vb::Currency expectedTotal;
    QString differences;  // what does not balance, a line each; empty when the batch balances
};
