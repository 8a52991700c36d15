#include "run/atomic_output_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "test_support.h"

namespace bosquell {
namespace {

using testing::FileNames;
using testing::ReadFile;
using testing::WriteFile;

// The system's calls, each recorded before it is made; a flush may be made to fail.
class RecordedCalls final : public PublishCalls {
 public:
  bool FlushFile(const NativeFile& file, std::error_code& error) const override {
    calls.push_back("flush file");
    if (failFlush) {
      error = std::make_error_code(std::errc::io_error);
      return false;
    }
    return SystemPublishCalls().FlushFile(file, error);
  }
  bool Replace(const std::filesystem::path& from, const std::filesystem::path& to,
               std::error_code& error) const override {
    calls.push_back("rename over " + to.filename().string());
    return SystemPublishCalls().Replace(from, to, error);
  }
  void FlushFolderOf(const std::filesystem::path& target) const override {
    calls.push_back("flush folder of " + target.filename().string());
    SystemPublishCalls().FlushFolderOf(target);
  }

  bool failFlush = false;
  mutable std::vector<std::string> calls;
};

TEST(AtomicOutputFile, ReachesTheDiskBeforeItReplacesTheOutput) {
  // A power loss after the rename must find the new bytes on the disk, and the rename itself
  // must be there once Commit returns; a file that cannot be flushed replaces nothing.
  const struct {
    bool failFlush;
    std::vector<std::string> calls;
    std::string output;
  } cases[] = {
      {false, {"flush file", "rename over out.mis", "flush folder of out.mis"}, "new"},
      {true, {"flush file"}, "earlier"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failFlush);
    testing::TempDir dir;
    WriteFile(dir / "out.mis", "earlier");
    RecordedCalls recorded;
    recorded.failFlush = c.failFlush;
    {
      AtomicOutputFile file(dir / "out.mis", recorded);
      std::error_code error;
      ASSERT_TRUE(file.Open(error)) << error.message();
      file.Buffer().sputn("new", 3);
      EXPECT_EQ(file.Commit(error), !c.failFlush);
    }
    EXPECT_EQ(recorded.calls, c.calls);
    EXPECT_EQ(ReadFile(dir / "out.mis"), c.output);
    EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"out.mis"});
  }
}

}  // namespace
}  // namespace bosquell
