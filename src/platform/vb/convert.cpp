#include "convert.h"

#include "decimal.h"

#include <cmath>
#include <string>

namespace vb {
namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The blanks the leading-number reading skips wherever they stand.
bool isInnerBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The blanks allowed around a whole-text number.
bool isOuterBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Reads a whole text as a number the way isNumeric accepts it and returns its plain form
// ("-1234.5e3": sign, digits, point, exponent, no separators); nullopt when it is no number.
//   text   := blanks? ( "(" blanks? money blanks? ")" | signed ) blanks?
//   signed := [sign] blanks? ["$" blanks?] [sign blanks?] number [blanks? sign]   (one sign at most)
//   number := digits with "," between groups of three, [. digits], [e [sign] digits]
class NumberScanner {
public:
    explicit NumberScanner(QStringView text) : p_(text.utf16()), end_(p_ + text.size()) {}

    std::optional<std::string> scan()
    {
        skipBlanks();
        const bool parenthesised = take(u'(');
        bool negative = parenthesised;
        bool signSeen = parenthesised;
        skipBlanks();
        if (!signSeen && takeSign(negative))
            signSeen = true;
        skipBlanks();
        if (take(u'$'))
            skipBlanks();
        if (!signSeen && takeSign(negative)) {
            signSeen = true;
            skipBlanks();
        }
        std::string plain = negative ? "-" : "";
        if (!number(plain))
            return std::nullopt;
        skipBlanks();
        if (parenthesised && !take(u')'))
            return std::nullopt;
        if (!signSeen && takeSign(negative)) {
            if (negative)
                plain.insert(plain.begin(), '-');
        }
        skipBlanks();
        if (p_ != end_)
            return std::nullopt;
        return plain;
    }

private:
    bool take(char16_t c)
    {
        if (p_ == end_ || *p_ != c)
            return false;
        ++p_;
        return true;
    }

    bool takeSign(bool& negative)
    {
        if (take(u'-')) {
            negative = true;
            return true;
        }
        return take(u'+');
    }

    void skipBlanks()
    {
        while (p_ != end_ && isOuterBlank(*p_))
            ++p_;
    }

    bool number(std::string& plain)
    {
        // Whole part: digits, possibly grouped by thousands.
        int group = 0;        // digits in the current group
        bool grouped = false;
        bool whole = false;
        for (; p_ != end_ && (isDigit(*p_) || *p_ == u','); ++p_) {
            if (*p_ == u',') {
                // A separator follows a group of one to three digits (exactly three after the first).
                if (group == 0 || group > 3 || (grouped && group != 3))
                    return false;
                grouped = true;
                group = 0;
                continue;
            }
            plain += static_cast<char>(*p_);
            ++group;
            whole = true;
        }
        if (grouped && group != 3)
            return false;
        bool fraction = false;
        if (take(u'.')) {
            plain += '.';
            for (; p_ != end_ && isDigit(*p_); ++p_) {
                plain += static_cast<char>(*p_);
                fraction = true;
            }
        }
        if (!whole && !fraction)
            return false;
        if (p_ != end_ && (*p_ == u'e' || *p_ == u'E')) {
            ++p_;
            plain += 'e';
            if (p_ != end_ && (*p_ == u'+' || *p_ == u'-'))
                plain += static_cast<char>(*p_++);
            if (p_ == end_ || !isDigit(*p_))
                return false;
            for (; p_ != end_ && isDigit(*p_); ++p_)
                plain += static_cast<char>(*p_);
        }
        return true;
    }

    const char16_t* p_;
    const char16_t* end_;
};

} // namespace

double leadingNumber(QStringView text)
{
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    auto next = [&]() -> char16_t {
        while (p != end && isInnerBlank(*p))
            ++p;
        return p == end ? u'\0' : *p;
    };
    std::string plain;
    char16_t c = next();
    if (c == u'+' || c == u'-') {
        if (c == u'-')
            plain += '-';
        ++p;
    }
    bool digits = false;
    for (; isDigit(c = next()); ++p, digits = true)
        plain += static_cast<char>(c);
    if (c == u'.') {
        ++p;
        plain += '.';
        for (; isDigit(c = next()); ++p, digits = true)
            plain += static_cast<char>(c);
    }
    if (!digits)
        return 0.0;
    if (c == u'e' || c == u'E') {
        // The exponent counts only when digits follow it: "1e" is 1.
        ++p;
        std::string exponent = "e";
        c = next();
        if (c == u'+' || c == u'-') {
            exponent += static_cast<char>(c);
            ++p;
        }
        bool exponentDigits = false;
        for (; isDigit(c = next()); ++p, exponentDigits = true)
            exponent += static_cast<char>(c);
        if (exponentDigits)
            plain += exponent;
    }
    const std::optional<double> value = detail::plainToDouble(plain);
    if (!value)
        throw std::overflow_error("Overflow");
    return *value;
}

bool isNumeric(QStringView text)
{
    return readNumber(text).has_value();
}

bool isNumeric(const Value& value)
{
    switch (value.type()) {
    case Type::Boolean:
    case Type::Long:
    case Type::Double:
    case Type::Currency:
        return true;
    case Type::Text:
        return isNumeric(value.asText());
    case Type::Null:
    case Type::Date:
        break;
    }
    return false;
}

std::optional<double> readNumber(QStringView text)
{
    const std::optional<std::string> plain = NumberScanner(text).scan();
    if (!plain)
        return std::nullopt;
    return detail::plainToDouble(*plain);
}

std::optional<Currency> readCurrency(QStringView text)
{
    const std::optional<std::string> plain = NumberScanner(text).scan();
    if (!plain || !detail::plainToDouble(*plain))
        return std::nullopt;
    return Currency::fromDecimalText(QString::fromLatin1(plain->data(), static_cast<qsizetype>(plain->size())));
}

std::int64_t roundHalfEven(double value)
{
    if (!std::isfinite(value))
        throw std::overflow_error("Overflow");
    // On the magnitude the subtraction is exact (Sterbenz), so a tie is seen as a tie.
    const double magnitude = std::fabs(value);
    const double below = std::floor(magnitude);
    const double rest = magnitude - below;
    double rounded = below;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    if (value < 0)
        rounded = -rounded;
    // 2^63 is exact in a double; anything at or beyond it does not fit.
    if (rounded < -9223372036854775808.0 || rounded >= 9223372036854775808.0)
        throw std::overflow_error("Overflow");
    return static_cast<std::int64_t>(rounded);
}

} // namespace vb
