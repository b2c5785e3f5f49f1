#pragma once

#include <benchmark/benchmark.h>

namespace bench {

// The engine alone with its status tests compiled out: one 10000-trapezoid run
// a turn, on a canvas of the given extent that draws nothing. Plain numbers
// cross here, since each side names its own engine.
void engineFloor(benchmark::State& state, float width, float height, double xOrigin, double yMargin,
                 double pi);

} // namespace bench
