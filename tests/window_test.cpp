// The window, its controls, the canvas and the result box, on the offscreen platform.
#include "formtest.h"
#include "results.h"
#include "ui/errorreport.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextCursor>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

TEST(Window, TitleSizeAndIcon)
{
    StartedForm f;
    EXPECT_EQ(f.w.windowTitle(), "Integration Velmar");
    EXPECT_EQ(f.w.objectName(), "frmvelmar");
    EXPECT_EQ(f.w.size(), QSize(698, 526));
    EXPECT_FALSE(f.w.windowIcon().isNull());
    EXPECT_TRUE(f.txtRes()->toPlainText().isEmpty());
    EXPECT_EQ(f.w.tabOrder().size(), 8);
}

// Each control, in tab order: where the layout's table puts it (pixels: twips
// / 15), its caption, and that resizing the window moves it not at all.
class EachControl : public testing::TestWithParam<int>
{
};

TEST_P(EachControl, SitsWhereTheLayoutPutsIt)
{
    const int tabIndex = GetParam();
    const app::ControlPlace& c = app::kLayout[tabIndex];
    const QRect place(c.geometry.left, c.geometry.top, c.geometry.width, c.geometry.height);
    StartedForm f;
    QWidget* const widget = f.w.tabOrder().value(tabIndex);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->objectName(), c.name) << "tab index " << tabIndex;
    EXPECT_EQ(widget->geometry(), place);
    EXPECT_TRUE(widget->isVisible() && widget->isEnabled());
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        EXPECT_EQ(button->text(), c.caption);
        EXPECT_FALSE(button->isDefault() || button->autoDefault());
    }
    for (const QSize size : {QSize(1200, 900), QSize(300, 200)}) {
        f.w.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(widget->geometry(), place) << "in a window of " << size.width();
    }
}

INSTANTIATE_TEST_SUITE_P(Window, EachControl, testing::Range(0, int(std::size(app::kLayout))),
                         [](const testing::TestParamInfo<int>& p) {
                             return std::string(app::kLayout[p.param].name);
                         });

TEST(Window, StartUpPictureShowsAxesAndCurve)
{
    StartedForm f;
    EXPECT_EQ(QApplication::focusWidget(), f.picGraph());
    const QImage img = f.image();

    // Every point of the curve is cyan. The points are worked out here on their
    // own: x in steps of 0.01 added up, X = 100 + 8855 x / 6.283185308 and
    // Y = 2977.5 - 2877.5 sin x twips, each rounded half to even, then the
    // pixel that holds the point (15 twips to a pixel).
    int curvePoints = 0;
    for (double x = 0; x <= 6.283185308; x += 0.01, ++curvePoints) {
        const long X = std::lrint(100 + 8855 * x / 6.283185308);
        const long Y = std::lrint(2977.5 - 2877.5 * std::sin(x));
        ASSERT_EQ(img.pixel(int(X / 15), int(Y / 15)), kCyan) << "curve point " << curvePoints;
    }
    EXPECT_EQ(curvePoints, 629);
    // Its top, bottom and last point, in pixels.
    EXPECT_EQ(img.pixel(154, 6), kCyan);
    EXPECT_EQ(img.pixel(449, 390), kCyan);
    EXPECT_EQ(img.pixel(596, 199), kCyan);

    // The axes: pixel column 6 (100 twips) and row 198 (2977.5 twips), yellow
    // wherever the curve does not cross them.
    int yellowColumn = 0, yellowRow = 0;
    for (int y = 0; y < 397; ++y)
        yellowColumn += img.pixel(6, y) == kYellow;
    for (int x = 0; x < 597; ++x)
        yellowRow += img.pixel(x, 198) == kYellow;
    EXPECT_GE(yellowColumn, 390);
    EXPECT_GE(yellowRow, 580);

    // Nothing else: black, yellow and cyan only, and mostly black.
    int black = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            black += p == kBlack;
            ASSERT_TRUE(p == kBlack || p == kYellow || p == kCyan) << x << "," << y;
        }
    EXPECT_GT(black, 597 * 397 * 9 / 10);
    EXPECT_EQ(img.pixel(300, 50), kBlack);
    EXPECT_TRUE(f.text().isEmpty());

    // What is on screen is the image: the widget paints from it.
    const QImage shown = f.picGraph()
                             ->grab(f.picGraph()->contentsRect())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, img);
}

TEST(Window, PictureSurvivesHidingAndShowing)
{
    StartedForm f;
    QTest::mouseClick(f.cmd10Rec(), Qt::LeftButton);
    const QImage before = f.image();
    f.w.showMinimized();
    QApplication::processEvents();
    f.w.hide();
    QApplication::processEvents();
    f.w.showNormal();
    QApplication::processEvents();
    EXPECT_EQ(f.image(), before);
    const QImage shown = f.picGraph()
                             ->grab(f.picGraph()->contentsRect())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, before);
}

// The box's own editor shows only line feeds, as the rule says, and gives back
// what was set.
class TextRoundTrip : public testing::TestWithParam<BoxTextCase>
{
};

TEST_P(TextRoundTrip, ShowsLineFeedsAndGivesBackExactlyWhatWasSet)
{
    ui::ResultBox box;
    box.SetText(GetParam().text);
    EXPECT_EQ(box.toPlainText().toStdString(), GetParam().shown);
    EXPECT_EQ(box.Text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(ResultBox, TextRoundTrip, testing::ValuesIn(kBoxTexts), byName);

TEST(ResultBox, TypingReadsBackWithCrLf)
{
    StartedForm f;
    f.txtRes()->setFocus();
    QTest::keyClicks(f.txtRes(), "ab");
    QTest::keyClick(f.txtRes(), Qt::Key_Return);
    QTest::keyClicks(f.txtRes(), "cd");
    EXPECT_EQ(f.txtRes()->Text(), "ab\r\ncd");
    // Tab moves on rather than inserting a tab.
    QTest::keyClick(f.txtRes(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.cmd10Rec());
    EXPECT_EQ(f.txtRes()->Text(), "ab\r\ncd");
}

// One pasted line of a megabyte is cut at the cap at once; the next result
// replaces it whole.
TEST(ResultBox, AHugePasteIsCutAtTheCap)
{
    StartedForm f;
    f.txtRes()->setFocus();
    QApplication::clipboard()->setText(QString(1 << 20, QLatin1Char('x')));
    QTest::keyClick(f.txtRes(), Qt::Key_V, Qt::ControlModifier);
    const std::string capped(app::BoxText::kMaxTyped, 'x');
    EXPECT_TRUE(f.txtRes()->Text() == capped) << f.txtRes()->Text().size() << " characters";
    QTest::keyClick(f.txtRes(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(f.txtRes()->Text() == capped) << "Undo brought the cut part back";
    QTest::keyClick(f.txtRes(), Qt::Key_Y);
    QTest::keyClick(f.txtRes(), Qt::Key_Return);
    EXPECT_TRUE(f.txtRes()->Text() == capped) << "nothing typed beyond the cap";
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("é"));
    QApplication::sendEvent(f.txtRes(), &composed);
    EXPECT_TRUE(f.txtRes()->Text() == capped) << "nothing composed beyond the cap";
    QTest::mouseClick(f.cmd10Rec(), Qt::LeftButton);
    EXPECT_EQ(f.txtRes()->Text(), "Integral Sin(x) [0,pi]= 1.98352353750514\r\ndx= .3141592654");
}

// A composition still pending in an input method when a button writes the
// result is dropped: what the input method does with it afterwards, in any order
// (shows it again, commits it, deletes around the cursor), stays out of the
// result; a composition begun afterwards is typed as usual.
TEST(ResultBox, APendingCompositionStaysOutOfTheResult)
{
    StartedForm f;
    f.txtRes()->setFocus();
    auto send = [&](const QString& preedit, const QString& commit = {}, int from = 0,
                    int length = 0) {
        QInputMethodEvent event(preedit, {});
        if (!commit.isEmpty() || length != 0)
            event.setCommitString(commit, from, length);
        QApplication::sendEvent(f.txtRes(), &event);
    };
    send(QStringLiteral("かんじ"));
    QTest::keyClick(f.txtRes(), Qt::Key_C, Qt::AltModifier);
    send(QStringLiteral("感じ"));     // the conversion, late
    send({}, {}, -13, 13);            // a deletion around the cursor
    send({}, QStringLiteral("感じ")); // the commit on being reset
    const std::string result = "Integral Sin(x) [0,pi]= 1.9999999835511\r\ndx= .0003141592654";
    EXPECT_EQ(f.txtRes()->Text(), result);
    send(QStringLiteral("か"));
    send({}, QStringLiteral("か"));
    EXPECT_EQ(f.txtRes()->Text(), "か" + result) << "a new composition, at the cursor";
}

// Where the report itself cannot be shown (short of memory, or the toolkit
// aborts), the user still reads it on standard error, and the status is 1.
TEST(ErrorReport, UnshownBecomesOneLineAndStatusOne)
{
    const plot::RuntimeError error(plot::ErrorNumber::CanvasFailure, "no memory");
    const char* line = "^integration-velmar: Run-time error '480': Canvas operation failed";
    EXPECT_EXIT(
        ui::reportError(error, [](const QString&, const QString&) { throw std::bad_alloc(); }),
        testing::ExitedWithCode(1), line);
    EXPECT_EXIT(ui::reportError(error, [](const QString&, const QString&) { std::abort(); }),
                testing::ExitedWithCode(1), line);
}

// Both lines of a result lie inside the box's visible area, with no scroll bar.
void expectBothLinesShow(ui::ResultBox* box)
{
    ASSERT_EQ(box->document()->blockCount(), 2);
    QTextCursor cursor(box->document());
    EXPECT_GE(box->cursorRect(cursor).top(), 0) << "the first line is scrolled away";
    cursor.movePosition(QTextCursor::End);
    EXPECT_LT(box->cursorRect(cursor).bottom(), box->viewport()->height())
        << "the dx= line is cut off";
    EXPECT_FALSE(box->verticalScrollBar()->isVisible());
    EXPECT_EQ(box->verticalScrollBar()->maximum(), 0) << "a wheel can scroll the first line away";
    // One notch of the wheel over the box, as a user would turn it.
    const QPoint centre = box->viewport()->rect().center();
    QWheelEvent notch(centre, box->viewport()->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box->viewport(), &notch);
    cursor.movePosition(QTextCursor::Start);
    EXPECT_GE(box->cursorRect(cursor).top(), 0) << "one wheel notch hid the first line";
}

TEST(ResultBox, BothResultLinesFitInTheBox)
{
    StartedForm f;
    QTest::mouseClick(f.cmd1rect(), Qt::LeftButton);
    expectBothLinesShow(f.txtRes());
}

// A desktop font from 8 to 16 pt: the form grows by one factor where the font
// needs it, so every caption and both result lines show whole, in the user's
// font, while the canvas keeps its extent in twips and its crisp image. A font
// narrow for its height makes the two result lines, not the captions, decide.
// On a screen too small for the grown form (a 1024 x 768 projector) the controls
// take a smaller font and the window fits; where not even the normal size fits
// (640 x 480), the form grows as the font asks. The families are those desktops
// give: GNOME's Cantarell, and Noto Sans CJK, the default of a Chinese locale,
// whose lines the editor lays out taller than their rounded spacing; GNOME's
// text scaling of 1.05 gives a screen of 100.8 dpi.
struct Font
{
    const char* name;
    int points;
    int stretch; // percent of the normal width
    QSize screen;
    bool fits; // the form as the font asks fits that screen
    const char* family = "DejaVu Sans";
    double dpi = 96;
    bool raisedWhileRunning = false; // set once the form has started, not before
};

class DesktopFont : public testing::TestWithParam<Font>
{
protected:
    void SetUp() override
    {
        if (!GetParam().raisedWhileRunning)
            setDesktopFont();
    }
    static void setDesktopFont()
    {
        QFont font(QString::fromLatin1(GetParam().family));
        font.setPointSize(GetParam().points);
        font.setStretch(GetParam().stretch);
        QApplication::setFont(font);
    }
    void TearDown() override { QApplication::setFont(m_saved); }

    OffscreenScreens m_screens{
        {"desk", 0, 0, GetParam().screen.width(), GetParam().screen.height(), 1, GetParam().dpi}};

private:
    QFont m_saved = QApplication::font();
};

TEST_P(DesktopFont, CaptionsAndResultLinesShowWhole)
{
    StartedForm f;
    if (GetParam().raisedWhileRunning)
        setDesktopFont();
    ASSERT_EQ(QFontInfo(f.txtRes()->font()).family().toStdString(), GetParam().family)
        << "the font is not installed (script/test installs it)";
    const QSize screen = GetParam().screen;
    if (GetParam().fits || screen.width() < 698) {
        EXPECT_EQ(f.w.font().pointSize(), GetParam().points) << "the desktop's font is kept";
    } else {
        EXPECT_LT(f.w.font().pointSizeF(), GetParam().points) << "a smaller font, to fit";
        EXPECT_GT(f.w.font().pointSizeF(), GetParam().points - 4) << "but the largest that fits";
        EXPECT_LE(f.w.width(), screen.width());
        EXPECT_LE(f.w.height(), screen.height());
    }
    if (screen.width() < 698) {
        EXPECT_GT(f.w.height(), screen.height()) << "not even the normal size fits: grown as asked";
    }
    QList<QWidget*> row;
    for (QPushButton* b : f.w.findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(b);
        option.text = b->text();
        const QRect label = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
        const int caption = b->fontMetrics().horizontalAdvance(b->text().remove('&'));
        EXPECT_LE(caption, label.width()) << b->objectName().toStdString() << " cuts its caption";
        row.append(b);
    }
    // The buttons keep their order on screen, and nothing overlaps or leaves the window.
    std::sort(row.begin(), row.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    QStringList names;
    for (QWidget* b : row)
        names << b->objectName();
    EXPECT_EQ(names.join(' '), "cmd1rect cmd2rect cmd10Rec cmdcalc cmdclear cmdexit");
    const QList<QWidget*> all = f.w.tabOrder();
    for (QWidget* a : all) {
        EXPECT_TRUE(f.w.rect().contains(a->geometry())) << a->objectName().toStdString();
        for (QWidget* b : all)
            EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()))
                << a->objectName().toStdString() << " overlaps " << b->objectName().toStdString();
    }
    if (GetParam().points <= 9 && GetParam().family == std::string("DejaVu Sans")) {
        EXPECT_EQ(f.w.size(), QSize(698, 526)) << "a font that fits changes nothing";
        EXPECT_EQ(f.cmd10Rec()->geometry(), QRect(248, 464, 97, 41));
    }

    QTest::mouseClick(f.cmd1rect(), Qt::LeftButton);
    expectBothLinesShow(f.txtRes());

    EXPECT_EQ(f.picGraph()->raster().ScaleWidth(), 8955.0f);
    EXPECT_EQ(f.picGraph()->raster().ScaleHeight(), 5955.0f);
    EXPECT_EQ(f.image().size(), f.picGraph()->contentsRect().size() * f.w.devicePixelRatioF());
}

const QSize kWide(1920, 1200);

INSTANTIATE_TEST_SUITE_P(
    Points, DesktopFont,
    testing::Values(Font{"8pt", 8, 100, kWide, true}, Font{"11pt", 11, 100, kWide, true},
                    Font{"13pt", 13, 100, kWide, true}, Font{"16pt", 16, 100, kWide, true},
                    Font{"16ptRaisedWhileRunning", 16, 100, kWide, true, "DejaVu Sans", 96, true},
                    Font{"16ptCondensed", 16, 50, kWide, true},
                    Font{"14ptOnAProjector", 14, 100, {1024, 768}, false},
                    Font{"16ptOnAProjector", 16, 100, {1024, 768}, false},
                    Font{"16ptOnALaptop", 16, 100, {1366, 768}, false},
                    Font{"13ptOn640x480", 13, 100, {640, 480}, false},
                    Font{"Cantarell12", 12, 100, kWide, true, "Cantarell"},
                    Font{"NotoSansCjk9", 9, 100, kWide, true, "Noto Sans CJK SC"},
                    Font{"Cantarell12AtTextScale105", 12, 100, kWide, true, "Cantarell", 100.8}),
    byName);

// A projector plugged in and mirrored: the screen shrinks while the program
// runs. The form is fitted again by the rule of start-up, and takes its size
// back when the room returns; the picture and the box's text survive.
TEST(Screen, TheFormIsFittedAgainWhenTheScreenChanges)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(16);
    struct DesktopFontSet
    {
        QFont saved = QApplication::font();
        explicit DesktopFontSet(const QFont& f) { QApplication::setFont(f); }
        ~DesktopFontSet() { QApplication::setFont(saved); }
    } desktopFont(font);
    OffscreenScreens laptop{{"desk", 0, 0, 1366, 768, 1}};
    StartedForm f;
    const QSize roomy = f.w.size();
    const qreal roomyPoints = f.cmd1rect()->font().pointSizeF();
    ASSERT_GT(roomy.height(), 600 - 30) << "the 16 pt form must not fit 800 x 600 as it is";
    f.cmd10Rec()->click();
    const QString text = f.text();
    {
        OffscreenScreens projector{{"desk", 0, 0, 800, 600, 1}};
        QApplication::processEvents();
        const QRect room = f.w.screen()->availableGeometry();
        ASSERT_EQ(room.size(), QSize(800, 600));
        EXPECT_LT(f.w.height(), 600 - 20) << "room is left for a title bar";
        EXPECT_TRUE(room.contains(f.w.frameGeometry())) << "the window stays on the screen";
        for (QWidget* c : f.w.tabOrder())
            EXPECT_TRUE(f.w.rect().contains(c->geometry())) << c->objectName().toStdString();
        EXPECT_EQ(f.text(), text);
        StartedForm fresh;
        fresh.cmd10Rec()->click();
        f.cmd1rect()->click();
        fresh.cmd1rect()->click();
        EXPECT_EQ(f.w.size(), fresh.w.size()) << "fitted as at start-up";
        EXPECT_EQ(f.image(), fresh.image()) << "the picture, drawn anew at the new size";
    }
    QApplication::processEvents();
    EXPECT_EQ(f.w.size(), roomy) << "the room returned";
    EXPECT_EQ(f.cmd1rect()->font().pointSizeF(), roomyPoints);
}

TEST(Focus, TabVisitsAllEightInOrderAndWraps)
{
    StartedForm f;
    const QList<QWidget*> order = f.w.tabOrder();
    ASSERT_EQ(QApplication::focusWidget(), order[0]);
    for (int i = 1; i <= 16; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), order[i % 8]) << "after " << i << " tabs";
    }
    for (int i = 7; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        ASSERT_EQ(QApplication::focusWidget(), order[i]) << "shift+tab to " << i;
    }
}

} // namespace
