#pragma once

#include <QString>

namespace ui {

// QT_SCALE_FACTOR where Qt would take it as it stands. Each returns the one
// line that refuses it, or an empty string where it is fine.
// Before the application starts: 0, below 0 or no number, where Qt shows a
// window of one pixel that never ends.
QString unusableScaleFactor();
// Once the screens are known: a factor that makes the window larger than every
// screen, which would show the form, and any report of it, cut off and beyond
// reach. A factor up to 1 never grows the window, and is taken as it is.
QString oversizedScaleFactor();

} // namespace ui
