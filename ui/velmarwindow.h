#pragma once

#include "app/layout.h"
#include "app/window.h"
#include "ui/placedcontrol.h"

#include <QWidget>

#include <memory>

class frmvelmar;

namespace ui {

class Announcer;
class CanvasWidget;
class CommandButton;
class FormFit;
class ResultBox;

// The window and its eight controls, made from app::kLayout, at fixed places: no
// layout manager moves them, and resizing the window moves nothing; FormFit
// grows the whole form for a large font.
//
// It is the form's window: the clicks of the buttons and the canvas's need of a
// redraw go to the form, which draws and writes through the canvas and the box.
class VelmarWindow : public QWidget, public app::Window
{
    Q_OBJECT

public:
    explicit VelmarWindow(QWidget* parent = nullptr);
    ~VelmarWindow() override;

    // Delivers the controls' events to the form.
    void drive(frmvelmar& form);

    // What the form needs of its window.
    plot::Canvas& canvas() override;
    plot::TextBox& resultBox() override;
    bool canvasNeedsRedraw() override;
    void showDrawing() override;
    void describeCanvas(const std::string& text) override;
    void announce(const std::string& text) override;
    void open() override;
    // A message window naming the error, up until the user dismisses it.
    void reportError(const plot::RuntimeError& error) override;
    void quit(int status) override;

    // The controls in tab order, made from kLayout in its order.
    QList<QWidget*> tabOrder() const;

protected:
    bool event(QEvent* event) override;
    // Alt with a key: the button the core's access-key rule names.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    template <typename T> T* control(const char* name) const;

    QList<PlacedControl> m_controls; // in tab order
    // The two controls the window itself works through; the others are found by
    // name (each is the widget of that object name, as tests and assistive
    // technology find them too).
    CanvasWidget* m_picGraph = nullptr;
    ResultBox* m_txtRes = nullptr;
    FormFit* m_fit = nullptr;
    std::unique_ptr<Announcer> m_announcer; // no control: not in the layout or the tab order
};

// Starts the form and runs the event loop until the program ends. Returns the
// program's exit status: 0 after Exit or closing the window, the form's error
// status after a reported run-time error, at start-up too.
int exec(frmvelmar& form);

} // namespace ui
