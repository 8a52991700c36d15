#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace bosquell::win32 {

// A small modal box that asks for one line of text: the prompt, a field, "OK" and "Cancel".
// The text typed, or nothing when the user cancels.
std::optional<std::wstring> AskText(HWND owner, const wchar_t* title, const wchar_t* prompt);

}  // namespace bosquell::win32
