#pragma once
// Reading numbers and dates from typed text, and rounding, with one set of rules for the whole
// program: a text that isDate accepts is exactly one that readDate reads, the same way.
#include "datetime.h"
#include "value.h"

#include <QStringView>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace vb {

// A value that cannot be converted to the type asked for ("Type mismatch", number 13).
class ConversionError : public std::runtime_error {
public:
    ConversionError() : std::runtime_error("Type mismatch") {}
    int number() const { return 13; }
};

// Lenient number reading: the leading number of the text (sign, digits, one decimal point, an
// exponent), blanks anywhere inside skipped; 0 when the text does not begin with a number.
// "12abc" -> 12, " 1 234.5" -> 1234.5, "abc" -> 0. Blanks are spaces, tabs and line feeds; an
// exponent without digits is ignored ("1e" -> 1). A number beyond the range of a double
// ("1e999") throws std::overflow_error, as the classic runtime's Overflow error.
double leadingNumber(QStringView text);

// Whether the whole text (blanks around it allowed) is a number: "12", "-3.5", "1,234.50",
// "$12.00", "(5)" as the classic runtime accepts them; "", "12abc" and "abc" are not.
// In detail: one sign, leading ("-$3", "$-3") or trailing ("3-"), or parentheses for a negative
// number ("($5.00)"); an optional "$"; thousands separators only between groups of three digits
// ("1,234,567", not "12,34"); one decimal point; an optional exponent ("1.5e3"). A number beyond
// the range of a double is not numeric. A Value is numeric when it is a number or a numeric text.
bool isNumeric(QStringView text);
bool isNumeric(const Value& value);
// A QString converts to both of the above; this settles the call.
inline bool isNumeric(const QString& text) { return isNumeric(QStringView(text)); }
// The number isNumeric accepted; nullopt when it did not.
std::optional<double> readNumber(QStringView text);
// The same number read exactly as money (no double in between), rounded half to even at four
// decimals: readCurrency("$1,234.56785") is 1234.5678. nullopt when isNumeric rejects the text;
// throws std::overflow_error when it is a number beyond the currency range.
std::optional<Currency> readCurrency(QStringView text);

// Date reading: month/day/year with 2- or 4-digit years (also '-' or '.' as separator),
// month names ("15-Mar-2001", "March 15, 2001", "15 March 2001"), ISO "2001-03-15", each with
// an optional time ("10:30", "10:30:15", "10:30 PM"). Two-digit years 00..29 are 2000..2029,
// 30..99 are 1930..1999. Impossible dates (2/30/2001) are not dates.
// In detail: numeric dates are month/day/year (13/1/2001 is no date) unless the first number
// has three or four digits, which makes it year-month-day ("2001-03-15", "2001/3/15"); the two
// separators must match. A year written with three or four digits is taken as it stands and
// must lie in 100..9999. Month names may be full or three letters ("Sep" and "Sept"), in any
// letter case; a leading weekday ("Thursday, March 15, 2001") must be the date's weekday. The
// time is h:mm or h:mm:ss, hours 0..23, or 1..12 with AM/PM ("10:30PM" too); an ISO date may
// join it with 'T'. Blanks (spaces, tabs, line breaks) may surround the text. A year is
// required, so "3/15" and bare numbers ("12", "1.5") are not dates, and neither is a time alone.
// A Value is a date when it holds a date or a text isDate accepts.
std::optional<DateTime> readDate(QStringView text);
bool isDate(QStringView text);
bool isDate(const Value& value);
inline bool isDate(const QString& text) { return isDate(QStringView(text)); }

// Rounding as the classic runtime's integer conversions do it: halves to the even neighbour.
// Throws std::overflow_error outside the 64-bit range or for a value that is not finite.
std::int64_t roundHalfEven(double value);

} // namespace vb
