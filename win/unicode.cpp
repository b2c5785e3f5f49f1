#include "win/unicode.h"

#include <windows.h>

namespace win {

std::wstring wide(const std::string& text)
{
    if (text.empty())
        return {};
    std::wstring out(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), int(out.size()));
    return out;
}

std::string narrow(const std::wstring& text)
{
    if (text.empty())
        return {};
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                        nullptr),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), int(out.size()), nullptr,
                        nullptr);
    return out;
}

} // namespace win
