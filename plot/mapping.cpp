#include "plot/mapping.h"

#include "plot/calls.h"
#include "plot/error.h"
#include "plot/fpstatus.h"

#include <cmath>

namespace plot {

double canvasX(const FormState& state, const Canvas& canvas, double x)
{
    const double w = scaleWidth(canvas);
    double d = w - state.xOrigin;
    d = d * x;
    d = d / (state.pi + state.pi);
    return checked(d + state.xOrigin);
}

double halfHeight(const Canvas& canvas)
{
    const double h = scaleHeight(canvas);
    return checked(h / 2);
}

double canvasY(const FormState& state, const Canvas& canvas, double s)
{
    double a = checked(halfHeight(canvas) - state.yMargin);
    a = a * -s;
    return checked(a + halfHeight(canvas));
}

std::int16_t toInt16(double value)
{
    value = checked(value);
    // nearbyint follows the current rounding mode, round-to-nearest-even by default.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        raise(ErrorNumber::Overflow);
    return static_cast<std::int16_t>(rounded);
}

float toSingle(double value)
{
    return checked(static_cast<float>(checked(value)));
}

} // namespace plot
