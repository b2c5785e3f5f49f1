#pragma once

class QKeyEvent;

namespace ui {

// Alt with a key that matched no access key. Where that key gives no Latin
// letter or digit (an unshifted digit key on French AZERTY, a letter key on a
// Russian layout), the access key is the character the key carries in its place
// on a US keyboard: Alt + the key labelled 1 presses "&1 Trapezoid" on every
// layout. Returns that access key, upper case, or 0 where the key is no such
// chord. AltGr is no Alt: the characters it types are untouched.
char accessKeyByPlace(const QKeyEvent& event);

} // namespace ui
