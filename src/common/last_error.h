#pragma once

#include <cerrno>
#include <system_error>

namespace bosquell {

// The error a failed file operation left in errno, or `fallback` when it left none: file streams
// are not obliged to set errno, so callers clear it first and supply the likeliest reason.
inline std::error_code LastErrorOr(std::errc fallback) {
  return errno != 0 ? std::error_code(errno, std::generic_category())
                    : std::make_error_code(fallback);
}

}  // namespace bosquell
