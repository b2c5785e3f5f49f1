#include "ui/announcer.h"

#include <QAccessible>

namespace ui {

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::announce(const QString& message)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(parentWidget(), message);
    QAccessible::updateAccessibility(&event);
#else
    hide();
    setAccessibleName(message);
    show();
#endif
}

} // namespace ui
