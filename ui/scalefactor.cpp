#include "ui/scalefactor.h"

#include "app/layout.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

QString given()
{
    return qEnvironmentVariable("QT_SCALE_FACTOR");
}

// The largest factor at which the form's client area fits on some screen, as
// the factor in force (`factor`) has made the screens' sizes.
double largestFittingFactor(double factor)
{
    double room = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QSize available = screen->availableGeometry().size();
        room = std::max(room, std::min(double(available.width()) / app::kClientWidth,
                                       double(available.height()) / app::kClientHeight));
    }
    return factor * room;
}

} // namespace

QString unusableScaleFactor()
{
    if (given().isEmpty())
        return {};
    bool isNumber = false;
    const double factor = given().toDouble(&isNumber);
    if (isNumber && std::isfinite(factor) && factor > 0)
        return {};
    return QStringLiteral("integration-velmar: QT_SCALE_FACTOR=\"%1\" is no scale factor; unset it "
                          "or give a number above 0, such as 1.5")
        .arg(given());
}

QString oversizedScaleFactor()
{
    const double factor = given().toDouble();
    if (factor <= 1)
        return {};
    const double largest = largestFittingFactor(factor);
    if (largest >= factor)
        return {};
    const double advice = std::floor(largest * 10) / 10;
    return QStringLiteral("integration-velmar: QT_SCALE_FACTOR=\"%1\" makes the window larger than "
                          "the screen; %2")
        .arg(given(), advice > 1
                          ? QStringLiteral("unset it or give at most %1").arg(advice, 0, 'f', 1)
                          : QStringLiteral("unset it"));
}

} // namespace ui
