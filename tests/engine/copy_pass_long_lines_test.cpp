#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "mission/mission_rewrite.h"

namespace bosquell {
namespace {

// Collects the output and checks that every stretch said to be copied from the input really
// stands there, at the offset given.
class CheckingSink final : public OutputSink {
 public:
  explicit CheckingSink(const std::string& input) : input_(input) {}
  void Write(std::string_view bytes) override { output.append(bytes); }
  void CopyFromInput(std::uint64_t offset, std::string_view bytes) override {
    EXPECT_EQ(input_.substr(offset, bytes.size()), bytes) << "at " << offset;
    copied += bytes.size();
    Write(bytes);
  }
  bool Failed() const override { return false; }

  std::string output;
  std::size_t copied = 0;

 private:
  const std::string& input_;
};

struct Copied {
  std::string output;
  std::string lastIdLine;
  std::size_t copied = 0;
};

Copied Copy(const std::string& input, double added, std::size_t chunkSize) {
  std::stringbuf source(input);
  CheckingSink sink(input);
  Copied result;
  result.lastIdLine = CopyPass(source, sink, added, chunkSize);
  result.output = std::move(sink.output);
  result.copied = sink.copied;
  return result;
}

// About 4 MB of position keys, each followed by `separator`.
std::string Positions(std::string_view separator) {
  std::string text;
  for (int i = 0; i < 300'000; ++i) text += "  position " + std::to_string(i) += separator;
  return text;
}

TEST(CopyPassLongLines, StreamTheLineThroughWhateverItsLength) {
  const std::string line = Positions(" ");
  const std::string lfLines = Positions("\n");
  for (std::size_t chunk : {4096u, 256u * 1024u}) {
    const Copied plain = Copy(line, 20, chunk);
    EXPECT_TRUE(plain.output == line + "\r\n") << "chunk " << chunk;
    EXPECT_EQ(plain.copied, line.size());

    const Copied idFirst = Copy("  id 41" + line + "\r\nend\r", 2, chunk);
    EXPECT_TRUE(idFirst.output == "  id 41" + line + "\r\nend\r\n");
    EXPECT_EQ(FirstId(idFirst.lastIdLine), 41);

    // In a file of LF line ends every LF gains a CR, and every input byte is copied as it was.
    const Copied lf = Copy(lfLines, 20, chunk);
    EXPECT_TRUE(lf.output == Positions("\r\n")) << "chunk " << chunk;
    EXPECT_EQ(lf.copied, lfLines.size());
    const Copied lfLong = Copy("  num_items 4\n" + line + "\n  id 9\n", 2, chunk);
    EXPECT_TRUE(lfLong.output == "  num_items 6\r\n" + line + "\r\n  id 9\r\n");
    EXPECT_EQ(lfLong.lastIdLine, "  id 9");
  }
}

TEST(CopyPassLongLines, ReadNumbersOfMillionsOfDigits) {
  const std::string zeros(3'000'000, '0');
  const std::string blanks(2'000'000, ' ');
  const struct {
    std::string line;
    std::string written;
  } cases[] = {
      {"  num_items " + zeros + "7 // old", "  num_items 27"},
      {"  num_items 3." + zeros + "1", "  num_items 23"},
      {"  num_items 1" + blanks + "2" + zeros + "e-3000000", "  num_items 32"},
      {"  num_items -1" + zeros, "  num_items -inf"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Copy("a\r\n" + c.line + "\r\nb", 20, 64 * 1024).output,
              "a\r\n" + c.written + "\r\nb\r\n");
  }
  // The last id line comes back short, and reads as the long one does.
  const Copied id = Copy("  id 1\r\n  id " + zeros + "5" + blanks + "8.5 tail\r\n", 1, 4096);
  EXPECT_LE(id.lastIdLine.size(), 900u);
  EXPECT_EQ(FirstId(id.lastIdLine), 58.5);
}

}  // namespace
}  // namespace bosquell
