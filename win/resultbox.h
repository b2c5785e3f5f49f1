#pragma once

#include "app/boxtext.h"
#include "app/layout.h"
#include "plot/canvas.h"

#include <windows.h>

#include <string>

namespace win {

// The result box: a multi-line EDIT, its text by app::BoxText's rule. The EDIT
// shows a line break as CR LF; Enter starts a line in it, Tab leaves it.
class ResultBox : public plot::TextBox
{
public:
    void create(HWND parent, int id, HINSTANCE instance, const app::ControlPlace& place);
    HWND hwnd() const { return m_hwnd; }

    std::string Text() const override;
    void SetText(const std::string& text) override;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self);

    HWND m_hwnd = nullptr;
    std::wstring m_name, m_description;
    app::BoxText m_text;
};

} // namespace win
