#include "ui/startupmessages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace ui {

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

QStringList g_held; // Qt's lines while it connects, as Qt would have printed them

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

} // namespace

void holdMessagesWhileConnecting()
{
    g_previousHandler = qInstallMessageHandler(holdDuringConnect);
}

void connected()
{
    qInstallMessageHandler(watchForStarvation);
    for (const QString& held : std::as_const(g_held))
        std::fprintf(stderr, "%s\n", qPrintable(held));
    if (std::any_of(g_held.cbegin(), g_held.cend(), threadFailed))
        endShortOfMemory();
    g_held.clear();
}

} // namespace ui
