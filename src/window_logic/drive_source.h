#pragma once

#include <string>
#include <vector>

namespace bosquell {

// The machine's drives and the process's current directory: platform code, handed to the
// window logic. Paths are UTF-8 in the platform's own form ("C:\" on Windows, "/" elsewhere).
class DriveSource {
 public:
  virtual ~DriveSource() = default;

  // Root paths of the drives the user can choose from; the drive of the current directory is
  // among them.
  virtual std::vector<std::string> Drives() = 0;
  // True when the drive is there and its root can be listed; false for an empty disc drive,
  // a volume that has gone away, or a root without read permission.
  virtual bool IsReadable(const std::string& root) = 0;
  // The process's current directory, absolute.
  virtual std::string CurrentDirectory() = 0;
  // The current directory the system keeps for the drive, absolute: on Windows every drive
  // letter has its own. "" when the system keeps none for it.
  virtual std::string CurrentDirectoryOn(const std::string& root) = 0;
};

}  // namespace bosquell
