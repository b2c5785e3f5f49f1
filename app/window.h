#pragma once

#include "plot/canvas.h"
#include "plot/error.h"

#include <string>

namespace app {

// What the form needs of its window, whatever the toolkit: the canvas and the
// result box the engine draws and writes through, telling assistive technology,
// showing the window, reporting an error and ending. The toolkit's side
// implements it, delivers the clicks to the form, and runs the event loop.
class Window
{
public:
    virtual ~Window() = default;

    virtual plot::Canvas& canvas() = 0;     // picGraph
    virtual plot::TextBox& resultBox() = 0; // txtRes

    // Brings the canvas to the window's present device pixel ratio and size.
    // True where what it holds was drawn at another: the form draws it anew.
    virtual bool canvasNeedsRedraw() = 0;
    // Puts what the canvas drew since the last call on view, once per handler.
    virtual void showDrawing() = 0;

    // The canvas's description for assistive technology, and one message for
    // a screen reader to speak wherever the focus is.
    virtual void describeCanvas(const std::string& text) = 0;
    virtual void announce(const std::string& text) = 0;

    // Shows the window, the focus on the canvas.
    virtual void open() = 0;
    // Tells the user of an error that ends the program (its heading, from
    // frmvelmar::reportHeading, and its description); returns once the user has
    // seen it. Where the report cannot be shown, tells the user some other way.
    virtual void reportError(const plot::RuntimeError& error) = 0;
    // Ends the program with this exit status: the window goes, and no event of
    // the form is delivered after this.
    virtual void quit(int status) = 0;
};

} // namespace app
