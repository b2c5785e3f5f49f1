#pragma once

#include <cstdint>
#include <string>

namespace plot {

struct Rgb
{
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(Rgb a, Rgb b)
    {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

inline constexpr Rgb kAxisColour{255, 255, 0};
inline constexpr Rgb kCurveColour{100, 255, 255};
inline constexpr Rgb kTrapezoidColour{0, 255, 0};

// The drawing surface: extent in twips (origin top-left, Y downward), one-pixel
// solid lines in a colour, and erasing. An operation that fails throws
// RuntimeError; the plotting code never catches it. The engine calls the canvas
// and the box below only through plot/calls.h.
class Canvas
{
public:
    virtual ~Canvas() = default;
    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;
    virtual void Line(float x1, float y1, float x2, float y2, Rgb colour) = 0;
    virtual void Erase() = 0;
};

// The result box: its whole text, set and read back exactly (CR LF included).
class TextBox
{
public:
    virtual ~TextBox() = default;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
};

} // namespace plot
