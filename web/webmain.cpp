// The browser edition's entry points: what the page calls, and what its tests
// set and read back (the box's text, and the exit code).
#include "app/accesskeys.h"
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

// The form as JSON, written field by field: the layout's texts are the
// program's own, but a quote or a backslash in one must not end its string.
class Json
{
public:
    Json& field(const char* name, std::string_view text)
    {
        key(name);
        m_out += '"';
        for (char c : text) {
            if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
                m_out += "\\u00";
                m_out += "0123456789abcdef"[c >> 4 & 15];
                m_out += "0123456789abcdef"[c & 15];
            } else {
                m_out += c;
            }
        }
        m_out += '"';
        return *this;
    }
    Json& field(const char* name, const char* text)
    {
        return text ? field(name, std::string_view(text)) : raw(name, "null");
    }
    Json& field(const char* name, int value) { return raw(name, std::to_string(value)); }
    Json& open(const char* name, char bracket)
    {
        if (name)
            key(name);
        else if (m_out.back() == '}')
            m_out += ',';
        m_out += bracket;
        return *this;
    }
    Json& close(char bracket)
    {
        m_out += bracket;
        return *this;
    }
    const std::string& text() const { return m_out; }

private:
    void key(const char* name)
    {
        if (m_out.back() != '{' && m_out.back() != '[')
            m_out += ',';
        m_out += '"';
        m_out += name;
        m_out += "\":";
    }
    Json& raw(const char* name, const std::string& value)
    {
        key(name);
        m_out += value;
        return *this;
    }

    std::string m_out = "{";
};

// The form as the page makes it: its size, the canvas's border, the box's cap,
// and the controls of app::kLayout in tab order, each button's caption with its
// access key.
std::string formJson()
{
    Json json;
    json.field("caption", app::kCaption)
        .field("width", app::kClientWidth)
        .field("height", app::kClientHeight)
        .field("canvasBorder", app::kCanvasBorder)
        .field("boxMaxLength", int(app::BoxText::kMaxTyped))
        .open("controls", '[');
    for (const app::ControlPlace& p : app::kLayout) {
        json.open(nullptr, '{')
            .field("name", p.name)
            .field("kind", app::kindName(p.kind))
            .field("left", p.geometry.left)
            .field("top", p.geometry.top)
            .field("width", p.geometry.width)
            .field("height", p.geometry.height)
            .field("spokenName", p.spokenName)
            .field("description", p.description);
        if (p.caption)
            json.field("caption", app::shownCaption(p.caption))
                .field("accessKeyAt", int(app::accessKeyAt(p.caption)))
                .field("accessKey", std::string(1, app::accessKey(p.caption)));
        json.close('}');
    }
    return json.close(']').close('}').text();
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
    g_window.setArea({width, height, deviceWidth, deviceHeight, ratio, double(app::kTwipsPerPixel),
                      double(app::kTwipsPerPixel)});
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

// The button Alt with a key presses (0 for none): what the key types and its
// place, as code points.
EMSCRIPTEN_KEEPALIVE const char* velmar_access_key(int typed, int place)
{
    return app::buttonForKey(char32_t(typed), char32_t(place));
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
