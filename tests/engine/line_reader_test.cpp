#include "mission/line_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace bosquell {
namespace {

std::vector<std::string> Lines(const std::string& bytes, std::size_t chunkSize) {
  std::stringbuf source(bytes);
  LineReader reader(source, chunkSize);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(line)) lines.emplace_back(line);
  EXPECT_FALSE(reader.Failed());
  return lines;
}

using Expected = std::vector<std::string>;

// Every chunk size, down to two bytes, must split the same way: terminators that straddle a
// chunk boundary and lines longer than a chunk are where a reader goes wrong.
TEST(LineReader, SplitsTheSameWayWhateverTheChunkSize) {
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
      {"one\ntwo\nthree", {"one\ntwo\nthree"}},
      {"no terminator", {"no terminator"}},
      {"x\n\r\ny", {"x\n", "y"}},
      {"a longer line than any chunk\r\nshort\r", {"a longer line than any chunk", "short"}},
  };
  for (const auto& c : cases) {
    for (std::size_t chunk : {2u, 3u, 4u, 5u, 7u, 64u}) {
      EXPECT_EQ(Lines(c.bytes, chunk), c.lines) << "chunk " << chunk;
    }
  }
}

TEST(LineReader, KeepsEveryByteOfALine) {
  std::string bytes;
  for (int c = 0; c < 256; ++c) {
    if (c != '\r') bytes += static_cast<char>(c);
  }
  EXPECT_EQ(Lines(bytes + "\r\n", 16), Expected{bytes});
}

}  // namespace
}  // namespace bosquell
