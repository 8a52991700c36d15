#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace bosquell {

// An output file that appears whole or not at all: the bytes go to a temporary file beside the
// target, which replaces the target only once it is completely written and closed. Destroyed
// without a successful Commit(), it removes the temporary file and leaves the target as it was.
class AtomicOutputFile {
 public:
  explicit AtomicOutputFile(std::filesystem::path target);
  AtomicOutputFile(const AtomicOutputFile&) = delete;
  AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;
  ~AtomicOutputFile();

  // Creates the temporary file. On failure `error` says why.
  bool Open(std::error_code& error);
  std::streambuf& Buffer() { return *stream_.rdbuf(); }
  // Closes the temporary file and moves it over the target.
  bool Commit(std::error_code& error);

 private:
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::ofstream stream_;
  bool committed_ = false;
};

}  // namespace bosquell
