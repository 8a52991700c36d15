#include "map/jpeg_table_scan.h"

#include <algorithm>
#include <cstring>

namespace bosquell {
namespace {

constexpr std::uint8_t kHuffmanTables = 0xC4;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kEndOfImage = 0xD9;

// Markers that stand alone, with no length: the restarts, the start of the image, and the
// byte a stuffed 0xFF is followed by (no marker at all).
bool StandsAlone(std::uint8_t code) {
  return code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= 0xD8);
}

// Each table: its class and number, 16 counts of codes by length, then the codes' values.
bool TablesFit(const std::vector<std::uint8_t>& segment) {
  constexpr std::size_t kHeader = 17;
  constexpr int kMostCodes = 256;
  for (std::size_t at = 0; at < segment.size();) {
    if (segment.size() - at < kHeader) return false;
    int codes = 0;
    for (std::size_t i = 1; i < kHeader; ++i) codes += segment[at + i];
    if (codes > kMostCodes) return false;
    at += kHeader + static_cast<std::size_t>(codes);
  }
  return true;
}

}  // namespace

bool JpegTableScan::BadTable() const {
  return badTable_ || (state_ == State::kSegment && code_ == kHuffmanTables && !TablesFit(table_));
}

void JpegTableScan::Marker(std::uint8_t code) {
  code_ = code;
  if (code == kEndOfImage) {
    state_ = State::kDone;
  } else {
    state_ = StandsAlone(code) ? State::kSeek : State::kLengthHigh;
  }
}

void JpegTableScan::EndSegment() {
  if (code_ == kHuffmanTables) {
    if (!TablesFit(table_)) badTable_ = true;
    table_.clear();
  }
  state_ = code_ == kStartOfScan ? State::kEntropy : State::kSeek;
}

void JpegTableScan::Feed(const std::uint8_t* bytes, std::size_t size) {
  const std::uint8_t* const end = bytes + size;
  while (bytes < end && state_ != State::kDone) {
    switch (state_) {
      case State::kSeek:
      case State::kEntropy: {
        // Up to the next 0xFF, which may start a marker.
        const void* mark = std::memchr(bytes, 0xFF, static_cast<std::size_t>(end - bytes));
        if (mark == nullptr) return;
        bytes = static_cast<const std::uint8_t*>(mark) + 1;
        state_ = state_ == State::kSeek ? State::kMarker : State::kEntropyMarker;
        break;
      }
      case State::kMarker: {
        const std::uint8_t code = *bytes++;
        if (code != 0xFF) Marker(code);
        break;
      }
      case State::kEntropyMarker: {
        // A stuffed 0xFF or a restart belongs to the entropy-coded data.
        const std::uint8_t code = *bytes++;
        if (code == 0x00 || (code >= 0xD0 && code <= 0xD7)) {
          state_ = State::kEntropy;
        } else if (code != 0xFF) {
          Marker(code);
        }
        break;
      }
      case State::kLengthHigh:
        remaining_ = static_cast<std::size_t>(*bytes++) << 8;
        state_ = State::kLengthLow;
        break;
      case State::kLengthLow:
        remaining_ |= *bytes++;
        // The length counts its own two bytes.
        remaining_ = remaining_ >= 2 ? remaining_ - 2 : 0;
        state_ = State::kSegment;
        if (remaining_ == 0) EndSegment();
        break;
      case State::kSegment: {
        const std::size_t piece = std::min(remaining_, static_cast<std::size_t>(end - bytes));
        if (code_ == kHuffmanTables) table_.insert(table_.end(), bytes, bytes + piece);
        bytes += piece;
        remaining_ -= piece;
        if (remaining_ == 0) EndSegment();
        break;
      }
      case State::kDone:
        break;
    }
  }
}

}  // namespace bosquell
