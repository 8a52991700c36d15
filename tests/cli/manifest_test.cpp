// The Windows program file carries the manifest that lifts the 260-character path limit and
// makes UTF-8 the process's ANSI code page. Wine ignores the path limit, so the manifest is
// checked in the file itself.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

namespace bosquell::test {
namespace {

// The manifest resource (number 1 of type 24, RT_MANIFEST) of a program file, or "" when it has
// none.
std::string ManifestOf(const std::filesystem::path& program) {
  const HMODULE module = LoadLibraryExW(program.c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) return {};
  std::string manifest;
  if (const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    if (const HGLOBAL loaded = LoadResource(module, resource)) {
      manifest.assign(static_cast<const char*>(LockResource(loaded)),
                      SizeofResource(module, resource));
    }
  }
  FreeLibrary(module);
  return manifest;
}

TEST(WindowsProgram, ManifestAllowsLongPathsAndMakesTheCodePageUtf8) {
  const std::string manifest = ManifestOf(BOSQUELL_CLI_PROGRAM);
  EXPECT_NE(manifest.find("longPathAware>true<"), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("activeCodePage>UTF-8<"), std::string::npos) << manifest;
}

}  // namespace
}  // namespace bosquell::test
