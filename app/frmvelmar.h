#pragma once

#include "plot/error.h"
#include "plot/formstate.h"
#include "ui/velmarwindow.h"

#include <functional>
#include <vector>

// The form: the window, the four numbers of state, the handlers, and the one
// place where a run-time error is caught and reported.
class frmvelmar
{
public:
    // Shows the report of an untrapped error to the user.
    using ErrorReport = std::function<void(const plot::RuntimeError&)>;

    explicit frmvelmar(ErrorReport report = showErrorMessage);
    frmvelmar(const frmvelmar&) = delete;
    frmvelmar& operator=(const frmvelmar&) = delete;

    // Runs Form_Load and shows the window with the focus on the canvas.
    // Returns false when the start-up failed (and was reported).
    bool start();

    // Starts and runs the event loop until the program ends. Returns the
    // program's exit status: 0 after Exit or closing the window, kErrorExitCode
    // after a reported run-time error, at start-up too.
    int exec();

    ui::VelmarWindow& window() { return m_window; }
    const plot::FormState& state() const { return m_state; }

    // Once the program is ending (Exit, or an error was reported) no handler runs.
    bool ending() const { return m_exitCode >= 0; }
    int exitCode() const { return m_exitCode; }

    static void showErrorMessage(const plot::RuntimeError& error);
    static constexpr int kErrorExitCode = 1;

private:
    // The handlers, named after their control and event, and the integration.
    void Form_Load();
    void cmd1rect_Click();
    void cmd2rect_Click();
    void cmd10Rec_Click();
    void cmdcalc_Click();
    void cmdclear_Click();
    void cmdexit_Click();
    void Integration();
    // Where the device pixel ratio or the canvas's size has changed since the
    // canvas last drew, draws the picture anew: the graph, then each trapezoid
    // count run since the last Clear. The box is not touched. Runs before every
    // handler.
    void followPixelRatio();

    // Where Qt hands control to a handler: the top level of every event.
    void run(void (frmvelmar::*handler)());
    void fail(const plot::RuntimeError& error);
    void end(int exitCode);

    plot::FormState m_state;
    ui::VelmarWindow m_window;
    // The counts run since the last Clear, each once: all trapezoids share one
    // colour, so they are the whole picture, whatever the order or repetition.
    std::vector<double> m_countsSinceClear;
    ErrorReport m_report;
    int m_exitCode = -1;
};
