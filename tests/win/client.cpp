// Reads the running program as Windows programs and screen readers read it:
//   client text            the result box's text (WM_GETTEXT), CR LF kept, then "|"
//   client focus           the name of the control with the keyboard focus
//   client names           each control's accessible name, value and description (MSAA)
//   client report          the error report's text, then presses its OK
//   client picture RATIO   the core's picture at start-up at that ratio, as a PPM
// Each waits for the program's window (or report) and fails when it is not there.
#include "app/frmvelmar.h"
#include "app/layout.h"
#include "plot/graph.h"
#include "raster/rastercanvas.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
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
    std::string out(std::size_t(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                                    nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), int(out.size()), nullptr, nullptr);
    std::printf("%s\n", out.c_str());
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

struct Box : plot::TextBox
{
    std::string Text() const override { return {}; }
    void SetText(const std::string&) override {}
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    _setmode(_fileno(stdout), _O_BINARY); // CR LF as the program has it
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"picture" && argc > 2) {
        const double ratio = _wtof(argv[2]);
        const int w = app::kLayout[0].geometry.width - 2 * app::kCanvasBorder;
        const int h = app::kLayout[0].geometry.height - 2 * app::kCanvasBorder;
        raster::RasterCanvas canvas;
        canvas.setArea({w, h, int(w * ratio + 0.5), int(h * ratio + 0.5), ratio, 15, 15});
        Box box;
        plot::graphReset(frmvelmar::kLoaded, canvas, box);
        std::printf("P6\n%d %d\n255\n", canvas.width(), canvas.height());
        for (int i = 0; i < canvas.width() * canvas.height(); ++i)
            std::printf("%c%c%c", canvas.pixels()[i] >> 16 & 255, canvas.pixels()[i] >> 8 & 255,
                        canvas.pixels()[i] & 255);
        return 0;
    }
    if (command == L"report") {
        HWND box = findWindow(L"#32770");
        if (!box)
            return 2;
        print(textOf(GetDlgItem(box, 0xffff)));
        // Pressed until it goes: a press posted while it is still opening is lost.
        for (int tries = 0; IsWindow(box) && tries < 600; ++tries, Sleep(100))
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        return IsWindow(box) ? 4 : 0;
    }
    HWND window = findWindow(L"IntegrationVelmar");
    if (!window)
        return 2;
    const int first = GetDlgCtrlID(GetWindow(window, GW_CHILD));
    if (command == L"text") {
        print(textOf(GetDlgItem(window, first + 6)) + L"|");
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
            if (FAILED(AccessibleObjectFromWindow(GetDlgItem(window, first + i), OBJID_CLIENT,
                                                  __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
                return 3;
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
