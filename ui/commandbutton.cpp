#include "ui/commandbutton.h"

#include <QKeyEvent>
#include <QShortcutEvent>

namespace ui {

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
    setDefault(false);
    // A letter access key works in either case: Alt+Shift+C presses "&Calculate" too.
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    if (!mnemonic.isEmpty()) {
        const Qt::Key key = mnemonic[0].key();
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            grabShortcut(QKeySequence(Qt::AltModifier | Qt::ShiftModifier | key));
    }
}

bool CommandButton::event(QEvent* event)
{
    // The only shortcuts a button registers are its own access key.
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
