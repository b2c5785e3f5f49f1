#include "plot/displaytext.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace plot {

std::string displayText(double value)
{
    std::string text(1, std::signbit(value) && value != 0 ? '-' : ' ');
    if (std::isnan(value))
        return " NaN";
    if (std::isinf(value))
        return text + "Inf";

    // to_chars rounds the exact binary value once, and never looks at the locale.
    // A value that rounds up across a power of ten comes back as 1.000...e+N.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string scientific(buffer, result.ptr); // d.dddddddddddddde[+-]XX
    const std::size_t e = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    const int exponent = std::atoi(scientific.c_str() + e + 1);

    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    if (value == 0)
        return text + "0";

    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            text += '.';
            text.append(static_cast<std::size_t>(-exponent - 1), '0');
            text += digits;
        } else {
            const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                text += digits;
                text.append(integerDigits - digits.size(), '0');
            } else {
                text += digits.substr(0, integerDigits);
                text += '.';
                text += digits.substr(integerDigits);
            }
        }
        return text;
    }

    text += digits[0];
    if (digits.size() > 1) {
        text += '.';
        text += digits.substr(1);
    }
    text += 'E';
    text += exponent < 0 ? '-' : '+';
    const std::string magnitude = std::to_string(std::abs(exponent));
    if (magnitude.size() < 2)
        text += '0';
    text += magnitude;
    return text;
}

} // namespace plot
