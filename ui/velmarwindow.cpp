#include "ui/velmarwindow.h"

#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/resultbox.h"

#include <QAccessibleWidget>
#include <QIcon>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

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

// Pixels kept free on either side of a caption, so that it does not touch the
// button's edges; and one more, for rounding the scaled edges.
constexpr int kCaptionPadding = 2;
constexpr int kRoundingSlack = 1;

// What assistive technology is told each of our own widget classes is: the
// window a frame (a top-level window), the canvas an image. Left to Qt, a plain
// top-level widget reads as a filler and a QFrame as a frame, which a screen
// reader announces as a second window inside the first.
QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    if (className == QLatin1String(VelmarWindow::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (className == QLatin1String(CanvasWidget::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

// Installs accessibleFor() once, before the first control exists: Qt keeps the
// first interface it made for a widget for the whole life of the widget.
QWidget* withAccessibleRoles(QWidget* parent)
{
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed);
    return parent;
}

QRect scaled(const QRect& r, double factor)
{
    // Edges, not sizes, are scaled: neighbours keep their proportions and gaps.
    return QRect(
        QPoint(qRound(r.left() * factor), qRound(r.top() * factor)),
        QPoint(qRound((r.right() + 1) * factor) - 1, qRound((r.bottom() + 1) * factor) - 1));
}

} // namespace

VelmarWindow::VelmarWindow(QWidget* parent)
    : QWidget(withAccessibleRoles(parent)), picGraph(place(new CanvasWidget(this), kLayout[0])),
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
    scaleBy(neededScale());
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

// The smallest factor, at least 1, at which every caption fits inside its
// button's label area and both result lines inside the box, in the default font.
double VelmarWindow::neededScale() const
{
    double factor = 1;
    for (const CommandButton* b : {cmd1rect, cmd2rect, cmdcalc, cmdclear, cmdexit, cmd10Rec}) {
        QStyleOptionButton option;
        option.initFrom(b);
        option.text = b->text();
        const int label =
            b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b).width();
        const int caption = b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&'));
        const int needed = caption + 2 * kCaptionPadding + (b->width() - label) + kRoundingSlack;
        factor = std::max(factor, double(needed) / b->width());
    }
    const int twoLines = 2 * txtRes->fontMetrics().lineSpacing() +
                         2 * int(txtRes->document()->documentMargin()) + 2 * txtRes->frameWidth() +
                         kRoundingSlack;
    return std::max(factor, double(twoLines) / txtRes->height());
}

void VelmarWindow::scaleBy(double factor)
{
    if (factor != 1) {
        const QList<QWidget*> controls = tabOrder();
        for (qsizetype i = 0; i < controls.size(); ++i)
            controls[i]->setGeometry(scaled(kLayout[i].geometry, factor));
        resize(qRound(kClientWidth * factor), qRound(kClientHeight * factor));
    }
    // The canvas keeps its extent in twips, whatever its size in pixels.
    const QSize drawingArea =
        kLayout[0].geometry.size() - 2 * QSize(CanvasWidget::kBorder, CanvasWidget::kBorder);
    picGraph->setTwipExtent(drawingArea.width() * CanvasWidget::kTwipsPerPixel,
                            drawingArea.height() * CanvasWidget::kTwipsPerPixel);
}

} // namespace ui
