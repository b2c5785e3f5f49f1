#include "win/accesskeys.h"

#include "app/accesskeys.h"

#include <string_view>

namespace win {

namespace {

// The letter or digit a US keyboard prints on the key with this scan code
// (set 1, as Windows reports it), 0 for none.
char32_t usPlace(unsigned scanCode)
{
    static constexpr const char* kRows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    static constexpr unsigned kFirst[] = {0x02, 0x10, 0x1e, 0x2c};
    for (int row = 0; row < 4; ++row) {
        const std::string_view keys = kRows[row];
        if (scanCode >= kFirst[row] && scanCode < kFirst[row] + keys.size())
            return char32_t(keys[scanCode - kFirst[row]]);
    }
    return 0;
}

} // namespace

const char* buttonForChord(const MSG& message)
{
    const auto unit = static_cast<wchar_t>(message.wParam);
    const char32_t typed = (unit >= 0xd800 && unit <= 0xdfff) ? 0 : char32_t(unit);
    const bool extended = (message.lParam >> 24) & 1; // the keypad's and arrows' twins
    const char32_t place = extended ? 0 : usPlace((message.lParam >> 16) & 0xff);
    return app::buttonForKey(typed, place);
}

} // namespace win
