#include "plot/graph.h"

#include "plot/calls.h"
#include "plot/displaytext.h"
#include "plot/fpstatus.h"
#include "plot/mapping.h"
#include "plot/sine.h"

#include <cmath>

namespace plot {

void graphReset(const FormState& state, Canvas& canvas, TextBox& box)
{
    clearStatus();
    erase(canvas);

    const float xAxis = toSingle(state.xOrigin);
    line(canvas, xAxis, 0.0f, xAxis, scaleHeight(canvas), kAxisColour);

    // Read order matters to a canvas that counts: H, then W, then H again.
    const float yLeft = toSingle(halfHeight(canvas));
    const float right = scaleWidth(canvas);
    const float yRight = toSingle(halfHeight(canvas));
    line(canvas, 0.0f, yLeft, right, yRight, kAxisColour);

    std::int16_t previousX = toInt16(state.xOrigin);
    std::int16_t previousY = toInt16(halfHeight(canvas));

    const double end = checked(state.pi + state.pi);
    const double step = 0.01;
    // The abscissa is accumulated, never k * step: the count of points follows
    // from that double arithmetic (629 for the fixed layout).
    for (double x = 0; x <= end; x = checked(step + x)) {
        const double s = checked(sine(x));
        const std::int16_t currentX = toInt16(canvasX(state, canvas, x));
        const std::int16_t currentY = toInt16(canvasY(state, canvas, s));
        line(canvas, previousX, previousY, currentX, currentY, kCurveColour);
        previousX = currentX;
        previousY = currentY;
    }

    setText(box, std::string());
}

Integral integrate(const FormState& state, Canvas& canvas, TextBox& box)
{
    clearStatus();
    const double dx = checked(state.pi / state.nTrap);
    double leftX = state.xOrigin;
    float axisY = toSingle(halfHeight(canvas));
    double sum = 0;
    double x = 0;

    long passes = 0;
    double limit;
    do {
        ++passes;
        const double leftSine = checked(sine(x));
        const double right = checked(x + dx);
        const double rightSine = checked(sine(right));
        sum = checked(((rightSine + leftSine) * dx) / 2 + sum);
        const double rightX = canvasX(state, canvas, right);
        const double rightTopY = canvasY(state, canvas, rightSine);
        const double leftTopY = canvasY(state, canvas, leftSine);

        // Each point is narrowed at its own call, so a fault stops the drawing exactly there.
        line(canvas, toSingle(leftX), axisY, toSingle(leftX), toSingle(leftTopY), kTrapezoidColour);
        line(canvas, toSingle(leftX), toSingle(leftTopY), toSingle(rightX), toSingle(rightTopY),
             kTrapezoidColour);
        line(canvas, toSingle(rightX), toSingle(rightTopY), toSingle(rightX), axisY,
             kTrapezoidColour);

        leftX = rightX;
        axisY = toSingle(halfHeight(canvas));
        x = checked(x + dx);
        limit = checked(state.pi - dx);
        // Not-a-number cannot get here (checked), but an unordered test would end the loop too.
    } while (limit >= x);

    writeResult(box, sum, dx);
    return {sum, dx, passes};
}

void writeResult(TextBox& box, double sum, double dx)
{
    setText(box, kIntegralLabel + displayText(sum) + kLineBreak);
    setText(box, text(box) + kWidthLabel + displayText(dx));
}

} // namespace plot
