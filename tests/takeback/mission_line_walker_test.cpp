#include "takeback/mission_line_walker.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace bosquell {
namespace {

struct Seen {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  std::uint32_t breakLength = 0;
  std::string head;

  bool operator==(const Seen&) const = default;
};

// Keeps what leaves the window, checking that it comes in order.
class KeptBytes final : public WindowListener {
 public:
  void Leaving(std::uint64_t offset, std::string_view bytes) override {
    EXPECT_EQ(offset, text.size());
    text += bytes;
  }
  std::string text;
};

// The lines of `text`, taken as the searches take them: many at a time from the window, the
// one that crosses its end alone.
std::vector<Seen> Walk(const std::string& text, std::size_t chunkSize, std::string& left) {
  std::stringbuf bytes(text);
  StreamWindow window(bytes, chunkSize);
  KeptBytes kept;
  MissionLineWalker walker(window, 4, &kept);
  std::vector<Seen> seen;
  const auto take = [&seen](const MissionLine& line) {
    seen.push_back({line.offset, line.length, line.breakLength, std::string(line.head)});
    return true;
  };
  MissionLine line;
  for (;;) {
    walker.TakeWholeLines(take);
    if (!walker.Next(line)) break;
    take(line);
  }
  walker.Finish();
  left = kept.text;
  return seen;
}

TEST(MissionLineWalker, HandsOutTheLinesEveryReaderAgreesOnInWindowsOfAnySize) {
  struct Case {
    std::string text;
    std::vector<Seen> lines;  // heads of 4 bytes at most
  };
  const Case cases[] = {
      // The first line end is a CR: an LF alone is text.
      {"ab\r\ncdefgh\rij\n\r\n", {{0, 2, 2, "ab"}, {4, 6, 1, "cdef"}, {11, 3, 2, "ij\n"}}},
      // The first is an LF: CR LF, a CR alone and an LF alone each end a line.
      {"ab\ncd\r\nef\rgh", {{0, 2, 1, "ab"}, {3, 2, 2, "cd"}, {7, 2, 1, "ef"}, {10, 2, 0, "gh"}}},
      {"abcdef", {{0, 6, 0, "abcd"}}},
      {"\r\n\r\nx\r", {{0, 0, 2, ""}, {2, 0, 2, ""}, {4, 1, 1, "x"}}},
      {"", {}},
  };
  for (const Case& test : cases) {
    for (const std::size_t chunkSize : {1, 2, 3, 5, 8, 256 * 1024}) {
      SCOPED_TRACE(test.text + " in windows of " + std::to_string(chunkSize));
      std::string left;
      EXPECT_EQ(Walk(test.text, chunkSize, left), test.lines);
      EXPECT_EQ(left, test.text);
    }
  }
}

}  // namespace
}  // namespace bosquell
