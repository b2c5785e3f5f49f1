#pragma once

class QKeyEvent;

namespace ui {

// Alt alone, or with Shift: the chord of an access key. AltGr, Ctrl+Alt and
// the Meta key are no such chord: the characters they type are untouched.
bool isAltChord(const QKeyEvent& event);

// The button an Alt chord presses by the core's rule (app::buttonForKey), or
// nullptr: what the key types is the event's key, its place the character a
// US keyboard prints on the key with its scan code.
const char* buttonForKey(const QKeyEvent& event);

} // namespace ui
