#include "common/seed_text.h"

#include <charconv>
#include <system_error>

namespace bosquell {

std::optional<std::uint32_t> SeedFromText(std::string_view text) {
  std::uint32_t seed = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, seed);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return seed;
}

}  // namespace bosquell
