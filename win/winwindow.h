#pragma once

#include "app/window.h"
#include "win/announcer.h"
#include "win/canvaspane.h"
#include "win/resultbox.h"

#include <windows.h>

#include <array>

class frmvelmar;

namespace win {

// The form's window on Win32: a top-level window with the controls of
// app::kLayout as child windows in tab order (real BUTTONs, the result box an
// EDIT, the canvas a pane of its own), placed by the layout scaled to the
// monitor's DPI. Its message loop delivers the clicks to the form, runs the
// keyboard through IsDialogMessage, and the Alt chords through the core's rule.
class WinWindow : public app::Window
{
public:
    explicit WinWindow(HINSTANCE instance);
    ~WinWindow() override;
    WinWindow(const WinWindow&) = delete;
    WinWindow& operator=(const WinWindow&) = delete;

    bool created() const { return m_hwnd != nullptr; }
    // The form whose handlers the window's events run.
    void drive(frmvelmar& form) { m_form = &form; }
    // The message loop, until the window has gone; its exit status.
    int exec();

    plot::Canvas& canvas() override { return m_canvas.raster(); }
    plot::TextBox& resultBox() override { return m_box; }
    bool canvasNeedsRedraw() override { return m_canvas.raster().stale(); }
    void showDrawing() override { m_canvas.flush(); }
    void describeCanvas(const std::string& text) override;
    void announce(const std::string& text) override;
    void open() override;
    void reportError(const plot::RuntimeError& error) override;
    void quit(int status) override;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Places the controls and sizes the window for this DPI, in the system's
    // message font at that DPI.
    void fit(UINT dpi, const RECT* suggested);
    // An Alt chord: the button the core names is pressed. True where the
    // chord was the program's (every chord but Alt+Space, the window menu).
    bool accessKey(const MSG& message);

    HWND m_hwnd = nullptr;
    std::array<HWND, 8> m_controls{}; // as app::kLayout, in tab order
    CanvasPane m_canvas;
    ResultBox m_box;
    Announcer m_announcer;
    HFONT m_font = nullptr;
    HWND m_lastFocus = nullptr; // the control that had the focus when the window was left
    frmvelmar* m_form = nullptr;
    int m_status = 0;
};

} // namespace win
