#pragma once

#include <windows.h>

namespace win {

// The button an Alt chord presses, by the core's rule, from the WM_SYSCHAR
// the chord made (what the key types, and its scan code's place on a US
// keyboard). nullptr for none.
const char* buttonForChord(const MSG& message);

} // namespace win
