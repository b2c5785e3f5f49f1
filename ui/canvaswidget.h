#pragma once

#include "plot/canvas.h"

#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QRect>

namespace ui {

// The picture box: a black canvas with a sunken 2-px border that keeps what is
// drawn in a raster image of its own, allocated at the device pixel ratio, and
// repaints from it. Coordinates are twips, 15 to a logical pixel at the normal
// size; a form grown for a larger font gives each twip more pixels, never the
// drawing area more twips (see setTwipExtent()).
//
// A handler's drawing goes straight into the image: the first Line() or Erase()
// begins drawing, and flush() ends it and asks for one repaint of the part that
// changed. Only beginDrawing() and endDrawing() open and close the painter.
class CanvasWidget : public QFrame, public plot::Canvas
{
    Q_OBJECT

public:
    static constexpr int kTwipsPerPixel = 15;
    static constexpr int kBorder = 2;

    explicit CanvasWidget(QWidget* parent = nullptr);
    ~CanvasWidget() override;

    // The drawing area measures width x height twips at its present size. Until
    // this is said, a twip is 1/15 of a logical pixel.
    void setTwipExtent(double width, double height);

    float ScaleWidth() const override;
    float ScaleHeight() const override;
    void Line(float x1, float y1, float x2, float y2, plot::Rgb colour) override;
    void Erase() override;

    // Ends the drawing run and schedules one repaint of what changed.
    void flush();

    // The picture in device pixels, as it stands after the last flush(). The
    // form flushes at the end of every handler.
    const QImage& image() const { return m_image; }
    qreal pixelRatio() const { return m_ratio; }

    // True while the image no longer fits the drawing area: it is at another
    // device pixel ratio than the widget's (the window moved to a screen of
    // another scale, or the scale changed), or the form was fitted anew to its
    // screen and the drawing area has another size.
    bool needsRedraw() const
    {
        return !m_image.isNull() && (devicePixelRatioF() != m_ratio ||
                                     m_image.size() != contentsRect().size() * devicePixelRatioF());
    }

signals:
    // The picture must be drawn anew at the new device pixel ratio or size: a
    // scaled copy would lose one-pixel lines or thicken them. Sent before the
    // stale image would be painted; the form also checks before every handler.
    void redrawNeeded();

public:
    // Device pixel of a canvas coordinate: the pixel that holds the point
    // (rounding down), so 2977.5 and 2978 twips both fall in pixel 198.
    static int toDevice(float twips, qreal ratio, double twipsPerPixel = kTwipsPerPixel);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ensureImage();
    void beginDrawing();
    void endDrawing();
    void span(int x1, int y1, int x2, int y2, QRgb colour);

    QImage m_image;
    QPainter m_painter;
    qreal m_ratio = 1;
    double m_twipsX = kTwipsPerPixel; // twips per logical pixel, across
    double m_twipsY = kTwipsPerPixel; // and down
    // The image's pixels and row length: valid only while drawing (between
    // beginDrawing() and endDrawing()), when the image cannot be reallocated.
    uchar* m_bits = nullptr;
    qsizetype m_stride = 0;
    plot::Rgb m_penColour{0, 0, 0};
    QRect m_dirty; // device pixels changed since the last flush
};

} // namespace ui
