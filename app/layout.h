#pragma once

#include <string>
#include <string_view>

namespace app {

enum class ControlKind { Canvas, Button, ResultBox };

// The kind's name where a front-end is told the layout as data.
constexpr const char* kindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Canvas:
        return "canvas";
    case ControlKind::Button:
        return "button";
    case ControlKind::ResultBox:
        return "box";
    }
    return nullptr;
}

// A control's outer rectangle in pixels at 96 dpi (twips / 15).
struct Rect
{
    int left, top, width, height;
};

// Where a control sits and what it is called, in tab order.
struct ControlPlace
{
    const char* name; // the name the form knows it by
    ControlKind kind;
    const char* caption;     // with "&" before the access key; nullptr for no caption
    Rect geometry;           // pixels at 96 dpi
    const char* spokenName;  // for assistive technology
    const char* description; // nullptr: the form sets it at run time
};

inline constexpr const char* kCaption = "Integration Velmar";
inline constexpr int kClientWidth = 698;
inline constexpr int kClientHeight = 526;
// The canvas's sunken border, and its twips to a pixel at the normal size: its
// drawing area, 597 x 397 pixels, measures 8955 x 5955 twips.
inline constexpr int kCanvasBorder = 2;
inline constexpr int kTwipsPerPixel = 15;

// The one table every front-end makes the controls from, places them by and
// tabs through: picGraph, the five buttons left of the box in the tab order,
// txtRes, cmd10Rec.
inline constexpr ControlPlace kLayout[8] = {
    {"picGraph", ControlKind::Canvas, nullptr, {48, 8, 601, 401}, "Graph", nullptr},
    {"cmd1rect",
     ControlKind::Button,
     "&1 Trapezoid",
     {16, 464, 105, 41},
     "1 Trapezoid",
     "Approximate the integral of sin(x) from 0 to pi with one trapezoid"},
    {"cmd2rect",
     ControlKind::Button,
     "&2 Trapezoids",
     {136, 464, 97, 41},
     "2 Trapezoids",
     "Approximate the integral with two trapezoids"},
    {"cmdcalc",
     ControlKind::Button,
     "&Calculate",
     {360, 464, 113, 41},
     "Calculate",
     "Approximate the integral with 10000 trapezoids"},
    {"cmdclear",
     ControlKind::Button,
     "Clea&r",
     {480, 464, 97, 41},
     "Clear",
     "Remove the trapezoids and empty the result box"},
    {"cmdexit", ControlKind::Button, "E&xit", {592, 464, 97, 41}, "Exit", "End the program"},
    {"txtRes",
     ControlKind::ResultBox,
     nullptr,
     {48, 416, 601, 41},
     "Result",
     "The approximate integral and the width of one trapezoid"},
    {"cmd10Rec",
     ControlKind::Button,
     "1&0 Trapezoids",
     {248, 464, 97, 41},
     "10 Trapezoids",
     "Approximate the integral with ten trapezoids"},
};

// Every control's kind has its name.
constexpr bool everyKindNamed()
{
    for (const ControlPlace& p : kLayout)
        if (!kindName(p.kind))
            return false;
    return true;
}
static_assert(everyKindNamed(), "a kind in kLayout has no name");

// A caption's access key: "&Calculate" shows "Calculate" with the C marked, and
// Alt+C presses it. The key is where the "&" stands in the caption as shown.
constexpr std::size_t accessKeyAt(std::string_view caption)
{
    return caption.find('&');
}
constexpr char accessKey(std::string_view caption)
{
    const char c = caption[accessKeyAt(caption) + 1];
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}
inline std::string shownCaption(std::string_view caption)
{
    std::string shown(caption);
    return shown.erase(accessKeyAt(caption), 1);
}

// Every button's caption names an access key, a Latin letter or digit.
constexpr bool everyButtonHasAccessKey()
{
    for (const ControlPlace& p : kLayout) {
        if (p.kind != ControlKind::Button)
            continue;
        const std::string_view caption = p.caption;
        const std::size_t at = accessKeyAt(caption);
        if (at == std::string_view::npos || at + 1 >= caption.size())
            return false;
        const char key = accessKey(caption);
        if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')))
            return false;
    }
    return true;
}
static_assert(everyButtonHasAccessKey(), "a button in kLayout has no access key");

} // namespace app
