#pragma once

#include <QWidget>

namespace ui {

// Tells a screen reader one message, wherever the focus is. Qt 6.8 and later
// send it as an announcement event from the window, and the window has no child
// for it. Before that, a zero-size, unfocusable child of the notification role
// is shown anew with each message as its name: a notification that appears is
// what Orca speaks from any focus, as it does desktop notifications.
class Announcer
{
public:
    explicit Announcer(QWidget* window);

    void announce(const QString& message);

private:
    QWidget* m_window;
    QWidget* m_notification = nullptr; // only where there is no announcement event
};

// The notification child: never painted, never focused, no control.
class Notification : public QWidget
{
    Q_OBJECT

public:
    explicit Notification(QWidget* parent);
};

} // namespace ui
