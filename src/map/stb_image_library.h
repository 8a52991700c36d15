#pragma once

// stb_image as the map's pictures use it: PNG, JPEG and BMP only, read through callbacks and
// never by a file name, so that every path goes through the project's file layer (UTF-8 on
// Windows too). stb_image_library.cpp holds the decoder's code.
#include <cstdlib>

#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
// The decoded pixels are kept as they come and released with std::free.
#define STBI_MALLOC(size) std::malloc(size)
#define STBI_REALLOC(block, size) std::realloc(block, size)
#define STBI_FREE(block) std::free(block)
#include <stb/stb_image.h>
