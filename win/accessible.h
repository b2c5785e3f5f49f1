#pragma once

#include <windows.h>

#include <string>

namespace win {

// Answers WM_GETOBJECT for OBJID_CLIENT of a control whose accessible name (and
// description) is the program's own, not its window text: the system's own
// object for the control, with that name and description.
LRESULT namedObject(HWND hwnd, WPARAM wParam, LPARAM lParam, const std::wstring& name,
                    const std::wstring& description);

} // namespace win
