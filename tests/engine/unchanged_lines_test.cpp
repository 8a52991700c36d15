#include "mission/unchanged_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "mission/mission_lines.h"

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

// The same stretch, found line by line: the plain reading of what the scan must find.
UnchangedLines LineByLine(std::string_view bytes) {
  UnchangedLines run;
  for (std::size_t start = 0;;) {
    const std::size_t cr = bytes.find('\r', start);
    if (cr == std::string_view::npos || cr + 1 == bytes.size() || bytes[cr + 1] != '\n') break;
    const std::string_view line = bytes.substr(start, cr - start);
    if (KindOfLine(line) == LineKind::kCount) break;
    if (KindOfLine(line) == LineKind::kId) run.lastIdLine = line;
    start = run.length = cr + 2;
  }
  return run;
}

// Pieces that put CRs, LFs and both prefixes at every position of the 16-, 32- and 64-byte
// steps, in texts that are mostly plain lines or mostly anything; in 16-byte steps only, and in
// wider steps where the processor has them.
TEST(UnchangedLines, FindWhatALineByLineReadingFinds) {
  const std::string pieces[] = {"\r\n", "\r", "\n", "  id", "  num_items", "  i", "  n", " ", "x7"};
  const std::string plainPieces[] = {"\r\n", "\r\n  id 4", "  i", "  n", " ", "x7", "\r\n  n"};
  std::mt19937 random(11);
  for (const int widest : {16, 32, 64}) {
    for (int text = 0; text < 6000; ++text) {
      std::string bytes;
      const bool plain = text % 2 == 1;
      const int count = static_cast<int>(random() % 120);
      for (int i = 0; i < count; ++i) {
        bytes += plain ? plainPieces[random() % std::size(plainPieces)]
                       : pieces[random() % std::size(pieces)];
      }
      if (plain && random() % 4 == 0) bytes += "\r\n  num_items 3\r\n";
      const UnchangedLines expected = LineByLine(bytes);
      const UnchangedLines run = ScanUnchangedLines(bytes, widest);
      ASSERT_EQ(run.length, expected.length) << widest << bytes;
      ASSERT_EQ(run.lastIdLine, expected.lastIdLine) << widest << bytes;
      ASSERT_EQ(run.lastIdLine.data(), expected.lastIdLine.data()) << widest << bytes;
    }
  }
}

}  // namespace
}  // namespace bosquell
