#pragma once

namespace app {

// The button that Alt with a key presses: the one rule every front-end follows.
// `typed` is the character the key types on the layout in use (0 for none) and
// `place` the letter or digit a US keyboard prints on the same key (0 for none).
// A typed Latin letter or digit names the access key, in either case: Alt with
// the key that types "c" presses "&Calculate" on Dvorak as on QWERTY, and Alt
// with a key that types "q" presses nothing. Any other key names it by its
// place, so the key labelled 1 presses "&1 Trapezoid" on AZERTY, whose digits
// need Shift, and the key labelled C presses "&Calculate" on a Russian layout.
// Returns the button's name in kLayout, or nullptr where the chord presses none.
const char* buttonForKey(char32_t typed, char32_t place);

} // namespace app
