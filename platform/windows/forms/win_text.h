// Texts are UTF-8 in the program and UTF-16 at the Win32 boundary. Bytes that are not UTF-8
// become U+FFFD, never a cut-off text.
#pragma once

#include <string>

namespace sysvane::win {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
std::string Utf8(const wchar_t* wide);

}  // namespace sysvane::win
