#include "totals.h"

#include "platform/vb/convert.h"
#include "platform/vb/format.h"

namespace report {

void Total::toDouble()
{
    if (kind_ == Kind::Long) {
        double_ = static_cast<double>(long_);
    } else if (kind_ == Kind::Currency) {
        const std::optional<vb::Currency> sum = currency_.value();
        unavailable_ = unavailable_ || !sum;
        double_ = sum ? sum->toDouble() : 0;
    }
    kind_ = Kind::Double;
}

void Total::add(const vb::Value& v)
{
    double asDouble = 0;
    switch (v.type()) {
    case vb::Type::Null:
        return;
    case vb::Type::Date:
        unavailable_ = true;
        return;
    case vb::Type::Boolean:
    case vb::Type::Long: {
        const std::int64_t n = v.type() == vb::Type::Long ? v.asLong() : (v.asBool() ? -1 : 0);
        std::int64_t sum = 0;
        if (kind_ == Kind::Long && !__builtin_add_overflow(long_, n, &sum)) {
            long_ = sum;
        } else if (kind_ == Kind::Long) {
            // Whole numbers beyond 64 bits (a file the program did not write): go on as a double.
            kind_ = Kind::Double;
            double_ = static_cast<double>(long_) + static_cast<double>(n);
        } else if (kind_ == Kind::Currency) {
            currency_.addWhole(n);
        } else {
            double_ += static_cast<double>(n);
        }
        return;
    }
    case vb::Type::Currency:
        if (kind_ == Kind::Long) {
            currency_.addWhole(long_);
            kind_ = Kind::Currency;
        }
        if (kind_ == Kind::Currency)
            currency_.add(v.asCurrency());
        else
            double_ += v.asCurrency().toDouble();
        return;
    case vb::Type::Double:
        asDouble = v.asDouble();
        break;
    case vb::Type::Text: {
        const std::optional<double> n = vb::readNumber(v.asText());
        if (!n) {
            unavailable_ = true;
            return;
        }
        asDouble = *n;
        break;
    }
    }
    toDouble();
    double_ += asDouble;
}

void Total::addAll(Rows& rows, int field)
{
    const int n = rows.count();
    for (int i = 0; i < n; ++i)
        add(rows.row(i)[static_cast<std::size_t>(field)]);
}

vb::Value Total::value() const
{
    if (unavailable_)
        return vb::notAvailable();
    switch (kind_) {
    case Kind::Long: return vb::Value(long_);
    case Kind::Currency: {
        const std::optional<vb::Currency> sum = currency_.value();
        return sum ? vb::Value(*sum) : vb::Value(vb::notAvailable());
    }
    case Kind::Double: break;
    }
    return vb::Value(double_);
}

} // namespace report
