#include "common/windows_headers.h"

#include <algorithm>

#include "common/file_error.h"
#include "files/platform_files.h"
#include "files/temporary_names.h"

// Every path reaches the system as UTF-16: std::filesystem::path::c_str() is wchar_t here.

namespace bosquell {
namespace {

HANDLE HandleOf(const NativeFile& file) {
  return reinterpret_cast<HANDLE>(file.Handle());
}

// The reasons the messages name, in the portable form the rest of the program compares with;
// anything else keeps the system's own code and text.
std::error_code ErrorFrom(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_ACCESS_DENIED:
      return std::make_error_code(std::errc::permission_denied);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return std::make_error_code(std::errc::file_exists);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return make_error_code(FileError::kOpenInAnotherProgram);
    case ERROR_WRITE_PROTECT:
      return std::make_error_code(std::errc::read_only_file_system);
    default:
      return {static_cast<int>(code), std::system_category()};
  }
}

std::error_code LastError() {
  return ErrorFrom(::GetLastError());
}

bool Exists(const std::filesystem::path& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class SystemCalls final : public PublishCalls {
 public:
  bool FlushFile(const NativeFile& file, std::error_code& error) const override {
    if (::FlushFileBuffers(HandleOf(file))) return true;
    error = LastError();
    return false;
  }
  bool Replace(const std::filesystem::path& from, const std::filesystem::path& to,
               std::error_code& error) const override {
    if (::MoveFileExW(from.c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD code = ::GetLastError();
    // An output held open by another program refuses to be replaced; it stays as it was.
    error = code == ERROR_ACCESS_DENIED && Exists(to)
                ? make_error_code(FileError::kOpenInAnotherProgram)
                : ErrorFrom(code);
    return false;
  }
  // MOVEFILE_WRITE_THROUGH has already waited until the rename was on the disk.
  void FlushFolderOf(const std::filesystem::path& /*target*/) const override {}
};

}  // namespace

const PublishCalls& SystemPublishCalls() {
  static constexpr SystemCalls calls;
  return calls;
}

bool NativeFile::Close(std::error_code& error) {
  if (handle_ == -1) return true;
  const HANDLE handle = reinterpret_cast<HANDLE>(handle_);
  handle_ = -1;
  if (!::CloseHandle(handle)) {
    error = LastError();
    return false;
  }
  return true;
}

std::ptrdiff_t ReadSome(const NativeFile& file, char* data, std::size_t size,
                        std::error_code& error) {
  DWORD got = 0;
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!::ReadFile(HandleOf(file), data, wanted, &got, nullptr)) {
    error = LastError();
    return -1;
  }
  return static_cast<std::ptrdiff_t>(got);
}

bool Rewind(const NativeFile& file, std::error_code& error) {
  if (::SetFilePointerEx(HandleOf(file), LARGE_INTEGER{}, nullptr, FILE_BEGIN)) return true;
  error = LastError();
  return false;
}

bool WriteAll(const NativeFile& file, const char* data, std::size_t size, std::error_code& error) {
  while (size > 0) {
    DWORD written = 0;
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!::WriteFile(HandleOf(file), data, piece, &written, nullptr)) {
      error = LastError();
      return false;
    }
    if (written == 0) {
      error = std::make_error_code(std::errc::io_error);
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

void StartWriteback(const NativeFile&, std::uint64_t, std::uint64_t) {
  // Windows has no call that starts writing back without waiting for it.
}

NativeFile OpenRegularFileForReading(const std::filesystem::path& path, std::error_code& error) {
  // Backup semantics let a folder be opened too, so that it is refused by name, not as
  // "access denied". Others may keep the mission open in an editor meanwhile.
  const HANDLE handle = ::CreateFileW(
      path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = LastError();
    return {};
  }
  NativeFile file(reinterpret_cast<std::intptr_t>(handle));
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    error = make_error_code(FileError::kNotRegularFile);
    return {};
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (!::GetFileInformationByHandle(handle, &information)) {
    error = LastError();
    return {};
  }
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = make_error_code(FileError::kDirectory);
    return {};
  }
  return file;
}

bool InspectOutput(const std::filesystem::path& target, ExistingOutput& existing,
                   std::error_code& error) {
  existing = ExistingOutput{};
  // Opened for its attributes only, and the link itself rather than what it points to.
  const HANDLE handle = ::CreateFileW(
      target.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = ::GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
    error = ErrorFrom(code);
    return false;
  }
  const NativeFile file(reinterpret_cast<std::intptr_t>(handle));
  if (::GetFileType(handle) != FILE_TYPE_DISK) {  // NUL, CON, a pipe ...
    error = make_error_code(FileError::kNotRegularFile);
    return false;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (!::GetFileInformationByHandle(handle, &information)) {
    error = LastError();
    return false;
  }
  const DWORD attributes = information.dwFileAttributes;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = make_error_code(FileError::kDirectory);
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return true;  // the link is replaced
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    error = make_error_code(FileError::kReadOnly);
    return false;
  }
  existing.isFile = true;
  return true;
}

NativeFile CreateExclusively(const std::filesystem::path& name, std::error_code& error) {
  // CREATE_NEW fails on any existing name, a link included, so no link is ever followed.
  // FILE_SHARE_DELETE lets an interrupt remove the file while it is still open.
  const HANDLE handle =
      ::CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = LastError();
    return {};
  }
  return NativeFile(reinterpret_cast<std::intptr_t>(handle));
}

bool CreateTemporary(const std::filesystem::path& target, const ExistingOutput& /*existing*/,
                     TemporaryFile& temporary, std::error_code& error) {
  return CreateNamedTemporary(target, FreshSalt(), temporary, error);
}

bool NameAnonymousFile(TemporaryFile& /*temporary*/, const std::filesystem::path& /*target*/,
                       std::error_code& error) {
  error = std::make_error_code(std::errc::operation_not_supported);  // temporaries have names here
  return false;
}

std::uint32_t CurrentProcessId() {
  return static_cast<std::uint32_t>(::GetCurrentProcessId());
}

bool ProcessIsAlive(std::uint32_t processId) {
  if (processId == 0) return true;  // the idle process; no run of ours
  const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId));
  if (process == nullptr) return ::GetLastError() != ERROR_INVALID_PARAMETER;
  const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  ::CloseHandle(process);
  return running;
}

}  // namespace bosquell
