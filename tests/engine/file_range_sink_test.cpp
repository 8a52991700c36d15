#include "run/file_range_sink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "mission/mission_rewrite.h"
#include "run/file_buffers.h"
#include "test_support.h"

namespace bosquell {
namespace {

int rangeCopyCalls = 0;

std::ptrdiff_t Decline(const NativeFile&, std::uint64_t, const NativeFile&, std::size_t) {
  ++rangeCopyCalls;
  return -1;  // as copy_file_range between two file systems: EXDEV
}

// Copies a little, then declines, as a system might part-way through.
std::ptrdiff_t CopyOnceThenDecline(const NativeFile& input, std::uint64_t offset,
                                   const NativeFile& output, std::size_t size) {
  if (rangeCopyCalls++ > 0) return -1;
  return CopyFileRange(input, offset, output, std::min<std::size_t>(size, 70000));
}

// The output of a copy pass whose long stretches go through `rangeCopy`, read back from disk.
std::string CopyThroughFiles(const testing::TempDir& dir, const std::string& mission,
                             FileRangeSink::RangeCopy rangeCopy) {
  testing::WriteFile(dir / "in.mis", mission);
  std::filesystem::remove(dir / "out.mis");
  std::error_code error;
  const NativeFile input = OpenRegularFileForReading(dir / "in.mis", error);
  const NativeFile output = CreateExclusively(dir / "out.mis", error);
  EXPECT_TRUE(input.IsOpen() && output.IsOpen()) << error.message();
  {
    FileWriteBuffer writer;
    writer.Attach(output);
    OutputBuffer buffer(writer);
    FileRangeSink sink(buffer, input, output, rangeCopy);
    FileReadBuffer reader(input);
    CopyPass(reader, sink, 5);
    EXPECT_TRUE(buffer.Flush());
  }
  return testing::ReadFile(dir / "out.mis");
}

// Whether the system copies inside itself, declines at once or part-way, the file holds what a
// copy pass through memory writes.
TEST(FileRangeSink, WritesTheSameWhetherTheSystemCopiesOrDeclines) {
  std::string mission;
  for (int i = 0; mission.size() < 600'000; ++i) {
    mission += i % 9000 == 4000 ? "  num_items 7\r\n" : i % 20000 == 7 ? "lone\r" : "  id 1\r\n";
  }
  std::stringbuf source(mission), sink;
  {
    OutputBuffer expected(sink);
    CopyPass(source, expected, 5);
  }
  const testing::TempDir dir;
  const std::string copied = CopyThroughFiles(dir, mission, &CopyFileRange);
  EXPECT_TRUE(copied == sink.str());
  for (const auto rangeCopy : {&Decline, &CopyOnceThenDecline}) {
    rangeCopyCalls = 0;
    EXPECT_TRUE(CopyThroughFiles(dir, mission, rangeCopy) == sink.str());
    EXPECT_EQ(rangeCopyCalls, rangeCopy == &Decline ? 1 : 2);  // never asked again
  }
}

}  // namespace
}  // namespace bosquell
