#pragma once

#include "app/window.h"
#include "plot/error.h"
#include "plot/formstate.h"

#include <string>
#include <string_view>
#include <vector>

// The form: the four numbers of state, the handlers, and the one place where a
// run-time error is caught and reported. It knows its window only through
// app::Window; the toolkit's side delivers the events below and runs the loop.
class frmvelmar
{
public:
    explicit frmvelmar(app::Window& window);
    frmvelmar(const frmvelmar&) = delete;
    frmvelmar& operator=(const frmvelmar&) = delete;

    // Runs Form_Load and opens the window. Returns false when the start-up
    // failed (and was reported).
    bool start();

    // The events: a button's click, by the control's name in app::kLayout (every
    // button there has its handler, or the program does not build), and
    // the canvas's change of device pixel ratio or size, which draws the
    // picture anew before the screen shows the stale one.
    void click(std::string_view control);
    void canvasChanged();

    const plot::FormState& state() const { return m_state; }
    // What Form_Load sets: the plot's margins and the value taken for pi, ten
    // digits, slightly above pi. No trapezoid count until a button sets it.
    static constexpr plot::FormState kLoaded{100, 100, 3.141592654, 0};

    // Once the program is ending (Exit, or an error was reported) no handler runs.
    bool ending() const { return m_exitCode >= 0; }
    // 0 after Exit, kErrorExitCode after a reported run-time error.
    int exitCode() const { return m_exitCode; }
    static constexpr int kErrorExitCode = 1;

    // What the canvas shows, for assistive technology: the curve, and the
    // trapezoids of the last run (0: none).
    static std::string graphDescription(int trapezoids);
    // What a screen reader says of a run ("10 trapezoids. Integral Sin(x)
    // [0,pi]= 1.98352353750514. dx= .3141592654") from the box's text, or of
    // Clear (0 trapezoids).
    static std::string runAnnouncement(int trapezoids, const std::string& boxText);
    // The report's heading above the error's description: "Run-time error '480':".
    static std::string reportHeading(const plot::RuntimeError& error);

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

    // Where the window hands control to a handler: the top level of every event.
    using Handler = void (frmvelmar::*)();
    void run(Handler handler);
    // No handler: run() redraws what a new pixel ratio needs, and nothing more.
    static constexpr Handler kRedrawOnly = nullptr;
    // Where the canvas lost its picture to a new pixel ratio or size, draws it
    // anew: the graph, then each trapezoid count run since the last Clear. The
    // box is not touched. Runs before every handler.
    void redrawIfNeeded();
    void tellRun(int trapezoids);
    void fail(const plot::RuntimeError& error);

    app::Window& m_window;
    plot::FormState m_state;
    // The counts run since the last Clear, each once: all trapezoids share one
    // colour, so they are the whole picture, whatever the order or repetition.
    std::vector<double> m_countsSinceClear;
    bool m_open = false; // the window is on screen: runs are announced
    int m_exitCode = -1;
};
