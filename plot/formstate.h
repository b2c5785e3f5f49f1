#pragma once

namespace plot {

// The four numbers every drawing and integration routine reads. All start at 0;
// the load handler sets the first three and the trapezoid buttons set nTrap.
struct FormState
{
    double xOrigin = 0; // canvas X where the abscissa 0 is drawn
    double yMargin = 0; // distance from the top edge to sin = +1
    double pi = 0;      // 3.141592654, not the full constant
    double nTrap = 0;   // trapezoids of the next integration
};

} // namespace plot
