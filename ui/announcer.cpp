#include "ui/announcer.h"

#include <QAccessible>

namespace ui {

Announcer::Announcer(QWidget* window) : m_window(window)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    m_notification = new Notification(window);
#endif
}

void Announcer::announce(const QString& message)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(m_window, message);
    QAccessible::updateAccessibility(&event);
#else
    m_notification->hide();
    m_notification->setAccessibleName(message);
    m_notification->show();
#endif
}

Notification::Notification(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

} // namespace ui
