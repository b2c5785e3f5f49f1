#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QRect>

#include "ui/placedcontrol.h"

class QScreen;
class QWidget;

namespace ui {

class CanvasWidget;
class ResultBox;

// Fits the form to the desktop's font and to its screen. Where the font is too
// large for a caption or for the two result lines, the whole form is drawn
// larger by one factor, so that the user's font is kept, but never beyond the
// screen: there the controls take the largest font that fits. The fit is made
// anew on every move to another screen, every change of that screen's available
// area and every change of its scale; the window keeps its size in logical
// pixels on screens of any scale.
class FormFit : public QObject
{
public:
    // The window's controls, made from app::kLayout in its order.
    FormFit(QWidget& window, const QList<PlacedControl>& controls, CanvasWidget& canvas,
            ResultBox& box);

    // Fits the form to the screen it is on now.
    void fit();
    // The window was shown: its native window exists from now on, and is followed.
    void shown();
    // The window was resized: maybe by a change of scale.
    void resized() { followRatio(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect normalPlace(const QWidget* control) const;
    double neededScale() const;
    double screenRoom() const;
    double fittingScale();
    void scaleBy(double factor);
    void followScreen(QScreen* screen);
    void keepOnScreen();
    void followRatio();
    void refit();

    QWidget& m_window;
    const QList<PlacedControl>& m_controls;
    CanvasWidget& m_canvas;
    ResultBox& m_box;
    QScreen* m_watched = nullptr; // the screen whose available area is followed
    qreal m_fittedAt = 1;         // the device pixel ratio the form was last fitted at
    QRect m_fittedRoom;           // and the available area of its screen then
    bool m_fitPending = false;
    QMetaObject::Connection m_roomWatch;
};

} // namespace ui
