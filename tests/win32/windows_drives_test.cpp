// The drive letters as Windows keeps them: each letter has a current directory of its own, which
// a drive change in the window shows.

#include "win32/windows_drives.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "win32/wide_text.h"
#include "win32_test_support.h"

namespace bosquell::win32 {
namespace {

namespace fs = std::filesystem;

// Keeps `folder` as the current directory of the drive letter, the way the command prompt and
// the C runtime keep it ("=X:" in the environment), and forgets it again at the end.
class KeptFolder {
 public:
  KeptFolder(wchar_t letter, const std::wstring& folder) : name_{L'=', letter, L':'} {
    SetEnvironmentVariableW(name_.c_str(), folder.c_str());
  }
  ~KeptFolder() { SetEnvironmentVariableW(name_.c_str(), nullptr); }
  KeptFolder(const KeptFolder&) = delete;
  KeptFolder& operator=(const KeptFolder&) = delete;

 private:
  std::wstring name_;
};

TEST(WindowsDrives, EachLetterShowsItsOwnCurrentDirectoryElseItsRoot) {
  testing::CurrentScratchFolder current("Laufwerk");
  WindowsDrives drives;
  const std::wstring currentRoot = current.Path().root_path().wstring();

  // Another drive letter with a folder on it: Wine's Z: is the whole file system.
  fs::path other;
  for (const std::string& root : drives.Drives()) {
    const std::wstring wide = Wide(root);
    if (wide.size() != 3 || wide.compare(0, 2, currentRoot, 0, 2) == 0) continue;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(wide), error), end; !error && it != end;
         it.increment(error)) {
      if (it->is_directory(error)) {
        other = it->path();
        break;
      }
    }
    if (!other.empty()) break;
  }
  ASSERT_FALSE(other.empty()) << "no second drive letter with a folder";
  const std::string otherRoot = Utf8(other.root_path().wstring());

  // The current drive's folder is the process's current directory.
  EXPECT_EQ(drives.CurrentDirectoryOn(Utf8(currentRoot)), Utf8(current.Path().wstring()));
  // Another letter: the folder kept for it, else its root.
  {
    const KeptFolder kept(other.wstring()[0], other.wstring());
    EXPECT_EQ(drives.CurrentDirectoryOn(otherRoot), Utf8(other.wstring()));
  }
  EXPECT_EQ(drives.CurrentDirectoryOn(otherRoot), otherRoot);
}

}  // namespace
}  // namespace bosquell::win32
