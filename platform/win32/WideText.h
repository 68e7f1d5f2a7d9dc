// Conversion between the core's UTF-8 strings and the wide strings of the Win32 API.
#pragma once

#include <string>

namespace platform {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

}  // namespace platform
