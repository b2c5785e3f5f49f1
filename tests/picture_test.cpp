// What the canvas shows after a handler, on screen and at a change of scale, at
// whatever device pixel ratio the test runs (see hidpi_tests).
#include "fakes.h"
#include "formtest.h"
#include "plot/graph.h"
#include "results.h"

#include "raster/rastercanvas.h"

#include <QBackingStore>
#include <qpa/qplatformbackingstore.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using fakes::loaded;

// After start-up and then each count in turn, piled on the earlier ones: row k
// presses the first k buttons.
struct Pile
{
    const char* name;
    int presses;
};

const char* const kPileButtons[] = {"cmd1rect", "cmd2rect", "cmd10Rec", "cmdcalc"};
const double kPileCounts[] = {1, 2, 10, 10000};

class Piles : public testing::TestWithParam<Pile>
{
};

// The window's canvas shows the engine's picture on a raster of the drawing
// area's device pixels and twip extent, unscaled and uncopied.
TEST_P(Piles, AreTheEnginesOnARasterOfTheDrawingArea)
{
    StartedForm f;
    const qreal ratio = f.w.devicePixelRatioF();
    EXPECT_EQ(f.picGraph()->pixelRatio(), ratio);
    EXPECT_EQ(f.picGraph()->contentsRect(), QRect(2, 2, 597, 397)) << "a 2-pixel border";
    EXPECT_EQ(f.image().size(), QSize(597, 397) * ratio) << "allocated at the device pixel ratio";
    EXPECT_EQ(f.picGraph()->raster().ScaleWidth(), 8955.0f);
    EXPECT_EQ(f.picGraph()->raster().ScaleHeight(), 5955.0f);
    const QSize device = QSize(597, 397) * ratio;
    raster::RasterCanvas expected;
    expected.setArea({597, 397, device.width(), device.height(), ratio, 15, 15});
    fakes::FakeTextBox box;
    plot::graphReset(loaded(0), expected, box);
    for (int i = 0; i < GetParam().presses; ++i) {
        plot::integrate(loaded(kPileCounts[i]), expected, box);
        f.w.findChild<ui::CommandButton*>(kPileButtons[i])->click();
    }
    const QImage shown = f.image();
    EXPECT_EQ(f.picGraph()->image().constBits(),
              reinterpret_cast<const uchar*>(f.picGraph()->raster().pixels()))
        << "the buffer, not a copy";
    const QImage want(reinterpret_cast<const uchar*>(expected.pixels()), expected.width(),
                      expected.height(), QImage::Format_RGB32);
    EXPECT_EQ(shown, want);
}

INSTANTIATE_TEST_SUITE_P(Picture, Piles,
                         testing::Values(Pile{"startUp", 0}, Pile{"oneTwoTenTenThousand", 4}),
                         byName);

// What the screen shows after a handler: only the part that changed is
// repainted, and it must come out as a full repaint of the window would, at
// fractional scales too (a dirty area rounded inward would leave a stale row).
class ScreenAfter : public testing::TestWithParam<const char*>
{
};

TEST_P(ScreenAfter, IsTheWholePicture)
{
    StartedForm f;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.w));
    // Something drawn first, so that Clear and a second run repaint over it.
    f.cmd10Rec()->click();
    QApplication::processEvents();
    f.w.findChild<ui::CommandButton*>(GetParam())->click();
    // The device pixels the canvas covers whole. At a fractional ratio its outer
    // row and column are shared with the window's background, and Qt composes
    // those of both widgets' paints.
    const qreal ratio = f.w.devicePixelRatioF();
    const QRect g = f.picGraph()->geometry();
    const QRect canvas(QPoint(int(std::ceil(g.left() * ratio)), int(std::ceil(g.top() * ratio))),
                       QPoint(int(std::floor((g.right() + 1) * ratio)) - 1,
                              int(std::floor((g.bottom() + 1) * ratio)) - 1));
    // The screen once the event loop has settled (Qt repaints the pixels a
    // widget's edge halves in a pass of their own), against a full repaint.
    QPlatformBackingStore* screen = f.w.backingStore()->handle();
    auto differing = [&] {
        const QImage shown = screen->toImage().convertToFormat(QImage::Format_RGB32).copy(canvas);
        const QImage whole =
            f.w.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(canvas);
        int n = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                n += shown.pixel(x, y) != whole.pixel(x, y);
        return n;
    };
    (void)QTest::qWaitFor([&] { return differing() == 0; }, 1000);
    EXPECT_EQ(differing(), 0) << "pixels unlike a full repaint, of "
                              << canvas.width() * canvas.height();
}

INSTANTIATE_TEST_SUITE_P(Picture, ScreenAfter,
                         testing::Values("cmd1rect", "cmd2rect", "cmd10Rec", "cmdcalc", "cmdclear"),
                         [](const testing::TestParamInfo<const char*>& p) { return p.param; });

// A laptop driving a projector: the window moves to a screen of another scale.
// The canvas then shows exactly what a fresh start with the same presses shows
// there, one-pixel lines at one device pixel, and the box keeps its text.
struct RatioMove
{
    const char* name;
    double from, to;
};

class RatioChange : public testing::TestWithParam<RatioMove>
{
};

TEST_P(RatioChange, RedrawsAsAFreshStartThere)
{
    OffscreenScreens screens{{"one", 0, 0, 1600, 1000, GetParam().from},
                             {"two", 1600, 0, 1600, 1000, GetParam().to}};
    QScreen* const one = OffscreenScreens::named("one");
    QScreen* const two = OffscreenScreens::named("two");
    ASSERT_TRUE(one && two);
    auto presses = [](StartedForm& f) {
        for (ui::CommandButton* b : {f.cmd1rect(), f.cmd10Rec(), f.cmdcalc(), f.cmd10Rec()})
            b->click();
    };
    StartedForm moved(true, one);
    presses(moved);
    const QString text = moved.text();
    moved.w.setScreen(two);
    moved.w.move(two->geometry().topLeft() + QPoint(50, 50));
    QApplication::processEvents();
    EXPECT_EQ(moved.text(), text) << "the box is not touched";

    StartedForm fresh(true, two);
    presses(fresh);
    ASSERT_EQ(fresh.w.devicePixelRatioF(), moved.w.devicePixelRatioF());
    EXPECT_EQ(moved.image().size(), QSize(597, 397) * fresh.w.devicePixelRatioF());
    EXPECT_EQ(moved.image(), fresh.image()) << "after the move";
    // A press after the move draws at the new ratio, on the redrawn picture.
    moved.cmd2rect()->click();
    fresh.cmd2rect()->click();
    EXPECT_EQ(moved.image(), fresh.image()) << "after a press there";
    EXPECT_TRUE(moved.reports.empty());
    // What the screen shows; grab() rounds a fractional ratio its own way.
    const qreal ratio = fresh.w.devicePixelRatioF();
    if (ratio == std::floor(ratio)) {
        const QImage shown = moved.picGraph()
                                 ->grab(moved.picGraph()->contentsRect())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, fresh.image()) << "what the screen shows";
    }
}

INSTANTIATE_TEST_SUITE_P(Picture, RatioChange,
                         testing::Values(RatioMove{"oneToTwo", 1, 2}, RatioMove{"twoToOne", 2, 1},
                                         RatioMove{"oneToOneAndAHalf", 1, 1.5}),
                         byName);

// Many presses in mixed order leave nothing behind: after a clear, one run
// gives exactly the picture and text of that run on a fresh start.
TEST(Soak, MixedPressesThenClearEqualASingleRun)
{
    StartedForm f;
    ui::CommandButton* const buttons[] = {f.cmd1rect(), f.cmd2rect(), f.cmd10Rec(), f.cmdcalc(),
                                          f.cmdclear()};
    std::mt19937 random(8122026);
    for (int i = 0; i < 300; ++i) {
        buttons[random() % 5]->click();
        if (i % 25 == 0)
            QApplication::processEvents(); // let the canvas repaint now and then
    }
    EXPECT_EQ(f.reports.size(), 0u);
    f.cmdclear()->click();
    f.cmd10Rec()->click();

    StartedForm fresh;
    fresh.cmd10Rec()->click();
    EXPECT_EQ(f.image(), fresh.image());
    EXPECT_EQ(f.text(), fresh.text());
    EXPECT_EQ(f.form.state().nTrap, 10);
}

} // namespace
