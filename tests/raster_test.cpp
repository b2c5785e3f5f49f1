// The raster canvas: which pixels a line sets, by its rule, against a reference
// worked out another way; the twip mapping, the changed rectangle, the drawing area.
#include "fakes.h"
#include "raster/rastercanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <utility>

namespace {

using raster::PixelRect;
using raster::RasterCanvas;
using Pixels = std::set<std::pair<int, int>>; // (x, y)

constexpr plot::Rgb kGreen = plot::kTrapezoidColour;

// A canvas of w x h device pixels whose twips are device pixels: coordinates
// go through unchanged, so a test names pixels.
RasterCanvas pixelCanvas(int w, int h)
{
    RasterCanvas c;
    c.setArea({w, h, w, h, 1, 1, 1});
    c.Erase();
    c.takeChanged();
    return c;
}

Pixels lit(const RasterCanvas& c)
{
    Pixels p;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.pixels()[y * c.width() + x] != raster::pixelOf({0, 0, 0}))
                p.insert({x, y});
    return p;
}

// The reference: for each step along the longer axis, the exact minor
// coordinate as a fraction, and the nearer of the two whole pixels around it,
// the smaller where both are as near. Kept inside w x h.
Pixels reference(int x1, int y1, int x2, int y2, int w, int h)
{
    Pixels p;
    const bool xMajor = std::abs(x2 - x1) >= std::abs(y2 - y1);
    const long long a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1;
    const long long a2 = xMajor ? x2 : y2, b2 = xMajor ? y2 : x2;
    const long long n = std::abs(a2 - a1), step = a2 >= a1 ? 1 : -1;
    for (long long i = 0; i <= n; ++i) {
        long long b = b1;
        if (n > 0) {
            // b1 + i (b2 - b1) / n = whole + rest / n, 0 <= rest < n.
            const long long numerator = b1 * n + i * (b2 - b1);
            long long whole = numerator / n, rest = numerator % n;
            if (rest < 0) {
                whole -= 1;
                rest += n;
            }
            b = 2 * rest > n ? whole + 1 : whole;
        }
        const long long a = a1 + step * i;
        const long long x = xMajor ? a : b, y = xMajor ? b : a;
        if (x >= 0 && x < w && y >= 0 && y < h)
            p.insert({int(x), int(y)});
    }
    return p;
}

struct Drawn
{
    const char* name;
    int x1, y1, x2, y2;
    Pixels expected;
};

const Drawn kDrawn[] = {
    {"dot", 3, 4, 3, 4, {{3, 4}}},
    {"across", 1, 2, 4, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
    {"down", 2, 5, 2, 3, {{2, 3}, {2, 4}, {2, 5}}},
    {"fortyFive", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
    // Half-way at x = 2: the pixel above.
    {"shallowTie", 0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}},
    {"shallowTieReversed", 4, 1, 0, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}},
    {"shallowUp", 0, 3, 6, 1, {{0, 3}, {1, 3}, {2, 2}, {3, 2}, {4, 2}, {5, 1}, {6, 1}}},
    // Half-way at y = 1: the pixel to the left.
    {"steepTie", 0, 0, 1, 2, {{0, 0}, {0, 1}, {1, 2}}},
    {"cutAtTheLeftEdge", -2, 0, 2, 2, {{0, 1}, {1, 1}, {2, 2}}},
    {"whollyOutside", -9, -9, -2, -5, {}},
};

class Lines : public testing::TestWithParam<Drawn>
{
};

TEST_P(Lines, SetThesePixels)
{
    const Drawn& d = GetParam();
    RasterCanvas c = pixelCanvas(8, 6);
    c.Line(d.x1, d.y1, d.x2, d.y2, kGreen);
    EXPECT_EQ(lit(c), d.expected);
    EXPECT_EQ(lit(c), reference(d.x1, d.y1, d.x2, d.y2, 8, 6));
}

INSTANTIATE_TEST_SUITE_P(Raster, Lines, testing::ValuesIn(kDrawn),
                         [](const auto& info) { return std::string(info.param.name); });

// Every direction and slope, ties among them, lines cut by every edge: the
// same pixels as the reference, and as the line drawn the other way. Drawn one
// over another in three colours, a quarter of them in a few rows and columns,
// where lines cover each other, in runs of eight of one colour: the later
// colour wins, pixel for pixel.
TEST(Raster, ThousandsOfLinesFollowTheRule)
{
    constexpr int w = 47, h = 31;
    const plot::Rgb colours[] = {plot::kAxisColour, plot::kCurveColour, kGreen};
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> coordinate(-12, 60), shortStep(-6, 6);
    std::uniform_int_distribution<int> inside(0, 30), few(10, 11);
    plot::Rgb colour = kGreen;
    RasterCanvas pile = pixelCanvas(w, h);
    std::vector<std::uint32_t> pileWanted(w * h, raster::pixelOf({0, 0, 0}));
    for (int i = 0; i < 4000; ++i) {
        int x1 = coordinate(random), y1 = coordinate(random);
        const bool near = i % 2 == 0; // short lines, where ties are frequent
        int x2 = near ? x1 + shortStep(random) : coordinate(random);
        int y2 = near ? y1 + shortStep(random) : coordinate(random);
        if (i % 8 == 0)
            colour = colours[random() % 3];
        const char kind = "rvvvrvhh"[i % 8]; // random, or in a column or row the others share
        if (kind != 'r') {
            const int at = few(random), from = inside(random), to = from + shortStep(random);
            x1 = x2 = kind == 'v' ? at : from;
            y1 = y2 = kind == 'v' ? from : at;
            (kind == 'v' ? y2 : x2) = to;
        }
        RasterCanvas forward = pixelCanvas(w, h), backward = pixelCanvas(w, h);
        forward.Line(x1, y1, x2, y2, colour);
        backward.Line(x2, y2, x1, y1, colour);
        pile.Line(x1, y1, x2, y2, colour);
        const Pixels want = reference(x1, y1, x2, y2, w, h);
        ASSERT_EQ(lit(forward), want) << x1 << "," << y1 << " to " << x2 << "," << y2;
        ASSERT_EQ(lit(backward), want) << x2 << "," << y2 << " to " << x1 << "," << y1;
        for (const auto& [x, y] : want)
            pileWanted[y * w + x] = raster::pixelOf(colour);
        ASSERT_TRUE(std::equal(pileWanted.begin(), pileWanted.end(), pile.pixels()))
            << "line " << i << ": " << x1 << "," << y1 << " to " << x2 << "," << y2;
    }
}

// Far-off ends are held where the arithmetic stays exact; only the steps
// inside the buffer are walked.
TEST(Raster, FarOffLinesCostNoMoreThanTheBuffer)
{
    RasterCanvas c = pixelCanvas(40, 30);
    c.Line(-3e9f, 15, 3e9f, 15, kGreen);
    c.Line(20, -1e30f, 20, 1e30f, kGreen);
    Pixels want;
    for (int x = 0; x < 40; ++x)
        want.insert({x, 15});
    for (int y = 0; y < 30; ++y)
        want.insert({20, y});
    EXPECT_EQ(lit(c), want);
    c.Line(-1e20f, -1e20f, 1e20f, 1e20f - 1, kGreen); // held at +-2^24
    const Pixels diagonal = reference(-(1 << 24), -(1 << 24), 1 << 24, 1 << 24, 40, 30);
    EXPECT_EQ(diagonal.size(), 30u);
    want.insert(diagonal.begin(), diagonal.end());
    EXPECT_EQ(lit(c), want);
}

// Twips to device pixels: the pixel that holds the point.
struct Mapped
{
    const char* name;
    float twips;
    double ratio, twipsPerPixel;
    int pixel;
};

const Mapped kMapped[] = {
    {"axisRow", 2977.5f, 1, 15, 198},
    {"curveRow", 2978, 1, 15, 198},
    {"lastColumn", 8954.9f, 1, 15, 596},
    {"scale2", 100, 2, 15, 13},
    {"scale125", 100, 1.25, 15, 8},
    {"grownForAFont", 100, 1, 11.25, 8},
    {"negative", -1, 1, 15, -1},
    {"farOff", 1e30f, 1, 15, 1 << 24},
    {"farOffNegative", -1e30f, 2, 15, -(1 << 24)},
};

class Mapping : public testing::TestWithParam<Mapped>
{
};

TEST_P(Mapping, TakesThePixelThatHoldsThePoint)
{
    const Mapped& m = GetParam();
    EXPECT_EQ(RasterCanvas::toDevice(m.twips, m.ratio, m.twipsPerPixel), m.pixel);
}

INSTANTIATE_TEST_SUITE_P(Raster, Mapping, testing::ValuesIn(kMapped),
                         [](const auto& info) { return std::string(info.param.name); });

// Every point drawn lands in the pixel toDevice() gives, at every ratio, next to
// pixel edges too (whole multiples of a pixel's twips, and a float step off them).
TEST(Raster, DrawsEachPointInThePixelThatHoldsIt)
{
    std::mt19937 random(91226);
    std::uniform_real_distribution<float> anywhere(-100, 9100);
    std::uniform_int_distribution<int> edge(-5, 600);
    for (const double ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0})
        for (const double twips : {15.0, 11.25, 13.2}) {
            RasterCanvas c;
            const int w = int(std::ceil(600 * ratio));
            c.setArea({600, 1, w, 1, ratio, twips, 15});
            c.Erase();
            c.takeChanged();
            for (int i = 0; i < 3000; ++i) {
                float x = anywhere(random);
                if (i % 2) {
                    x = float(edge(random) * twips / ratio);
                    x = i % 3 ? x : std::nextafter(x, i % 4 ? 1e9f : -1e9f);
                }
                // Each point in a colour of its own from the last: it is the one
                // change, and shows where it was drawn.
                const plot::Rgb colour = i % 2 ? kGreen : plot::kCurveColour;
                c.Line(x, 0, x, 0, colour);
                const int want = RasterCanvas::toDevice(x, ratio, twips);
                const PixelRect changed = c.takeChanged();
                if (want < 0 || want >= w) {
                    ASSERT_TRUE(changed.empty()) << x << " twips at " << ratio;
                    continue;
                }
                ASSERT_EQ(changed, (PixelRect{want, 0, want, 0}))
                    << x << " twips at " << ratio << ", " << twips << " twips a pixel";
                ASSERT_EQ(c.pixels()[want], raster::pixelOf(colour));
            }
        }
}

TEST(Raster, TellsWhatChangedSinceItLastTold)
{
    RasterCanvas c;
    c.setArea({597, 397, 597, 397, 1, 15, 15});
    EXPECT_EQ(c.ScaleWidth(), 8955.0f);
    EXPECT_EQ(c.ScaleHeight(), 5955.0f);
    c.Erase();
    EXPECT_EQ(c.takeChanged(), (PixelRect{0, 0, 596, 396})) << "all of it";
    EXPECT_EQ(c.takeChanged(), PixelRect{});
    c.Line(150, 300, 450, 150, kGreen);     // pixels 10,20 to 30,10
    c.Line(8000, 5000, 9500, 5000, kGreen); // runs off the right edge
    EXPECT_EQ(c.takeChanged(), (PixelRect{10, 10, 596, 333}));
    c.Line(-3000, -3000, -1500, -1500, kGreen);
    EXPECT_TRUE(c.takeChanged().empty()) << "nothing inside changed";
}

// A new ratio or size: the buffer is stale until the next Erase, which draws
// at the new drawing area, black; a buffer that cannot be had fails as the canvas.
TEST(Raster, FollowsItsDrawingAreaAtTheNextErase)
{
    RasterCanvas c;
    const raster::DrawingArea normal{597, 397, 597, 397, 1, 15, 15};
    const raster::DrawingArea scale2{597, 397, 1194, 794, 2, 15, 15};
    c.setArea(normal);
    EXPECT_FALSE(c.stale()) << "nothing drawn yet";
    c.Line(100, 0, 100, 5955, kGreen);
    EXPECT_EQ(c.width(), 597) << "the first line allocates";
    c.setArea(scale2);
    EXPECT_TRUE(c.stale());
    c.Erase();
    EXPECT_FALSE(c.stale());
    EXPECT_EQ(std::make_pair(c.width(), c.height()), std::make_pair(1194, 794));
    EXPECT_TRUE(lit(c).empty());
    c.Line(100, 0, 100, 5955, kGreen);
    EXPECT_EQ(lit(c).begin()->first, 13) << "mapped at the new ratio";

    c.setArea({1 << 24, 1 << 24, 1 << 24, 1 << 24, 1, 15, 15});
    EXPECT_EQ(fakes::errorOf([&] { c.Erase(); }), plot::ErrorNumber::CanvasFailure);
    EXPECT_EQ(c.width(), 1194) << "the old buffer stays";
    EXPECT_EQ(fakes::errorOf([&] { c.Line(0, 0, std::nanf(""), 1, kGreen); }),
              plot::ErrorNumber::CanvasFailure);
}

} // namespace
