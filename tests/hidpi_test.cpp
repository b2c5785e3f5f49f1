// Under QT_SCALE_FACTOR=2: the layout keeps its logical size, the canvas image
// has twice the pixels each way, and lines stay one device pixel, sharp.
#include "formtest.h"

#include <gtest/gtest.h>

namespace {

TEST(HiDpi, CanvasImageAtTheDevicePixelRatio)
{
    StartedForm f;
    ASSERT_EQ(f.w.devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
    EXPECT_EQ(f.w.size(), QSize(698, 526));
    EXPECT_EQ(f.picGraph()->geometry(), QRect(48, 8, 601, 401));
    const QImage img = f.image();
    EXPECT_EQ(img.size(), QSize(1194, 794));

    // The vertical axis at 100 twips is device column 13 (100 * 2 / 15 = 13.3),
    // one pixel wide; the horizontal axis at 2977.5 twips is device row 397.
    EXPECT_EQ(img.pixel(13, 600), kYellow);
    EXPECT_EQ(img.pixel(12, 600), kBlack);
    EXPECT_EQ(img.pixel(14, 600), kBlack);
    EXPECT_EQ(img.pixel(900, 397), kYellow);
    EXPECT_EQ(img.pixel(900, 396), kBlack);
    EXPECT_EQ(img.pixel(900, 398), kBlack);
    // The curve's top, 100 twips below the edge: device row 13, near a quarter across.
    int cyanOnTopRow = 0;
    for (int x = 0; x < img.width(); ++x)
        cyanOnTopRow += img.pixel(x, 13) == kCyan;
    EXPECT_GT(cyanOnTopRow, 0);
    for (int x = 0; x < img.width(); ++x)
        ASSERT_NE(img.pixel(x, 12), kCyan) << "nothing above the top of the curve";

    // What the window shows is the full-resolution image, not an upscaled one.
    const QImage shown = f.picGraph()
                             ->grab(f.picGraph()->contentsRect())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.size(), QSize(1194, 794));
    EXPECT_EQ(shown, img);
}

} // namespace
