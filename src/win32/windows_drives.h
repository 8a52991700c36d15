#pragma once

#include "window_logic/drive_source.h"

namespace bosquell::win32 {

// The drive letters of the machine ("C:\", "D:\", ...), and the drive of the current
// directory also when it is a network share.
class WindowsDrives final : public DriveSource {
 public:
  std::vector<std::string> Drives() override;
  // Asks without the system's "insert a disk" box: an empty drive is simply not readable.
  bool IsReadable(const std::string& root) override;
  std::string CurrentDirectory() override;
  // The full path of "X:" as the system resolves it; a share without a letter has only the
  // process's current directory.
  std::string CurrentDirectoryOn(const std::string& root) override;
};

}  // namespace bosquell::win32
