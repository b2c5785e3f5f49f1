#include "win/canvaspane.h"

#include "app/layout.h"
#include "win/accessible.h"
#include "win/unicode.h"

#include <cmath>

namespace win {

namespace {

constexpr wchar_t kClass[] = L"IntegrationVelmarCanvas";

} // namespace

void CanvasPane::registerClass(HINSTANCE instance)
{
    WNDCLASSEXW c = {};
    c.cbSize = sizeof c;
    c.lpfnWndProc = procedure;
    c.hInstance = instance;
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.lpszClassName = kClass;
    RegisterClassExW(&c);
}

void CanvasPane::create(HWND parent, int id, HINSTANCE instance, const app::ControlPlace& place)
{
    m_name = wide(place.spokenName);
    m_geometry = place.geometry;
    m_hwnd = CreateWindowExW(0, kClass, m_name.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0,
                             parent, reinterpret_cast<HMENU>(INT_PTR(id)), instance, this);
}

void CanvasPane::place(const RECT& outer, double ratio)
{
    const int outerWidth = outer.right - outer.left, outerHeight = outer.bottom - outer.top;
    // The drawing area: the layout's, inside the border, at the device pixels
    // it covers at this ratio; it keeps its extent in twips.
    const int width = m_geometry.width - 2 * app::kCanvasBorder;
    const int height = m_geometry.height - 2 * app::kCanvasBorder;
    const int deviceWidth = int(std::lround(width * ratio)), deviceHeight = int(std::lround(height * ratio));
    m_area = {width, height, deviceWidth, deviceHeight, ratio, double(app::kTwipsPerPixel),
              double(app::kTwipsPerPixel)};
    m_origin = {(outerWidth - deviceWidth) / 2, (outerHeight - deviceHeight) / 2};
    SetWindowPos(m_hwnd, nullptr, outer.left, outer.top, outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

// Handlers never yield to the message loop: the area taken here holds for the
// whole handler.
raster::RasterCanvas& CanvasPane::raster()
{
    m_raster.setArea(m_area);
    return m_raster;
}

void CanvasPane::flush()
{
    const raster::PixelRect changed = m_raster.takeChanged();
    if (changed.empty())
        return;
    const RECT r = {m_origin.x + changed.left, m_origin.y + changed.top, m_origin.x + changed.right + 1,
                    m_origin.y + changed.bottom + 1};
    InvalidateRect(m_hwnd, &r, FALSE);
    UpdateWindow(m_hwnd); // straight to the pane's own paint, no other message
}

void CanvasPane::describe(const std::string& description)
{
    m_description = wide(description);
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void CanvasPane::onStale(void (*callback)(void*), void* context)
{
    m_stale = callback;
    m_staleContext = context;
}

void CanvasPane::paint()
{
    // A change of DPI shows here first, unless a handler ran before.
    if (raster().stale() && m_stale)
        m_stale(m_staleContext);
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(m_hwnd, &ps);
    RECT outer;
    GetClientRect(m_hwnd, &outer);
    const RECT area = {m_origin.x, m_origin.y, m_origin.x + m_area.deviceWidth,
                       m_origin.y + m_area.deviceHeight};
    // The border, then the picture, each pixel as the buffer holds it; the
    // paint's clip leaves the rest untouched.
    const HRGN frame = CreateRectRgnIndirect(&outer);
    const HRGN inside = CreateRectRgnIndirect(&area);
    CombineRgn(frame, frame, inside, RGN_DIFF);
    FillRgn(dc, frame, GetSysColorBrush(COLOR_BTNFACE));
    DeleteObject(inside);
    DeleteObject(frame);
    DrawEdge(dc, &outer, EDGE_SUNKEN, BF_RECT);
    if (GetFocus() == m_hwnd) // the focus shows on the border, never on the picture
        FrameRect(dc, &outer, GetSysColorBrush(COLOR_HIGHLIGHT));
    if (m_raster.width() == 0) {
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    } else {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = m_raster.width();
        info.bmiHeader.biHeight = -m_raster.height(); // top row first, as the buffer
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32; // 0xffRRGGBB, as the buffer
        info.bmiHeader.biCompression = BI_RGB;
        StretchDIBits(dc, area.left, area.top, m_raster.width(), m_raster.height(), 0, 0, m_raster.width(),
                      m_raster.height(), m_raster.pixels(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    EndPaint(m_hwnd, &ps);
}

LRESULT CALLBACK CanvasPane::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<CanvasPane*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->m_hwnd == hwnd)
        return self->handle(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CanvasPane::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_LBUTTONDOWN:
        SetFocus(m_hwnd); // a click gives it the focus, like the buttons'
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_CLIENT)
            if (const LRESULT object = namedObject(m_hwnd, wParam, lParam, m_name, m_description))
                return object;
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

} // namespace win
