#pragma once

#include "app/layout.h"
#include "raster/rastercanvas.h"

#include <QFrame>
#include <QImage>

namespace ui {

// The picture box: a black canvas with a sunken 2-px border that shows the
// raster canvas it keeps, at the device pixel ratio, and repaints from it.
// Coordinates are twips, 15 to a logical pixel at the normal size; a form grown
// for a larger font gives each twip more pixels, never the drawing area more
// twips (see setTwipExtent()).
//
// The engine draws on raster() straight into the buffer, with no painter open;
// flush() asks for one repaint of the part that changed.
class CanvasWidget : public QFrame
{
    Q_OBJECT

public:
    explicit CanvasWidget(QWidget* parent = nullptr);

    // The drawing area measures width x height twips at its present size. Until
    // this is said, a twip is 1/15 of a logical pixel.
    void setTwipExtent(double width, double height);

    // The canvas to draw on, brought to the widget's present ratio and size.
    raster::RasterCanvas& raster();

    // Schedules one repaint of what changed since the last flush.
    void flush();

    // The picture in device pixels: the raster's buffer, wrapped, not copied.
    // The form flushes at the end of every handler.
    QImage image() const;
    qreal pixelRatio() const { return m_raster.ratio(); }

signals:
    // The picture no longer fits the drawing area: it was drawn at another device
    // pixel ratio than the widget's (the window moved to a screen of another
    // scale, or the scale changed), or the form was fitted anew to its screen and
    // the drawing area has another size. It must be drawn anew: a scaled copy
    // would lose one-pixel lines or thicken them. Sent before the stale picture
    // would be painted; the form also checks before every handler.
    void redrawNeeded();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    raster::DrawingArea currentArea() const;

    raster::RasterCanvas m_raster;
    double m_twipsX = app::kTwipsPerPixel; // twips per logical pixel, across
    double m_twipsY = app::kTwipsPerPixel; // and down
};

} // namespace ui
