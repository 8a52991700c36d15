#pragma once

#include <cstdint>
#include <string_view>

namespace bosquell {

// Where the copy pass writes. Most of the output is the input's own bytes, handed over as such,
// so that a sink that can copy straight from the input file may skip the bytes in memory.
class OutputSink {
 public:
  virtual ~OutputSink() = default;

  virtual void Write(std::string_view bytes) = 0;
  // Writes `bytes`, which stand unchanged in the input from byte `inputOffset` on. They are
  // valid only during the call; a sink that copies from the input itself need not read them.
  virtual void CopyFromInput(std::uint64_t inputOffset, std::string_view bytes) {
    static_cast<void>(inputOffset);
    Write(bytes);
  }
  // True once any write has failed; later writes are ignored.
  virtual bool Failed() const = 0;
};

}  // namespace bosquell
