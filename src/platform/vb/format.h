#pragma once
// The format strings the program shows values with.
#include "value.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace vb {

// Formats a value with one of the program's format strings:
//   "$##,##0.00"    dollar sign, thousands separators, two decimals: 1234.5 -> "$1,234.50",
//                   0.5 -> "$0.50", -3 -> "-$3.00"
//   "\"$\"#,##0.00" the same
//   "##,###"        whole number with separators, nothing for zero: 12345 -> "12,345", 0 -> ""
//   "#######"       bare whole number, nothing for zero
//   "general date"  the short date, and the time only when it is not midnight
//   "short date"    "3/15/2001"
//   "long date"     "Thursday, March 15, 2001"
//   "dd-mmm-yy"     "15-Mar-01"
// Null gives "". A text that reads as a number or date is formatted as that number or date;
// any other text is returned as it stands. Numbers round halves to even. An unknown format
// string throws std::invalid_argument.
QString format(const Value& value, QStringView formatString);

// What a total that cannot be computed shows, alike in the window, the reports and the exports:
// "Not Available", never a figure that is not the total.
QString notAvailable();
// A total in one of the formats above; notAvailable() when there is none (CurrencySum::value).
QString formatTotal(const std::optional<Currency>& total, QStringView formatString);

QString shortDate(const DateTime& date);    // "M/d/yyyy"
QString longDate(const DateTime& date);     // "dddd, MMMM d, yyyy"
QString generalDate(const DateTime& date);  // short date, then " h:mm:ss AM" when not midnight

} // namespace vb
