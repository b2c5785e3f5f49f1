#include "plot/canvas.h"

#include "plot/fpstatus.h"

namespace plot {

float scaleWidth(const Canvas& canvas)
{
    StatusKeeper keep;
    return canvas.ScaleWidth();
}

float scaleHeight(const Canvas& canvas)
{
    StatusKeeper keep;
    return canvas.ScaleHeight();
}

void line(Canvas& canvas, float x1, float y1, float x2, float y2, Rgb colour)
{
    StatusKeeper keep;
    canvas.Line(x1, y1, x2, y2, colour);
}

void erase(Canvas& canvas)
{
    StatusKeeper keep;
    canvas.Erase();
}

std::string text(const TextBox& box)
{
    StatusKeeper keep;
    return box.Text();
}

void setText(TextBox& box, const std::string& text)
{
    StatusKeeper keep;
    box.SetText(text);
}

} // namespace plot
