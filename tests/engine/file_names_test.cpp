// One rule for "the same file name on this system": letter case folded as Windows' file systems
// fold it, in every script; exact on Linux.

#include "common/file_names.h"

#include <gtest/gtest.h>

#include "common/utf8_path.h"

namespace bosquell {
namespace {

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

TEST(SameFileName, FoldsCaseOnlyWhereTheFileSystemDoes) {
  struct Case {
    const char* a;
    const char* b;
    bool sameOnWindows;
    bool sameOnLinux;
  };
  const Case cases[] = {
      {"a.mis", "a.mis", true, true},
      {"MISSION1.MIS", "mission1.mis", true, false},
      {"Ä.MIS", "ä.mis", true, false},                      // beyond ASCII
      {"WÄLDCHEN 森.mis", "wäldchen 森.MIS", true, false},  // any script
      {"ΔΈΝΤΡΟ.mis", "δέντρο.mis", true, false},
      {"STRASSE.mis", "straße.mis", false, false},  // letter for letter: no expansions
      {"a.mis", "a.mi", false, false},
      {"a.mis", "b.mis", false, false},
      {"C:\\Maps", "c:\\maps", true, false},
      {"", "", true, true},
  };
  for (const auto& [a, b, sameOnWindows, sameOnLinux] : cases) {
    const bool expected = kWindows ? sameOnWindows : sameOnLinux;
    EXPECT_EQ(SameFileName(std::string_view(a), std::string_view(b)), expected) << a << " " << b;
    EXPECT_EQ(SameFileName(PathFromUtf8(a), PathFromUtf8(b)), expected) << a << " " << b;
  }
}

}  // namespace
}  // namespace bosquell
