#pragma once
// The value a field or an expression holds: null, a number of one of the program's types, a date
// or a text. Conversions follow the classic runtime's rules as the program relies on them.
#include "currency.h"
#include "datetime.h"

#include <QString>
#include <cstdint>
#include <variant>

namespace vb {

enum class Type { Null, Boolean, Long, Double, Currency, Date, Text };

class Value {
public:
    Value() = default;  // null
    Value(bool v) : v_(v) {}
    Value(int v) : v_(static_cast<std::int64_t>(v)) {}
    Value(std::int64_t v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(Currency v) : v_(v) {}
    Value(DateTime v) : v_(v) {}
    Value(QString v) : v_(std::move(v)) {}
    Value(const char* v) : v_(QString::fromUtf8(v)) {}

    static Value null() { return {}; }

    Type type() const { return static_cast<Type>(v_.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isNumber() const;  // Boolean, Long, Double or Currency

    // Typed reads; each throws std::bad_variant_access when the value is of another type.
    bool asBool() const { return std::get<bool>(v_); }
    std::int64_t asLong() const { return std::get<std::int64_t>(v_); }
    double asDouble() const { return std::get<double>(v_); }
    Currency asCurrency() const { return std::get<Currency>(v_); }
    const DateTime& asDate() const { return std::get<DateTime>(v_); }
    const QString& asText() const { return std::get<QString>(v_); }

    // The text a value shows when it is put into a string: numbers in plain decimal form, dates in
    // general date form, True/False, "" for null.
    QString toText() const;
    // Numeric conversions of numbers, numeric texts and dates; throw vb::ConversionError
    // ("Type mismatch", 13) when the value has no such reading, and for null.
    double toDouble() const;
    std::int64_t toLong() const;      // rounds halves to even
    Currency toCurrency() const;
    DateTime toDate() const;          // dates, and texts that isDate accepts

    friend bool operator==(const Value&, const Value&) = default;

private:
    std::variant<std::monostate, bool, std::int64_t, double, Currency, DateTime, QString> v_;
};

} // namespace vb
