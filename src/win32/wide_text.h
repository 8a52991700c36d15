#pragma once

#include <string>
#include <string_view>

namespace bosquell::win32 {

// The window logic works in UTF-8; every Windows API call takes UTF-16. These convert at that
// boundary. Ill-formed input becomes U+FFFD rather than being dropped.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace bosquell::win32
