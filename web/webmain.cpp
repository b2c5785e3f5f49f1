// The browser edition's entry points: what the page calls, and what its tests
// set and read back (the box's text, and the exit code).
#include "app/boxtext.h"
#include "app/frmvelmar.h"
#include "app/layout.h"
#include "icons/artwork.h"
#include "web/webwindow.h"

#include <emscripten.h>

#include <string>
#include <string_view>

namespace {

web::WebWindow g_window;
frmvelmar g_form(g_window);

// A JSON string: the layout's texts are the program's own, but a quote or a
// backslash in one must not end it.
std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u00";
            out += "0123456789abcdef"[c >> 4];
            out += "0123456789abcdef"[c & 15];
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string field(const char* name, const std::string& value)
{
    return quoted(name) + ':' + value;
}

std::string field(const char* name, int value)
{
    return field(name, std::to_string(value));
}

// The form as the page makes it: its size, the canvas's border, the box's cap,
// and the controls of app::kLayout in tab order, each button's caption with its
// access key.
std::string formJson()
{
    std::string controls;
    for (const app::ControlPlace& p : app::kLayout) {
        std::string c = field("name", quoted(p.name)) + ',' + field("kind", quoted(app::kindName(p.kind))) +
                        ',' + field("left", p.geometry.left) + ',' + field("top", p.geometry.top) +
                        ',' + field("width", p.geometry.width) + ',' +
                        field("height", p.geometry.height) + ',' +
                        field("spokenName", quoted(p.spokenName)) + ',' +
                        field("description", p.description ? quoted(p.description) : "null");
        if (p.caption)
            c += ',' + field("caption", quoted(app::shownCaption(p.caption))) + ',' +
                 field("accessKeyAt", int(app::accessKeyAt(p.caption))) + ',' +
                 field("accessKey", quoted(std::string(1, app::accessKey(p.caption))));
        controls += (controls.empty() ? "" : ",") + ('{' + c + '}');
    }
    return '{' + field("caption", quoted(app::kCaption)) + ',' + field("width", app::kClientWidth) +
           ',' + field("height", app::kClientHeight) + ',' +
           field("canvasBorder", app::kCanvasBorder) + ',' +
           field("boxMaxLength", int(app::BoxText::kMaxTyped)) + ',' +
           field("controls", '[' + controls + ']') + '}';
}

} // namespace

extern "C" {

// The form, for the page to make its controls from, as JSON.
EMSCRIPTEN_KEEPALIVE const char* velmar_layout()
{
    static const std::string json = formJson();
    return json.c_str();
}

// The canvas's drawing area now: CSS pixels, device pixels and their ratio.
EMSCRIPTEN_KEEPALIVE void velmar_set_canvas(int width, int height, int deviceWidth,
                                            int deviceHeight, double ratio)
{
    g_window.setArea({width, height, deviceWidth, deviceHeight, ratio,
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

// The box's text as the form reads it back, and sets it.
EMSCRIPTEN_KEEPALIVE const char* velmar_box_text()
{
    static std::string text;
    text = g_window.resultBox().Text();
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE void velmar_set_box_text(const char* text)
{
    g_window.resultBox().SetText(text);
}

EMSCRIPTEN_KEEPALIVE int velmar_exit_code()
{
    return g_form.exitCode();
}

} // extern "C"
