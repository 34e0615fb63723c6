#pragma once
// The sum a function control shows. Money stays exact: currency values add as currency, in 128
// bits (vb::CurrencySum), so no number of rows overflows on the way; whole numbers add as whole
// numbers; a double among them makes the sum a double. Nulls add nothing. A sum that cannot be
// computed, over a value that is no number (a text that does not read as one, a date) or money
// beyond the currency's range, is the text "Not Available" (vb::notAvailable), never a figure
// that leaves something out. No values at all sum to 0.
#include "data_source.h"
#include "platform/vb/value.h"

namespace report {

class Total {
public:
    void add(const vb::Value& value);
    // Every row's field `field`.
    void addAll(Rows& rows, int field);
    vb::Value value() const;

private:
    void toDouble();

    enum class Kind { Long, Currency, Double };
    Kind kind_ = Kind::Long;
    std::int64_t long_ = 0;
    vb::CurrencySum currency_;
    double double_ = 0;
    bool unavailable_ = false;
};

} // namespace report
