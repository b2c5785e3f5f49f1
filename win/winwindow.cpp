#include "win/winwindow.h"

#include "app/frmvelmar.h"
#include "app/layout.h"
#include "win/accesskeys.h"
#include "win/unicode.h"

#include <cmath>
#include <iterator>
#include <new>
#include <string_view>

namespace win {

namespace {

constexpr wchar_t kClass[] = L"IntegrationVelmar";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW, kExStyle = WS_EX_CONTROLPARENT;
constexpr int kFirstId = 100; // clear of IDOK and IDCANCEL, which the dialog keys send

int scaled(int pixels, double ratio)
{
    return int(std::lround(pixels * ratio));
}

int indexOf(const char* name)
{
    for (int i = 0; i < int(std::size(app::kLayout)); ++i)
        if (std::string_view(app::kLayout[i].name) == name)
            return i;
    return -1;
}

} // namespace

WinWindow::WinWindow(HINSTANCE instance)
{
    WNDCLASSEXW c = {};
    c.cbSize = sizeof c;
    c.lpfnWndProc = procedure;
    c.hInstance = instance;
    c.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    c.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.lpszClassName = kClass;
    RegisterClassExW(&c);
    CanvasPane::registerClass(instance);

    m_hwnd = CreateWindowExW(kExStyle, kClass, wide(app::kCaption).c_str(), kStyle, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (!m_hwnd)
        return;
    // Created in tab order: the dialog keys follow it.
    for (int i = 0; i < int(std::size(app::kLayout)); ++i) {
        const app::ControlPlace& p = app::kLayout[i];
        switch (p.kind) {
        case app::ControlKind::Canvas:
            m_canvas.create(m_hwnd, kFirstId + i, instance, p);
            m_controls[i] = m_canvas.hwnd();
            break;
        case app::ControlKind::ResultBox:
            m_box.create(m_hwnd, kFirstId + i, instance, p);
            m_controls[i] = m_box.hwnd();
            break;
        case app::ControlKind::Button:
            m_controls[i] = CreateWindowExW(0, L"BUTTON", wide(p.caption).c_str(),
                                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                                            m_hwnd, reinterpret_cast<HMENU>(INT_PTR(kFirstId + i)), instance,
                                            nullptr);
            break;
        }
    }
    m_canvas.onStale([](void* self) {
        if (frmvelmar* form = static_cast<WinWindow*>(self)->m_form)
            form->canvasChanged();
    }, this);
    fit(GetDpiForWindow(m_hwnd), nullptr);
}

WinWindow::~WinWindow()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    if (m_font)
        DeleteObject(m_font);
}

void WinWindow::fit(UINT dpi, const RECT* suggested)
{
    const double ratio = dpi / 96.0;
    // The system's message font at this DPI.
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, GetDpiForSystem());
    }
    const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    for (int i = 0; i < int(std::size(app::kLayout)); ++i) {
        const app::Rect& g = app::kLayout[i].geometry;
        const RECT r = {scaled(g.left, ratio), scaled(g.top, ratio), scaled(g.left, ratio) + scaled(g.width, ratio),
                        scaled(g.top, ratio) + scaled(g.height, ratio)};
        if (m_controls[i] == m_canvas.hwnd())
            m_canvas.place(r, ratio);
        else
            SetWindowPos(m_controls[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(m_controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (m_font)
        DeleteObject(m_font);
    m_font = font;
    RECT frame = {0, 0, scaled(app::kClientWidth, ratio), scaled(app::kClientHeight, ratio)};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi);
    SetWindowPos(m_hwnd, nullptr, suggested ? suggested->left : 0, suggested ? suggested->top : 0,
                 frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
}

int WinWindow::exec()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (accessKey(message) || IsDialogMessageW(m_hwnd, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

// Every Alt chord is the program's, never the controls' own mnemonics: the core
// alone decides which button it presses. Alt+Space opens the window menu.
bool WinWindow::accessKey(const MSG& message)
{
    if (message.message != WM_SYSCHAR || message.wParam == L' ' || !m_hwnd ||
        (message.hwnd != m_hwnd && !IsChild(m_hwnd, message.hwnd)))
        return false;
    if (const char* name = buttonForChord(message)) {
        const int i = indexOf(name);
        SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(kFirstId + i, BN_CLICKED),
                     reinterpret_cast<LPARAM>(m_controls[i]));
    }
    return true;
}

void WinWindow::describeCanvas(const std::string& text)
{
    m_canvas.describe(text);
}

void WinWindow::announce(const std::string& text)
{
    m_announcer.announce(m_hwnd, wide(text));
}

void WinWindow::open()
{
    ShowWindow(m_hwnd, SW_SHOWNORMAL);
    SetFocus(m_canvas.hwnd());
    UpdateWindow(m_hwnd);
}

void WinWindow::reportError(const plot::RuntimeError& error)
{
    std::wstring text;
    try {
        text = wide(frmvelmar::reportHeading(error) + "\n\n" + error.description());
    } catch (const std::bad_alloc&) {
        text = L"Out of memory";
    }
    MessageBoxW(m_hwnd && IsWindowVisible(m_hwnd) ? m_hwnd : nullptr, text.c_str(),
                wide(app::kCaption).c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

// The report (when there was one) was dismissed: the window goes, and the loop ends.
void WinWindow::quit(int status)
{
    m_status = status;
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    else
        PostQuitMessage(status);
}

LRESULT CALLBACK WinWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WinWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (auto* self = reinterpret_cast<WinWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
        return self->handle(hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT WinWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int i = LOWORD(wParam) - kFirstId;
        if (HIWORD(wParam) == BN_CLICKED && i >= 0 && i < int(std::size(app::kLayout)) &&
            app::kLayout[i].kind == app::ControlKind::Button && m_form)
            m_form->click(app::kLayout[i].name);
        return 0;
    }
    case WM_DPICHANGED:
        fit(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        if (m_form)
            m_form->canvasChanged();
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETNONCLIENTMETRICS)
            fit(GetDpiForWindow(m_hwnd), nullptr);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            m_lastFocus = GetFocus();
        else if (m_lastFocus && IsChild(hwnd, m_lastFocus))
            SetFocus(m_lastFocus);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        m_hwnd = nullptr;
        PostQuitMessage(m_status);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace win
