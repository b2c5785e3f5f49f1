#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The program's icon, a picture of a window showing the trapezoid plot, as a
// table of shapes on a 32-unit grid: the one artwork every icon is drawn from,
// the desktop's images and the browser page's alike.
namespace icons {

enum class Kind { Fill, Stroke };

struct Point
{
    double x, y;
};

struct Shape
{
    Kind kind;
    std::uint32_t colour;      // 0xRRGGBB
    std::vector<Point> points; // Fill: rectangle corners; Stroke: a polyline
};

std::vector<Shape> artwork();

// The artwork as a scalable image, a standalone SVG document.
std::string svg();

} // namespace icons
