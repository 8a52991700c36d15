#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace bosquell::test {

// A fresh directory under the system's temporary directory, removed again at the end.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
std::filesystem::path Fixture(const std::string& name);

struct ProgramResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the built bosquell-cli with the arguments, its output and errors going to files in
// `scratch`.
ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const ScratchDirectory& scratch);

}  // namespace bosquell::test
