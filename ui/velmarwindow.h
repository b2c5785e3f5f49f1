#pragma once

#include <QRect>
#include <QWidget>

namespace ui {

class CanvasWidget;
class CommandButton;
class ResultBox;

// Where a control sits and what it is called, in tab order.
struct ControlPlace
{
    const char* name;        // the object name the form knows it by
    const char* caption;     // with "&" before the access key; nullptr for no caption
    QRect geometry;          // pixels at 96 dpi (twips / 15)
    const char* spokenName;  // for assistive technology
    const char* description; // nullptr: set at run time
};

// The window and its eight controls, at fixed places: no layout manager moves
// them, and resizing the window moves nothing. Where the desktop's font is too
// large for a caption or for the two result lines, the whole form is drawn larger
// by one factor, as a form measured in dialog units grows with the system font.
class VelmarWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 698;
    static constexpr int kClientHeight = 526;
    // picGraph, the five buttons left of the box in the tab order, txtRes, cmd10Rec.
    static const ControlPlace kLayout[8];

    explicit VelmarWindow(QWidget* parent = nullptr);

    // Members named as the form knows them, in tab order.
    CanvasWidget* const picGraph;
    CommandButton* const cmd1rect;
    CommandButton* const cmd2rect;
    CommandButton* const cmdcalc;
    CommandButton* const cmdclear;
    CommandButton* const cmdexit;
    ResultBox* const txtRes;
    CommandButton* const cmd10Rec;

    // Tells assistive technology what the canvas shows: the curve, and the
    // trapezoids of the last run (0 after a clear).
    void describeGraph(int trapezoids);

    // The controls in tab order, picGraph first.
    QList<QWidget*> tabOrder() const;

private:
    double neededScale() const;
    void scaleBy(double factor);
};

} // namespace ui
