#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/number_reader.h"

namespace bosquell {

// Keeps what the last id line of a mission is needed for, in bounded memory: the line itself
// while it is short, and its number, read as it streams past, when it is longer.
class LastIdLine {
 public:
  // Up to this length the line is kept as it stands.
  static constexpr std::size_t kKeptLength = 256;

  // A new id line starts; it replaces the one kept so far.
  void Start();
  // The next bytes of the line, from its first byte on and without its terminator.
  void Append(std::string_view bytes);
  // The line, or for a longer one the prefix and a short text of its number that reads as the
  // same value; "" when no id line was seen.
  std::string Text() const;

 private:
  bool seen_ = false;
  std::string head_;
  std::uint64_t length_ = 0;
  NumberReader number_;
};

}  // namespace bosquell
