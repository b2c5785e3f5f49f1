#pragma once

namespace ui {

// Tells assistive technology what each of the program's own widget classes is:
// the window a frame (a top-level window), the canvas an image, the announcer's
// child a notification. Left to Qt, a plain top-level widget reads as a filler
// and a QFrame as a frame, which a screen reader announces as a second window
// inside the first. Called before the first control exists: Qt keeps the first
// interface it made for a widget for the whole life of the widget.
void installAccessibleRoles();

} // namespace ui
