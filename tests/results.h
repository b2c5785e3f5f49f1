#pragma once

#include <string>

// What each trapezoid button gives, exactly: the doubles the integration works
// out with pi = 3.141592654 and a correctly rounded sine, and the box's text.
// The rows are tests/cases.json's, which the browser's tests read too.
struct TrapezoidRun
{
    const char* name; // names the test case
    double nTrap;
    double dx;
    long passes;
    double sum;
    const char* text;
    const char* spoken; // what is announced of the run
};

inline const TrapezoidRun kRuns[] = {
#include "runs.inc"
};

// A text the program sets in the result box, what the box shows of it, and so
// what a box that shows only LF line breaks must give back: the text as set.
struct BoxTextCase
{
    const char* name;
    const char* text;
    const char* shown;
};

inline const BoxTextCase kBoxTexts[] = {
#include "boxtexts.inc"
};

// Names a parameterised case after its row's name.
inline constexpr auto byName = [](const auto& info) { return std::string(info.param.name); };
