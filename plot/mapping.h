#pragma once

#include "plot/canvas.h"
#include "plot/formstate.h"
#include "plot/fpstatus.h"

#include <cmath>
#include <cstdint>

namespace plot {

// The mapping's formulas, given the extent already read from the canvas. The
// engine reads the extent a stretch of formulas needs first (in the formulas'
// order), then computes, so that no call out lies between a clear of the status
// and its test. Each result is tested for an infinity or not a number.

// Raises the overflow error, the status cleared.
[[noreturn]] void raiseOverflow();

// Half of a ScaleHeight reading: exact.
inline double half(float h)
{
    return finite(double(h) / 2);
}

// Canvas X of abscissa x, W being a ScaleWidth reading.
inline double canvasX(const FormState& state, float w, double x)
{
    return finite(((w - state.xOrigin) * x) / (state.pi + state.pi) + state.xOrigin);
}

// Canvas Y of sine value s, H1 and H2 being two ScaleHeight readings.
inline double canvasY(const FormState& state, float h1, float h2, double s)
{
    const double a = finite(half(h1) - state.yMargin);
    return finite(a * -s + half(h2));
}

// Round to nearest, ties to even (2.5 becomes 2, 3.5 becomes 4); outside
// -32768..32767 raises the overflow error.
std::int16_t toInt16(double value);

// Round to the nearest single; too large for a single raises the overflow error
// (a finite double can only overflow a single, whatever other flags are up).
inline float toSingle(double value)
{
    const float single = static_cast<float>(finite(value));
    if (!std::isfinite(single))
        raiseOverflow();
    return single;
}

// The same on the canvas itself: each reads the extent where its formula needs
// it, ScaleWidth once for X, ScaleHeight twice for Y.
double canvasX(const FormState& state, const Canvas& canvas, double x);
double canvasY(const FormState& state, const Canvas& canvas, double s);

} // namespace plot
