#include "common/file_names.h"

#include "common/utf8_path.h"

#ifdef _WIN32
#include "common/windows_headers.h"
#endif

namespace bosquell {

bool SameFileName(std::string_view a, std::string_view b) {
#ifdef _WIN32
  return SameFileName(PathFromUtf8(a), PathFromUtf8(b));
#else
  return a == b;
#endif
}

bool SameFileName(const std::filesystem::path& a, const std::filesystem::path& b) {
#ifdef _WIN32
  // The ordinal comparison that ignores case is the one NTFS and FAT name lookups make.
  const std::wstring& first = a.native();
  const std::wstring& second = b.native();
  return CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                              static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
#else
  return a.native() == b.native();
#endif
}

}  // namespace bosquell
