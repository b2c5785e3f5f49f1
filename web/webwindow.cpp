#include "web/webwindow.h"

#include "app/frmvelmar.h"

#include <emscripten.h>

#include <cstdlib>
#include <new>

// The page's side of each call (web/page.js defines the velmarPage functions).
EM_JS(void, jsSetBoxText, (const char* text), { velmarPage.setBoxText(UTF8ToString(text)); });
EM_JS(char*, jsBoxText, (), {
    const text = velmarPage.boxText();
    const size = lengthBytesUTF8(text) + 1;
    const buffer = _malloc(size);
    stringToUTF8(text, buffer, size);
    return buffer;
});
EM_JS(void, jsPutPixels, (const std::uint8_t* rgba, int x, int y, int w, int h),
      { velmarPage.putPixels(HEAPU8.subarray(rgba, rgba + w * h * 4), x, y, w, h); });
EM_JS(void, jsDescribe, (const char* text), { velmarPage.describe(UTF8ToString(text)); });
EM_JS(void, jsAnnounce, (const char* text), { velmarPage.announce(UTF8ToString(text)); });
EM_JS(void, jsOpen, (), { velmarPage.open(); });
EM_JS(void, jsReport, (const char* heading, const char* text),
      { velmarPage.report(UTF8ToString(heading), UTF8ToString(text)); });
EM_JS(void, jsReportUnshown, (int number, const char* text),
      { velmarPage.reportUnshown(number, UTF8ToString(text)); });
EM_JS(void, jsQuit, (int status), { velmarPage.quit(status); });

namespace web {

std::string WebBox::Text() const
{
    char* shown = jsBoxText();
    const std::string text = m_text.read(shown);
    std::free(shown);
    return text;
}

void WebBox::SetText(const std::string& text)
{
    jsSetBoxText(m_text.keepAndShow(text).c_str());
}

void WebWindow::showDrawing()
{
    const raster::PixelRect r = m_raster.takeChanged();
    if (r.empty())
        return;
    const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
    m_rgba.resize(std::size_t(w) * h * 4);
    std::uint8_t* out = m_rgba.data();
    for (int y = r.top; y <= r.bottom; ++y) {
        const std::uint32_t* p = m_raster.pixels() + std::size_t(y) * m_raster.width() + r.left;
        for (int x = 0; x < w; ++x, out += 4) {
            out[0] = std::uint8_t(p[x] >> 16);
            out[1] = std::uint8_t(p[x] >> 8);
            out[2] = std::uint8_t(p[x]);
            out[3] = 255;
        }
    }
    jsPutPixels(m_rgba.data(), r.left, r.top, w, h);
}

void WebWindow::describeCanvas(const std::string& text)
{
    jsDescribe(text.c_str());
}

void WebWindow::announce(const std::string& text)
{
    jsAnnounce(text.c_str());
}

void WebWindow::open()
{
    jsOpen();
}

void WebWindow::reportError(const plot::RuntimeError& error)
{
    // The heading takes memory: where none is left for it, the page says what
    // it can in its own words, and the form ends the program as after any report.
    try {
        jsReport(frmvelmar::reportHeading(error).c_str(), error.what());
    } catch (const std::bad_alloc&) {
        jsReportUnshown(error.code(), error.what());
    }
}

void WebWindow::quit(int status)
{
    jsQuit(status);
}

} // namespace web
