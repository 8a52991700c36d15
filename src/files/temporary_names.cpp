#include "files/temporary_names.h"

#include <charconv>
#include <chrono>
#include <string>
#include <string_view>

#include "common/file_error.h"
#include "files/interrupt_cleanup.h"

namespace bosquell {
namespace {

constexpr std::string_view kSuffix = ".tmp";
constexpr int kSaltDigits = 8;
constexpr int kAttempts = 64;

}  // namespace

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, std::uint32_t processId,
                                       std::uint32_t salt) {
  char hex[kSaltDigits + 1];
  for (int i = kSaltDigits - 1; i >= 0; --i, salt >>= 4) hex[i] = "0123456789abcdef"[salt & 0xF];
  hex[kSaltDigits] = '\0';
  std::filesystem::path name = target;
  name += "." + std::to_string(processId) + "." + hex + std::string(kSuffix);
  return name;
}

std::optional<std::uint32_t> TemporaryOwner(const std::filesystem::path& target,
                                            const std::filesystem::path& name) {
  // Compared as UTF-8 bytes, so that any file name works on every system.
  const std::u8string prefix = target.filename().u8string() + u8".";
  const std::u8string wide = name.filename().u8string();
  const std::string_view text(reinterpret_cast<const char*>(wide.data()), wide.size());
  const std::string_view prefixText(reinterpret_cast<const char*>(prefix.data()), prefix.size());
  // "<prefix><digits>.<8 hex>.tmp"
  const std::size_t tail = 1 + kSaltDigits + kSuffix.size();
  if (text.size() <= prefixText.size() + tail || !text.starts_with(prefixText) ||
      !text.ends_with(kSuffix)) {
    return std::nullopt;
  }
  const std::string_view digits =
      text.substr(prefixText.size(), text.size() - prefixText.size() - tail);
  const std::string_view salt = text.substr(text.size() - tail, 1 + kSaltDigits);
  if (salt.front() != '.' ||
      salt.find_first_not_of("0123456789abcdef", 1) != std::string_view::npos) {
    return std::nullopt;
  }
  std::uint32_t processId = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), processId);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return processId;
}

void RemoveStaleTemporaries(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  const std::uint32_t self = CurrentProcessId();
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const std::optional<std::uint32_t> owner = TemporaryOwner(target, entries->path());
    if (!owner || *owner == self || ProcessIsAlive(*owner)) continue;
    std::error_code ignored;
    // A regular file or a link is removed (a link itself, never what it points to); a folder
    // of that name is none of ours.
    if (!entries->is_directory(ignored)) std::filesystem::remove(entries->path(), ignored);
  }
}

std::uint32_t FreshSalt() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  const auto mixed = static_cast<std::uint64_t>(ticks) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::uint32_t>(mixed >> 32) ^ CurrentProcessId();
}

bool CreateNamedTemporary(const std::filesystem::path& target, std::uint32_t salt,
                          TemporaryFile& temporary, std::error_code& error) {
  const std::uint32_t self = CurrentProcessId();
  for (int attempt = 0; attempt < kAttempts; ++attempt, ++salt) {
    std::filesystem::path name = TemporaryNameFor(target, self, salt);
    // Registered before it exists: an interrupt in between then removes no file of another
    // run, since the name carries this process's id.
    const int slot = RegisterInterruptRemoval(name);
    NativeFile file = CreateExclusively(name, error);
    if (file.IsOpen()) {
      temporary.file = std::move(file);
      temporary.name = std::move(name);
      temporary.interruptSlot = slot;
      return true;
    }
    ReleaseInterruptRemoval(slot);
    if (error != std::errc::file_exists) return false;
  }
  error = make_error_code(FileError::kNoTemporaryName);
  return false;
}

}  // namespace bosquell
