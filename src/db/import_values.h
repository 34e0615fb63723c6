#pragma once
// Amounts, dates and check numbers as other programs write them, read into the program's forms.
#include "platform/vb/currency.h"
#include "platform/vb/datetime.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <variant>

namespace db::import {

// A value that cannot be imported, with the reason the user reads.
struct Refusal {
    QString reason;
};

// "25", "25.00", "$25", "1,234.50", and the European "1.234,50" and "25,5" (a comma followed by
// one or two digits at the end is the decimal comma). "(25)" and "-25" read as negative and are
// refused, as is zero: a donation is at least one cent, as Add Donation has it.
std::variant<vb::Currency, Refusal> readAmount(const QString& text);

// Month/day/year, ISO yyyy-mm-dd and day-month-name ("12 Mar 2004"), with an optional time.
std::variant<vb::DateTime, Refusal> readDate(const QString& text);

// A whole number from 0 to the largest check number the field holds; nullopt for a blank.
std::variant<std::optional<std::int32_t>, Refusal> readCheck(const QString& text);

// A member number: a whole number from 1 up.
std::variant<std::int64_t, Refusal> readMemberId(const QString& text);

} // namespace db::import
