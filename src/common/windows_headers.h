#pragma once

// <windows.h> as every Windows-only file of the program includes it: without the rarely used
// parts and without the min and max macros, which would break std::min and std::max. Each is
// defined only where it is not already: mingw's C++ library defines NOMINMAX itself.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
