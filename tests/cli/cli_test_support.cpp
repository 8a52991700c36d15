#include "cli_test_support.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace bosquell::test {
namespace {

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

int ExitCodeOf(int systemResult) {
#ifdef _WIN32
  return systemResult;
#else
  return WIFEXITED(systemResult) ? WEXITSTATUS(systemResult) : -1;
#endif
}

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
  std::string command = Quoted(BOSQUELL_CLI_PROGRAM);
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  command += " > " + Quoted(out.string()) + " 2> " + Quoted(err.string());
#ifdef _WIN32
  // cmd.exe drops the first and the last quote of the line; a spare pair keeps the rest intact.
  command = "\"" + command + "\"";
#endif
  ProgramResult result;
  result.exitCode = ExitCodeOf(std::system(command.c_str()));
  // The console's own line endings do not matter to the tests.
  result.out = WithoutCarriageReturns(ReadBytes(out));
  result.err = WithoutCarriageReturns(ReadBytes(err));
  return result;
}

}  // namespace bosquell::test
