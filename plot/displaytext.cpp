#include "plot/displaytext.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace plot {

std::string displayText(double value)
{
    if (std::isnan(value))
        return " NaN";
    const char sign = std::signbit(value) && value != 0 ? '-' : ' ';
    if (std::isinf(value))
        return sign + std::string("Inf");
    // %.15G's rule, without the locale: the exact value rounded once to 15
    // digits, trailing zeros dropped, exponent form outside 1E-5 < |v| < 1E+15
    // with at least two exponent digits.
    char buffer[32];
#ifdef PLOT_HAVE_FLOAT_TO_CHARS
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::general, 15)
                         .ptr;
#else
    // Where the C++ library cannot write a double, its C library can: exact
    // rounding too, and a C library that never changes its locale writes a period.
    const int length = std::snprintf(buffer, sizeof buffer, "%.15G", std::fabs(value));
    const char* const end = buffer + length;
#endif
    std::string text(1, sign);
    const char* digits = buffer;
    if (end - buffer > 1 && buffer[0] == '0')
        ++digits; // " .5": no digit before the point below 1
    for (const char* c = digits; c != end; ++c)
        text += *c == 'e' ? 'E' : *c;
    return text;
}

} // namespace plot
