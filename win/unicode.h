#pragma once

#include <string>

namespace win {

// The core's texts are UTF-8; Windows' are UTF-16.
std::wstring wide(const std::string& text);
std::string narrow(const std::wstring& text);

} // namespace win
