#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "map/background_picture.h"

namespace bosquell {

// A picture's pixels as decoded, three bytes each, or why it cannot be shown.
struct DecodedPicture {
  int width = 0;
  int height = 0;
  MallocBytes rgb;
  std::string problem;  // a line for the map's status line, naming the file; empty on success
};

// A picture read from a file with its smaller copies, or why it cannot be shown.
struct PictureReading {
  std::optional<BackgroundPicture> picture;
  std::string problem;  // a line for the map's status line, naming the file; empty on success
};

// Decodes a PNG, JPEG or BMP picture from the file at `utf8Path`. The header is read first: a
// file that is no such picture, that claims more pixels than the map takes (picture_header.h), or
// that is too short for the pixels it claims, is refused before any room is made for them; a file
// cut short or damaged further on is refused when it is decoded. Never throws.
DecodedPicture DecodePicture(std::string_view utf8Path);

// Why the file at `utf8Path` is no picture the map could show, judged from its first bytes alone
// (it does not open, it is not a PNG, JPEG or BMP picture, its header gives a size the map
// refuses), naming the file; empty when it looks like one. For what refers to the file without
// showing its pixels, such as a plot. Never throws.
std::string PictureFileProblem(std::string_view utf8Path);

// Decodes the picture and makes its smaller copies. Never throws.
PictureReading ReadBackgroundPicture(std::string_view utf8Path);

}  // namespace bosquell
