#include "ui/accesskeys.h"

#include <QKeyEvent>
#include <QLatin1String>

namespace ui {

namespace {

// The character a key carries on a US keyboard, by its keycode (evdev's code
// plus 8, as X11 and Wayland number keys). The same place carries the digit on
// the keyboards whose digits need Shift (French, Belgian, Czech, Slovak,
// Lithuanian) and the Latin letter on the keyboards of non-Latin layouts
// (Russian, Ukrainian, Greek, Hebrew, Arabic), which print it there.
char usCharacter(quint32 keycode)
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
            return r.row.at(keycode - r.first).toLatin1();
    return 0;
}

} // namespace

char accessKeyByPlace(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers chord =
        event.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
    const int key = event.key();
    const bool latin =
        (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z);
    if (chord != Qt::AltModifier || latin)
        return 0;
    return usCharacter(event.nativeScanCode());
}

} // namespace ui
