#pragma once

#include "app/boxtext.h"
#include "app/window.h"
#include "raster/rastercanvas.h"

#include <cstdint>
#include <string>

namespace web {

// The result box: a <textarea>, by app::BoxText's rule.
class WebBox : public plot::TextBox
{
public:
    std::string Text() const override;
    void SetText(const std::string& text) override;

private:
    app::BoxText m_text;
};

// The form's window in the page: the <canvas> shows the raster's buffer, put on
// it once per handler; the rest is the page's own elements (web/page.js).
class WebWindow : public app::Window
{
public:
    // The canvas's drawing area as the page lays it out now.
    void setArea(const raster::DrawingArea& area) { m_raster.setArea(area); }

    plot::Canvas& canvas() override { return m_raster; }
    plot::TextBox& resultBox() override { return m_box; }
    bool canvasNeedsRedraw() override { return m_raster.stale(); }
    void showDrawing() override;
    void describeCanvas(const std::string& text) override;
    void announce(const std::string& text) override;
    void open() override;
    void reportError(const plot::RuntimeError& error) override;
    void quit(int status) override;

private:
    raster::RasterCanvas m_raster;
    WebBox m_box;
};

} // namespace web
