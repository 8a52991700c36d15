#include "files/atomic_output_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "test_support.h"

namespace bosquell {
namespace {

using testing::FileNames;
using testing::Pattern;
using testing::ReadFile;
using testing::WriteFile;

TEST(AtomicOutputFile, CommitWritesEveryByteOfOutputPastTheDirectWrites) {
  // The first 4 MiB go straight to the file; the rest waits in blocks for a writing thread, and
  // Commit alone passes on the last, partly filled one.
  constexpr std::size_t kDirect = 4 * 1024 * 1024;
  const struct {
    const char* name;
    std::size_t size;
    std::size_t piece;
  } cases[] = {
      {"one piece, all of it in blocks", 7'000'000, 7'000'000},
      {"direct writes, then blocks", 7'000'000, 65'536},
      {"one byte past the direct writes", kDirect + 1, 4'096},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir dir;
    WriteFile(dir / "out.svg", "earlier");
    const std::string expected = Pattern(c.size);
    AtomicOutputFile file(dir / "out.svg");
    std::error_code error;
    ASSERT_TRUE(file.Open(error)) << error.message();
    for (std::size_t at = 0; at < c.size; at += c.piece) {
      const auto piece = static_cast<std::streamsize>(std::min(c.piece, c.size - at));
      ASSERT_EQ(file.Buffer().sputn(expected.data() + at, piece), piece);
    }
    ASSERT_TRUE(file.Commit(error)) << error.message();
    const std::string written = ReadFile(dir / "out.svg");
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);  // not EXPECT_EQ: megabytes of text on a failure
    EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"out.svg"});
  }
}

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
