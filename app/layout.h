#pragma once

namespace app {

enum class ControlKind { Canvas, Button, ResultBox };

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

} // namespace app
