#pragma once

#include "app/layout.h"
#include "raster/rastercanvas.h"

#include <windows.h>

#include <string>

namespace win {

// The canvas: a child window of its own with the standard sunken border, that
// shows the raster's buffer as it is, one buffer pixel to a screen pixel, and
// repaints only the rectangle that changed.
class CanvasPane
{
public:
    static void registerClass(HINSTANCE instance);
    void create(HWND parent, int id, HINSTANCE instance, const app::ControlPlace& place);
    HWND hwnd() const { return m_hwnd; }

    // Places the pane at this outer rectangle (device pixels) for a DPI of
    // `ratio` times 96; the drawing area inside is the layout's at that ratio.
    void place(const RECT& outer, double ratio);
    // The raster, brought to the pane's present area: stale where the picture
    // was drawn at another.
    raster::RasterCanvas& raster();
    // Puts what was drawn since the last call on screen, now.
    void flush();

    void describe(const std::string& description);
    // Raised when a paint finds the picture stale: the form draws it anew.
    void onStale(void (*callback)(void*), void* context);

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();

    HWND m_hwnd = nullptr;
    raster::RasterCanvas m_raster;
    raster::DrawingArea m_area;
    app::Rect m_geometry{}; // the layout's, at 96 DPI
    POINT m_origin{}; // the drawing area's top-left inside the pane
    std::wstring m_name, m_description;
    void (*m_stale)(void*) = nullptr;
    void* m_staleContext = nullptr;
};

} // namespace win
