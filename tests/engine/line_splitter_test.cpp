#include "mission/line_splitter.h"

#include "mission/line_break_scan.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace bosquell {
namespace {

// The lines of `bytes` handed over in pieces of `chunkSize`, and for each whether it was cut.
std::vector<std::string> Lines(const std::string& bytes, std::size_t chunkSize,
                               std::size_t headLength = 64 * 1024,
                               std::vector<bool>* cuts = nullptr) {
  LineSplitter splitter(headLength);
  std::vector<std::string> lines;
  const auto take = [&](std::string_view line, bool cut) {
    lines.emplace_back(line);
    if (cuts != nullptr) cuts->push_back(cut);
  };
  for (std::size_t at = 0; at < bytes.size(); at += chunkSize) {
    splitter.Feed(std::string_view(bytes).substr(at, chunkSize), take);
  }
  splitter.Finish(take);
  return lines;
}

using Expected = std::vector<std::string>;

// Every piece size, down to one byte, must split the same way: terminators that straddle a
// piece boundary and lines longer than a piece are where a splitter goes wrong.
TEST(LineSplitter, SplitsTheSameWayWhateverThePieces) {
  const struct {
    std::string bytes;
    Expected lines;
  } cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"\r\r\n\r", {"", "", ""}},
      {"no terminator", {"no terminator"}},
      // The first break decides: after a CR an LF alone is text, after an LF it ends a line.
      {"x\r\ny\nz\r\n\n", {"x", "y\nz", "\n"}},
      {"x\ry\n", {"x", "y\n"}},
      {"one\ntwo\nthree", {"one", "two", "three"}},
      {"x\n\r\ny\rz\n\n", {"x", "", "y", "z", ""}},
      {"a longer line than any chunk\r\nshort\r", {"a longer line than any chunk", "short"}},
      {"a longer line than any chunk\nshort\r\nend\n",
       {"a longer line than any chunk", "short", "end"}},
  };
  for (const auto& c : cases) {
    for (std::size_t chunk : {1u, 2u, 3u, 4u, 5u, 7u, 64u}) {
      EXPECT_EQ(Lines(c.bytes, chunk), c.lines) << "chunk " << chunk;
    }
  }
}

// A line longer than the head kept comes back as its head, whatever the pieces, and the lines
// after it are whole again.
TEST(LineSplitter, CutsLongLinesToTheirHead) {
  const std::string longLine(1000, 'x');
  const struct {
    std::string bytes;
    Expected lines;
    std::vector<bool> cut;
  } cases[] = {
      {longLine + "\r\nshort\r\n", {std::string(10, 'x'), "short"}, {true, false}},
      {"abc\r" + longLine + "\r" + longLine,
       {"abc", std::string(10, 'x'), std::string(10, 'x')},
       {false, true, true}},
      {"0123456789\r\n", {"0123456789"}, {false}},
      {longLine + "\n\r\nshort", {std::string(10, 'x'), "", "short"}, {true, false, false}},
  };
  for (const auto& c : cases) {
    for (std::size_t chunk : {1u, 2u, 7u, 64u, 5000u}) {
      std::vector<bool> cut;
      EXPECT_EQ(Lines(c.bytes, chunk, 10, &cut), c.lines) << "chunk " << chunk;
      EXPECT_EQ(cut, c.cut) << "chunk " << chunk;
    }
  }
}

TEST(LineSplitter, KeepsEveryByteOfALine) {
  std::string bytes;
  for (int c = 0; c < 256; ++c) {
    if (c != '\r') bytes += static_cast<char>(c);
  }
  EXPECT_EQ(Lines("x\r\n" + bytes + "\r\n", 16), (Expected{"x", bytes}));
}

// The scan takes 16 bytes at a time: every CR must be found wherever it stands in a step, and
// the scan must stop when told.
TEST(CarriageReturnScan, FindsEveryCrInOrderAndStopsWhenTold) {
  std::string text(300, 'x');
  std::vector<std::size_t> expected;
  for (std::size_t at = 0; at < text.size(); at += (at % 7) + 1) {
    text[at] = '\r';
    expected.push_back(at);
  }
  for (std::size_t from : {0u, 1u, 63u, 64u, 130u}) {
    std::vector<std::size_t> found;
    ForEachCarriageReturn(text.data() + from, text.data() + text.size(), [&](const char* cr) {
      found.push_back(static_cast<std::size_t>(cr - text.data()));
      return true;
    });
    std::vector<std::size_t> wanted;
    for (std::size_t at : expected) {
      if (at >= from) wanted.push_back(at);
    }
    EXPECT_EQ(found, wanted) << "from " << from;
  }
  int visits = 0;
  ForEachCarriageReturn(text.data(), text.data() + text.size(),
                        [&](const char*) { return ++visits < 3; });
  EXPECT_EQ(visits, 3);
}

}  // namespace
}  // namespace bosquell
