#include "mission/mission_rewrite.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>

#include "test_support.h"

namespace bosquell {
namespace {

struct Rewritten {
  std::string output;
  std::string lastIdLine;
};

// Copies the input with `added` objects counted, then appends one block per type text with the
// ids continuing from the last id line, at fixed positions.
Rewritten Rewrite(const std::string& input, double added,
                  std::initializer_list<std::string_view> types = {}, std::size_t chunkSize = 8,
                  std::size_t outputCapacity = 16) {
  std::stringbuf source(input);
  std::stringbuf sink;
  Rewritten result;
  {
    OutputBuffer output(sink, outputCapacity);
    result.lastIdLine = CopyPass(source, output, added, chunkSize);
    double nextId = FirstId(result.lastIdLine);
    double x = 100;
    for (std::string_view type : types) {
      nextId += 1;
      WriteItemBlock(output, nextId, type, x, -x, 90);
      x += 100;
    }
    EXPECT_TRUE(output.Flush());
  }
  result.output = sink.str();
  return result;
}

// The text of an appended block for the given header number, id, type and position.
const std::string kBlock57 = std::string(
                                 "\r\n"
                                 "begin item 57\r\n"
                                 "  id 58\r\n"
                                 "  type_id 1023\r\n"
                                 "  position 100 -100 0\r\n"
                                 "  facing 90 0\r\n") +
                             testing::kBlockTail;

TEST(CopyPass, CopiesLinesWithCrLfAndRaisesTheCount) {
  const auto result = Rewrite(
      "begin objects\r\n  num_items 12\r\nend objects\r\n\r\nbegin item 56\r\n  id 57\r\n"
      "  type_id 1055\r\nend item\r\n",
      20, {"1023"});
  EXPECT_EQ(result.lastIdLine, "  id 57");
  EXPECT_EQ(result.output,
            std::string("begin objects\r\n  num_items 32\r\nend objects\r\n\r\nbegin item 56\r\n"
                        "  id 57\r\n  type_id 1055\r\nend item\r\n") +
                kBlock57);
}

TEST(CopyPass, CopiesTheSameWhateverTheBufferSizes) {
  const std::string input =
      "begin\r\n  num_items 3 x\r\n  id 1\rkeep\nthis\r\n\r\n  id 22\r\n"
      "a line long enough to span several small chunks of the reader\r\nend";
  const std::string expected =
      "begin\r\n  num_items 5\r\n  id 1\r\nkeep\nthis\r\n\r\n  id 22\r\n"
      "a line long enough to span several small chunks of the reader\r\nend\r\n";
  for (std::size_t chunk : {2u, 3u, 5u, 8u, 13u, 64u, 65536u}) {
    for (std::size_t capacity : {1u, 7u, 4096u}) {
      const auto result = Rewrite(input, 2, {}, chunk, capacity);
      EXPECT_EQ(result.output, expected) << "chunk " << chunk << ", capacity " << capacity;
      EXPECT_EQ(result.lastIdLine, "  id 22");
    }
  }
}

TEST(CopyPass, TurnsLoneCrTerminatorsIntoCrLfAndTerminatesTheLastLine) {
  EXPECT_EQ(Rewrite("first\rsecond\r\n\rlast", 1).output, "first\r\nsecond\r\n\r\nlast\r\n");
}

TEST(CopyPass, RewritesEveryCountLineAndDropsWhatFollowsTheNumber) {
  EXPECT_EQ(Rewrite("  num_items 12\r\n  num_items\r\n  num_items 7 // old\r\n"
                    "  num_itemsX\r\n   num_items 5\r\n  Num_items 5\r\n",
                    20)
                .output,
            "  num_items 32\r\n  num_items 20\r\n  num_items 27\r\n  num_items 20\r\n"
            "   num_items 5\r\n  Num_items 5\r\n");
}

TEST(CopyPass, RemembersTheLastLineThatStartsWithTheIdPrefix) {
  EXPECT_EQ(Rewrite("  id 3\r\n  id 9\r\n   id 12\r\n  ID 13\r\n", 1).lastIdLine, "  id 9");
  EXPECT_EQ(Rewrite("  id 3\r\n  idle 5\r\n", 1).lastIdLine, "  idle 5");
  EXPECT_EQ(Rewrite("  type_id 3\r\n", 1).lastIdLine, "");
}

TEST(CopyPass, ReadsAFileOfLfLineEndsLineByLine) {
  const auto result =
      Rewrite("  num_items 2\nbegin item 0\n  id 1\nend item\nbegin item 1\n  id 2\nend item\n", 1,
              {"1023"});
  EXPECT_EQ(result.output,
            std::string("  num_items 3\r\nbegin item 0\r\n  id 1\r\nend item\r\nbegin item 1\r\n"
                        "  id 2\r\nend item\r\n\r\nbegin item 2\r\n  id 3\r\n  type_id 1023\r\n"
                        "  position 100 -100 0\r\n  facing 90 0\r\n") +
                testing::kBlockTail);
}

// The first CR or LF of the file decides whether an LF alone ends a line; a CR alone always
// does. Whatever the chunks, and with breaks split across them.
TEST(CopyPass, EndsLinesAtLfAloneOnlyWhenTheFileStartsSo) {
  const struct {
    std::string input;
    std::string output;
    std::string lastIdLine;
  } cases[] = {
      {"a\r\nb\nc\r\n  num_items 1\nx\r\n  id 4\n5", "a\r\nb\nc\r\n  num_items 3\r\n  id 4\n5\r\n",
       "  id 4\n5"},
      {"a\rb\n  num_items 1\n", "a\r\nb\n  num_items 1\n\r\n", ""},
      {"a\nb\r\nc\rd\n\n  num_items 1 x\r\n  num_items\n  id 4\n\r  id 5\r\n\r\nend",
       "a\r\nb\r\nc\r\nd\r\n\r\n  num_items 3\r\n  num_items 2\r\n  id 4\r\n\r\n  id "
       "5\r\n\r\nend\r\n",
       "  id 5"},
      {"\n  num_items 1\n\n", "\r\n  num_items 3\r\n\r\n", ""},
  };
  for (const auto& c : cases) {
    for (std::size_t chunk : {1u, 2u, 3u, 5u, 8u, 13u, 65536u}) {
      const auto result = Rewrite(c.input, 2, {}, chunk, 7);
      EXPECT_EQ(result.output, c.output) << "chunk " << chunk;
      EXPECT_EQ(result.lastIdLine, c.lastIdLine) << "chunk " << chunk;
    }
  }
}

TEST(FirstId, ContinuesFromTheLastIdLine) {
  EXPECT_EQ(FirstId(""), 1);
  EXPECT_EQ(FirstId("  id 57"), 57);
  EXPECT_EQ(FirstId("  id"), 0);
  EXPECT_EQ(FirstId("  idle 5"), 0);
  EXPECT_EQ(FirstId("  id 2.5"), 2.5);
}

TEST(ItemBlocks, NumberOnFromTheLastIdWithEmptyLinesBetween) {
  const auto result = Rewrite("  id 57", 2, {"1023", "1145"});
  EXPECT_EQ(result.output, std::string("  id 57\r\n") + kBlock57 +
                               "\r\n"
                               "begin item 58\r\n"
                               "  id 59\r\n"
                               "  type_id 1145\r\n"
                               "  position 200 -200 0\r\n"
                               "  facing 90 0\r\n" +
                               testing::kBlockTail);
}

TEST(ItemBlocks, StartFromOneWithoutAnIdLineAndFromZeroAfterAnIdLikeKey) {
  const auto blockHead = [](const std::string& output) {
    return output.substr(0, output.find("  position"));
  };
  EXPECT_EQ(blockHead(Rewrite("", 1, {"1055"}).output),
            "\r\nbegin item 1\r\n  id 2\r\n  type_id 1055\r\n");
  EXPECT_EQ(blockHead(Rewrite("  idle 5\r\n", 1, {" 7"}).output),
            "  idle 5\r\n\r\nbegin item 0\r\n  id 1\r\n  type_id  7\r\n");
  EXPECT_EQ(blockHead(Rewrite("x\r\n", 1, {""}).output),
            "x\r\n\r\nbegin item 1\r\n  id 2\r\n  type_id \r\n");
}

TEST(ItemBlocks, WriteFractionsAndNegativePositionsPlainly) {
  std::stringbuf sink;
  {
    OutputBuffer output(sink);
    WriteItemBlock(output, 3, "1055", 0.256, -262144, 359);
  }
  EXPECT_NE(sink.str().find("\r\n  position 0.256 -262144 0\r\n  facing 359 0\r\n"),
            std::string::npos);
}

// A sink that accepts a few bytes and then refuses, like a full disk.
class FullDisk : public std::streambuf {
 protected:
  std::streamsize xsputn(const char*, std::streamsize count) override {
    const std::streamsize taken = std::min(count, room_);
    room_ -= taken;
    return taken;
  }
  int_type overflow(int_type) override { return traits_type::eof(); }

 private:
  std::streamsize room_ = 10;
};

// A source whose reads fail, like a vanished network share.
class BrokenSource : public std::streambuf {
 protected:
  std::streamsize xsgetn(char*, std::streamsize) override {
    throw std::ios_base::failure("read error");
  }
};

TEST(CopyPass, ReportsWhichSideFailed) {
  std::stringbuf source(std::string(100000, 'x'));
  FullDisk full;
  OutputBuffer output(full, 64);
  try {
    CopyPass(source, output, 1);
    FAIL() << "a full disk went unnoticed";
  } catch (const MissionStreamError& error) {
    EXPECT_EQ(error.side(), MissionStreamError::Side::kOutput);
  }

  BrokenSource broken;
  std::stringbuf sink;
  OutputBuffer sinkOutput(sink);
  try {
    CopyPass(broken, sinkOutput, 1);
    FAIL() << "a failed read went unnoticed";
  } catch (const MissionStreamError& error) {
    EXPECT_EQ(error.side(), MissionStreamError::Side::kInput);
  }
}

}  // namespace
}  // namespace bosquell
