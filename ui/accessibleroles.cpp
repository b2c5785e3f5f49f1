#include "ui/accessibleroles.h"

#include "ui/announcer.h"
#include "ui/canvaswidget.h"
#include "ui/velmarwindow.h"

#include <QAccessibleWidget>

namespace ui {

namespace {

QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    if (className == QLatin1String(VelmarWindow::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (className == QLatin1String(CanvasWidget::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    if (className == QLatin1String(Notification::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAccessibleRoles()
{
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed);
}

} // namespace ui
