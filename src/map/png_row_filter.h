#pragma once

#include <cstddef>
#include <cstdint>

namespace bosquell {

// Undoes the filter of one row of an 8-bit RGB PNG: `filtered` holds the row's `length` bytes
// as stored (after its filter byte), a whole number of pixels, `prior` the row above already
// unfiltered (zeros for the first row), and the row's own bytes are written to `row`, which
// overlaps neither. False for a filter type PNG does not have.
bool UnfilterRgbRow(std::uint8_t filter, const std::uint8_t* filtered, const std::uint8_t* prior,
                    std::uint8_t* row, std::size_t length);

}  // namespace bosquell
