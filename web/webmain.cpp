// The browser edition's entry points: what the page calls, and what its tests
// read back (the box's text and the exit code).
#include "app/frmvelmar.h"
#include "app/layout.h"
#include "icons/artwork.h"
#include "web/webwindow.h"

#include <emscripten.h>

#include <string>

namespace {

web::WebWindow g_window;
frmvelmar g_form(g_window);

} // namespace

extern "C" {

// The layout table, for the page to make its controls from: one control a
// line, its fields separated by tabs (name, kind, caption, left, top, width,
// height, spoken name, description).
EMSCRIPTEN_KEEPALIVE const char* velmar_layout()
{
    static std::string table = [] {
        std::string t;
        for (const app::ControlPlace& p : app::kLayout) {
            const char* kinds[] = {"canvas", "button", "box"};
            t += std::string(p.name) + '\t' + kinds[int(p.kind)] + '\t' +
                 (p.caption ? p.caption : "") + '\t' + std::to_string(p.geometry.left) + '\t' +
                 std::to_string(p.geometry.top) + '\t' + std::to_string(p.geometry.width) + '\t' +
                 std::to_string(p.geometry.height) + '\t' + p.spokenName + '\t' +
                 (p.description ? p.description : "") + '\n';
        }
        return t;
    }();
    return table.c_str();
}

// The canvas's drawing area now: CSS pixels, device pixels and their ratio.
EMSCRIPTEN_KEEPALIVE void velmar_set_canvas(int width, int height, int deviceWidth,
                                            int deviceHeight, double ratio)
{
    g_window.setLayout({width, height, deviceWidth, deviceHeight, ratio,
                        double(app::kTwipsPerPixel), double(app::kTwipsPerPixel)});
}

// The program's icon, for the page's tab and bookmarks.
EMSCRIPTEN_KEEPALIVE const char* velmar_icon_svg()
{
    static const std::string svg = icons::svg();
    return svg.c_str();
}

EMSCRIPTEN_KEEPALIVE int velmar_start()
{
    return g_form.start() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void velmar_click(const char* control)
{
    g_form.click(control);
}

EMSCRIPTEN_KEEPALIVE void velmar_canvas_changed()
{
    g_form.canvasChanged();
}

// The box's text as the form reads it back: CR LF between its lines.
EMSCRIPTEN_KEEPALIVE const char* velmar_box_text()
{
    static std::string text;
    text = g_window.resultBox().Text();
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE int velmar_exit_code()
{
    return g_form.exitCode();
}

} // extern "C"
