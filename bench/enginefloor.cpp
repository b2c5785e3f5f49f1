// Built with PLOT_UNCHECKED and the engine's namespace renamed (see CMakeLists.txt).
#include "bench/enginefloor.h"

#include "plot/graph.h"

#include <string>

namespace bench {
namespace {

class NullCanvas : public plot::Canvas, public plot::TextBox
{
public:
    NullCanvas(float width, float height) : m_width(width), m_height(height) {}
    float ScaleWidth() const override { return m_width; }
    float ScaleHeight() const override { return m_height; }
    void Line(float, float, float, float, plot::Rgb) override {}
    void Erase() override {}
    std::string Text() const override { return m_text; }
    void SetText(const std::string& t) override { m_text = t; }

private:
    float m_width, m_height;
    std::string m_text;
};

} // namespace

void engineFloor(benchmark::State& state, float width, float height, double xOrigin, double yMargin,
                 double pi)
{
    plot::FormState s;
    s.xOrigin = xOrigin;
    s.yMargin = yMargin;
    s.pi = pi;
    s.nTrap = 10000;
    NullCanvas c(width, height);
    for (auto _ : state)
        benchmark::DoNotOptimize(plot::integrate(s, c, c));
}

} // namespace bench
