#include "ui/canvaswidget.h"

#include "plot/error.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

// Far outside any image, small enough that pixel arithmetic cannot overflow.
constexpr double kDeviceLimit = 1 << 24;

QRgb toRgb(plot::Rgb c)
{
    return qRgb(c.red, c.green, c.blue);
}

} // namespace

CanvasWidget::CanvasWidget(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
}

CanvasWidget::~CanvasWidget()
{
    endDrawing();
}

void CanvasWidget::setTwipExtent(double width, double height)
{
    // 8955 / 597 is exactly 15: at the normal size nothing changes.
    m_twipsX = width / contentsRect().width();
    m_twipsY = height / contentsRect().height();
}

float CanvasWidget::ScaleWidth() const
{
    return static_cast<float>(contentsRect().width() * m_twipsX);
}

float CanvasWidget::ScaleHeight() const
{
    return static_cast<float>(contentsRect().height() * m_twipsY);
}

int CanvasWidget::toDevice(float twips, qreal ratio, double twipsPerPixel)
{
    const double pixels = std::floor(double(twips) * ratio / twipsPerPixel);
    return static_cast<int>(std::clamp(pixels, -kDeviceLimit, kDeviceLimit));
}

// Called only while not drawing, so no painter holds the old image.
void CanvasWidget::ensureImage()
{
    const qreal ratio = devicePixelRatioF();
    const QSize size = contentsRect().size() * ratio;
    if (!m_image.isNull() && m_image.size() == size)
        return;
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        plot::raise(plot::ErrorNumber::CanvasFailure, "no memory for a " +
                                                          std::to_string(size.width()) + " x " +
                                                          std::to_string(size.height()) + " image");
    // At a new density the old picture is not scaled over: the form draws it anew.
    image.fill(Qt::black);
    m_image = image;
    m_ratio = ratio;
    m_dirty = m_image.rect();
}

// Once per handler, not per segment: the painter stays open until flush().
void CanvasWidget::beginDrawing()
{
    if (m_painter.isActive())
        return;
    ensureImage();
    m_bits = m_image.bits(); // detaches from any copy handed out by image()
    m_stride = m_image.bytesPerLine();
    if (!m_painter.begin(&m_image))
        plot::raise(plot::ErrorNumber::CanvasFailure, "cannot draw on the canvas image");
    m_painter.setPen(QPen(QColor(toRgb(m_penColour)), 1));
}

void CanvasWidget::endDrawing()
{
    if (!m_painter.isActive())
        return;
    m_painter.end();
    m_bits = nullptr;
    m_stride = 0;
}

void CanvasWidget::Line(float x1, float y1, float x2, float y2, plot::Rgb colour)
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        plot::raise(plot::ErrorNumber::CanvasFailure, "a line end is not a number");
    beginDrawing();
    const int px1 = toDevice(x1, m_ratio, m_twipsX), py1 = toDevice(y1, m_ratio, m_twipsY);
    const int px2 = toDevice(x2, m_ratio, m_twipsX), py2 = toDevice(y2, m_ratio, m_twipsY);

    m_dirty |= QRect(QPoint(std::min(px1, px2), std::min(py1, py2)),
                     QPoint(std::max(px1, px2), std::max(py1, py2)));
    if (px1 == px2 || py1 == py2) {
        span(px1, py1, px2, py2, toRgb(colour));
        return;
    }
    if (!(colour == m_penColour)) {
        m_penColour = colour;
        m_painter.setPen(QPen(QColor(toRgb(colour)), 1));
    }
    m_painter.drawLine(QLine(px1, py1, px2, py2));
}

// An axis-parallel line written straight into the image: the same pixels the
// painter sets for it (both ends included), without its per-line set-up.
void CanvasWidget::span(int x1, int y1, int x2, int y2, QRgb colour)
{
    const int w = m_image.width(), h = m_image.height();
    int left = std::max(std::min(x1, x2), 0), right = std::min(std::max(x1, x2), w - 1);
    int top = std::max(std::min(y1, y2), 0), bottom = std::min(std::max(y1, y2), h - 1);
    if (left > right || top > bottom)
        return;
    if (left == right) {
        uchar* p = m_bits + top * m_stride + left * 4;
        for (int y = top; y <= bottom; ++y, p += m_stride)
            *reinterpret_cast<QRgb*>(p) = colour;
    } else {
        QRgb* p = reinterpret_cast<QRgb*>(m_bits + top * m_stride);
        std::fill(p + left, p + right + 1, colour);
    }
}

void CanvasWidget::Erase()
{
    endDrawing();
    ensureImage();
    m_image.fill(Qt::black);
    m_dirty = m_image.rect();
}

void CanvasWidget::flush()
{
    endDrawing();
    const QRect dirty = m_dirty & m_image.rect();
    m_dirty = QRect();
    if (dirty.isEmpty())
        return;
    // Device pixels back to logical ones, rounded outward.
    const QRect logical(
        QPoint(int(std::floor(dirty.left() / m_ratio)), int(std::floor(dirty.top() / m_ratio))),
        QPoint(int(std::ceil((dirty.right() + 1) / m_ratio)) - 1,
               int(std::ceil((dirty.bottom() + 1) / m_ratio)) - 1));
    update(logical.translated(contentsRect().topLeft()));
}

// Handlers never yield to the event loop, so no paint event comes while drawing.
void CanvasWidget::paintEvent(QPaintEvent*)
{
    // A change of scale shows here first, unless a handler ran before.
    if (needsRedraw())
        emit redrawNeeded();
    QPainter p(this);
    const QRect contents = contentsRect();
    // The whole image at one placement, left to the paint event's clip: so a
    // device pixel shows the same image pixel whichever part of the canvas is
    // repainted. At a fractional ratio a logical rectangle's edges fall inside
    // device pixels, and a part drawn with a source and target of its own would
    // round them on its own, one pixel off a full repaint. Only the clipped
    // pixels are touched.
    if (m_image.isNull()) {
        p.fillRect(contents, Qt::black);
    } else {
        p.drawImage(QRectF(QPointF(contents.topLeft()), QSizeF(m_image.size()) / m_ratio), m_image);
    }
    drawFrame(&p);
    // The canvas takes the focus like the buttons: show it on the border, never
    // on the picture.
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace ui
