#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "mission/input_window.h"

namespace bosquell {

// A window onto a file mapped into memory a megabyte at a time: the copy pass reads the bytes
// where the system keeps them instead of a copy, and no more of the file is mapped at once than
// the window. Available where the system maps files (POSIX); elsewhere Open gives nothing.
class MappedFileWindow final : public InputWindow {
 public:
  static constexpr std::size_t kWindowSize = 1024 * 1024;

  // Opens and maps the file; nothing when it cannot (errno says why) or mapping is unavailable.
  static std::unique_ptr<MappedFileWindow> Open(const std::filesystem::path& path);
  MappedFileWindow(const MappedFileWindow&) = delete;
  MappedFileWindow& operator=(const MappedFileWindow&) = delete;
  ~MappedFileWindow() override;

  std::string_view From(std::uint64_t offset) override;
  bool Failed() const override { return failed_; }

 private:
  MappedFileWindow(int descriptor, std::uint64_t size);
  void Unmap();

  int descriptor_;
  std::uint64_t size_;
  void* mapping_ = nullptr;
  std::size_t mappingLength_ = 0;
  bool failed_ = false;
};

}  // namespace bosquell
