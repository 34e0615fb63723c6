#pragma once
// What the Add Donations dialog and the Add Donation command share. One lives in the records
// commands for as long as the program runs, so that a remembered date reaches the next opening
// of the dialog (and is gone when the program ends).
#include "platform/vb/currency.h"
#include "platform/vb/datetime.h"

#include <QString>
#include <cstdint>
#include <optional>

struct DonationEntry {
    vb::Currency DonationAmount;      // amount of a single donation, or of the current line
    std::int32_t CheckNumber = 0;     // 0 = no check number
    QString DonationDestination;      // destination of a single donation
    vb::DateTime DonationDate;        // date of every line
    // The part of a multiple donation not yet distributed; none before its total was accepted.
    std::optional<vb::Currency> SplitBalance;
    bool SplitInProgress = false;     // from the first OK of a multiple donation until the dialog closes
    std::optional<vb::DateTime> RememberedDate;  // offered at the next opening; none = today's date
};
