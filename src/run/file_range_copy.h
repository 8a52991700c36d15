#pragma once

#include <cstddef>
#include <cstdint>

#include "run/platform_files.h"

namespace bosquell {

// Copies up to `size` bytes of `input`, from `inputOffset` on, to `output` at its current
// position, inside the system (copy_file_range on Linux, which also shares the blocks on file
// systems that can), without moving the input's own position. Returns the count copied; 0 or
// less when the system will not copy between these files or the copy failed, and the caller
// then writes the bytes itself. Elsewhere it always declines.
std::ptrdiff_t CopyFileRange(const NativeFile& input, std::uint64_t inputOffset,
                             const NativeFile& output, std::size_t size);

}  // namespace bosquell
