#include "ui/formfit.h"

#include "app/layout.h"
#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/resultbox.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWindow>

#include <algorithm>
#include <limits>

namespace ui {

namespace {

// Pixels kept free on either side of a caption, so that it does not touch the
// button's edges; and one more, for rounding the scaled edges.
constexpr int kCaptionPadding = 2;
constexpr int kRoundingSlack = 1;

QRect toQRect(const app::Rect& r)
{
    return QRect(r.left, r.top, r.width, r.height);
}

QRect scaled(const QRect& r, double factor)
{
    // Edges, not sizes, are scaled: neighbours keep their proportions and gaps.
    return QRect(
        QPoint(qRound(r.left() * factor), qRound(r.top() * factor)),
        QPoint(qRound((r.right() + 1) * factor) - 1, qRound((r.bottom() + 1) * factor) - 1));
}

} // namespace

FormFit::FormFit(QWidget& window, const QList<PlacedControl>& controls, CanvasWidget& canvas,
                 ResultBox& box)
    : QObject(&window), m_window(window), m_controls(controls), m_canvas(canvas), m_box(box)
{
    m_fittedAt = window.devicePixelRatioF();
    window.installEventFilter(this);
    qApp->installEventFilter(this); // the application hears of a new font first
}

// The desktop's font changed while the program runs (a lecturer raises it for
// the projector): the form is fitted to it as at start-up. A desktop tells of
// its new font as a change of theme.
bool FormFit::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == &m_window && event->type() == QEvent::ThemeChange) ||
        (watched == qApp && event->type() == QEvent::ApplicationFontChange))
        refit();
    return false;
}

void FormFit::refit()
{
    fit();
    keepOnScreen();
}

// A control's place at the normal size, whatever the last fit made it.
QRect FormFit::normalPlace(const QWidget* control) const
{
    for (const PlacedControl& c : m_controls)
        if (c.widget == control)
            return toQRect(c.place->geometry);
    return {};
}

void FormFit::shown()
{
    // A window manager may also place the window on another screen than the one
    // it was fitted for (kwin puts a new window where the pointer is).
    if (QWindow* native = m_window.windowHandle(); native && !m_watched) {
        connect(native, &QWindow::screenChanged, this, &FormFit::followScreen);
        followScreen(native->screen());
    }
}

void FormFit::followScreen(QScreen* screen)
{
    if (!screen)
        return;
    if (screen != m_watched) {
        disconnect(m_roomWatch);
        m_watched = screen;
        m_roomWatch = connect(screen, &QScreen::availableGeometryChanged, this, &FormFit::refit);
    }
    if (m_window.devicePixelRatioF() != m_fittedAt)
        followRatio();
    else if (screen->availableGeometry() != m_fittedRoom)
        fit(); // another screen of the same scale, with a room of its own
}

// A change of scale without a resize by the window manager: the window kept its
// device pixels, and so shows another logical size. It takes the form's again,
// once Qt has told both the new ratio and the new geometry: they come as two
// events, in either order, so the fit waits for the event loop to deliver both.
void FormFit::followRatio()
{
    if (m_window.devicePixelRatioF() == m_fittedAt || m_fitPending)
        return;
    m_fitPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_fitPending = false;
            m_fittedAt = m_window.devicePixelRatioF();
            fit();
        },
        Qt::QueuedConnection);
}

void FormFit::fit()
{
    // The desktop's font again, should the last fit have taken a smaller one.
    m_window.setFont(QApplication::font(&m_window));
    scaleBy(fittingScale());
    m_fittedRoom = m_window.screen() ? m_window.screen()->availableGeometry() : QRect();
}

// A window manager leaves a window where it was when the screen shrinks: the
// form, fitted anew, is moved back inside the room left.
void FormFit::keepOnScreen()
{
    if (!m_window.isVisible() || !m_window.screen())
        return;
    const QRect room = m_window.screen()->availableGeometry();
    const QRect frame = m_window.frameGeometry();
    if (room.contains(frame))
        return;
    const QPoint inside(std::clamp(frame.left(), room.left(),
                                   std::max(room.left(), room.right() - frame.width() + 1)),
                        std::clamp(frame.top(), room.top(),
                                   std::max(room.top(), room.bottom() - frame.height() + 1)));
    m_window.move(inside);
}

// The smallest factor, at least 1, at which every caption fits inside its
// button's label area and both result lines inside the box, in the default font.
double FormFit::neededScale() const
{
    double factor = 1;
    for (const PlacedControl& c : m_controls) {
        const app::ControlPlace& place = *c.place;
        if (place.kind != app::ControlKind::Button)
            continue;
        const auto* b = static_cast<const CommandButton*>(c.widget);
        QStyleOptionButton option;
        option.initFrom(b);
        option.rect = QRect(QPoint(), normalPlace(b).size());
        option.text = b->text();
        const int width = option.rect.width();
        const int label =
            b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b).width();
        const int caption = b->fontMetrics().horizontalAdvance(
            QString::fromStdString(app::shownCaption(place.caption)));
        const int needed = caption + 2 * kCaptionPadding + (width - label) + kRoundingSlack;
        factor = std::max(factor, double(needed) / width);
    }
    const int twoLines = m_box.heightForTwoLines() + kRoundingSlack;
    return std::max(factor, double(twoLines) / normalPlace(&m_box).height());
}

// How far the form may grow on its screen: the available area (less panels and
// docks) less room for a title bar and borders. The window manager's own sizes
// are not known before the window is shown, so the style's sizes of a title
// bar and of a sub-window's frame stand in for them. No screen (none
// connected yet): no limit.
double FormFit::screenRoom() const
{
    const QScreen* screen = m_window.screen();
    if (!screen)
        return std::numeric_limits<double>::infinity();
    const QRect available = screen->availableGeometry();
    QStyle* style = m_window.style();
    const int titleBar = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &m_window);
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &m_window);
    return std::min(double(available.width() - 2 * border) / app::kClientWidth,
                    double(available.height() - titleBar - 2 * border) / app::kClientHeight);
}

// The growth the font asks for where it fits the screen. Where it does not, the
// controls take the largest font, in half points, whose growth fits; where not
// even the normal size fits (640 x 480), the font decides as it would anyway.
double FormFit::fittingScale()
{
    const double wanted = neededScale();
    const double room = screenRoom();
    if (wanted <= room || room < 1)
        return wanted;
    QFont smaller = m_window.font();
    const bool inPoints = smaller.pointSizeF() > 0;
    const qreal asked = inPoints ? smaller.pointSizeF() : smaller.pixelSize();
    const qreal step = inPoints ? 0.5 : 1;
    for (qreal size = asked - step; size >= 1; size -= step) {
        if (inPoints)
            smaller.setPointSizeF(size);
        else
            smaller.setPixelSize(int(size));
        m_window.setFont(smaller);
        if (neededScale() <= room)
            break;
    }
    return std::min(neededScale(), room);
}

void FormFit::scaleBy(double factor)
{
    for (const PlacedControl& c : m_controls)
        c.widget->setGeometry(scaled(toQRect(c.place->geometry), factor));
    // In logical pixels: on a screen of twice the scale, twice the device pixels.
    m_window.resize(qRound(app::kClientWidth * factor), qRound(app::kClientHeight * factor));
    // The canvas keeps its extent in twips, whatever its size in pixels.
    const QSize drawingArea =
        normalPlace(&m_canvas).size() - 2 * QSize(app::kCanvasBorder, app::kCanvasBorder);
    m_canvas.setTwipExtent(drawingArea.width() * app::kTwipsPerPixel,
                           drawingArea.height() * app::kTwipsPerPixel);
}

} // namespace ui
