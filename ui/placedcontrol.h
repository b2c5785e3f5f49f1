#pragma once

#include "app/layout.h"

class QWidget;

namespace ui {

// A control with the place in app::kLayout it was made from: the two travel
// together, so nothing pairs them by position in a list.
struct PlacedControl
{
    QWidget* widget;
    const app::ControlPlace* place;
};

} // namespace ui
