// Reads the running program as Windows programs and screen readers read it:
//   client text     the result box's text (WM_GETTEXT), CR LF kept, as JSON
//   client focus    the name of the control with the keyboard focus
//   client names    each control's accessible name, value and description (MSAA)
//   client report   the error report's text, then dismisses it with its button
// Each waits for the program's window (or report) and fails when it is not there.
#include "app/layout.h"

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

HWND findWindow(const wchar_t* className)
{
    for (int tries = 0; tries < 600; ++tries, Sleep(100))
        if (HWND w = FindWindowW(className, L"Integration Velmar"))
            return w;
    return nullptr;
}

void print(const std::wstring& text)
{
    std::string out = "\"";
    for (wchar_t c : text) {
        if (c == L'"' || c == L'\\' || c < 0x20 || c > 0x7e) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
            out += escaped;
        } else {
            out += char(c);
        }
    }
    std::printf("%s\"\n", out.c_str());
}

std::wstring textOf(HWND hwnd)
{
    std::wstring text(std::size_t(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(std::size_t(SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::wstring property(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*))
{
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR value = nullptr;
    std::wstring text = SUCCEEDED((object->*get)(self, &value)) && value ? value : L"";
    SysFreeString(value);
    return text;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"report") {
        HWND box = findWindow(L"#32770");
        if (!box)
            return 2;
        print(textOf(GetDlgItem(box, 0xffff)));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return 0;
    }
    HWND window = findWindow(L"IntegrationVelmar");
    if (!window)
        return 2;
    const int first = GetDlgCtrlID(GetWindow(window, GW_CHILD));
    if (command == L"text") {
        print(textOf(GetDlgItem(window, first + 6)));
    } else if (command == L"focus") {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        const int i = GetDlgCtrlID(info.hwndFocus) - first;
        std::printf("%s\n", i >= 0 && i < 8 ? app::kLayout[i].name : "none");
    } else if (command == L"names") {
        CoInitialize(nullptr);
        for (int i = 0; i < 8; ++i) {
            IAccessible* object = nullptr;
            if (FAILED(AccessibleObjectFromWindow(GetDlgItem(window, first + i), OBJID_CLIENT, IID_IAccessible,
                                                  reinterpret_cast<void**>(&object))))
                return 3;
            std::printf("%s ", app::kLayout[i].name);
            print(property(object, &IAccessible::get_accName) + L" | " +
                  property(object, &IAccessible::get_accValue) + L" | " +
                  property(object, &IAccessible::get_accDescription));
            object->Release();
        }
    } else {
        return 1;
    }
    return 0;
}
