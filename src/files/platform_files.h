#pragma once

// The few operating-system file calls the engine makes, behind one small interface: one
// implementation for POSIX (platform_files_posix.cpp) and one for Windows
// (platform_files_windows.cpp). Everything above this layer is standard C++.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace bosquell {

// A file handle of the operating system (a descriptor, or a Windows HANDLE), closed when
// destroyed. -1 is "no file" on both: it is also the value of INVALID_HANDLE_VALUE.
class NativeFile {
 public:
  NativeFile() = default;
  explicit NativeFile(std::intptr_t handle) : handle_(handle) {}
  NativeFile(NativeFile&& other) noexcept : handle_(other.handle_) { other.handle_ = -1; }
  NativeFile& operator=(NativeFile&& other) noexcept;
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;
  ~NativeFile();

  bool IsOpen() const { return handle_ != -1; }
  std::intptr_t Handle() const { return handle_; }
  // Closes the file; false when the system reports a late failure (a write that did not land).
  bool Close(std::error_code& error);

 private:
  std::intptr_t handle_ = -1;
};

// Reads up to `size` bytes: the count read, 0 at the end of the file, -1 on failure.
std::ptrdiff_t ReadSome(const NativeFile& file, char* data, std::size_t size,
                        std::error_code& error);
// Moves back to the start of the file, to read it once more.
bool Rewind(const NativeFile& file, std::error_code& error);
// Writes every byte, or fails with the reason.
bool WriteAll(const NativeFile& file, const char* data, std::size_t size, std::error_code& error);
// Asks the system to start putting these written bytes on the disk now, without waiting for
// it, so that the flush before the output is published finds less left to do. A hint only:
// where the system has no such call, or refuses it, nothing happens.
void StartWriteback(const NativeFile& file, std::uint64_t offset, std::uint64_t length);

// Opens an existing file for reading, then checks what was opened, so that nothing can be
// swapped in between: a folder or a device, pipe or socket is refused (FileError) without
// blocking and without reading from it.
NativeFile OpenRegularFileForReading(const std::filesystem::path& path, std::error_code& error);

// What stands at an output's place before it is replaced.
struct ExistingOutput {
  bool isFile = false;            // a regular file, whose permissions the new one keeps
  std::uint32_t permissions = 0;  // POSIX permission bits
  std::int64_t owner = -1;        // POSIX owner and group, kept where the system allows
  std::int64_t group = -1;
};

// Checks the output's place: nothing there, a symbolic link (the link itself is replaced, never
// the file it points to), or a regular file that may be overwritten. A folder, a device, a pipe
// or a socket is refused, and so is a read-only file.
bool InspectOutput(const std::filesystem::path& target, ExistingOutput& existing,
                   std::error_code& error);

// A file beside the output that becomes the output once it is complete.
struct TemporaryFile {
  NativeFile file;
  std::filesystem::path name;  // empty while the file has no name (an anonymous Linux file)
  int interruptSlot = -1;      // its registration for removal on an interrupt

  // Once the name is gone (renamed into place, or removed), nothing is left for an interrupt
  // to remove.
  void ForgetName();
};

// Creates the temporary file in the output's folder: an anonymous file where the system offers
// one (it vanishes by itself if the run is killed), else a named one created exclusively.
bool CreateTemporary(const std::filesystem::path& target, const ExistingOutput& existing,
                     TemporaryFile& temporary, std::error_code& error);

// Creates a new file under `name`, never opening an existing file or following a link: a name
// that is taken, a dangling link included, fails with std::errc::file_exists.
NativeFile CreateExclusively(const std::filesystem::path& name, std::error_code& error);

// The calls that decide what a power loss leaves of a published output. The system's are
// SystemPublishCalls(); a test passes its own to see the order they come in.
class PublishCalls {
 public:
  // Returns once the file's bytes are on the disk.
  virtual bool FlushFile(const NativeFile& file, std::error_code& error) const = 0;
  // Renames `from` over `to` in one step.
  virtual bool Replace(const std::filesystem::path& from, const std::filesystem::path& to,
                       std::error_code& error) const = 0;
  // Puts the folder's entry for `target` on the disk. The output is whole either way, so a
  // folder that cannot be flushed (some file systems refuse) is no failure.
  virtual void FlushFolderOf(const std::filesystem::path& target) const = 0;

 protected:
  ~PublishCalls() = default;  // never owned through this class
};

const PublishCalls& SystemPublishCalls();

// Flushes the temporary file to disk, names it if it has no name yet, closes it and renames it
// over the target, then flushes the folder, so that a power loss leaves either the old output
// or the whole new one. On failure the target is unchanged and the temporary is gone.
bool PublishTemporary(TemporaryFile& temporary, const std::filesystem::path& target,
                      const PublishCalls& calls, std::error_code& error);

// Gives an anonymous temporary file a fresh name beside the target. Only Linux makes anonymous
// ones; elsewhere this fails.
bool NameAnonymousFile(TemporaryFile& temporary, const std::filesystem::path& target,
                       std::error_code& error);

// Closes the temporary file and removes it.
void DiscardTemporary(TemporaryFile& temporary);

std::uint32_t CurrentProcessId();
// False only when no process with this id is running any more.
bool ProcessIsAlive(std::uint32_t processId);

}  // namespace bosquell
