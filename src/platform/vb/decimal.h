#pragma once
// Decimal digits of doubles and back, shared by the number readers, the currency type and the
// formats. Internal to the vb library.
#include <QString>
#include <optional>
#include <string_view>

namespace vb::detail {

// The shortest digits that read back as the same double: value = ±digits × 10^exponent, the
// digits without leading or trailing zeros ("" for zero).
struct ShortestDecimal {
    bool negative = false;
    char digits[24] = {};
    int count = 0;
    int exponent = 0;
    std::string_view view() const { return {digits, static_cast<std::size_t>(count)}; }
};
ShortestDecimal shortestDecimal(double finite);

// Writes the shortest round-trip form in scientific notation ("1.2345e+03"); returns the end.
// The buffer needs 32 characters.
char* writeShortest(double finite, char* buffer);

// "1234.5", "0.0001", "-7", "100000000000000000000": never an exponent, "0" for either zero.
QString plainDecimal(double value);

// Reads "[-]digits[.digits][e[+|-]digits]" (ASCII, checked by the caller; at least one mantissa
// digit). nullopt when the number is beyond the range of a double; tiny numbers give 0.
std::optional<double> plainToDouble(std::string_view plain);

} // namespace vb::detail
