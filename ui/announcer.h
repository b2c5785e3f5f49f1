#pragma once

#include <QWidget>

namespace ui {

// Tells a screen reader one message, wherever the focus is. Qt 6.8 and later
// have an announcement event for it. Before that, the announcer is a zero-size,
// unfocusable child of the notification role that is shown anew with each
// message as its name: a notification that appears is what Orca speaks from any
// focus, as it does desktop notifications. Nothing of it is ever painted.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& message);
};

} // namespace ui
