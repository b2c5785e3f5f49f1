#include "fakes.h"
#include "plot/error.h"
#include "plot/fpstatus.h"
#include "plot/graph.h"
#include "results.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using fakes::Segment;
using plot::ErrorNumber;

using fakes::errorOf;
using fakes::loaded;

constexpr plot::Rgb kGreen = plot::kTrapezoidColour;

// ---- graph reset ---------------------------------------------------------------

struct ResetRun
{
    fakes::Log log;
    fakes::RecordingCanvas canvas{8955, 5955, &log};
    fakes::FakeTextBox box{"old text", &log};
};

TEST(GraphReset, DrawsAxesThenTheCurveThenEmptiesTheBox)
{
    ResetRun r;
    plot::graphReset(loaded(), r.canvas, r.box);

    ASSERT_EQ(r.canvas.segments.size(), 2u + 629u);
    EXPECT_EQ(r.canvas.segments[0], (Segment{100, 0, 100, 5955, plot::kAxisColour}));
    EXPECT_EQ(r.canvas.segments[1], (Segment{0, 2977.5f, 8955, 2977.5f, plot::kAxisColour}));

    const std::vector<Segment> curve(r.canvas.segments.begin() + 2, r.canvas.segments.end());
    EXPECT_EQ(curve.front(), (Segment{100, 2978, 100, 2978, plot::kCurveColour})); // zero length
    float top = 1e9f, bottom = -1e9f;
    for (std::size_t i = 0; i < curve.size(); ++i) {
        const Segment& s = curve[i];
        EXPECT_EQ(s.colour, plot::kCurveColour);
        EXPECT_EQ(s.x2, std::nearbyint(s.x2)) << "curve points lie on whole units";
        EXPECT_EQ(s.y2, std::nearbyint(s.y2));
        if (i > 0) {
            EXPECT_EQ(s.x1, curve[i - 1].x2) << "the curve is connected";
            EXPECT_EQ(s.y1, curve[i - 1].y2);
        }
        top = std::min(top, s.y2);
        bottom = std::max(bottom, s.y2);
    }
    EXPECT_EQ(top, 100);
    EXPECT_EQ(bottom, 5855);
    EXPECT_EQ(curve.back().x2, 8951);
    // The curve starts on the axis level, rounded to a whole unit: half a unit
    // below the axis at 2977.5.
    EXPECT_EQ(curve.front().y2, 2978);

    EXPECT_EQ(r.box.text, "");
    EXPECT_EQ(r.log.front(), "Erase");
    EXPECT_EQ(r.log.back(), "SetText:") << "the box is emptied last";
}

TEST(GraphReset, ReadsTheExtentWhereverAFormulaNeedsIt)
{
    ResetRun r;
    plot::graphReset(loaded(), r.canvas, r.box);
    // Axes: H; H, W, H. Start point: H. Each curve point: W once, H twice.
    EXPECT_EQ(r.canvas.widthReads, 1 + 629);
    EXPECT_EQ(r.canvas.heightReads, 1 + 2 + 1 + 2 * 629);
}

TEST(GraphReset, AFaultMidwayKeepsWhatWasDrawnAndTheOldText)
{
    // A canvas failure at the 100th segment, and a 16-bit overflow from a canvas
    // too wide for 16-bit coordinates.
    ResetRun failing;
    failing.canvas.failAtLine = 100;
    EXPECT_EQ(errorOf([&] { plot::graphReset(loaded(), failing.canvas, failing.box); }),
              ErrorNumber::CanvasFailure);
    EXPECT_EQ(failing.canvas.segments.size(), 100u);
    EXPECT_EQ(failing.box.text, "old text");

    ResetRun wide;
    wide.canvas.width = 70000;
    EXPECT_EQ(errorOf([&] { plot::graphReset(loaded(), wide.canvas, wide.box); }),
              ErrorNumber::Overflow);
    // The curve got as far as X = 32767: every segment drawn before the overflow stays.
    EXPECT_GT(wide.canvas.segments.size(), 2u + 200u);
    EXPECT_LE(wide.canvas.segments.back().x2, 32767);
    EXPECT_EQ(wide.box.text, "old text");
}

// ---- integration ---------------------------------------------------------------

class Counts : public testing::TestWithParam<TrapezoidRun>
{
};

TEST_P(Counts, AreExact)
{
    const TrapezoidRun& e = GetParam();
    fakes::RecordingCanvas canvas(8955, 5955);
    fakes::FakeTextBox box("whatever was there");
    const plot::Integral r = plot::integrate(loaded(e.nTrap), canvas, box);
    EXPECT_EQ(r.dx, e.dx);
    EXPECT_EQ(r.passes, e.passes);
    EXPECT_EQ(canvas.segments.size(), std::size_t(3 * e.passes));
    EXPECT_EQ(r.sum, e.sum);
    EXPECT_EQ(box.text, e.text);
    // One W and five H readings a pass, and one H before the first.
    EXPECT_EQ(canvas.widthReads, e.passes);
    EXPECT_EQ(canvas.heightReads, 1 + 5 * e.passes);
    EXPECT_EQ(canvas.erases, 0) << "the trapezoids go over what is there";
}

INSTANTIATE_TEST_SUITE_P(Integration, Counts, testing::ValuesIn(kRuns), byName);

struct SmallCanvasRun
{
    const char* name;
    double nTrap;
    std::vector<Segment> segments;
};

class SmallCanvas : public testing::TestWithParam<SmallCanvasRun>
{
};

TEST_P(SmallCanvas, DrawsTheseSegments)
{
    fakes::RecordingCanvas canvas(6000, 4000);
    fakes::FakeTextBox box;
    plot::integrate(loaded(GetParam().nTrap), canvas, box);
    EXPECT_EQ(canvas.segments, GetParam().segments);
}

INSTANTIATE_TEST_SUITE_P(Integration, SmallCanvas,
                         testing::Values(SmallCanvasRun{"one",
                                                        1,
                                                        {{100, 2000, 100, 2000, kGreen},
                                                         {100, 2000, 3050, 2000, kGreen},
                                                         {3050, 2000, 3050, 2000, kGreen}}},
                                         SmallCanvasRun{"two",
                                                        2,
                                                        {{100, 2000, 100, 2000, kGreen},
                                                         {100, 2000, 1575, 100, kGreen},
                                                         {1575, 100, 1575, 2000, kGreen},
                                                         {1575, 2000, 1575, 100, kGreen},
                                                         {1575, 100, 3050, 2000, kGreen},
                                                         {3050, 2000, 3050, 2000, kGreen}}}),
                         byName);

TEST(Integration, TenAndTenThousandOnASmallCanvas)
{
    fakes::RecordingCanvas ten(6000, 4000);
    fakes::FakeTextBox box;
    plot::integrate(loaded(10), ten, box);
    ASSERT_EQ(ten.segments.size(), 30u);
    EXPECT_EQ(ten.segments[1], (Segment{100, 2000, 395, 1412.86767578125f, kGreen}));
    EXPECT_EQ(ten.segments[4], (Segment{395, 1412.86767578125f, 690, 883.2080078125f, kGreen}));
    EXPECT_EQ(ten.segments[29].x1, 3050);
    EXPECT_EQ(ten.segments[29].x2, 3050);
    for (std::size_t i = 3; i < 30; i += 3)
        EXPECT_EQ(ten.segments[i].x1, ten.segments[i - 1].x1) << "trapezoids share their sides";

    fakes::RecordingCanvas many(6000, 4000);
    plot::integrate(loaded(10000), many, box);
    ASSERT_EQ(many.segments.size(), 30000u);
    EXPECT_EQ(many.segments[29998],
              (Segment{3049.705078125f, 1999.403076171875f, 3050, 2000, kGreen}));
}

TEST(Integration, ASecondRunDrawsTheSameAgainAndReplacesTheText)
{
    fakes::RecordingCanvas canvas(8955, 5955);
    fakes::FakeTextBox box;
    plot::integrate(loaded(10), canvas, box);
    const auto firstText = box.text;
    plot::integrate(loaded(10), canvas, box);
    ASSERT_EQ(canvas.segments.size(), 60u);
    EXPECT_TRUE(std::equal(canvas.segments.begin(), canvas.segments.begin() + 30,
                           canvas.segments.begin() + 30));
    EXPECT_EQ(box.text, firstText);

    plot::integrate(loaded(2), canvas, box);
    EXPECT_EQ(canvas.segments.size(), 66u) << "earlier trapezoids stay";
    EXPECT_EQ(box.text, kRuns[1].text) << "the text is replaced, not appended";
}

TEST(Integration, ZeroTrapezoidsIsADivisionByZeroBeforeAnyDrawing)
{
    fakes::RecordingCanvas canvas(8955, 5955);
    fakes::FakeTextBox box("kept");
    try {
        plot::integrate(loaded(0), canvas, box);
        FAIL() << "no error";
    } catch (const plot::RuntimeError& e) {
        EXPECT_EQ(e.number(), fakes::seenAs(ErrorNumber::DivisionByZero));
        EXPECT_EQ(e.code(), int(fakes::seenAs(ErrorNumber::DivisionByZero)));
    }
    EXPECT_TRUE(canvas.segments.empty());
    EXPECT_EQ(box.text, "kept");
}

struct Fault
{
    const char* name;
    plot::FormState state;
    float width, height;
    int failAtLine;
    ErrorNumber expected;
    std::size_t drawn;
    bool leavesItsValue = true; // false: the values come back finite, only the status tells
};

plot::FormState with(plot::FormState s, double plot::FormState::*field, double value)
{
    s.*field = value;
    return s;
}

const Fault kFaults[] = {
    {"canvasFailsAtSegment17", loaded(10), 8955, 5955, 17, ErrorNumber::CanvasFailure, 17},
    {"noCountAndNoPi", with(loaded(0), &plot::FormState::pi, 0), 8955, 5955, -1,
     ErrorNumber::InvalidOperation, 0},
    {"heightIsInfinite", loaded(10), 8955, std::numeric_limits<float>::infinity(), -1,
     ErrorNumber::Overflow, 0},
    {"originTooFarRightForASingle", with(loaded(1), &plot::FormState::xOrigin, 1e39), 8955, 5955,
     -1, ErrorNumber::Overflow, 0},
    // pi + pi overflows, but the right edge divides zero by it and comes back finite.
    {"piTooLargeToDouble",
     with(with(loaded(1), &plot::FormState::pi, 1e308), &plot::FormState::xOrigin, 8955), 8955,
     5955, -1, ErrorNumber::Overflow, 0, false},
};

class Faults : public testing::TestWithParam<Fault>
{
};

TEST_P(Faults, StopTheDrawingWhereItStands)
{
    const Fault& c = GetParam();
#ifdef PLOT_FP_NONE
    if (!c.leavesItsValue)
        GTEST_SKIP() << "a machine without floating-point status cannot see it";
#endif
    fakes::RecordingCanvas canvas(c.width, c.height);
    canvas.failAtLine = c.failAtLine;
    fakes::FakeTextBox box("kept");
    EXPECT_EQ(errorOf([&] { plot::integrate(c.state, canvas, box); }), c.expected);
    EXPECT_EQ(canvas.segments.size(), c.drawn);
    EXPECT_EQ(box.text, "kept");
}

INSTANTIATE_TEST_SUITE_P(Integration, Faults, testing::ValuesIn(kFaults), byName);

// Flags left behind by other code (the toolkit raises some), or raised by the
// canvas and the box inside the engine's own calls, are not blamed on the
// engine: each procedure starts from a clear status and every call out keeps it.
// The flags are raised by real double arithmetic, as other code would raise them.
volatile double g_zero = 0, g_big = 1e308, g_sink;

struct StaleFlag
{
    const char* name;
    void (*raise)();
};

class StaleFlags : public testing::TestWithParam<StaleFlag>
{
};

TEST_P(StaleFlags, AreNotBlamedOnTheNextProcedure)
{
    fakes::RecordingCanvas canvas(8955, 5955);
    fakes::FakeTextBox box;
    GetParam().raise();
    EXPECT_NO_THROW(plot::graphReset(loaded(), canvas, box)) << "graph reset";
    GetParam().raise();
    EXPECT_NO_THROW(plot::integrate(loaded(10), canvas, box)) << "integration";
    EXPECT_EQ(box.text, kRuns[2].text);
}

TEST_P(StaleFlags, RaisedByTheCanvasAndTheBoxAreNotTheEngines)
{
    fakes::RecordingCanvas canvas(8955, 5955);
    fakes::FakeTextBox box;
    canvas.onCall = box.onCall = GetParam().raise;
    EXPECT_NO_THROW(plot::graphReset(loaded(), canvas, box)) << "graph reset";
    EXPECT_NO_THROW(plot::integrate(loaded(10), canvas, box)) << "integration";
    EXPECT_EQ(box.text, kRuns[2].text);
}

INSTANTIATE_TEST_SUITE_P(Procedures, StaleFlags,
                         testing::Values(StaleFlag{"invalid", [] { g_sink = g_zero / g_zero; }},
                                         StaleFlag{"divisionByZero", [] { g_sink = 1 / g_zero; }},
                                         StaleFlag{"overflow", [] { g_sink = g_big * g_big; }}),
                         byName);

// ---- result report -------------------------------------------------------------

TEST(ResultReport, BuildsTheSecondLineOnWhatTheBoxGivesBack)
{
    // A box that gives back something else than was set shows that the second
    // write appends to the text read back.
    struct EchoingBox : fakes::FakeTextBox
    {
        std::string Text() const override { return "read back|"; }
    } box;
    plot::writeResult(box, 2, 0.5);
    EXPECT_EQ(box.text, "read back|dx= .5");
}

struct ReportFailure
{
    const char* name;
    bool failReads;
    int failWritesAfter;
    std::string expected;
};

class ReportFailures : public testing::TestWithParam<ReportFailure>
{
};

TEST_P(ReportFailures, LeaveTheFirstLineOrTheOldText)
{
    fakes::FakeTextBox box("old");
    box.failReads = GetParam().failReads;
    box.failWritesAfter = GetParam().failWritesAfter;
    EXPECT_EQ(errorOf([&] { plot::writeResult(box, 2, 0.5); }), ErrorNumber::TextBoxFailure);
    EXPECT_EQ(box.text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    ResultReport, ReportFailures,
    testing::Values(ReportFailure{"firstWriteFails", false, 0, "old"},
                    ReportFailure{"readFails", true, -1, "Integral Sin(x) [0,pi]= 2\r\n"},
                    ReportFailure{"secondWriteFails", false, 1, "Integral Sin(x) [0,pi]= 2\r\n"}),
    byName);

} // namespace
