// The form's rules, against a fake window: start-up, every handler and the order
// of what it does, the one top level, the redraw at a new pixel ratio.
#include "app/frmvelmar.h"
#include "app/layout.h"
#include "fakes.h"
#include "plot/graph.h"
#include "results.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

namespace {

using fakes::Log;

// Runs of one call squeezed to one entry: "Line" x 631 is "Line*631".
Log squeezed(const Log& log)
{
    Log out;
    int run = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        ++run;
        if (i + 1 < log.size() && log[i + 1] == log[i])
            continue;
        out.push_back(run > 1 ? log[i] + "*" + std::to_string(run) : log[i]);
        run = 0;
    }
    return out;
}

const std::string kCurve = "The sine curve over one period, from 0 to 2π, on axes.";

struct Started
{
    fakes::FakeWindow w;
    frmvelmar form{w};
    Started()
    {
        form.start();
        w.take();
    }
};

TEST(Form, StartsWithTheGraphAndAnEmptyBoxThenOpens)
{
    fakes::FakeWindow w;
    w.txtRes.text = "left over";
    frmvelmar form(w);
    EXPECT_EQ(form.state().nTrap, 0);
    ASSERT_TRUE(form.start());
    // The start-up values, whose effects the runs' figures and pictures check.
    EXPECT_EQ(form.state().xOrigin, frmvelmar::kLoaded.xOrigin);
    EXPECT_EQ(form.state().yMargin, frmvelmar::kLoaded.yMargin);
    EXPECT_EQ(form.state().pi, frmvelmar::kLoaded.pi);
    EXPECT_EQ(form.state().nTrap, 0) << "no trapezoid count until a button sets it";
    // Nothing is announced before the window is on screen.
    EXPECT_EQ(squeezed(w.take()), (Log{"Redraw?", "Erase", "Line*631",
                                       "SetText:", "Describe:" + kCurve, "Show", "Open"}));
    EXPECT_FALSE(form.ending());
}

// What each button does, in order: draw, the box's two writes (the second line
// built on the first as read back), the canvas described, the run announced,
// the drawing shown.
struct Press
{
    const char* name;
    Log expected;
    double nTrap;
};

// A trapezoid button's press: the count's words as the canvas's description
// says them, and the run's announcement.
Log trapezoidPress(const TrapezoidRun& run, const std::string& described)
{
    const std::string text = run.text;
    const std::string first = text.substr(0, text.find("\r\n"));
    return {"Redraw?",
            "Line*" + std::to_string(3 * run.passes),
            "SetText:" + first + "\r\n", // the line break with the first line
            "SetText:" + text,
            "Describe:" + kCurve + " " + described + " the area under it from 0 to π.",
            "Announce:" + std::string(run.spoken),
            "Show"};
}

const Press kPresses[] = {
    {"cmd1rect", trapezoidPress(kRuns[0], "1 trapezoid approximates"), 1},
    {"cmd2rect", trapezoidPress(kRuns[1], "2 trapezoids approximate"), 2},
    {"cmd10Rec", trapezoidPress(kRuns[2], "10 trapezoids approximate"), 10},
    {"cmdcalc", trapezoidPress(kRuns[3], "10000 trapezoids approximate"), 10000},
    {"cmdclear",
     {"Redraw?", "Erase", "Line*631", "SetText:", "Describe:" + kCurve, "Announce:Cleared.",
      "Show"},
     0},
    {"cmdexit", {"Redraw?", "Quit:0", "Show"}, 0},
    // The canvas and the box have no handler.
    {"picGraph", {}, 0},
    {"txtRes", {}, 0},
};

class Presses : public testing::TestWithParam<Press>
{
};

TEST_P(Presses, DoWhatTheButtonSaysInOrder)
{
    Started s;
    s.form.click(GetParam().name);
    EXPECT_EQ(squeezed(s.w.take()), GetParam().expected);
    EXPECT_EQ(s.form.state().nTrap, GetParam().nTrap);
    const bool exit = GetParam().name == std::string("cmdexit");
    EXPECT_EQ(s.form.ending(), exit);
    if (exit) {
        EXPECT_EQ(s.form.exitCode(), 0);
        for (const app::ControlPlace& p : app::kLayout)
            s.form.click(p.name);
        s.form.canvasChanged();
        EXPECT_EQ(s.w.take(), Log{}) << "nothing runs after Exit";
    }
}

INSTANTIATE_TEST_SUITE_P(Form, Presses, testing::ValuesIn(kPresses), byName);

// A run-time error anywhere below a handler ends it there: what was drawn is
// shown, the error reported once with its number, the program ends with status
// 1, and no handler runs after it, nor the redraw.
struct Failure
{
    const char* name;
    void (*plant)(fakes::FakeWindow&);
    const char* button; // nullptr: the start-up fails
    plot::ErrorNumber number;
    double nTrap; // as the handler left it: set before the integration
};

const Failure kFailures[] = {
    {"startUp", [](fakes::FakeWindow& w) { w.picGraph.failAtLine = 5; }, nullptr,
     plot::ErrorNumber::CanvasFailure, 0},
    {"oneTrapezoidsTop", [](fakes::FakeWindow& w) { w.picGraph.failAtLine = 1; }, "cmd1rect",
     plot::ErrorNumber::CanvasFailure, 1},
    {"calculateOutOfMemory",
     [](fakes::FakeWindow& w) {
         w.picGraph.failAtLine = 100;
         w.picGraph.outOfMemory = true;
     },
     "cmdcalc", plot::ErrorNumber::OutOfMemory, 10000},
    {"clearsCurve", [](fakes::FakeWindow& w) { w.picGraph.failAtLine = 40; }, "cmdclear",
     plot::ErrorNumber::CanvasFailure, 0},
    {"tensResult", [](fakes::FakeWindow& w) { w.txtRes.failWritesAfter = w.txtRes.writes; },
     "cmd10Rec", plot::ErrorNumber::TextBoxFailure, 10},
    {"redrawBeforeAPress",
     [](fakes::FakeWindow& w) {
         w.ratioChanged = true;
         w.picGraph.failAtLine = 7;
     },
     "cmd2rect", plot::ErrorNumber::CanvasFailure, 0},
};

class Failures : public testing::TestWithParam<Failure>
{
};

TEST_P(Failures, EndEverythingAtTheTopLevel)
{
    const Failure& f = GetParam();
    fakes::FakeWindow w;
    frmvelmar form(w);
    if (f.button) {
        ASSERT_TRUE(form.start());
        w.take();
        w.picGraph.segments.clear();
    }
    f.plant(w);
    if (f.button)
        form.click(f.button);
    else
        EXPECT_FALSE(form.start());
    const Log log = squeezed(w.take());
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(Log(log.end() - 3, log.end()),
              (Log{"Show", "Report:" + std::to_string(int(f.number)), "Quit:1"}))
        << "what was drawn shown, then the report, then the end";
    for (const std::string& call : log)
        EXPECT_TRUE(call.rfind("Announce", 0) != 0 && call != "Open") << call;
    EXPECT_EQ(form.exitCode(), frmvelmar::kErrorExitCode);
    EXPECT_EQ(form.state().nTrap, f.nTrap) << "a handler ran after the redraw failed";
    const std::size_t drawn = w.picGraph.segments.size();
    w.ratioChanged = true;
    for (const app::ControlPlace& p : app::kLayout)
        form.click(p.name);
    form.canvasChanged();
    EXPECT_EQ(w.take(), Log{}) << "nothing runs after the report";
    EXPECT_EQ(w.picGraph.segments.size(), drawn) << "the drawing stays";
}

INSTANTIATE_TEST_SUITE_P(Form, Failures, testing::ValuesIn(kFailures), byName);

// At a new pixel ratio the canvas lost its picture: before anything is added,
// it is drawn anew from the graph and each count run since the last Clear, once
// each (at most the four), and the box keeps its text.
TEST(Form, RedrawsFromTheCountsSinceClearBeforeAnyHandler)
{
    Started s;
    const double counts[] = {1, 2, 10, 10000};
    const char* const buttons[] = {"cmd1rect", "cmd2rect", "cmd10Rec", "cmdcalc"};
    std::mt19937 random(9122026);
    std::vector<double> firstPressed;
    for (int i = 0; i < 200; ++i) {
        const int k = int(random() % 4);
        s.form.click(buttons[k]);
        if (std::find(firstPressed.begin(), firstPressed.end(), counts[k]) == firstPressed.end())
            firstPressed.push_back(counts[k]);
    }
    ASSERT_EQ(firstPressed.size(), 4u);

    auto expected = [&](const std::vector<double>& runs) {
        fakes::RecordingCanvas c(8955, 5955);
        fakes::FakeTextBox b;
        plot::graphReset(fakes::loaded(), c, b);
        for (double n : runs)
            plot::integrate(fakes::loaded(n), c, b);
        return c.segments;
    };
    const std::string text = s.w.txtRes.text;
    const int writes = s.w.txtRes.writes;
    s.w.ratioChanged = true;
    s.form.canvasChanged();
    EXPECT_EQ(s.w.picGraph.segments, expected(firstPressed));
    EXPECT_EQ(s.w.txtRes.text, text);
    EXPECT_EQ(s.w.txtRes.writes, writes) << "the box is not touched";
    EXPECT_EQ(s.w.picGraph.erases, 2);

    // After a Clear only what came since counts, and the press comes after it.
    s.form.click("cmdclear");
    s.form.click("cmd10Rec");
    s.w.take();
    s.w.ratioChanged = true;
    s.form.click("cmd1rect");
    EXPECT_EQ(s.w.picGraph.segments, expected({10, 1}));
    EXPECT_EQ(s.w.txtRes.text, kRuns[0].text);
    EXPECT_EQ(squeezed(s.w.take()).at(1), "Erase") << "the redraw first";
}

} // namespace
