#pragma once
// The donation filter's clause, made from the criteria of Filter Donations. A pure function, so
// that every clause it can give is proven to translate and to select the right donations.
#include <QString>
#include <array>

namespace filters {

// The dialog's controls as OK reads them.
struct DonationCriteria {
    // The item chosen in each operator box, "" for none: amount and check number "=", ">",
    // "<"; destination "Exactly", "Contains"; date "=", ">", "<", "From". Any other text counts
    // as none (for the destination: as "Exactly").
    std::array<QString, 4> operators;
    // The entry boxes: 0, 1 amount and its upper bound; 2, 3 check number and its upper bound;
    // 4 destination; 5, 6 date and the end of a date range.
    std::array<QString, 7> values;
    // Whether the "<" box of the amount (0) and of the check number (1) is ticked.
    std::array<bool, 2> ranges{};
};

// FilterCaptions 9..22 are the donation criteria as typed.
inline constexpr int kFirstDonationCaption = 9;
inline constexpr int kDonationCaptions = 14;

struct DonationClause {
    // " WHERE " and the conditions joined with " and ", one blank at the end; "" when no row
    // has both an operator and a value, which removes the filter.
    QString filter;
    // FilterCaptions 9..22: each used row's operator and values as typed, " " elsewhere.
    std::array<QString, kDonationCaptions> captions;
    // Set instead when a value cannot be used: the message for the user. The filter in force
    // and its captions then stay as they are.
    QString refusal;
};

// The rows, each used only with both its operator and its first value, in the order amount,
// check number, destination, date:
// - Amounts and check numbers must be numbers ("1,234.50", "$25", "1e3"); they are written in
//   plain decimal form. "<" ticked with a second value gives the values strictly between the
//   two.
// - "Exactly" is the whole destination, "Contains" finds the text anywhere, every character
//   taken literally (wildcards are not needed).
// - Dates must be dates; they are written in the one form the dialect reads (month/day/year),
//   whatever form they were typed in. "From" to "To" includes both days.
DonationClause donationClause(const DonationCriteria& criteria);

} // namespace filters
