#include "mission/last_id_line.h"

#include <algorithm>

#include "mission/mission_lines.h"

namespace bosquell {

void LastIdLine::Start() {
  seen_ = true;
  head_.clear();
  length_ = 0;
  number_ = NumberReader();
}

void LastIdLine::Append(std::string_view bytes) {
  if (head_.size() < kKeptLength) {
    head_.append(bytes.substr(0, kKeptLength - head_.size()));
  }
  // The number starts after the prefix, which may have come in an earlier piece.
  const std::size_t prefixLeft =
      length_ < kIdLinePrefix.size() ? kIdLinePrefix.size() - static_cast<std::size_t>(length_) : 0;
  length_ += bytes.size();
  if (!number_.Ended()) number_.Feed(bytes.substr(std::min(prefixLeft, bytes.size())));
}

std::string LastIdLine::Text() const {
  if (!seen_) return "";
  if (length_ <= kKeptLength) return head_;
  return std::string(kIdLinePrefix) + number_.Text();
}

}  // namespace bosquell
