#pragma once

#include "app/frmvelmar.h"
#include "app/window.h"
#include "plot/canvas.h"
#include "plot/error.h"
#include "plot/formstate.h"
#include "plot/fpstatus.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <utility>

#include <string>
#include <vector>

namespace fakes {

// The form state as the load handler leaves it, with a trapezoid count.
inline plot::FormState loaded(double nTrap = 0)
{
    plot::FormState s = frmvelmar::kLoaded;
    s.nTrap = nTrap;
    return s;
}

struct Segment
{
    float x1, y1, x2, y2;
    plot::Rgb colour;
    friend bool operator==(const Segment& a, const Segment& b)
    {
        return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.colour == b.colour;
    }
};

// Everything the plotting code does to the canvas and the box, in order.
using Log = std::vector<std::string>;

// The number of the run-time error that f raises; a test failure when it raises none.
inline plot::ErrorNumber errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const plot::RuntimeError& e) {
        return e.number();
    }
    ADD_FAILURE() << "no run-time error was raised";
    return plot::ErrorNumber::OutOfMemory;
}

// The error a fault raises here. Where the machine keeps no floating-point
// status (WebAssembly), a fault shows only in the value it leaves, and the
// infinity a division by zero leaves is an overflow.
inline plot::ErrorNumber seenAs(plot::ErrorNumber withStatus)
{
#ifdef PLOT_FP_NONE
    if (withStatus == plot::ErrorNumber::DivisionByZero)
        return plot::ErrorNumber::Overflow;
#endif
    return withStatus;
}

// Something the toolkit may do to the floating-point status on every call.
using SideEffect = void (*)();

inline void touchStatus(SideEffect effect)
{
    if (effect)
        effect();
}

// A canvas that records what is drawn, counts extent readings and can fail.
class RecordingCanvas : public plot::Canvas
{
public:
    RecordingCanvas(float width, float height, Log* log = nullptr)
        : width(width), height(height), m_log(log)
    {
    }

    float ScaleWidth() const override
    {
        ++widthReads;
        touchStatus(onCall);
        return width;
    }
    float ScaleHeight() const override
    {
        ++heightReads;
        touchStatus(onCall);
        return height;
    }
    void Line(float x1, float y1, float x2, float y2, plot::Rgb colour) override
    {
        touchStatus(onCall);
        if (failAtLine >= 0 && int(segments.size()) == failAtLine) {
            if (outOfMemory)
                throw std::bad_alloc();
            plot::raise(plot::ErrorNumber::CanvasFailure, "test failure");
        }
        segments.push_back({x1, y1, x2, y2, colour});
        if (m_log)
            m_log->push_back("Line");
    }
    void Erase() override
    {
        touchStatus(onCall);
        segments.clear();
        ++erases;
        if (m_log)
            m_log->push_back("Erase");
    }

    float width, height;
    mutable int widthReads = 0, heightReads = 0;
    int erases = 0;
    int failAtLine = -1;      // the index of the segment whose drawing fails
    bool outOfMemory = false; // and fails for want of memory
    SideEffect onCall = nullptr;
    std::vector<Segment> segments;

private:
    Log* m_log;
};

// A text box that keeps its text exactly and can fail to read or write.
class FakeTextBox : public plot::TextBox
{
public:
    explicit FakeTextBox(std::string text = {}, Log* log = nullptr)
        : text(std::move(text)), m_log(log)
    {
    }

    std::string Text() const override
    {
        touchStatus(onCall);
        if (failReads)
            plot::raise(plot::ErrorNumber::TextBoxFailure, "test read failure");
        return text;
    }
    void SetText(const std::string& value) override
    {
        touchStatus(onCall);
        if (failWritesAfter >= 0 && writes >= failWritesAfter)
            plot::raise(plot::ErrorNumber::TextBoxFailure, "test write failure");
        ++writes;
        text = value;
        if (m_log)
            m_log->push_back("SetText:" + value);
    }

    std::string text;
    bool failReads = false;
    int failWritesAfter = -1;
    int writes = 0;
    SideEffect onCall = nullptr;

private:
    Log* m_log;
};

// A window for the form: the two fakes above as its canvas and box, and every
// other call logged in order ("Redraw?", "Show", "Describe:", "Announce:",
// "Open", "Report:", "Quit:").
class FakeWindow : public app::Window
{
public:
    FakeWindow() : picGraph(8955, 5955, &log), txtRes({}, &log) {}

    plot::Canvas& canvas() override { return picGraph; }
    plot::TextBox& resultBox() override { return txtRes; }
    bool canvasNeedsRedraw() override
    {
        log.push_back("Redraw?");
        return std::exchange(ratioChanged, false);
    }
    void showDrawing() override { log.push_back("Show"); }
    void describeCanvas(const std::string& text) override { log.push_back("Describe:" + text); }
    void announce(const std::string& text) override { log.push_back("Announce:" + text); }
    void open() override { log.push_back("Open"); }
    void reportError(const plot::RuntimeError& error) override
    {
        log.push_back("Report:" + std::to_string(error.code()));
        if (report)
            report(error);
    }
    void quit(int status) override { log.push_back("Quit:" + std::to_string(status)); }

    // The calls logged since the last take.
    Log take() { return std::exchange(log, {}); }

    Log log;
    RecordingCanvas picGraph;
    FakeTextBox txtRes;
    bool ratioChanged = false; // the next question finds the canvas at a new ratio
    std::function<void(const plot::RuntimeError&)> report;
};

} // namespace fakes
