#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "map/background_picture.h"
#include "map/picture_file_reader.h"

namespace bosquell {

// The pixels of a plain PNG, or why it cannot be shown.
struct PlainPngPixels {
  MallocBytes rgb;
  std::string problem;  // without the file's name; empty on success
};

// Decodes an 8-bit RGB PNG without interlacing, the kind map pictures mostly are, from the start
// of `reader`; nothing when the file is another kind of PNG, which the general decoder then
// takes. Its data is inflated by zlib as its chunks are read, a batch of rows at a time, and each
// batch is unfiltered on a second thread straight to its place in a block of exactly the pixels'
// size: neither all of the compressed data nor the filtered rows are ever held whole. `width` and
// `height` are those of the header, already checked; `fileSize` bounds the chunks.
std::optional<PlainPngPixels> DecodePlainPng(PictureFileReader& reader, int width, int height,
                                             std::uint64_t fileSize);

}  // namespace bosquell
