#pragma once

#include <string>
#include <vector>

#include "window_logic/drive_source.h"

namespace bosquell {

// The machine's drives as Qt sees them, in the platform's own form: the drive letters on
// Windows ("C:\"), elsewhere the file-system root and the mounted volumes that are ready.
class QtDriveSource final : public DriveSource {
 public:
  std::vector<std::string> Drives() override;
  bool IsReadable(const std::string& root) override;
  std::string CurrentDirectory() override;
  // On Windows the drive's own current directory, as the system resolves "X:"; elsewhere there
  // is only the process's one.
  std::string CurrentDirectoryOn(const std::string& root) override;
};

}  // namespace bosquell
