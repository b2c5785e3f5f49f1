// Built with PLOT_UNCHECKED and the engine's namespace renamed (see CMakeLists.txt).
#include "bench/enginefloor.h"

#include "bench/enginerun.h"

namespace bench {

void engineFloor(benchmark::State& state, float width, float height, double xOrigin, double yMargin,
                 double pi)
{
    plot::FormState s;
    s.xOrigin = xOrigin;
    s.yMargin = yMargin;
    s.pi = pi;
    s.nTrap = 10000;
    runEngine(state, s, width, height);
}

} // namespace bench
