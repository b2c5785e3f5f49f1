// The result box's text rule, which every front-end's box follows: what it
// shows of a text, and what it gives back.
#include "app/boxtext.h"
#include "results.h"

#include <gtest/gtest.h>

namespace {

class BoxTexts : public testing::TestWithParam<BoxTextCase>
{
};

TEST_P(BoxTexts, ShowOnlyLineFeedsAndGiveBackWhatWasSet)
{
    app::BoxText box;
    EXPECT_EQ(box.keepAndShow(GetParam().text), GetParam().shown);
    EXPECT_EQ(box.read(GetParam().shown), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(BoxText, BoxTexts, testing::ValuesIn(kBoxTexts), byName);

// What the user leaves in the box reads back with CR LF line breaks; what was
// set reads back as set while the box shows it again (typed, then undone).
TEST(BoxText, GivesBackWhatTheUserLeft)
{
    const char* const rows[][3] = {{"", "ab\ncd", "ab\r\ncd"},
                                   {"a\r\nb", "a\nb\nx", "a\r\nb\r\nx"},
                                   {"a\rb", "a\nb", "a\rb"},
                                   {"a\rb", "a\nb\n", "a\r\nb\r\n"}};
    for (const auto& [set, shown, read] : rows) {
        app::BoxText box;
        box.keepAndShow(set);
        EXPECT_EQ(box.read(shown), read) << shown;
    }
}

} // namespace
