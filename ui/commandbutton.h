#pragma once

#include <QPushButton>

namespace ui {

// A push button whose access key clicks it at once, as the mouse does: no
// delayed, animated click that would let a following click overtake it or
// swallow a repeated key. Enter clicks it while it has the focus; it is never
// a default button.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ui
