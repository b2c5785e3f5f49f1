#include "app/accesskeys.h"

#include "app/layout.h"

namespace app {

namespace {

bool latinOrDigit(char32_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

const char* buttonWithAccessKey(char32_t key)
{
    if (key >= 'a' && key <= 'z')
        key -= 'a' - 'A';
    for (const ControlPlace& p : kLayout)
        if (p.kind == ControlKind::Button && char32_t(accessKey(p.caption)) == key)
            return p.name;
    return nullptr;
}

} // namespace

const char* buttonForKey(char32_t typed, char32_t place)
{
    if (latinOrDigit(typed))
        return buttonWithAccessKey(typed);
    return latinOrDigit(place) ? buttonWithAccessKey(place) : nullptr;
}

} // namespace app
