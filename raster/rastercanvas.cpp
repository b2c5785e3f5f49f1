#include "raster/rastercanvas.h"

#include "plot/error.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <utility>

namespace raster {
namespace {

// Far outside any buffer, small enough that the line arithmetic below, in 64
// bits, cannot overflow.
constexpr double kDeviceLimit = 1 << 24;

// a / b rounded toward minus infinity, for b > 0.
long long floorDiv(long long a, long long b)
{
    const long long q = a / b;
    return q - (a % b < 0);
}

} // namespace

void PixelRect::unite(const PixelRect& other)
{
    if (other.empty())
        return;
    if (empty()) {
        *this = other;
        return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

int RasterCanvas::toDevice(float twips, double ratio, double twipsPerPixel)
{
    const double pixels = std::floor(double(twips) * ratio / twipsPerPixel);
    return static_cast<int>(std::clamp(pixels, -kDeviceLimit, kDeviceLimit));
}

void RasterCanvas::setArea(const DrawingArea& area)
{
    m_area = area;
    setScale();
}

void RasterCanvas::setScale()
{
    m_scaleX = m_ratio / m_area.twipsX;
    m_scaleY = m_ratio / m_area.twipsY;
}

// toDevice() for the buffer, with one multiplication for its multiplication and
// division. The product differs from the exact formula's by a few units in the
// last place at most, so the two can take different pixels only next to a
// pixel's edge: there the exact formula decides.
int RasterCanvas::device(float twips, bool across) const
{
    constexpr double kNearEdge = 1.0 / (1 << 20);
    const double quick = double(twips) * (across ? m_scaleX : m_scaleY);
    if (std::fabs(quick) < kDeviceLimit) {
        const int whole = int(quick);
        const int below = whole - (whole > quick);
        const double inside = quick - below;
        if (inside > kNearEdge && inside < 1 - kNearEdge)
            return below;
    }
    return toDevice(twips, m_ratio, across ? m_area.twipsX : m_area.twipsY);
}

void RasterCanvas::allocate()
{
    const int w = m_area.deviceWidth, h = m_area.deviceHeight;
    const long long count = (long long)std::max(w, 0) * std::max(h, 0);
    auto refuse = [&] {
        plot::raise(plot::ErrorNumber::CanvasFailure,
                    "no memory for a " + std::to_string(w) + " x " + std::to_string(h) + " image");
    };
    if (count > kMaxPixels)
        refuse();
    try {
        // Black from the start: at a new density the old picture is not scaled
        // over, the form draws it anew.
        decltype(m_pixels)(std::size_t(count)).swap(m_pixels);
    } catch (const std::bad_alloc&) {
        refuse();
    }
    blacken();
    m_width = w;
    m_height = h;
    m_ratio = m_area.ratio;
    setScale();
    m_changed = {0, 0, w - 1, h - 1};
    m_run = {};
}

// A few pixels one by one, the rest as copies of what is already black, each
// twice as long as the one before: a handful of block copies, which the
// browser's JavaScript build makes with one call each rather than a loop it
// interprets pixel by pixel.
void RasterCanvas::blacken()
{
    const std::size_t count = m_pixels.size();
    std::size_t done = std::min<std::size_t>(count, 256);
    std::fill_n(m_pixels.data(), done, pixelOf({0, 0, 0}));
    while (done < count) {
        const std::size_t n = std::min(done, count - done);
        std::memcpy(m_pixels.data() + done, m_pixels.data(), n * sizeof(std::uint32_t));
        done += n;
    }
}

void RasterCanvas::Erase()
{
    if (m_pixels.empty() || !drawnAtArea()) {
        allocate();
        return;
    }
    blacken();
    m_changed = {0, 0, m_width - 1, m_height - 1};
    m_run = {};
}

void RasterCanvas::Line(float x1, float y1, float x2, float y2, plot::Rgb colour)
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        plot::raise(plot::ErrorNumber::CanvasFailure, "a line end is not a number");
    if (m_pixels.empty())
        allocate();
    const int px1 = device(x1, true), py1 = device(y1, false);
    const int px2 = device(x2, true), py2 = device(y2, false);
    m_changed.unite(
        {std::min(px1, px2), std::min(py1, py2), std::max(px1, px2), std::max(py1, py2)});
    const std::uint32_t pixel = pixelOf(colour);
    if (pixel != m_run.pixel)
        m_run.valid = false;
    if (px1 == px2 || py1 == py2)
        span(px1, py1, px2, py2, pixel);
    else
        diagonal(px1, py1, px2, py2, pixel);
}

PixelRect RasterCanvas::takeChanged()
{
    PixelRect changed = std::exchange(m_changed, PixelRect{});
    changed.left = std::max(changed.left, 0);
    changed.top = std::max(changed.top, 0);
    changed.right = std::min(changed.right, m_width - 1);
    changed.bottom = std::min(changed.bottom, m_height - 1);
    return changed.empty() ? PixelRect{} : changed;
}

// An axis-parallel line: one run of pixels, cut to the buffer.
void RasterCanvas::span(int x1, int y1, int x2, int y2, std::uint32_t pixel)
{
    const int left = std::max(std::min(x1, x2), 0), right = std::min(std::max(x1, x2), m_width - 1);
    const int top = std::max(std::min(y1, y2), 0),
              bottom = std::min(std::max(y1, y2), m_height - 1);
    if (left > right || top > bottom)
        return;
    const bool vertical = left == right;
    const int at = vertical ? left : top, from = vertical ? top : left;
    const int to = vertical ? bottom : right;
    const bool sameLine = m_run.valid && m_run.vertical == vertical && m_run.at == at;
    if (sameLine && from <= m_run.to + 1 && to >= m_run.from - 1) {
        // Only what lies beyond the run is new.
        if (from < m_run.from)
            fill(vertical, at, from, m_run.from - 1, pixel);
        if (to > m_run.to)
            fill(vertical, at, m_run.to + 1, to, pixel);
        m_run.from = std::min(from, m_run.from);
        m_run.to = std::max(to, m_run.to);
        return;
    }
    fill(vertical, at, from, to, pixel);
    m_run = {true, vertical, at, from, to, pixel};
}

void RasterCanvas::fill(bool vertical, int at, int from, int to, std::uint32_t pixel)
{
    if (vertical) {
        std::uint32_t* p = m_pixels.data() + std::size_t(from) * m_width + at;
        for (int y = from; y <= to; ++y, p += m_width)
            *p = pixel;
    } else {
        std::uint32_t* p = m_pixels.data() + std::size_t(at) * m_width + from;
        std::fill(p, p + (to - from + 1), pixel);
    }
}

// Any other line, by the rule in the header. Walked along the major axis from
// the end with the smaller major coordinate, which the rule makes no different
// from the other: at step i of n the exact minor coordinate is m1 + i * d / n,
// and the pixel taken is the nearest, ties to the smaller, that is
// m1 + ceil((2 i d - n) / 2n). The quotient and its remainder are carried from
// step to step; only the steps inside the buffer are walked.
void RasterCanvas::diagonal(int x1, int y1, int x2, int y2, std::uint32_t pixel)
{
    const bool xMajor = std::abs(x2 - x1) >= std::abs(y2 - y1);
    int a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1; // a the major axis, b the minor
    int a2 = xMajor ? x2 : y2, b2 = xMajor ? y2 : x2;
    if (a2 < a1) {
        std::swap(a1, a2);
        std::swap(b1, b2);
    }
    const int aLimit = (xMajor ? m_width : m_height) - 1;
    const int bLimit = (xMajor ? m_height : m_width) - 1;
    const long long n = a2 - a1, d = b2 - b1, twoN = 2 * n;
    const long long first = std::max(0, -a1), last = std::min<long long>(n, aLimit - a1);
    if (first > last)
        return;
    // q = ceil(v / 2n) with v = 2 i d - n, and the remainder e = 2n q - v, 0 <= e < 2n.
    const long long v = 2 * first * d - n;
    long long q = -floorDiv(-v, twoN);
    long long e = twoN * q - v;
    const std::ptrdiff_t aStep = xMajor ? 1 : m_width, bStep = xMajor ? m_width : 1;
    std::uint32_t* const origin = m_pixels.data();
    for (long long i = first; i <= last; ++i) {
        const long long b = b1 + q;
        if (b >= 0 && b <= bLimit)
            origin[(a1 + i) * aStep + b * bStep] = pixel;
        // The next step adds 2d to v: |2d| <= 2n, so q moves by one at most.
        e -= 2 * d;
        if (e < 0) {
            ++q;
            e += twoN;
        } else if (e >= twoN) {
            --q;
            e -= twoN;
        }
    }
}

} // namespace raster
