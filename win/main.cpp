// The Windows edition: the form on its Win32 window.
#include "app/frmvelmar.h"
#include "app/layout.h"
#include "win/unicode.h"
#include "win/winwindow.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    win::WinWindow window(instance);
    if (!window.created()) {
        MessageBoxW(nullptr, L"The window could not be created.", win::wide(app::kCaption).c_str(), MB_OK | MB_ICONERROR);
        return frmvelmar::kErrorExitCode;
    }
    frmvelmar form(window);
    window.drive(form);
    if (!form.start())
        return form.exitCode();
    const int status = window.exec();
    return form.ending() ? form.exitCode() : status;
}
