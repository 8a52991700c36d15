#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace bosquell::test {

// Runs `program` with the UTF-8 `arguments`, its standard output and standard error going to the
// files `out` and `err`, and returns its exit status (-1 when it could not be started or did not
// exit normally).
int RunRedirected(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path& out, const std::filesystem::path& err);

}  // namespace bosquell::test
