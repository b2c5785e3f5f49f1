#pragma once

#include <QMetaObject>
#include <QRect>
#include <QWidget>

#include <memory>

namespace ui {

class Announcer;
class CanvasWidget;
class CommandButton;
class ResultBox;

enum class ControlKind { Canvas, Button, ResultBox };

// Where a control sits and what it is called, in tab order.
struct ControlPlace
{
    const char* name; // the object name the form knows it by
    ControlKind kind;
    const char* caption;     // with "&" before the access key; nullptr for no caption
    QRect geometry;          // pixels at 96 dpi (twips / 15)
    const char* spokenName;  // for assistive technology
    const char* description; // nullptr: set at run time
};

// The window and its eight controls, at fixed places: no layout manager moves
// them, and resizing the window moves nothing. Where the desktop's font is too
// large for a caption or for the two result lines, the whole form is drawn larger
// by one factor, so that the user's font is kept, but never beyond the screen:
// there the controls take the largest font that fits.
class VelmarWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 698;
    static constexpr int kClientHeight = 526;
    // The one table the controls are made from, placed by and tabbed through:
    // picGraph, the five buttons left of the box in the tab order, txtRes, cmd10Rec.
    static const ControlPlace kLayout[8];

    explicit VelmarWindow(QWidget* parent = nullptr);
    ~VelmarWindow() override;

    // The controls in tab order, made from kLayout in its order.
    const QList<QWidget*>& tabOrder() const { return m_controls; }

    // The controls by the names the form knows them by, set once by the
    // constructor from the controls made from kLayout.
    CanvasWidget* picGraph = nullptr;
    CommandButton* cmd1rect = nullptr;
    CommandButton* cmd2rect = nullptr;
    CommandButton* cmd10Rec = nullptr;
    CommandButton* cmdcalc = nullptr;
    CommandButton* cmdclear = nullptr;
    CommandButton* cmdexit = nullptr;
    ResultBox* txtRes = nullptr;

    // Tells assistive technology what a handler did: the canvas's description
    // (the curve, and the trapezoids of the last run), and, once the window is
    // on screen, one announcement of the run and the box's lines, wherever the
    // focus is. 0 trapezoids: the graph was cleared.
    void tellRun(int trapezoids);

protected:
    // Alt with a key that matched no access key: the access key by the key's place.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    template <typename T> T* control(const char* name) const;
    double neededScale() const;
    double screenRoom() const;
    double fittingScale();
    void scaleBy(double factor);
    // Fits the form to the screen it is on, by the rule of start-up, from the
    // desktop's font: on every move to another screen and every change of that
    // screen's available area. The window keeps its size in logical pixels on
    // screens of any scale.
    void fitToScreen();
    void followScreen(QScreen* screen);
    void keepOnScreen();
    void followRatio();

    void describeGraph(int trapezoids);

    QList<QWidget*> m_controls;
    QScreen* m_watched = nullptr; // the screen whose available area is followed
    qreal m_fittedAt = 1;         // the device pixel ratio the form was last fitted at
    QRect m_fittedRoom;           // and the available area of its screen then
    bool m_fitPending = false;
    QMetaObject::Connection m_roomWatch;
    std::unique_ptr<Announcer> m_announcer; // no control: not in the layout or the tab order
};

} // namespace ui
