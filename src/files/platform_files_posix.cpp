#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "common/file_error.h"
#include "files/interrupt_cleanup.h"
#include "files/platform_files.h"
#include "files/temporary_names.h"

namespace bosquell {
namespace {

std::error_code LastError() {
  return {errno, std::generic_category()};
}

int Descriptor(const NativeFile& file) {
  return static_cast<int>(file.Handle());
}

std::filesystem::path FolderOf(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

// Anonymous files need a kernel and a file system that offer them; these errors mean "not
// here", and a named temporary takes its place.
bool AnonymousFileRefused(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOTSUP;
}

// A replaced output keeps its permission bits, and its owner where the system allows it.
bool TakeOverPermissions(const NativeFile& file, const ExistingOutput& existing,
                         std::error_code& error) {
  if (!existing.isFile) return true;
  // A file system without permission bits (FAT) refuses the change; there is nothing to keep.
  if (::fchmod(Descriptor(file), static_cast<mode_t>(existing.permissions)) != 0 &&
      errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) {
    error = LastError();
    return false;
  }
  if (::fchown(Descriptor(file), static_cast<uid_t>(existing.owner),
               static_cast<gid_t>(existing.group)) != 0) {
    // Only a privileged run may give a file away; for anyone else it stays their own.
  }
  return true;
}

class SystemCalls final : public PublishCalls {
 public:
  bool FlushFile(const NativeFile& file, std::error_code& error) const override {
    if (::fsync(Descriptor(file)) == 0) return true;
    error = LastError();
    return false;
  }
  bool Replace(const std::filesystem::path& from, const std::filesystem::path& to,
               std::error_code& error) const override {
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    error = LastError();
    return false;
  }
  // Makes the rename itself survive a power loss.
  void FlushFolderOf(const std::filesystem::path& target) const override {
    const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    ::fsync(folder);
    ::close(folder);
  }
};

}  // namespace

const PublishCalls& SystemPublishCalls() {
  static constexpr SystemCalls calls;
  return calls;
}

// linkat never replaces an existing name, a planted link included.
bool NameAnonymousFile(TemporaryFile& temporary, const std::filesystem::path& target,
                       std::error_code& error) {
#ifdef O_TMPFILE
  const std::uint32_t self = CurrentProcessId();
  std::uint32_t salt = FreshSalt();
  char fdPath[64];
  std::snprintf(fdPath, sizeof fdPath, "/proc/self/fd/%d", Descriptor(temporary.file));
  for (int attempt = 0; attempt < 64; ++attempt, ++salt) {
    std::filesystem::path name = TemporaryNameFor(target, self, salt);
    const int slot = RegisterInterruptRemoval(name);
    int result = ::linkat(AT_FDCWD, fdPath, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
    if (result != 0 && errno == ENOENT) {
      // No /proc: linking the descriptor itself needs more privilege, but may be allowed.
      result = ::linkat(Descriptor(temporary.file), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
    }
    if (result == 0) {
      temporary.name = std::move(name);
      temporary.interruptSlot = slot;
      return true;
    }
    const int reason = errno;
    ReleaseInterruptRemoval(slot);
    if (reason != EEXIST) {
      error = std::error_code(reason, std::generic_category());
      return false;
    }
  }
  error = make_error_code(FileError::kNoTemporaryName);
  return false;
#else
  (void)temporary;
  (void)target;
  error = std::make_error_code(std::errc::operation_not_supported);
  return false;
#endif
}

bool NativeFile::Close(std::error_code& error) {
  if (handle_ == -1) return true;
  const int descriptor = static_cast<int>(handle_);
  handle_ = -1;
  // The descriptor is gone even when close reports an error; it is never retried.
  if (::close(descriptor) != 0 && errno != EINTR) {
    error = LastError();
    return false;
  }
  return true;
}

std::ptrdiff_t ReadSome(const NativeFile& file, char* data, std::size_t size,
                        std::error_code& error) {
  for (;;) {
    const ssize_t got = ::read(Descriptor(file), data, size);
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    error = LastError();
    return -1;
  }
}

bool Rewind(const NativeFile& file, std::error_code& error) {
  if (::lseek(Descriptor(file), 0, SEEK_SET) == 0) return true;
  error = LastError();
  return false;
}

bool WriteAll(const NativeFile& file, const char* data, std::size_t size, std::error_code& error) {
  while (size > 0) {
    const ssize_t written = ::write(Descriptor(file), data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      error = LastError();
      return false;
    }
    if (written == 0) {
      error = std::make_error_code(std::errc::io_error);
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

void StartWriteback(const NativeFile& file, std::uint64_t offset, std::uint64_t length) {
#ifdef __linux__
  ::sync_file_range(Descriptor(file), static_cast<off_t>(offset), static_cast<off_t>(length),
                    SYNC_FILE_RANGE_WRITE);
#else
  static_cast<void>(file);
  static_cast<void>(offset);
  static_cast<void>(length);
#endif
}

NativeFile OpenRegularFileForReading(const std::filesystem::path& path, std::error_code& error) {
  // O_NONBLOCK: opening a pipe must not wait for a writer before it can be refused.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) {
    // A socket or a device without its driver cannot be opened at all.
    error = errno == ENXIO ? make_error_code(FileError::kNotRegularFile) : LastError();
    return {};
  }
  NativeFile file(descriptor);
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) {
    error = LastError();
    return {};
  }
  if (S_ISDIR(status.st_mode)) {
    error = make_error_code(FileError::kDirectory);
    return {};
  }
  if (!S_ISREG(status.st_mode)) {
    error = make_error_code(FileError::kNotRegularFile);
    return {};
  }
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags != -1) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
  return file;
}

bool InspectOutput(const std::filesystem::path& target, ExistingOutput& existing,
                   std::error_code& error) {
  existing = ExistingOutput{};
  struct stat status {};
  if (::lstat(target.c_str(), &status) != 0) {
    if (errno == ENOENT) return true;  // a new file; its folder is checked when it is created
    error = LastError();
    return false;
  }
  if (S_ISLNK(status.st_mode)) return true;  // the rename replaces the link itself
  if (S_ISDIR(status.st_mode)) {
    error = make_error_code(FileError::kDirectory);
    return false;
  }
  if (!S_ISREG(status.st_mode)) {
    error = make_error_code(FileError::kNotRegularFile);
    return false;
  }
  // Read-only as a plain overwrite would find it: no write permission for this user, and for
  // a privileged user, who may write anyway, no write bit at all.
  const bool noWriteBit = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  if (noWriteBit || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    error = noWriteBit || errno == EACCES || errno == EPERM ? make_error_code(FileError::kReadOnly)
                                                            : LastError();
    return false;
  }
  existing.isFile = true;
  existing.permissions = status.st_mode & 0777;
  existing.owner = status.st_uid;
  existing.group = status.st_gid;
  return true;
}

NativeFile CreateExclusively(const std::filesystem::path& name, std::error_code& error) {
  const int descriptor =
      ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    error = LastError();
    return {};
  }
  return NativeFile(descriptor);
}

bool CreateTemporary(const std::filesystem::path& target, const ExistingOutput& existing,
                     TemporaryFile& temporary, std::error_code& error) {
#ifdef O_TMPFILE
  const int descriptor = ::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (descriptor >= 0) {
    temporary.file = NativeFile(descriptor);
  } else if (!AnonymousFileRefused(errno)) {
    error = LastError();
    return false;
  }
#endif
  if (!temporary.file.IsOpen() && !CreateNamedTemporary(target, FreshSalt(), temporary, error)) {
    return false;
  }
  if (!TakeOverPermissions(temporary.file, existing, error)) {
    DiscardTemporary(temporary);
    return false;
  }
  return true;
}

std::uint32_t CurrentProcessId() {
  return static_cast<std::uint32_t>(::getpid());
}

bool ProcessIsAlive(std::uint32_t processId) {
  // No real run has these ids (and a negative pid_t would name a process group): keep.
  if (processId == 0 || processId > 0x7FFFFFFFu) return true;
  return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

}  // namespace bosquell
