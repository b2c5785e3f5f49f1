#pragma once

#include <string>

// What each trapezoid button gives, exactly: the doubles the integration works
// out with pi = 3.141592654 and a correctly rounded sine, and the box's text.
struct TrapezoidRun
{
    const char* name; // names the test case
    double nTrap;
    double dx;
    long passes;
    double sum;
    const char* text;
};

inline const TrapezoidRun kRuns[] = {
    {"one", 1, 3.141592654, 1, -6.443514243339785e-10,
     "Integral Sin(x) [0,pi]=-6.44351424333978E-10\r\ndx= 3.141592654"},
    {"two", 2, 1.570796327, 2, 1.5707963266778244,
     "Integral Sin(x) [0,pi]= 1.57079632667782\r\ndx= 1.570796327"},
    {"ten", 10, 0.3141592654, 10, 1.9835235375051445,
     "Integral Sin(x) [0,pi]= 1.98352353750514\r\ndx= .3141592654"},
    {"tenThousand", 10000, 0.0003141592654, 10000, 1.999999983551102,
     "Integral Sin(x) [0,pi]= 1.9999999835511\r\ndx= .0003141592654"},
};

// Names a parameterised case after its row's name.
inline constexpr auto byName = [](const auto& info) { return std::string(info.param.name); };
