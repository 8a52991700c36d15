#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bosquell {

// Walks a JPEG file's markers as a decoder meets them, fed the file's bytes in pieces of any
// size, and checks each Huffman table before the decoder builds it: stb_image as Debian ships it
// (2.27) writes past its table of 256 code values when a table lists more codes than that, so
// such a file must never reach it. Padding between segments is skipped and the entropy-coded
// data after each scan header is passed over up to the next marker, as the decoder does.
class JpegTableScan {
 public:
  void Feed(const std::uint8_t* bytes, std::size_t size);
  // The end-of-image marker has been seen: nothing after it is read.
  bool Done() const { return state_ == State::kDone; }
  // A table lists more than 256 codes, or its header reaches beyond its segment (also when the
  // bytes end inside it).
  bool BadTable() const;

 private:
  enum class State {
    kSeek,
    kMarker,
    kLengthHigh,
    kLengthLow,
    kSegment,
    kEntropy,
    kEntropyMarker,
    kDone
  };

  void Marker(std::uint8_t code);
  void EndSegment();

  State state_ = State::kSeek;
  std::uint8_t code_ = 0;
  std::size_t remaining_ = 0;
  std::vector<std::uint8_t> table_;  // the bytes of the Huffman table segment being read
  bool badTable_ = false;
};

}  // namespace bosquell
