#include "ui/canvaswidget.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace ui {

CanvasWidget::CanvasWidget(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(app::kCanvasBorder);
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
}

void CanvasWidget::setTwipExtent(double width, double height)
{
    // 8955 / 597 is exactly 15: at the normal size nothing changes.
    m_twipsX = width / contentsRect().width();
    m_twipsY = height / contentsRect().height();
}

raster::DrawingArea CanvasWidget::currentArea() const
{
    const QSize logical = contentsRect().size();
    const qreal ratio = devicePixelRatioF();
    const QSize device = logical * ratio; // as Qt sizes the backing store
    return {logical.width(), logical.height(), device.width(), device.height(),
            ratio,           m_twipsX,         m_twipsY};
}

// Handlers never yield to the event loop: the layout taken here holds for the
// whole handler.
raster::RasterCanvas& CanvasWidget::raster()
{
    m_raster.setArea(currentArea());
    return m_raster;
}

QImage CanvasWidget::image() const
{
    if (m_raster.width() == 0)
        return {};
    static_assert(sizeof(QRgb) == sizeof(std::uint32_t), "one buffer word a pixel");
    return QImage(reinterpret_cast<const uchar*>(m_raster.pixels()), m_raster.width(),
                  m_raster.height(), m_raster.width() * qsizetype(sizeof(QRgb)),
                  QImage::Format_RGB32);
}

void CanvasWidget::flush()
{
    const raster::PixelRect dirty = m_raster.takeChanged();
    if (dirty.empty())
        return;
    // Device pixels back to logical ones, rounded outward.
    const qreal r = m_raster.ratio();
    const QRect logical(QPoint(int(std::floor(dirty.left / r)), int(std::floor(dirty.top / r))),
                        QPoint(int(std::ceil((dirty.right + 1) / r)) - 1,
                               int(std::ceil((dirty.bottom + 1) / r)) - 1));
    update(logical.translated(contentsRect().topLeft()));
}

// Handlers never yield to the event loop, so no paint event comes while drawing.
void CanvasWidget::paintEvent(QPaintEvent*)
{
    // A change of scale shows here first, unless a handler ran before.
    if (raster().stale())
        emit redrawNeeded();
    QPainter p(this);
    const QRect contents = contentsRect();
    // The whole picture at one placement, left to the paint event's clip: so a
    // device pixel shows the same buffer pixel whichever part of the canvas is
    // repainted. At a fractional ratio a logical rectangle's edges fall inside
    // device pixels, and a part drawn with a source and target of its own would
    // round them on its own, one pixel off a full repaint. Only the clipped
    // pixels are touched.
    const QImage picture = image();
    if (picture.isNull()) {
        p.fillRect(contents, Qt::black);
    } else {
        p.drawImage(QRectF(QPointF(contents.topLeft()), QSizeF(picture.size()) / m_raster.ratio()),
                    picture);
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
