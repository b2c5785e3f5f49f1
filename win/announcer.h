#pragma once

#include <windows.h>

#include <string>

namespace win {

// One message for a screen reader to speak wherever the focus is: UI
// Automation's notification event, raised on the window, where the system has
// it (Windows 10 1709 and later); elsewhere nothing.
class Announcer
{
public:
    void announce(HWND window, const std::wstring& message);
};

} // namespace win
