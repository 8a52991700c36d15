#pragma once

// toml++, as the recipe reader includes it. The library checks its own state with assert()
// unless NDEBUG is set, and version 3.3 asserts on some malformed table headers ("[#",
// "[[[1]]]") that it goes on to refuse with a proper parse error: a user's typo would end a
// debug build. Every build runs the library as a release build does.
#define TOML_ASSERT(expr) static_assert(true)
#include <toml++/toml.h>
