#pragma once
// What each number column of a file holds, named once: the schema declares its columns with
// these ranges, and every box, grid cell and import line that takes a number checks it against
// them and refuses what lies outside with the one message made here.
#include "platform/vb/currency.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace db {

struct NumberRange {
    enum class Unit { None, Whole, TenThousandths };
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    Unit unit = Unit::None;  // None: the column holds no number

    constexpr bool holds(std::int64_t n) const { return unit != Unit::None && n >= lowest && n <= highest; }
    constexpr bool holds(vb::Currency amount) const { return holds(amount.raw()); }
};

// The largest long integer, the type of every member, donation and check number.
inline constexpr std::int64_t kLongHighest = 2'147'483'647;

// A member's or a donation's number, given by the file's counter or by an imported line.
inline constexpr NumberRange kRowNumbers{1, kLongHighest, NumberRange::Unit::Whole};
// A donation's member.
inline constexpr NumberRange kMemberNumbers{1, kLongHighest, NumberRange::Unit::Whole};
// A check number; 0 when there is none.
inline constexpr NumberRange kCheckNumbers{0, kLongHighest, NumberRange::Unit::Whole};
// One gift, $0.01 to $999,999,999.99, in ten-thousandths. A total of many gifts can still pass
// 64 bits (922,338 gifts of the largest amount do), so totals add in vb::CurrencySum.
inline constexpr NumberRange kGiftAmounts{100, 9'999'999'999'900, NumberRange::Unit::TenThousandths};

// The range of a column of the schema; a range of Unit::None for a text column or a name the
// schema lacks.
NumberRange numberRange(QStringView table, QStringView column);

// A range's bound as the user reads it: "$999,999,999.99" for an amount, "2,147,483,647" for a
// whole number.
QString boundText(const NumberRange& range, std::int64_t bound);

// The one refusal of a number outside its range, naming the box, column or line it came from:
// "Amount must be from $0.01 to $999,999,999.99".
QString outOfRange(QStringView where, const NumberRange& range);

} // namespace db
