#include "app/frmvelmar.h"

#include "app/layout.h"
#include "plot/canvas.h"
#include "plot/graph.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

// Every button in the layout has a handler in the table, and every handler a button.
template <typename Handler, std::size_t N>
constexpr bool buttonsAreHandled(const std::pair<std::string_view, Handler> (&handlers)[N])
{
    std::size_t buttons = 0;
    for (const app::ControlPlace& p : app::kLayout) {
        if (p.kind != app::ControlKind::Button)
            continue;
        ++buttons;
        bool handled = false;
        for (const auto& h : handlers)
            handled = handled || h.first == p.name;
        if (!handled)
            return false;
    }
    return buttons == N;
}

} // namespace

frmvelmar::frmvelmar(app::Window& window) : m_window(window) {}

bool frmvelmar::start()
{
    run(&frmvelmar::Form_Load);
    if (ending())
        return false;
    m_window.open();
    m_open = true;
    return true;
}

void frmvelmar::click(std::string_view control)
{
    static constexpr std::pair<std::string_view, void (frmvelmar::*)()> handlers[] = {
        {"cmd1rect", &frmvelmar::cmd1rect_Click}, {"cmd2rect", &frmvelmar::cmd2rect_Click},
        {"cmd10Rec", &frmvelmar::cmd10Rec_Click}, {"cmdcalc", &frmvelmar::cmdcalc_Click},
        {"cmdclear", &frmvelmar::cmdclear_Click}, {"cmdexit", &frmvelmar::cmdexit_Click},
    };
    static_assert(buttonsAreHandled(handlers), "app::kLayout and the handlers name other buttons");
    for (const auto& [name, handler] : handlers)
        if (name == control)
            run(handler);
}

void frmvelmar::canvasChanged()
{
    run(kRedrawOnly);
}

void frmvelmar::run(Handler handler)
{
    if (ending())
        return;
    try {
        redrawIfNeeded(); // nothing is added to a picture drawn at another ratio
        if (handler)
            (this->*handler)();
        m_window.showDrawing();
        return;
    } catch (const plot::RuntimeError& error) {
        fail(error);
    } catch (const std::bad_alloc&) {
        fail(plot::RuntimeError(plot::ErrorNumber::OutOfMemory));
    }
}

void frmvelmar::fail(const plot::RuntimeError& error)
{
    // No handler runs from here on, not even while the report is up, and what
    // was drawn before the error stays on view, where there is memory to show it:
    // the report matters more.
    m_exitCode = kErrorExitCode;
    try {
        m_window.showDrawing();
    } catch (const std::bad_alloc&) {
    }
    m_window.reportError(error);
    m_window.quit(kErrorExitCode);
}

void frmvelmar::Form_Load()
{
    m_state.xOrigin = kLoaded.xOrigin;
    m_state.yMargin = kLoaded.yMargin;
    m_state.pi = kLoaded.pi;
    cmdclear_Click();
}

void frmvelmar::cmd1rect_Click()
{
    m_state.nTrap = 1;
    Integration();
}

void frmvelmar::cmd2rect_Click()
{
    m_state.nTrap = 2;
    Integration();
}

void frmvelmar::cmd10Rec_Click()
{
    m_state.nTrap = 10;
    Integration();
}

void frmvelmar::cmdcalc_Click()
{
    m_state.nTrap = 10000;
    Integration();
}

void frmvelmar::cmdclear_Click()
{
    plot::graphReset(m_state, m_window.canvas(), m_window.resultBox());
    m_countsSinceClear.clear();
    tellRun(0);
}

void frmvelmar::cmdexit_Click()
{
    m_exitCode = 0;
    m_window.quit(0);
}

void frmvelmar::Integration()
{
    const plot::Integral result = plot::integrate(m_state, m_window.canvas(), m_window.resultBox());
    if (std::find(m_countsSinceClear.begin(), m_countsSinceClear.end(), m_state.nTrap) ==
        m_countsSinceClear.end())
        m_countsSinceClear.push_back(m_state.nTrap);
    tellRun(int(result.passes));
}

void frmvelmar::redrawIfNeeded()
{
    if (!m_window.canvasNeedsRedraw())
        return;
    // The box keeps its text: the redraw writes into this one instead.
    struct Unshown : plot::TextBox
    {
        std::string text;
        std::string Text() const override { return text; }
        void SetText(const std::string& t) override { text = t; }
    } unshown;
    plot::graphReset(m_state, m_window.canvas(), unshown);
    for (double n : m_countsSinceClear) {
        plot::FormState state = m_state;
        state.nTrap = n;
        plot::integrate(state, m_window.canvas(), unshown);
    }
}

// Assistive technology learns what the canvas shows at once; a run is spoken
// only once the window is on screen (at start-up the window and its canvas are
// spoken when they appear).
void frmvelmar::tellRun(int trapezoids)
{
    m_window.describeCanvas(graphDescription(trapezoids));
    if (m_open)
        m_window.announce(runAnnouncement(trapezoids, m_window.resultBox().Text()));
}

std::string frmvelmar::graphDescription(int trapezoids)
{
    std::string text = "The sine curve over one period, from 0 to 2π, on axes.";
    if (trapezoids == 1)
        text += " 1 trapezoid approximates the area under it from 0 to π.";
    else if (trapezoids > 1)
        text += " " + std::to_string(trapezoids) +
                " trapezoids approximate the area under it from 0 to π.";
    return text;
}

std::string frmvelmar::runAnnouncement(int trapezoids, const std::string& boxText)
{
    if (trapezoids == 0)
        return "Cleared.";
    std::string text = trapezoids == 1 ? "1 trapezoid" : std::to_string(trapezoids) + " trapezoids";
    // Each line of the box a sentence of its own.
    std::string_view rest = boxText;
    for (;;) {
        const std::size_t breakAt = rest.find(plot::kLineBreak);
        text += ". ";
        text += rest.substr(0, breakAt);
        if (breakAt == std::string_view::npos)
            break;
        rest.remove_prefix(breakAt + std::string_view(plot::kLineBreak).size());
    }
    return text;
}

std::string frmvelmar::reportHeading(const plot::RuntimeError& error)
{
    return "Run-time error '" + std::to_string(error.code()) + "':";
}
