#include "app/frmvelmar.h"
#include "app/layout.h"
#include "ui/velmarwindow.h"

#include <QApplication>
#include <QByteArray>
#include <QScreen>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

// The display the platform plugin will try to open, as a user would name it.
QString displayName()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("wayland") ||
        (platform.isEmpty() && qgetenv("XDG_SESSION_TYPE") == "wayland" &&
         qEnvironmentVariableIsSet("WAYLAND_DISPLAY")))
        return QStringLiteral("Wayland display \"%1\"")
            .arg(qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0")));
    if (!qEnvironmentVariableIsSet("DISPLAY"))
        return QStringLiteral("X display (DISPLAY is not set)");
    return QStringLiteral("X display \"%1\"").arg(qEnvironmentVariable("DISPLAY"));
}

// While the application object connects to the display, Qt's own messages are
// held back: if no platform can be opened, Qt ends with a fatal message that
// advises reinstalling, which sends a user the wrong way. Instead the held lines
// (what Qt saw on the way) are printed, then one plain line says which display
// could not be opened and what to check, and the program ends with status 1.
QStringList g_held; // as Qt would have printed them

// Lines of Qt's that would send a user the wrong way: the advice to install the
// cursor library, given whenever the X plugin fails, though it is installed;
// and, where the display could not be opened, that the plugin "could not be
// loaded even though it was found", which points at the installation.
bool misleading(const QString& line, bool displayFailed)
{
    if (line.contains(QLatin1String("xcb-cursor0 or libxcb-cursor0 is needed"))) {
        void* cursor = dlopen("libxcb-cursor.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (cursor)
            dlclose(cursor);
        return cursor != nullptr;
    }
    return displayFailed && line.contains(QLatin1String("even though it was found"));
}

void holdDuringConnect(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        const QString held = g_held.join(QLatin1Char('\n'));
        const bool displayFailed = held.contains(QLatin1String("could not connect to display")) ||
                                   held.contains(QLatin1String("wl_display")) ||
                                   !qEnvironmentVariableIsSet("DISPLAY");
        for (const QString& line : std::as_const(g_held))
            if (!misleading(line, displayFailed))
                std::fprintf(stderr, "%s\n", qPrintable(line));
        if (held.contains(QLatin1String("Could not find the Qt platform plugin")))
            std::fprintf(stderr,
                         "integration-velmar: there is no platform plugin \"%s\"; unset "
                         "QT_QPA_PLATFORM or name an installed one, such as xcb or wayland\n",
                         qgetenv("QT_QPA_PLATFORM").constData());
        else if (displayFailed)
            std::fprintf(stderr,
                         "integration-velmar: cannot open the %s; check that a desktop session is "
                         "running and DISPLAY or WAYLAND_DISPLAY names it\n",
                         qPrintable(displayName()));
        else
            std::fprintf(stderr, "integration-velmar: the platform plugin could not start (the "
                                 "lines above say what Qt saw); short of memory, or a broken "
                                 "installation\n");
        std::fflush(stderr);
        std::_Exit(1);
    }
    g_held.append(qFormatLogMessage(type, context, message));
}

// Short of memory, a thread Qt needs may not start, and Qt then waits for it
// for ever: the window never answers. Qt's warning says so; the program ends
// there, with the reason, instead of hanging.
QtMessageHandler g_previousHandler = nullptr;

bool threadFailed(const QString& message)
{
    return message.contains(QLatin1String("Thread creation error"));
}

[[noreturn]] void endShortOfMemory()
{
    std::fprintf(stderr, "integration-velmar: short of memory: a thread could not start\n");
    std::fflush(stderr);
    std::_Exit(1);
}

void watchForStarvation(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    g_previousHandler(type, context, message);
    if (threadFailed(message))
        endShortOfMemory();
}

// The largest QT_SCALE_FACTOR at which the form's client area fits on some
// screen, as the factor in force (`factor`) has made the screens' sizes.
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

int main(int argc, char* argv[])
{
    // The program takes no command line, and Qt's own options (-reverse, -style,
    // -platform...) must not act either: Qt sees the program's name alone.
    if (argc > 1)
        std::fprintf(stderr, "integration-velmar: takes no arguments, ignoring them "
                             "(man integration-velmar describes the program)\n");
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};

    // Qt takes a scale factor of 0, below 0 or not a number as it stands and
    // shows a window of one pixel that never ends: refuse it plainly instead.
    if (!qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
        bool isNumber = false;
        const double factor = qgetenv("QT_SCALE_FACTOR").toDouble(&isNumber);
        if (!isNumber || !std::isfinite(factor) || factor <= 0) {
            std::fprintf(stderr,
                         "integration-velmar: QT_SCALE_FACTOR=\"%s\" is no scale factor; unset it "
                         "or give a number above 0, such as 1.5\n",
                         qgetenv("QT_SCALE_FACTOR").constData());
            return 1;
        }
    }

    g_previousHandler = qInstallMessageHandler(holdDuringConnect);
    QApplication app(qtArgc, qtArgv);
    qInstallMessageHandler(watchForStarvation);
    for (const QString& held : std::as_const(g_held))
        std::fprintf(stderr, "%s\n", qPrintable(held));
    if (std::any_of(g_held.cbegin(), g_held.cend(), threadFailed))
        endShortOfMemory();
    g_held.clear();

    // A factor that makes the window larger than every screen would show the
    // form, and any report of it, cut off and beyond reach: refused plainly too.
    // A factor up to 1 never grows the window, and is taken as it is.
    if (const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(); factor > 1) {
        const double largest = largestFittingFactor(factor);
        if (largest < factor) {
            const double advice = std::floor(largest * 10) / 10;
            std::fprintf(
                stderr,
                "integration-velmar: QT_SCALE_FACTOR=\"%s\" makes the window larger than "
                "the screen; %s\n",
                qgetenv("QT_SCALE_FACTOR").constData(),
                advice > 1
                    ? qPrintable(
                          QStringLiteral("unset it or give at most %1").arg(advice, 0, 'f', 1))
                    : "unset it");
            return 1;
        }
    }

    QApplication::setApplicationName(QStringLiteral("integration-velmar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Integration Velmar"));
    QApplication::setApplicationVersion(QStringLiteral(VELMAR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELMAR_APP_ID));

    ui::VelmarWindow window;
    frmvelmar form(window);
    window.drive(form);
    return ui::exec(form);
}
