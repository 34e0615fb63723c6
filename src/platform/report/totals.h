#pragma once
// The sum a function control shows. Money stays exact: currency values add as currency, whole
// numbers as whole numbers; a double among them makes the sum a double. Nulls and values that
// are no number (a text that does not read as one, a date) add nothing. No values at all sum to 0.
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
    enum class Kind { Long, Currency, Double };
    Kind kind_ = Kind::Long;
    std::int64_t long_ = 0;
    vb::Currency currency_;
    double double_ = 0;
};

} // namespace report
