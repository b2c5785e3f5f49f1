#include "ui/commandbutton.h"

#include <QKeyEvent>
#include <QShortcutEvent>

namespace ui {

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
    setDefault(false);
}

bool CommandButton::event(QEvent* event)
{
    // The only shortcut a button registers is its own access key.
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled())
            click();
        return true;
    }
    return QPushButton::event(event);
}

void CommandButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace ui
