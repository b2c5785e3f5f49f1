#pragma once

#include <QWidget>

namespace ui {

class CanvasWidget;
class CommandButton;
class ResultBox;

// The window and its eight controls, at fixed places: no layout manager moves
// them, and resizing the window moves nothing.
class VelmarWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 698;
    static constexpr int kClientHeight = 526;

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
};

} // namespace ui
