#include "ui/velmarwindow.h"

#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/programicon.h"
#include "ui/resultbox.h"

namespace ui {
namespace {

template <typename T>
T* place(T* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

} // namespace

// Geometry in pixels at 96 dpi (twips / 15).
VelmarWindow::VelmarWindow(QWidget* parent)
    : QWidget(parent), picGraph(place(new CanvasWidget(this), "picGraph", 48, 8, 601, 401)),
      cmd1rect(place(new CommandButton(tr("&1 Trapezoid"), this), "cmd1rect", 16, 464, 105, 41)),
      cmd2rect(place(new CommandButton(tr("&2 Trapezoids"), this), "cmd2rect", 136, 464, 97, 41)),
      cmdcalc(place(new CommandButton(tr("&Calculate"), this), "cmdcalc", 360, 464, 113, 41)),
      cmdclear(place(new CommandButton(tr("Clea&r"), this), "cmdclear", 480, 464, 97, 41)),
      cmdexit(place(new CommandButton(tr("E&xit"), this), "cmdexit", 592, 464, 97, 41)),
      txtRes(place(new ResultBox(this), "txtRes", 48, 416, 601, 41)),
      cmd10Rec(place(new CommandButton(tr("1&0 Trapezoids"), this), "cmd10Rec", 248, 464, 97, 41))
{
    setObjectName(QStringLiteral("frmvelmar"));
    setWindowTitle(QStringLiteral("Integration Velmar"));
    setWindowIcon(programIcon());
    resize(kClientWidth, kClientHeight);

    const struct
    {
        QWidget* widget;
        const char* name;
        const char* description;
    } spoken[] = {
        {picGraph, "Graph", nullptr},
        {cmd1rect, "1 Trapezoid",
         "Approximate the integral of sin(x) from 0 to pi with one trapezoid"},
        {cmd2rect, "2 Trapezoids", "Approximate the integral with two trapezoids"},
        {cmd10Rec, "10 Trapezoids", "Approximate the integral with ten trapezoids"},
        {cmdcalc, "Calculate", "Approximate the integral with 10000 trapezoids"},
        {cmdclear, "Clear", "Remove the trapezoids and empty the result box"},
        {cmdexit, "Exit", "End the program"},
        {txtRes, "Result", "The approximate integral and the width of one trapezoid"},
    };
    for (const auto& s : spoken) {
        s.widget->setAccessibleName(tr(s.name));
        if (s.description)
            s.widget->setAccessibleDescription(tr(s.description));
    }
    describeGraph(0);

    const QList<QWidget*> order = tabOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void VelmarWindow::describeGraph(int trapezoids)
{
    QString text = tr("One period of the sine curve, in cyan, over yellow axes on black.");
    if (trapezoids == 1)
        text += tr(" In green, the trapezoid of the last run.");
    else if (trapezoids > 1)
        text += tr(" In green, the %1 trapezoids of the last run.").arg(trapezoids);
    picGraph->setAccessibleDescription(text);
}

QList<QWidget*> VelmarWindow::tabOrder() const
{
    return {picGraph, cmd1rect, cmd2rect, cmdcalc, cmdclear, cmdexit, txtRes, cmd10Rec};
}

} // namespace ui
