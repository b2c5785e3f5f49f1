#include "plot/graph.h"

#include "plot/displaytext.h"
#include "plot/fpstatus.h"
#include "plot/mapping.h"
#include "plot/sine.h"

#include <cmath>

namespace plot {

// Where the status is tested: the engine's arithmetic runs in stretches. Each
// starts with a clear of the status, after the calls out before it (their flags
// are not the engine's), and makes no call out itself: the extent its formulas
// need is read first, in their order. A stretch that computes what a line draws
// ends with one test of the status, right before the line. Every result is also
// tested for an infinity or not a number where it is computed, which stops a
// formula at the value that failed and names its fault from the status.

void graphReset(const FormState& state, Canvas& canvas, TextBox& box)
{
    const Status status;
    canvas.Erase();

    float h = canvas.ScaleHeight();
    status.clear();
    const float xAxis = toSingle(state.xOrigin);
    status.test();
    canvas.Line(xAxis, 0.0f, xAxis, h, kAxisColour);

    // Read order matters to a canvas that counts: H, then W, then H again.
    const float h1 = canvas.ScaleHeight();
    const float right = canvas.ScaleWidth();
    const float h2 = canvas.ScaleHeight();
    status.clear();
    const float yLeft = toSingle(half(h1));
    const float yRight = toSingle(half(h2));
    status.test();
    canvas.Line(0.0f, yLeft, right, yRight, kAxisColour);

    h = canvas.ScaleHeight();
    status.clear();
    std::int16_t previousX = toInt16(state.xOrigin);
    std::int16_t previousY = toInt16(half(h));
    const double end = finite(state.pi + state.pi);
    const double step = 0.01;
    // The abscissa is accumulated, never k * step: the count of points follows
    // from that double arithmetic (629 for the fixed layout).
    double x = 0;
    while (x <= end) {
        const float w = canvas.ScaleWidth();
        const float hTop = canvas.ScaleHeight();
        const float hMiddle = canvas.ScaleHeight();
        status.clear(x);
        const double s = finite(sine(x));
        const std::int16_t currentX = toInt16(canvasX(state, w, x));
        const std::int16_t currentY = toInt16(canvasY(state, hTop, hMiddle, s));
        const double next = finite(step + x);
        status.test(next);
        canvas.Line(previousX, previousY, currentX, currentY, kCurveColour);
        previousX = currentX;
        previousY = currentY;
        x = next;
    }

    box.SetText(std::string());
}

Integral integrate(const FormState& state, Canvas& canvas, TextBox& box)
{
    const Status status;
    const double dx = checked(state.pi / state.nTrap); // nTrap = 0 stops here, before any reading
    double leftX = state.xOrigin;
    float h = canvas.ScaleHeight();
    status.clear();
    float axisY = toSingle(half(h));
    double sum = 0;
    double x = 0;

    long passes = 0;
    double limit;
    do {
        ++passes;
        // The extent this pass's formulas read, in their order: W for the right
        // edge, then H twice for the right top and twice for the left top.
        const float w = canvas.ScaleWidth();
        const float hRight1 = canvas.ScaleHeight();
        const float hRight2 = canvas.ScaleHeight();
        const float hLeft1 = canvas.ScaleHeight();
        const float hLeft2 = canvas.ScaleHeight();
        status.clear(x, sum);
        const double leftSine = finite(sine(x));
        const double right = finite(x + dx);
        const double rightSine = finite(sine(right));
        sum = finite(((rightSine + leftSine) * dx) / 2 + sum);
        const double rightX = canvasX(state, w, right);
        const double rightTopY = canvasY(state, hRight1, hRight2, rightSine);
        const double leftTopY = canvasY(state, hLeft1, hLeft2, leftSine);
        // Once for the whole pass: a fault in any of its steps stops it here,
        // before its first side is drawn.
        status.test(sum, rightX, rightTopY, leftTopY);

        // Each point is narrowed at its own call, so an overflow stops the
        // drawing exactly there: a narrowing's fault shows in its value.
        canvas.Line(toSingle(leftX), axisY, toSingle(leftX), toSingle(leftTopY), kTrapezoidColour);
        canvas.Line(toSingle(leftX), toSingle(leftTopY), toSingle(rightX), toSingle(rightTopY),
                    kTrapezoidColour);
        canvas.Line(toSingle(rightX), toSingle(rightTopY), toSingle(rightX), axisY,
                    kTrapezoidColour);

        leftX = rightX;
        h = canvas.ScaleHeight();
        status.clear(x);
        axisY = toSingle(half(h));
        x = finite(x + dx);
        limit = finite(state.pi - dx);
        // Not-a-number cannot get here (tested), but an unordered test would end the loop too.
    } while (limit >= x);

    writeResult(box, sum, dx);
    return {sum, dx, passes};
}

void writeResult(TextBox& box, double sum, double dx)
{
    box.SetText(kIntegralLabel + displayText(sum) + kLineBreak);
    box.SetText(box.Text() + kWidthLabel + displayText(dx));
}

} // namespace plot
