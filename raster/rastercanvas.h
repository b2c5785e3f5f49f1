#pragma once

#include "plot/canvas.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace raster {

// One pixel as the buffer holds it. On the desktop, 0xffRRGGBB in a 32-bit
// word, as Qt's and Windows' 32-bit images take it. In the browser, the bytes
// red, green, blue, 255 in memory, as the page's image data takes it: the page
// puts the changed rectangle straight from the buffer, with no conversion.
inline constexpr std::uint32_t pixelOf(plot::Rgb c)
{
#ifdef __EMSCRIPTEN__
    return 0xff000000u | std::uint32_t(c.blue) << 16 | std::uint32_t(c.green) << 8 | c.red;
#else
    return 0xff000000u | std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue;
#endif
}

// A rectangle of device pixels, both edges included; empty when right < left.
struct PixelRect
{
    int left = 0, top = 0, right = -1, bottom = -1;

    bool empty() const { return right < left || bottom < top; }
    void unite(const PixelRect& other);
    friend bool operator==(const PixelRect& a, const PixelRect& b)
    {
        return (a.empty() && b.empty()) ||
               (a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom);
    }
};

// The drawing area as the window lays it out.
struct DrawingArea
{
    int width = 0, height = 0;             // logical pixels
    int deviceWidth = 0, deviceHeight = 0; // the pixels of the screen it covers
    double ratio = 1;                      // device pixels to a logical pixel
    double twipsX = 15, twipsY = 15;       // twips to a logical pixel, across and down
};

// The canvas the engine draws on: a black buffer of device pixels that keeps
// what is drawn, and the rectangle changed since the last takeChanged(), for the
// front-end to put on view. Coordinates are twips; a twip coordinate falls in
// the device pixel that holds it (see toDevice()).
//
// Lines are one device pixel wide and set both end pixels. An axis-parallel
// line sets every pixel between its ends. Any other line follows one rule:
// along its longer axis, each column (or row) from one end pixel to the other
// gets the one pixel whose centre is nearest the exact line joining the two end
// pixels' centres; where two are equally near, the one with the smaller
// coordinate (above, or to the left). So a line and its reverse set the same
// pixels, and a line cut by the buffer's edge sets the pixels the whole line
// would there.
class RasterCanvas final : public plot::Canvas
{
public:
    // The drawing area the next Erase() draws at. Until the buffer exists, the first
    // Line() allocates it too.
    void setArea(const DrawingArea& area);
    const DrawingArea& area() const { return m_area; }

    // True once the buffer holds a picture drawn at another device pixel ratio
    // or size than the area's: it must be drawn anew, not scaled.
    bool stale() const { return !m_pixels.empty() && !drawnAtArea(); }

    float ScaleWidth() const override { return float(m_area.width * m_area.twipsX); }
    float ScaleHeight() const override { return float(m_area.height * m_area.twipsY); }
    void Line(float x1, float y1, float x2, float y2, plot::Rgb colour) override;
    void Erase() override;

    // The buffer: width() x height() device pixels, row after row, no padding.
    // Empty until the first drawing.
    const std::uint32_t* pixels() const { return m_pixels.data(); }
    int width() const { return m_width; }
    int height() const { return m_height; }
    double ratio() const { return m_ratio; }

    // The pixels changed since the last call, within the buffer.
    PixelRect takeChanged();

    // Device pixel of a twip coordinate: the pixel that holds the point
    // (rounding down), so 2977.5 and 2978 twips both fall in pixel 198 at the
    // normal size. Far-off points are held at ±2^24.
    static int toDevice(float twips, double ratio, double twipsPerPixel);

    // The most pixels a buffer may have: far beyond any screen.
    static constexpr long long kMaxPixels = 1LL << 28;

private:
    bool drawnAtArea() const
    {
        return m_width == m_area.deviceWidth && m_height == m_area.deviceHeight &&
               m_ratio == m_area.ratio;
    }
    void blacken(); // the whole buffer
    void allocate();
    void setScale();
    int device(float twips, bool across) const;
    void span(int x1, int y1, int x2, int y2, std::uint32_t pixel);
    void fill(bool vertical, int at, int from, int to, std::uint32_t pixel);
    void diagonal(int x1, int y1, int x2, int y2, std::uint32_t pixel);

    // A run of pixels known to hold one colour: the last axis-parallel line,
    // grown by the ones that touched it in the same row or column. Lines of that
    // colour keep it true; any other colour, or an erase, ends it. Of a line
    // along it only the pixels beyond it are written: the sides that trapezoids
    // share, and the many that fall in one device column, are written once.
    struct Run
    {
        bool valid = false;
        bool vertical = false;
        int at = 0, from = 0, to = 0; // the column (or row), and the pixels along it
        std::uint32_t pixel = 0;
    };

    DrawingArea m_area;
    Run m_run;
    // New pixels are left as they come: blacken() writes every one at once.
    template <typename T> struct Unfilled : std::allocator<T>
    {
        template <typename U> struct rebind
        {
            using other = Unfilled<U>;
        };
        template <typename U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    };
    std::vector<std::uint32_t, Unfilled<std::uint32_t>> m_pixels;
    int m_width = 0, m_height = 0;
    double m_ratio = 1;                // the buffer's
    double m_scaleX = 1, m_scaleY = 1; // device pixels to a twip, at that ratio
    PixelRect m_changed;
};

} // namespace raster
