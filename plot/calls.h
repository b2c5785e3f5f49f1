#pragma once

#include "plot/canvas.h"
#include "plot/fpstatus.h"

#include <string>

namespace plot {

// The engine calls the canvas and the box only through these. Each keeps the
// floating-point status as it was across the call: a fault the engine reports
// is one its own arithmetic raised, never one the toolkit raised (or cleared).
inline float scaleWidth(const Canvas& canvas)
{
    StatusKeeper keep;
    return canvas.ScaleWidth();
}

inline float scaleHeight(const Canvas& canvas)
{
    StatusKeeper keep;
    return canvas.ScaleHeight();
}

inline void line(Canvas& canvas, float x1, float y1, float x2, float y2, Rgb colour)
{
    StatusKeeper keep;
    canvas.Line(x1, y1, x2, y2, colour);
}

inline void erase(Canvas& canvas)
{
    StatusKeeper keep;
    canvas.Erase();
}

inline std::string text(const TextBox& box)
{
    StatusKeeper keep;
    return box.Text();
}

inline void setText(TextBox& box, const std::string& text)
{
    StatusKeeper keep;
    box.SetText(text);
}

} // namespace plot
