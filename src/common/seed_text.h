#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace bosquell {

// A seed as the user types it: plain decimal from 0 to 4294967295, nothing around it, so that
// the seed printed after a run reads back as the same number. Nothing for any other text.
std::optional<std::uint32_t> SeedFromText(std::string_view text);

}  // namespace bosquell
