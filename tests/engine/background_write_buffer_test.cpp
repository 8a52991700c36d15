#include "files/background_write_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace bosquell {
namespace {

using testing::Pattern;

struct Pieces {
  const char* name;
  std::uint64_t directBytes;  // written straight through before the thread takes over
  std::vector<std::size_t> sizes;
};

TEST(BackgroundWriteBuffer, PassesEveryByteOnInOrder) {
  // Blocks of 16 bytes, three of them: pieces smaller than a block, ending exactly on one,
  // spanning several, and output that never fills the first block; all of it through the
  // thread, or the start written directly.
  const Pieces cases[] = {
      {"single bytes", 0, std::vector<std::size_t>(100, 1)},
      {"whole blocks", 0, {16, 16, 16, 16, 16}},
      {"spanning blocks", 0, {5, 40, 3, 100, 16, 1}},
      {"less than a block", 0, {7}},
      {"nothing", 0, {}},
      {"direct, then spanning blocks", 20, {5, 10, 40, 3, 100}},
      {"all direct", 1000, {5, 40, 3}},
  };
  for (const Pieces& test : cases) {
    SCOPED_TRACE(test.name);
    std::size_t total = 0;
    for (std::size_t size : test.sizes) total += size;
    const std::string expected = Pattern(total);
    std::stringbuf target;
    {
      BackgroundWriteBuffer buffer(target, test.directBytes, 16, 3);
      std::size_t at = 0;
      for (std::size_t size : test.sizes) {
        ASSERT_EQ(buffer.sputn(expected.data() + at, static_cast<std::streamsize>(size)),
                  static_cast<std::streamsize>(size));
        at += size;
      }
      ASSERT_EQ(buffer.pubsync(), 0);
      EXPECT_EQ(target.str(), expected);
      // Bytes after a flush follow on.
      ASSERT_EQ(buffer.sputc('!'), '!');
      ASSERT_EQ(buffer.pubsync(), 0);
    }
    EXPECT_EQ(target.str(), expected + "!");
  }
}

// A target that takes `room` bytes and then refuses, like a full disk.
class FullTarget : public std::streambuf {
 public:
  explicit FullTarget(std::streamsize room) : room_(room) {}

 protected:
  std::streamsize xsputn(const char*, std::streamsize count) override {
    const std::streamsize taken = std::min(count, room_);
    room_ -= taken;
    return taken;
  }

 private:
  std::streamsize room_;
};

TEST(BackgroundWriteBuffer, AFailedWriteFailsTheFlushAndRefusesTheRest) {
  // The failure comes in a direct write, in the first block, written at the flush, or in a
  // later block, written by the thread while more is produced; in each case nothing hangs and
  // the flush fails.
  for (const std::streamsize room : {std::streamsize{5}, std::streamsize{100}}) {
    for (const std::uint64_t direct : {0u, 10u}) {
      SCOPED_TRACE(room);
      SCOPED_TRACE(direct);
      FullTarget target(room);
      BackgroundWriteBuffer buffer(target, direct, 16, 2);
      const std::string bytes = Pattern(1000);
      std::streamsize taken = 0;
      for (char c : bytes) {
        if (buffer.sputn(&c, 1) != 1) break;
        ++taken;
      }
      EXPECT_EQ(buffer.pubsync(), -1);
      EXPECT_EQ(buffer.sputn(bytes.data(), 10), 0);
      EXPECT_LT(taken, static_cast<std::streamsize>(bytes.size()));
    }
  }
}

TEST(BackgroundWriteBuffer, StopsWithoutFlushingWhatIsLeft) {
  std::stringbuf target;
  {
    BackgroundWriteBuffer buffer(target, 0, 16, 2);
    const std::string bytes = Pattern(200);
    buffer.sputn(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }  // a run that failed elsewhere discards its output: destroying must neither hang nor flush
  EXPECT_LT(target.str().size(), 200u);
}

}  // namespace
}  // namespace bosquell
