#include "common/same_file.h"

#include <system_error>

#include "common/file_names.h"

namespace bosquell {
namespace {

std::filesystem::path NormalisedAbsolute(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error) absolute = path;
  return absolute.lexically_normal();
}

}  // namespace

bool NamesSameFile(const std::filesystem::path& first, const std::filesystem::path& second) {
  std::error_code error;
  if (std::filesystem::exists(first, error) && std::filesystem::exists(second, error)) {
    const bool same = std::filesystem::equivalent(first, second, error);
    if (!error) return same;
  }
  return SameFileName(NormalisedAbsolute(first), NormalisedAbsolute(second));
}

}  // namespace bosquell
