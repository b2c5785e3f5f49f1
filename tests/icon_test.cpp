// The icon the build draws: the .ico's three images and the window icon built from it.
#include "ui/programicon.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

namespace {

QByteArray programIco()
{
    QFile file(QStringLiteral(":/icons/integration-velmar.ico"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST(Icon, IcoHoldsThreeImagesIn2And16Colours)
{
    const QList<ui::IcoEntry> entries = ui::icoEntries(programIco());
    ASSERT_EQ(entries.size(), 3);
    const int expected[][2] = {{32, 1}, {32, 4}, {16, 4}}; // size, bits a pixel
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].size, expected[i][0]) << i;
        EXPECT_EQ(entries[i].bitsPerPixel, expected[i][1]) << i;
    }
}

// Our decoder must see what any other reader of .ico files sees.
TEST(Icon, DecoderAgreesWithQtsIcoReader)
{
    QByteArray ico = programIco();
    QBuffer buffer(&ico);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage theirs = reader.read().convertToFormat(QImage::Format_ARGB32);
        const QImage ours = ui::icoImage(ico, i);
        ASSERT_FALSE(ours.isNull()) << i;
        EXPECT_EQ(ours, theirs) << "image " << i;
        int colours = 0;
        QList<QRgb> seen;
        for (int y = 0; y < ours.height(); ++y)
            for (int x = 0; x < ours.width(); ++x)
                if (qAlpha(ours.pixel(x, y)) && !seen.contains(ours.pixel(x, y)))
                    seen.append(ours.pixel(x, y)), ++colours;
        EXPECT_LE(colours, i == 0 ? 2 : 16) << i;
        EXPECT_GE(colours, 2) << "a picture, not a blank " << i;
    }
}

TEST(Icon, DecoderRejectsWhatIsNotAnIco)
{
    EXPECT_TRUE(ui::icoEntries(QByteArray("not an icon")).isEmpty());
    EXPECT_TRUE(ui::icoImage(QByteArray(), 0).isNull());
    QByteArray truncated = programIco().left(200);
    EXPECT_TRUE(ui::icoImage(truncated, 2).isNull());
}

TEST(Icon, WindowIconOffersEverySize)
{
    const QIcon icon = ui::programIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : {16, 32, 48, 64})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    // The title bar gets the 16-colour image, not the 2-colour one.
    const QImage shown = icon.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    QByteArray ico = programIco();
    EXPECT_EQ(shown, ui::icoImage(ico, 1));
    EXPECT_EQ(icon.pixmap(64).size(), QSize(64, 64));
    EXPECT_EQ(icon.pixmap(48).size(), QSize(48, 48));
}

} // namespace
