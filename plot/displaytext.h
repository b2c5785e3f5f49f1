#pragma once

#include <string>

namespace plot {

// The display text of a double, as the result box shows it:
//  - a blank before a value >= 0 (negative zero too), a minus sign before a negative one;
//  - the exact binary value rounded once to 15 significant digits (ties to even),
//    trailing zeros and a bare point dropped;
//  - fixed form when the rounded value's decimal exponent lies from -4 to 14
//    (the rule of C's %.15G), with no digit before the point below 1: " .3141592654";
//  - otherwise exponent form, one digit before the point, E, a sign and at least
//    two exponent digits: "-6.44351424333978E-10";
//  - always a period as the decimal separator, whatever the locale.
// So dx = 0.0003141592654 shows as " .0003141592654", and 0.00003 as " 3E-05".
// Infinities and NaN, which the program never shows, read " Inf", "-Inf" and " NaN".
std::string displayText(double value);

} // namespace plot
