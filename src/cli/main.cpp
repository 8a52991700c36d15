// bosquell-cli: adds randomly placed tree objects to a copy of a mission file, for batch use.

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_program.h"

#ifdef _WIN32
#include <filesystem>

// mingw's C++ library defines NOMINMAX already; defining it again would be a warning.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "common/utf8_path.h"

// The wide command line carries every file name; the program works in UTF-8 throughout.
int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(bosquell::Utf8FromPath(argv[i]));
  return bosquell::RunCliProgram(arguments, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return bosquell::RunCliProgram(arguments, std::cout, std::cerr);
}
#endif
