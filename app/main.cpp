#include "app/frmvelmar.h"

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdio>
#include <cstdlib>

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

void holdDuringConnect(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        bool noSuchPlugin = false;
        for (const QString& held : std::as_const(g_held)) {
            std::fprintf(stderr, "%s\n", qPrintable(held));
            noSuchPlugin = noSuchPlugin || held.contains("Could not find the Qt platform plugin");
        }
        if (noSuchPlugin)
            std::fprintf(stderr,
                         "integration-velmar: there is no platform plugin \"%s\"; unset "
                         "QT_QPA_PLATFORM or name an installed one, such as xcb or wayland\n",
                         qgetenv("QT_QPA_PLATFORM").constData());
        else
            std::fprintf(stderr,
                         "integration-velmar: cannot open the %s; check that a desktop session is "
                         "running and DISPLAY or WAYLAND_DISPLAY names it\n",
                         qPrintable(displayName()));
        std::fflush(stderr);
        std::_Exit(1);
    }
    g_held.append(qFormatLogMessage(type, context, message));
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

    const QtMessageHandler previousHandler = qInstallMessageHandler(holdDuringConnect);
    QApplication app(qtArgc, qtArgv);
    qInstallMessageHandler(previousHandler);
    for (const QString& held : std::as_const(g_held))
        std::fprintf(stderr, "%s\n", qPrintable(held));
    g_held.clear();

    QApplication::setApplicationName(QStringLiteral("integration-velmar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Integration Velmar"));
    QApplication::setApplicationVersion(QStringLiteral(VELMAR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELMAR_APP_ID));

    frmvelmar form;
    return form.exec();
}
