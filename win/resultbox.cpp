#include "win/resultbox.h"

#include "app/layout.h"
#include "plot/error.h"
#include "win/accessible.h"
#include "win/unicode.h"

#include <commctrl.h>

namespace win {

namespace {

// What the box shows, LF line breaks, as the EDIT takes it (CR LF), and back.
std::wstring toEdit(const std::string& shown)
{
    std::wstring text;
    for (wchar_t c : wide(shown)) {
        if (c == L'\n')
            text += L'\r';
        text += c;
    }
    return text;
}

std::string fromEdit(const std::wstring& text)
{
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n'))
            shown += text[i];
    return narrow(shown);
}

} // namespace

void ResultBox::create(HWND parent, int id, HINSTANCE instance, const app::ControlPlace& place)
{
    m_name = wide(place.spokenName);
    m_description = wide(place.description);
    m_hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN |
                                 ES_AUTOVSCROLL,
                             0, 0, 0, 0, parent, reinterpret_cast<HMENU>(INT_PTR(id)), instance, nullptr);
    // The cap on what a user brings in; the program's own text is never cut.
    SendMessageW(m_hwnd, EM_SETLIMITTEXT, app::BoxText::kMaxTyped, 0);
    SetWindowSubclass(m_hwnd, procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

// Nothing of the box is kept: its text is read from the EDIT each time.
std::string ResultBox::Text() const
{
    SetLastError(0);
    const int length = GetWindowTextLengthW(m_hwnd);
    if (length == 0 && GetLastError() != 0)
        plot::raise(plot::ErrorNumber::TextBoxFailure, "the box's text could not be read");
    std::wstring text(std::size_t(length) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(m_hwnd, text.data(), length + 1)));
    return m_text.read(fromEdit(text));
}

void ResultBox::SetText(const std::string& text)
{
    if (!SetWindowTextW(m_hwnd, toEdit(m_text.keepAndShow(text)).c_str()))
        plot::raise(plot::ErrorNumber::TextBoxFailure, "the box's text could not be set");
}

LRESULT CALLBACK ResultBox::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data)
{
    const auto* self = reinterpret_cast<const ResultBox*>(data);
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter starts a line here; Tab leaves the box for the next control.
        LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_TAB)
            code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
        return code;
    }
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_CLIENT)
            return namedObject(hwnd, wParam, lParam, self->m_name, self->m_description);
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace win
