#include "win32/windows_drives.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "common/file_names.h"
#include "win32/wide_text.h"
#include "window_logic/window_paths.h"

namespace bosquell::win32 {

std::vector<std::string> WindowsDrives::Drives() {
  std::vector<std::string> roots;
  std::wstring buffer(GetLogicalDriveStringsW(0, nullptr), L'\0');
  const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
  buffer.resize(std::min<std::size_t>(length, buffer.size()));
  for (std::size_t start = 0; start < buffer.size();) {
    const std::size_t end = buffer.find(L'\0', start);
    const std::wstring_view root(buffer.data() + start,
                                 (end == std::wstring::npos ? buffer.size() : end) - start);
    if (!root.empty()) roots.push_back(Utf8(root));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  // A current directory on a network share has no letter; its share is its drive.
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  const std::string currentRoot = Utf8(current.root_path().wstring());
  const bool listed = std::any_of(roots.begin(), roots.end(), [&](const std::string& root) {
    return SameFileName(root, currentRoot);
  });
  if (!listed && !currentRoot.empty()) roots.push_back(currentRoot);
  return roots;
}

bool WindowsDrives::IsReadable(const std::string& root) {
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  std::wstring pattern = Wide(root);
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found;
  HANDLE search =
      FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  // An empty root has nothing to find, and is readable all the same.
  const bool readable = search != INVALID_HANDLE_VALUE || GetLastError() == ERROR_FILE_NOT_FOUND;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  SetErrorMode(previous);
  return readable;
}

std::string WindowsDrives::CurrentDirectory() {
  std::error_code error;
  return Utf8(std::filesystem::current_path(error).wstring());
}

std::string WindowsDrives::CurrentDirectoryOn(const std::string& root) {
  const std::wstring wide = Wide(root);
  if (wide.size() < 2 || wide[1] != L':') return CurrentDirectory();
  const std::wstring drive = wide.substr(0, 2);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFullPathNameW(drive.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return {};
    if (length < full.size()) {
      full.resize(length);
      // The system may end the folder in a backslash (Z:\maps\ for Z:\maps); only a root keeps one.
      return NativeDirectory(Utf8(full));
    }
    full.resize(length);  // too short: `length` is the size needed, with the terminator
  }
}

}  // namespace bosquell::win32
