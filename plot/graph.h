#pragma once

#include "plot/canvas.h"
#include "plot/formstate.h"

#include <string>

namespace plot {

inline constexpr const char* kIntegralLabel = "Integral Sin(x) [0,pi]=";
inline constexpr const char* kWidthLabel = "dx=";
inline constexpr const char* kLineBreak = "\r\n";

// Erases the canvas, draws both axes and one period of the sine curve, then
// empties the result box. A fault part-way leaves what was drawn and the old text.
void graphReset(const FormState& state, Canvas& canvas, TextBox& box);

// What one integration worked out: the exact doubles behind the text, which
// shows only 15 digits of them, and how many trapezoids were drawn.
struct Integral
{
    double sum = 0;  // the approximate integral
    double dx = 0;   // width of one trapezoid
    long passes = 0; // trapezoids drawn
};

// Draws nTrap trapezoids under sin over [0, pi] on top of what the canvas shows
// and writes the sum and the trapezoid width into the result box.
Integral integrate(const FormState& state, Canvas& canvas, TextBox& box);

// Replaces the box's text with the two result lines. The second line is
// appended to the text read back from the box.
void writeResult(TextBox& box, double sum, double dx);

} // namespace plot
