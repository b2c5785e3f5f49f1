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
    EXPECT_EQ(box.set(GetParam().text), GetParam().shown);
    EXPECT_EQ(box.read(GetParam().shown), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(BoxText, BoxTexts, testing::ValuesIn(kBoxTexts), byName);

// What the user leaves in the box reads back with CR LF line breaks; what was
// set reads back as set while the box shows it again.
TEST(BoxText, GivesBackWhatTheUserLeft)
{
    const struct
    {
        const char* set;
        const char* shown;
        const char* read;
    } rows[] = {
        {"", "ab\ncd", "ab\r\ncd"},
        {"Integral Sin(x) [0,pi]= 2\r\ndx= .5", "Integral Sin(x) [0,pi]= 2\ndx= .5\nx",
         "Integral Sin(x) [0,pi]= 2\r\ndx= .5\r\nx"},
        {"a\rb", "a\nb", "a\rb"}, // typed, then undone
        {"a\rb", "a\nb\n", "a\r\nb\r\n"},
    };
    for (const auto& r : rows) {
        app::BoxText box;
        box.set(r.set);
        EXPECT_EQ(box.read(r.shown), r.read) << r.shown;
    }
}

} // namespace
