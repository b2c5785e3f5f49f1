#include "plot/displaytext.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace plot {
namespace {

// The significant digits of a rounded value, without trailing zeros, and the
// decimal exponent of the first: 0.0314 is {"314", -2}.
struct Decimal
{
    std::string digits;
    int exponent;
};

// Rounds the exact binary magnitude once to 15 significant digits. to_chars never
// looks at the locale, and a value that rounds up across a power of ten comes
// back as 1.000...e+N.
Decimal roundTo15Digits(double magnitude)
{
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    const std::string scientific(buffer, result.ptr); // d.dddddddddddddde[+-]XX
    const std::size_t e = scientific.find('e');
    Decimal d{scientific.substr(0, 1) + scientific.substr(2, e - 2),
              std::atoi(scientific.c_str() + e + 1)};
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// " .0003141592654", " 1.5", " 100": no digit before the point below 1.
std::string fixedForm(const Decimal& d)
{
    if (d.exponent < 0)
        return '.' + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    const std::size_t integerDigits = static_cast<std::size_t>(d.exponent) + 1;
    if (d.digits.size() <= integerDigits)
        return d.digits + std::string(integerDigits - d.digits.size(), '0');
    return d.digits.substr(0, integerDigits) + '.' + d.digits.substr(integerDigits);
}

// "6.44351424333978E-10", "1E+15": a sign and at least two exponent digits.
std::string exponentForm(const Decimal& d)
{
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1)
        text += '.' + d.digits.substr(1);
    text += d.exponent < 0 ? "E-" : "E+";
    const std::string magnitude = std::to_string(std::abs(d.exponent));
    if (magnitude.size() < 2)
        text += '0';
    return text + magnitude;
}

} // namespace

std::string displayText(double value)
{
    if (std::isnan(value))
        return " NaN";
    const std::string sign(1, std::signbit(value) && value != 0 ? '-' : ' ');
    if (std::isinf(value))
        return sign + "Inf";
    if (value == 0)
        return sign + "0";
    const Decimal d = roundTo15Digits(std::fabs(value));
    const bool fixed = d.exponent >= -4 && d.exponent < 15;
    return sign + (fixed ? fixedForm(d) : exponentForm(d));
}

} // namespace plot
