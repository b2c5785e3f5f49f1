// The icon the build draws: the .ico's three images, as any .ico reader sees
// them, and the window icon.
#include "ui/velmarwindow.h"

#include <QImageReader>

#include <gtest/gtest.h>

namespace {

TEST(Icon, IcoHoldsThreeImagesIn2And16Colours)
{
    QImageReader reader(QStringLiteral(VELMAR_ICON_DIR "/integration-velmar.ico"), "ico");
    ASSERT_EQ(reader.imageCount(), 3);
    const struct
    {
        int size, maxColours;
    } expected[] = {{32, 2}, {32, 16}, {16, 16}};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(expected[i].size, expected[i].size)) << i;
        QList<QRgb> seen;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) && !seen.contains(image.pixel(x, y)))
                    seen.append(image.pixel(x, y));
        EXPECT_LE(seen.size(), expected[i].maxColours) << i;
        EXPECT_GE(seen.size(), 2) << "a picture, not a blank " << i;
    }
}

TEST(Icon, WindowIconOffersEverySize)
{
    ui::VelmarWindow window;
    const QIcon icon = window.windowIcon();
    for (int side : {VELMAR_WINDOW_ICON_SIZES}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side))) << side;
        EXPECT_FALSE(icon.pixmap(side).toImage().isNull()) << side;
    }
    // The title bar gets the drawing, not a blank.
    const QImage shown = icon.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(shown.size(), QSize(32, 32));
    EXPECT_EQ(shown.pixel(16, 1), 0u) << "transparent above the window outline";
    EXPECT_EQ(shown.pixel(16, 20), qRgb(0, 0, 0)) << "the black canvas";
}

} // namespace
