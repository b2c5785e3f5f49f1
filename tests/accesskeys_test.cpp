// The access keys on every keyboard layout of tests/cases.json, by the core's
// one rule: the same rows the desktop and the page press with real keys.
#include "app/accesskeys.h"
#include "results.h"

#include <gtest/gtest.h>

namespace {

// The one character a row's UTF-8 text holds.
char32_t codePoint(const char* utf8)
{
    const auto* s = reinterpret_cast<const unsigned char*>(utf8);
    const int extra = s[0] < 0x80 ? 0 : s[0] < 0xe0 ? 1 : s[0] < 0xf0 ? 2 : 3;
    char32_t c = extra ? s[0] & (0x3f >> extra) : s[0];
    for (int i = 1; i <= extra; ++i)
        c = c << 6 | (s[i] & 0x3f);
    return c;
}

class AccessKeys : public testing::TestWithParam<AccessKeyCase>
{
};

TEST_P(AccessKeys, PressTheirButtonOnEveryLayout)
{
    const AccessKeyCase& row = GetParam();
    const char* pressed = app::buttonForKey(codePoint(row.types), char32_t(row.place[0]));
    EXPECT_STREQ(pressed, row.presses);
}

INSTANTIATE_TEST_SUITE_P(Layouts, AccessKeys, testing::ValuesIn(kAccessKeys), byName);

} // namespace
