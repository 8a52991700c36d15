#pragma once

#include <cstdint>
#include <string>

#include "files/platform_files.h"

namespace bosquell {

// What the file system tells about a mission file without reading it: whether it is there,
// which file the path names, how long it is, and when it was last written and last changed
// (the change time moves with every write, also when a program sets the write time back).
// Taken before a read, an equal stamp later means the file was not written in between, to the
// resolution of the file system's clock.
struct MissionStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t file = 0;
  std::uint64_t size = 0;
  std::uint64_t written = 0;  // in the system's own units
  std::uint64_t changed = 0;
  bool operator==(const MissionStamp&) const = default;
};

// The stamp of the file at a UTF-8 path; one that does not exist when the path names nothing
// that can be looked at.
MissionStamp StampOf(const std::string& missionPath);
// The stamp of a file opened for reading: of the very file the reads see, whatever its path
// names meanwhile. Equal to the stamp by path of the same, unwritten file.
MissionStamp StampOf(const NativeFile& file);

}  // namespace bosquell
