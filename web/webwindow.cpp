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
// The whole buffer as image data over the module's memory (no copy); the page
// puts only the changed rectangle of it.
EM_JS(void, jsPutPixels,
      (const std::uint32_t* pixels, int width, int height, int x, int y, int w, int h), {
          velmarPage.putPixels(
              new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4), width,
                            height),
              x, y, w, h);
      });
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
    jsPutPixels(m_raster.pixels(), m_raster.width(), m_raster.height(), r.left, r.top,
                r.right - r.left + 1, r.bottom - r.top + 1);
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
