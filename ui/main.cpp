#include "app/frmvelmar.h"
#include "app/layout.h"
#include "ui/scalefactor.h"
#include "ui/startupmessages.h"
#include "ui/velmarwindow.h"

#include <QApplication>
#include <QString>

#include <cstdio>

namespace {

int refuse(const QString& line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
    return 1;
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

    if (const QString refusal = ui::unusableScaleFactor(); !refusal.isEmpty())
        return refuse(refusal);
    ui::holdMessagesWhileConnecting();
    QApplication app(qtArgc, qtArgv);
    ui::connected();
    if (const QString refusal = ui::oversizedScaleFactor(); !refusal.isEmpty())
        return refuse(refusal);

    QApplication::setApplicationName(QStringLiteral("integration-velmar"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(app::kCaption));
    QApplication::setApplicationVersion(QStringLiteral(VELMAR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELMAR_APP_ID));

    ui::VelmarWindow window;
    frmvelmar form(window);
    window.drive(form);
    return ui::exec(form);
}
