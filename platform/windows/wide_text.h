// The program's text is UTF-8; the Win32 calls take UTF-16.
#pragma once

#include <string>

namespace sysvane::windows {

std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

}  // namespace sysvane::windows
