#include "run/atomic_output_file.h"

#include <cerrno>
#include <chrono>
#include <random>

#include "common/last_error.h"

namespace bosquell {
namespace {

// A name beside the target that no other writer is likely to use at the same moment.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, unsigned attempt) {
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::mt19937 mix(static_cast<std::uint32_t>(ticks) ^ (attempt * 0x9E3779B9u));
  std::filesystem::path name = target;
  name += ".tmp" + std::to_string(mix() % 1000000u);
  return name;
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(std::filesystem::path target) : target_(std::move(target)) {}

AtomicOutputFile::~AtomicOutputFile() {
  if (!committed_) Discard();
}

bool AtomicOutputFile::Open(std::error_code& error) {
  for (unsigned attempt = 0; attempt < 16; ++attempt) {
    temporary_ = TemporaryNameFor(target_, attempt);
    std::error_code ignored;
    if (std::filesystem::exists(temporary_, ignored)) continue;
    errno = 0;
    stream_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (stream_.is_open()) return true;
    error = LastErrorOr(std::errc::permission_denied);
    temporary_.clear();
    return false;
  }
  error = std::make_error_code(std::errc::file_exists);
  temporary_.clear();
  return false;
}

bool AtomicOutputFile::Commit(std::error_code& error) {
  errno = 0;
  stream_.close();
  if (stream_.fail()) {
    error = LastErrorOr(std::errc::io_error);
    return false;
  }
  std::filesystem::rename(temporary_, target_, error);
  if (error) return false;
  committed_ = true;
  return true;
}

void AtomicOutputFile::Discard() {
  if (stream_.is_open()) stream_.close();
  if (!temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
  }
}

}  // namespace bosquell
