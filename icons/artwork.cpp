#include "icons/artwork.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace icons {

std::vector<Shape> artwork()
{
    std::vector<Shape> shapes = {
        {Kind::Fill, 0x000000, {{1, 3}, {31, 29}}},        // outline
        {Kind::Fill, 0xc0c0c0, {{2, 4}, {30, 28}}},        // frame
        {Kind::Fill, 0x000080, {{2, 4}, {30, 9}}},         // title bar
        {Kind::Fill, 0xffffff, {{25, 5}, {29, 8}}},        // close box
        {Kind::Fill, 0x000000, {{4, 11}, {28, 26}}},       // the black canvas
        {Kind::Stroke, 0xffff00, {{4, 18.5}, {28, 18.5}}}, // axes
        {Kind::Stroke, 0xffff00, {{6.5, 11}, {6.5, 26}}},
    };
    // Two trapezoids under the first arch, then the sine curve over them.
    const double x0 = 6.5, width = 21, mid = 18.5, amplitude = 6;
    const double pi = std::acos(-1.0);
    auto at = [&](double t) {
        return Point{x0 + width * t, mid - amplitude * std::sin(2 * pi * t)};
    };
    shapes.push_back({Kind::Stroke, 0x00ff00, {at(0), at(0.25), Point{at(0.25).x, mid}}});
    shapes.push_back({Kind::Stroke, 0x00ff00, {at(0.25), at(0.5)}});
    Shape curve{Kind::Stroke, 0x00ffff, {}};
    for (int i = 0; i <= 24; ++i)
        curve.points.push_back(at(i / 24.0));
    shapes.push_back(curve);
    return shapes;
}

namespace {

// Thousandths, with a period whatever the locale: "18.500"; short drops the
// trailing zeros, "18.5", "2".
std::string number(double v, bool isShort = false)
{
    const long thousandths = std::lround(v * 1000);
    const char* sign = thousandths < 0 ? "-" : "";
    const long whole = std::labs(thousandths) / 1000, part = std::labs(thousandths) % 1000;
    std::string text = sign + std::to_string(whole);
    std::string digits = std::to_string(1000 + part).substr(1);
    if (isShort)
        digits.erase(digits.find_last_not_of('0') + 1);
    return digits.empty() ? text : text + '.' + digits;
}

std::string colour(std::uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", unsigned(rgb & 0xffffff));
    return text;
}

} // namespace

std::string svg()
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
                      "viewBox=\"0 0 32 32\">\n"
                      "  <title>Integration Velmar</title>\n";
    for (const Shape& s : artwork()) {
        if (s.kind == Kind::Fill) {
            const Point a = s.points[0], b = s.points[1];
            out += "  <rect x=\"" + number(a.x, true) + "\" y=\"" + number(a.y, true) +
                   "\" width=\"" + number(b.x - a.x, true) + "\" height=\"" +
                   number(b.y - a.y, true) + "\" fill=\"" + colour(s.colour) + "\"/>\n";
        } else {
            out += "  <polyline fill=\"none\" stroke=\"" + colour(s.colour) +
                   "\" stroke-width=\"1\" stroke-linecap=\"round\" stroke-linejoin=\"round\" "
                   "points=\"";
            for (const Point& p : s.points)
                out += number(p.x) + ',' + number(p.y) + ' ';
            out += "\"/>\n";
        }
    }
    return out + "</svg>\n";
}

} // namespace icons
