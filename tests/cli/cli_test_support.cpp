#include "cli_test_support.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

#include "run_redirected.h"

namespace bosquell::test {
namespace {

std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

}  // namespace

ScratchDirectory::ScratchDirectory() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::temp_directory_path() /
          ("bosquell-cli-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
}

std::filesystem::path Fixture(const std::string& name) {
  return std::filesystem::path(BOSQUELL_CLI_FIXTURES) / name;
}

ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const ScratchDirectory& scratch) {
  const std::filesystem::path out = scratch / "stdout.txt";
  const std::filesystem::path err = scratch / "stderr.txt";
  ProgramResult result;
  result.exitCode = RunRedirected(BOSQUELL_CLI_PROGRAM, arguments, out, err);
  // The console's own line endings do not matter to the tests.
  result.out = WithoutCarriageReturns(ReadBytes(out));
  result.err = WithoutCarriageReturns(ReadBytes(err));
  return result;
}

}  // namespace bosquell::test
