#include "app/frmvelmar.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("integration-velmar"));
    QApplication::setApplicationDisplayName(QStringLiteral("Integration Velmar"));
    QApplication::setApplicationVersion(QStringLiteral(VELMAR_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELMAR_APP_ID));

    frmvelmar form;
    if (!form.start())
        return form.exitCode();
    const int status = QApplication::exec();
    return form.ending() ? form.exitCode() : status;
}
