#include "mission/unchanged_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace bosquell {
namespace {

// The copy pass's tests cover what comes out; these cover where a stretch must end, with lines
// long enough to cross the scan's 16-byte steps.
TEST(UnchangedLines, StopBeforeACountLineOrALoneCr) {
  const std::string filler(100, 'x');
  const std::string text = filler + "\r\n  id 7\r\n" + filler + "\r\n  num_items 2\r\nrest\r\n";
  const UnchangedLines run = ScanUnchangedLines(text);
  EXPECT_EQ(run.length, text.find("  num_items"));
  EXPECT_EQ(run.lastIdLine, "  id 7");

  const std::string lone = filler + "\r\n" + filler + "\rmore\r\n";
  EXPECT_EQ(ScanUnchangedLines(lone).length, filler.size() + 2);
  EXPECT_EQ(ScanUnchangedLines("  num_items 1\r\n" + filler + "\r\n").length, 0u);
  // A CR at the very end may still get its LF from the next read.
  EXPECT_EQ(ScanUnchangedLines(filler + "\r\n" + filler + "\r").length, filler.size() + 2);
  const std::string idAtTheEnd = filler + "\r\n  id 9\r";
  EXPECT_EQ(ScanUnchangedLines(idAtTheEnd).lastIdLine, "");
  EXPECT_EQ(ScanUnchangedLines(idAtTheEnd + "\n").lastIdLine, "  id 9");
}

}  // namespace
}  // namespace bosquell
