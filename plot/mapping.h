#pragma once

#include "plot/canvas.h"
#include "plot/formstate.h"

#include <cstdint>

namespace plot {

// Canvas X of abscissa x. Reads ScaleWidth once: ((W - xOrigin) * x) / (pi + pi) + xOrigin.
double canvasX(const FormState& state, const Canvas& canvas, double x);

// Canvas Y of sine value s. Reads ScaleHeight twice: (H/2 - yMargin) * (-s) + H/2.
double canvasY(const FormState& state, const Canvas& canvas, double s);

// Round to nearest, ties to even (2.5 becomes 2, 3.5 becomes 4); outside
// -32768..32767 raises the overflow error.
std::int16_t toInt16(double value);

// Round to the nearest single; too large for a single raises the overflow error.
float toSingle(double value);

// Half of a fresh ScaleHeight reading, status-tested.
double halfHeight(const Canvas& canvas);

} // namespace plot
