#include "ui/velmarwindow.h"

#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/resultbox.h"

#include <QIcon>

namespace ui {

const ControlPlace VelmarWindow::kLayout[8] = {
    {"picGraph", nullptr, {48, 8, 601, 401}, QT_TR_NOOP("Graph"), nullptr},
    {"cmd1rect",
     QT_TR_NOOP("&1 Trapezoid"),
     {16, 464, 105, 41},
     QT_TR_NOOP("1 Trapezoid"),
     QT_TR_NOOP("Approximate the integral of sin(x) from 0 to pi with one trapezoid")},
    {"cmd2rect",
     QT_TR_NOOP("&2 Trapezoids"),
     {136, 464, 97, 41},
     QT_TR_NOOP("2 Trapezoids"),
     QT_TR_NOOP("Approximate the integral with two trapezoids")},
    {"cmdcalc",
     QT_TR_NOOP("&Calculate"),
     {360, 464, 113, 41},
     QT_TR_NOOP("Calculate"),
     QT_TR_NOOP("Approximate the integral with 10000 trapezoids")},
    {"cmdclear",
     QT_TR_NOOP("Clea&r"),
     {480, 464, 97, 41},
     QT_TR_NOOP("Clear"),
     QT_TR_NOOP("Remove the trapezoids and empty the result box")},
    {"cmdexit",
     QT_TR_NOOP("E&xit"),
     {592, 464, 97, 41},
     QT_TR_NOOP("Exit"),
     QT_TR_NOOP("End the program")},
    {"txtRes",
     nullptr,
     {48, 416, 601, 41},
     QT_TR_NOOP("Result"),
     QT_TR_NOOP("The approximate integral and the width of one trapezoid")},
    {"cmd10Rec",
     QT_TR_NOOP("1&0 Trapezoids"),
     {248, 464, 97, 41},
     QT_TR_NOOP("10 Trapezoids"),
     QT_TR_NOOP("Approximate the integral with ten trapezoids")},
};

namespace {

template <typename T> T* place(T* widget, const ControlPlace& p)
{
    widget->setObjectName(QLatin1String(p.name));
    widget->setGeometry(p.geometry);
    widget->setAccessibleName(VelmarWindow::tr(p.spokenName));
    if (p.description)
        widget->setAccessibleDescription(VelmarWindow::tr(p.description));
    return widget;
}

CommandButton* button(const ControlPlace& p, QWidget* parent)
{
    return place(new CommandButton(VelmarWindow::tr(p.caption), parent), p);
}

} // namespace

VelmarWindow::VelmarWindow(QWidget* parent)
    : QWidget(parent), picGraph(place(new CanvasWidget(this), kLayout[0])),
      cmd1rect(button(kLayout[1], this)), cmd2rect(button(kLayout[2], this)),
      cmdcalc(button(kLayout[3], this)), cmdclear(button(kLayout[4], this)),
      cmdexit(button(kLayout[5], this)), txtRes(place(new ResultBox(this), kLayout[6])),
      cmd10Rec(button(kLayout[7], this))
{
    setObjectName(QStringLiteral("frmvelmar"));
    setWindowTitle(QStringLiteral("Integration Velmar"));
    QIcon icon;
    for (int side : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/integration-velmar-%1.png").arg(side),
                     QSize(side, side));
    setWindowIcon(icon);
    resize(kClientWidth, kClientHeight);
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
