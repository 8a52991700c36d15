#include "mission/last_id_line.h"

#include <algorithm>

#include "mission/mission_lines.h"

namespace bosquell {

void LastIdLine::Start() {
  seen_ = true;
  head_.clear();
  length_ = 0;
}

void LastIdLine::Append(std::string_view bytes) {
  const bool wasKept = length_ <= kKeptLength;
  length_ += bytes.size();
  if (length_ <= kKeptLength) {
    head_.append(bytes);
    return;
  }
  if (wasKept) {
    // The line outgrows what is kept: its number is read from here on, after the prefix, which
    // may lie in the head or in these bytes. A short line, the usual one, never needs it.
    number_ = NumberReader();
    const std::size_t prefixInHead = std::min(kIdLinePrefix.size(), head_.size());
    number_.Feed(std::string_view(head_).substr(prefixInHead));
    bytes.remove_prefix(std::min(bytes.size(), kIdLinePrefix.size() - prefixInHead));
  }
  if (!number_.Ended()) number_.Feed(bytes);
}

std::string LastIdLine::Text() const {
  if (!seen_) return "";
  if (length_ <= kKeptLength) return head_;
  return std::string(kIdLinePrefix) + number_.Text();
}

}  // namespace bosquell
