#include "common/same_file.h"

#include <system_error>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace bosquell {
namespace {

std::filesystem::path NormalisedAbsolute(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) absolute = path;
  return absolute.lexically_normal();
}

// Names as the file system matches them: Windows ignores letter case, in every script, with
// the ordinal comparison its file systems use; Linux compares the names as they are.
bool SameNames(const std::filesystem::path& first, const std::filesystem::path& second) {
#ifdef _WIN32
  const std::wstring& a = first.native();
  const std::wstring& b = second.native();
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
#else
  return first == second;
#endif
}

}  // namespace

bool NamesSameFile(const std::filesystem::path& first, const std::filesystem::path& second) {
  std::error_code error;
  if (std::filesystem::exists(first, error) && std::filesystem::exists(second, error)) {
    const bool same = std::filesystem::equivalent(first, second, error);
    if (!error) return same;
  }
  return SameNames(NormalisedAbsolute(first), NormalisedAbsolute(second));
}

}  // namespace bosquell
