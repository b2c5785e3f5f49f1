#include "ui/accesskeys.h"

#include "app/accesskeys.h"

#include <QKeyEvent>
#include <QLatin1String>

namespace ui {

namespace {

// The character a key carries on a US keyboard, by its keycode (evdev's code
// plus 8, as X11 and Wayland number keys): the digit on the keyboards whose
// digits need Shift, the Latin letter on the keyboards of non-Latin layouts,
// which print it there.
char32_t usCharacter(quint32 keycode)
{
    static const struct
    {
        quint32 first;
        QLatin1String row;
    } rows[] = {{10, QLatin1String("1234567890")},
                {24, QLatin1String("QWERTYUIOP")},
                {38, QLatin1String("ASDFGHJKL")},
                {52, QLatin1String("ZXCVBNM")}};
    for (const auto& r : rows)
        if (keycode >= r.first && keycode < r.first + quint32(r.row.size()))
            return char32_t(r.row.at(keycode - r.first).toLatin1());
    return 0;
}

} // namespace

bool isAltChord(const QKeyEvent& event)
{
    return (event.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) ==
           Qt::AltModifier;
}

const char* buttonForKey(const QKeyEvent& event)
{
    if (!isAltChord(event))
        return nullptr;
    // Qt names a key that types a character by that character (a letter in
    // upper case); other keys have codes beyond Unicode.
    const int key = event.key();
    const char32_t typed = key > 0 && key <= 0x10ffff ? char32_t(key) : 0;
    return app::buttonForKey(typed, usCharacter(event.nativeScanCode()));
}

} // namespace ui
