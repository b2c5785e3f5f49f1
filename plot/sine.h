#pragma once

#include <cmath>

namespace plot {

// The sine the engine computes with: the same last digit on every system.
// Windows' C runtime takes the x87 instruction, whose argument reduction holds
// pi to 66 bits only, so a sine near pi comes out some digits off (the one
// trapezoid's sum, 6.44351424340332E-10 for 6.44351424333978E-10). There the
// engine takes musl's sine, built from Debian's copy of its sources.
#ifdef PLOT_MUSL_SINE
extern "C" double plot_musl_sin(double x);
inline double sine(double x)
{
    return plot_musl_sin(x);
}
#else
inline double sine(double x)
{
    return std::sin(x);
}
#endif

} // namespace plot
