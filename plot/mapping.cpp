#include "plot/mapping.h"

#include "plot/error.h"

#include <cmath>

namespace plot {

double canvasX(const FormState& state, const Canvas& canvas, double x)
{
    return canvasX(state, canvas.ScaleWidth(), x);
}

double canvasY(const FormState& state, const Canvas& canvas, double s)
{
    const float h1 = canvas.ScaleHeight();
    return canvasY(state, h1, canvas.ScaleHeight(), s);
}

std::int16_t toInt16(double value)
{
    value = finite(value);
    // nearbyint follows the current rounding mode, round-to-nearest-even by default.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        raiseOverflow();
    return static_cast<std::int16_t>(rounded);
}

void raiseOverflow()
{
    fp::clear();
    raise(ErrorNumber::Overflow);
}

} // namespace plot
