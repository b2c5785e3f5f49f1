#include "app/frmvelmar.h"

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QStringList>

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
        for (const QString& held : std::as_const(g_held))
            std::fprintf(stderr, "%s\n", qPrintable(held));
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
