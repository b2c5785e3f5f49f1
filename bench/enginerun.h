#pragma once

// The engine alone, as both of its builds are measured: included by the bench
// itself, and by enginefloor.cpp with the engine's namespace renamed and its
// status tests compiled out (hence each its own copy, in an unnamed namespace).
#include "plot/graph.h"

#include <benchmark/benchmark.h>

#include <string>

namespace bench {
namespace {

// A canvas of the given extent that draws and keeps nothing, and a box.
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

// One integration a turn, on a canvas that draws nothing.
inline void runEngine(benchmark::State& state, const plot::FormState& s, float width, float height)
{
    NullCanvas c(width, height);
    for (auto _ : state)
        benchmark::DoNotOptimize(plot::integrate(s, c, c));
}

} // namespace
} // namespace bench
