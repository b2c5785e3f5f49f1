#pragma once

#include <QPushButton>

namespace ui {

// A push button that Enter clicks while it has the focus; it is never a
// default button. Its access key is the window's (VelmarWindow), which clicks
// it at once, as the mouse does.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ui
