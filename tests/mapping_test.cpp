#include "fakes.h"
#include "plot/error.h"
#include "plot/fpstatus.h"
#include "plot/mapping.h"
#include "results.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <functional>
#include <limits>

namespace {

using plot::ErrorNumber;

using fakes::loaded;

using fakes::errorOf;

TEST(Mapping, PlacesTheFixedPoints)
{
    const plot::FormState s = loaded();
    fakes::RecordingCanvas canvas(6000, 4000);
    EXPECT_EQ(plot::canvasX(s, canvas, 0), 100.0);
    EXPECT_EQ(plot::canvasX(s, canvas, s.pi), 3049.9999999999995);
    EXPECT_EQ(plot::toSingle(plot::canvasX(s, canvas, s.pi)), 3050.0f);
    EXPECT_EQ(plot::canvasY(s, canvas, 0), 2000.0);
    EXPECT_EQ(plot::canvasY(s, canvas, 1), 100.0);
    EXPECT_EQ(plot::canvasY(s, canvas, -1), 3900.0);
}

TEST(Mapping, ReadsTheExtentAfreshEachTime)
{
    const plot::FormState s = loaded();
    fakes::RecordingCanvas canvas(6000, 4000);
    plot::canvasX(s, canvas, 1);
    plot::canvasY(s, canvas, 0.5);
    EXPECT_EQ(canvas.widthReads, 1);
    EXPECT_EQ(canvas.heightReads, 2);
    // A canvas that changes size between two readings is seen to change.
    canvas.width = 12000;
    EXPECT_EQ(plot::toSingle(plot::canvasX(s, canvas, s.pi)), 6050.0f);
}

struct Rounding
{
    const char* name;
    double in;
    int out;
};

class SixteenBit : public testing::TestWithParam<Rounding>
{
};

TEST_P(SixteenBit, RoundsHalfToEven)
{
    EXPECT_EQ(plot::toInt16(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, SixteenBit,
    testing::Values(Rounding{"halfDownToEven", 1234.5, 1234},
                    Rounding{"halfUpToEven", 1235.5, 1236}, Rounding{"twoAndAHalf", 2.5, 2},
                    Rounding{"threeAndAHalf", 3.5, 4}, Rounding{"negativeTwoAndAHalf", -2.5, -2},
                    Rounding{"negativeThreeAndAHalf", -3.5, -4},
                    Rounding{"axisLevel", 2977.5, 2978},
                    Rounding{"justBelowHalf", 1234.4999999, 1234},
                    Rounding{"largest", 32767.4, 32767}, Rounding{"smallest", -32768.5, -32768},
                    Rounding{"negativeHalf", -0.5, 0}, Rounding{"justAboveHalf", 0.5000001, 1}),
    byName);

struct OutOfRange
{
    const char* name;
    double value;
};

class SixteenBitOverflow : public testing::TestWithParam<OutOfRange>
{
};

TEST_P(SixteenBitOverflow, RaisesTheOverflowError)
{
    EXPECT_EQ(errorOf([] { plot::toInt16(GetParam().value); }), ErrorNumber::Overflow);
}

INSTANTIATE_TEST_SUITE_P(Conversions, SixteenBitOverflow,
                         testing::Values(OutOfRange{"fortyThousand", 40000.0},
                                         OutOfRange{"halfAboveTheLargest", 32767.5},
                                         OutOfRange{"belowTheSmallest", -32768.6},
                                         OutOfRange{"huge", 1e300},
                                         OutOfRange{"hugeNegative", -1e300}),
                         byName);

TEST(Conversions, SingleRoundsToNearestAndOverflows)
{
    EXPECT_EQ(plot::toSingle(40000.0), 40000.0f) << "too large for 16 bits, fine for a single";
    EXPECT_EQ(plot::toSingle(1412.8676757812501), 1412.86767578125f);
    EXPECT_EQ(plot::toSingle(1e-45), 1.40129846e-45f); // underflow is not a fault
    EXPECT_EQ(errorOf([] { plot::toSingle(1e39); }), ErrorNumber::Overflow);
    EXPECT_EQ(errorOf([] { plot::toSingle(-1e300); }), ErrorNumber::Overflow);
}

// Each fault is provoked by real arithmetic on values the optimiser cannot see.
volatile double g_zero = 0, g_one = 1, g_big = 1e308,
                g_inf = std::numeric_limits<double>::infinity();

struct Fault
{
    const char* name;
    double (*compute)();
    ErrorNumber expected;
    bool leavesItsValue = true; // false: the value comes back finite, only the status tells
};

const Fault kFaults[] = {
    {"oneByZero", [] { return g_one / g_zero; }, ErrorNumber::DivisionByZero},
    {"zeroByZero", [] { return g_zero / g_zero; }, ErrorNumber::InvalidOperation},
    {"infMinusInf", [] { return g_inf - g_inf; }, ErrorNumber::InvalidOperation},
    {"sinOfInf", [] { return std::sin(g_inf); }, ErrorNumber::InvalidOperation},
    {"bigTimesBig", [] { return g_big * g_big; }, ErrorNumber::Overflow},
    {"bigPlusBig", [] { return g_big + g_big; }, ErrorNumber::Overflow},
    // The flags gather over a formula: a fault in an early step is caught at its
    // end even when later steps bring the value back to a finite number.
    {"divisionByZeroThenBackToFinite", [] { return g_one / (g_one / g_zero); },
     ErrorNumber::DivisionByZero, false},
    {"overflowThenBackToFinite", [] { return g_one / (g_big * g_big); }, ErrorNumber::Overflow,
     false},
    {"invalidThenBackToFinite",
     [] {
         const double nan = g_zero / g_zero;
         return nan == nan ? 1.0 : 2.0; // a quiet comparison raises nothing more
     },
     ErrorNumber::InvalidOperation, false},
};

class FloatFaults : public testing::TestWithParam<Fault>
{
};

TEST_P(FloatFaults, RaiseTheRunTimeError)
{
#ifdef PLOT_FP_NONE
    if (!GetParam().leavesItsValue)
        GTEST_SKIP() << "a machine without floating-point status cannot see it";
#endif
    plot::clearStatus();
    EXPECT_EQ(errorOf([] { plot::checked(GetParam().compute()); }),
              fakes::seenAs(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(FloatStatus, FloatFaults, testing::ValuesIn(kFaults), byName);

TEST(FloatStatus, InexactAndUnderflowPass)
{
    volatile double tiny = 1e-300, three = 3;
    plot::clearStatus();
    EXPECT_EQ(plot::checked(1.0 / three), 1.0 / 3.0);
    EXPECT_NO_THROW(plot::checked(tiny * tiny * 1e300)); // underflows to a subnormal or zero
#ifdef FE_UNDERFLOW                                      // where the machine keeps the status
    std::feraiseexcept(FE_UNDERFLOW | FE_INEXACT);
#endif
    EXPECT_EQ(plot::checked(2.0), 2.0);
}

TEST(FloatStatus, MappingFaultsRaiseTheError)
{
    const plot::FormState s = loaded();
    fakes::RecordingCanvas canvas(6000, 4000);
    EXPECT_EQ(errorOf([&] { plot::canvasX(s, canvas, 1e306); }), ErrorNumber::Overflow);
    plot::FormState zeroPi = s;
    zeroPi.pi = 0;
    EXPECT_EQ(errorOf([&] { plot::canvasX(zeroPi, canvas, 1); }),
              fakes::seenAs(ErrorNumber::DivisionByZero));
    // A margin of half the height makes the bracket 0: 0 * inf is invalid.
    plot::FormState half = s;
    half.yMargin = 2000;
    EXPECT_EQ(
        errorOf([&] { plot::canvasY(half, canvas, std::numeric_limits<double>::infinity()); }),
        ErrorNumber::InvalidOperation);
    // A canvas reporting a non-number extent raises no flag, but is caught all the same.
    fakes::RecordingCanvas broken(std::numeric_limits<float>::quiet_NaN(),
                                  std::numeric_limits<float>::infinity());
    EXPECT_EQ(errorOf([&] { plot::canvasX(s, broken, 1); }), ErrorNumber::InvalidOperation);
    EXPECT_EQ(errorOf([&] { plot::canvasY(s, broken, 0.5); }), ErrorNumber::Overflow);
}

} // namespace
