#include "files/mission_stamp.h"

#include "common/utf8_path.h"

#ifdef _WIN32
#include "common/windows_headers.h"
#else
#include <sys/stat.h>
#endif

namespace bosquell {

#ifdef _WIN32

namespace {

std::uint64_t Joined(DWORD high, DWORD low) {
  return (static_cast<std::uint64_t>(high) << 32) | low;
}

MissionStamp StampOfHandle(HANDLE file) {
  MissionStamp stamp;
  BY_HANDLE_FILE_INFORMATION information{};
  FILE_BASIC_INFO times{};
  if (::GetFileInformationByHandle(file, &information)) {
    stamp.exists = true;
    stamp.device = information.dwVolumeSerialNumber;
    stamp.file = Joined(information.nFileIndexHigh, information.nFileIndexLow);
    stamp.size = Joined(information.nFileSizeHigh, information.nFileSizeLow);
    stamp.written = Joined(information.ftLastWriteTime.dwHighDateTime,
                           information.ftLastWriteTime.dwLowDateTime);
    if (::GetFileInformationByHandleEx(file, FileBasicInfo, &times, sizeof times)) {
      stamp.changed = static_cast<std::uint64_t>(times.ChangeTime.QuadPart);
    }
  }
  return stamp;
}

}  // namespace

MissionStamp StampOf(const std::string& missionPath) {
  // Only the attributes are asked for, and every other program may go on reading, writing or
  // renaming the file meanwhile.
  const HANDLE file = ::CreateFileW(PathFromUtf8(missionPath).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  const MissionStamp stamp = StampOfHandle(file);
  ::CloseHandle(file);
  return stamp;
}

MissionStamp StampOf(const NativeFile& file) {
  if (!file.IsOpen()) return {};
  return StampOfHandle(reinterpret_cast<HANDLE>(file.Handle()));
}

#else

namespace {

MissionStamp StampOfStatus(const struct stat& status) {
  // Unsigned, so that no time, however far off, overflows; only equality matters.
  constexpr std::uint64_t kNanoseconds = 1000000000;
  const auto nanoseconds = [](const timespec& time) {
    return static_cast<std::uint64_t>(time.tv_sec) * kNanoseconds +
           static_cast<std::uint64_t>(time.tv_nsec);
  };
  MissionStamp stamp;
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(status.st_dev);
  stamp.file = static_cast<std::uint64_t>(status.st_ino);
  stamp.size = static_cast<std::uint64_t>(status.st_size);
  stamp.written = nanoseconds(status.st_mtim);
  stamp.changed = nanoseconds(status.st_ctim);
  return stamp;
}

}  // namespace

MissionStamp StampOf(const std::string& missionPath) {
  struct stat status {};
  if (::stat(PathFromUtf8(missionPath).c_str(), &status) != 0) return {};
  return StampOfStatus(status);
}

MissionStamp StampOf(const NativeFile& file) {
  struct stat status {};
  if (!file.IsOpen() || ::fstat(static_cast<int>(file.Handle()), &status) != 0) return {};
  return StampOfStatus(status);
}

#endif

}  // namespace bosquell
