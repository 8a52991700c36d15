// Bad files meet the run: devices, pipes, folders, planted links, read-only outputs, a full
// device and killed runs. POSIX only; the Windows code paths share the run's logic above them.

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/file_error.h"
#include "files/atomic_output_file.h"
#include "files/platform_files.h"
#include "files/temporary_names.h"
#include "mission/output_buffer.h"
#include "run/add_objects_run.h"
#include "test_support.h"

namespace bosquell {
namespace {

namespace fs = std::filesystem;
using testing::FileNames;
using testing::ReadFile;
using testing::WriteFile;
using Status = AddObjectsResult::Status;

constexpr const char* kMission = "  num_items 1\r\n  id 5\r\n";

class FileFaults : public ::testing::Test {
 protected:
  FileFaults() { WriteFile(dir / "m.mis", kMission); }
  struct Outcome {
    Status status;
    std::string message;
  };
  Outcome Run() {
    testing::ScriptedRandom random{0.5f};
    const AddObjectsResult result = AddObjects(request, random);
    return {result.status, testing::MessageOf(result, request)};
  }
  // A child process that holds a temporary for `target` open until it is killed by `signal`.
  void KillWhileWriting(bool named, int signal) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      AtomicOutputFile anonymous(dir / "out.mis");
      TemporaryFile temporary;
      std::error_code error;
      const bool open = named ? CreateNamedTemporary(dir / "out.mis", 1, temporary, error)
                              : anonymous.Open(error);
      if (::write(ready[1], open ? "y" : "n", 1) != 1 || !open) ::_exit(1);
      while (true) ::pause();  // blocked until killed
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y');
    ::kill(child, signal);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
  }

  testing::TempDir dir;
  AddObjectsRequest request =
      testing::Request("Snow", 1, "0", "0", "1", "1", dir / "m.mis", dir / "out.mis");
};

TEST_F(FileFaults, NonRegularMissionsAreRefusedBeforeAnyOutputExists) {
  ASSERT_EQ(::mkfifo((dir / "fifo.mis").c_str(), 0600), 0);  // no writer: opening must not block
  fs::create_directory(dir / "folder.mis");
  const struct {
    fs::path mission;
    std::string reason;
  } cases[] = {{"/dev/zero", "not a regular file"},
               {"/dev/urandom", "not a regular file"},
               {dir / "fifo.mis", "not a regular file"},
               {dir / "folder.mis", "is a directory"}};
  for (const auto& c : cases) {
    request.missionPath = c.mission.string();
    const Outcome outcome = Run();
    EXPECT_EQ(outcome.status, Status::kFailed) << c.mission;
    EXPECT_NE(outcome.message.find(c.reason), std::string::npos) << outcome.message;
  }
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"fifo.mis", "folder.mis", "m.mis"}));
}

TEST_F(FileFaults, OutputsThatAreNoWritableRegularFileAreRefusedAndKept) {
  ASSERT_EQ(::mkfifo((dir / "fifo.mis").c_str(), 0600), 0);
  fs::create_directory(dir / "folder.mis");
  WriteFile(dir / "readonly.mis", "earlier");
  fs::permissions(dir / "readonly.mis", fs::perms::owner_read | fs::perms::group_read);
  const struct {
    std::string name;
    std::string reason;
  } cases[] = {{"fifo.mis", "not a regular file"},
               {"folder.mis", "a folder"},
               {"readonly.mis", "read-only"}};
  for (const auto& c : cases) {
    request.outputPath = (dir / c.name).string();
    const Outcome outcome = Run();
    EXPECT_EQ(outcome.status, Status::kFailed) << c.name;
    EXPECT_NE(outcome.message.find(c.reason), std::string::npos) << outcome.message;
  }
  EXPECT_EQ(fs::symlink_status(dir / "fifo.mis").type(), fs::file_type::fifo);
  EXPECT_EQ(ReadFile(dir / "readonly.mis"), "earlier");
  EXPECT_EQ(FileNames(dir.path()).size(), 4u);  // no temporary left behind

  // A device is only looked at, never written: the check refuses it before anything else.
  ExistingOutput existing;
  std::error_code error;
  EXPECT_FALSE(InspectOutput("/dev/null", existing, error));
  EXPECT_EQ(error, FileError::kNotRegularFile);
}

TEST_F(FileFaults, AReplacedOutputKeepsItsPermissionsAndALinkIsReplacedItself) {
  WriteFile(dir / "out.mis", "earlier");
  fs::permissions(dir / "out.mis", fs::perms::owner_read | fs::perms::owner_write |
                                       fs::perms::group_read);  // 0640, unlike a new file
  ASSERT_EQ(Run().status, Status::kWritten);
  EXPECT_EQ(fs::status(dir / "out.mis").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  fs::create_symlink(dir / "elsewhere.mis", dir / "link.mis");
  request.outputPath = (dir / "link.mis").string();
  ASSERT_EQ(Run().status, Status::kWritten);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "link.mis")));
  EXPECT_FALSE(fs::exists(dir / "elsewhere.mis"));
}

TEST_F(FileFaults, TemporariesAreNeverCreatedThroughAPlantedLink) {
  const fs::path target = dir / "out.mis";
  const std::uint32_t self = CurrentProcessId();
  for (std::uint32_t salt : {7u, 8u}) {
    fs::create_symlink(dir / "victim", TemporaryNameFor(target, self, salt));
  }
  std::error_code error;
  EXPECT_FALSE(CreateExclusively(TemporaryNameFor(target, self, 7), error).IsOpen());
  EXPECT_EQ(error, std::errc::file_exists);

  TemporaryFile temporary;
  ASSERT_TRUE(CreateNamedTemporary(target, 7, temporary, error)) << error.message();
  EXPECT_EQ(temporary.name, TemporaryNameFor(target, self, 9));
  DiscardTemporary(temporary);
  EXPECT_FALSE(fs::exists(dir / "victim"));
}

TEST_F(FileFaults, ARunRemovesOnlyTheTemporariesOfRunsNoLongerAlive) {
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const fs::path target = dir / "out.mis";
  const fs::path dead = TemporaryNameFor(target, static_cast<std::uint32_t>(gone), 1);
  const fs::path alive = TemporaryNameFor(target, static_cast<std::uint32_t>(::getppid()), 2);
  WriteFile(dead, "left by a killed run");
  WriteFile(alive, "being written");
  WriteFile(dir / "out.mis.notes.tmp", "the user's");
  ASSERT_EQ(Run().status, Status::kWritten);
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(alive));
  EXPECT_TRUE(fs::exists(dir / "out.mis.notes.tmp"));
}

TEST_F(FileFaults, AKilledRunLeavesNoTemporary) {
  const struct {
    bool named;
    int signal;
  } cases[] = {{true, SIGTERM}, {true, SIGINT}, {true, SIGHUP}, {false, SIGKILL}};
  for (const auto& c : cases) {
    struct sigaction current {};
    ::sigaction(c.signal, nullptr, &current);
    if (current.sa_handler == SIG_IGN) continue;  // ignored by whoever started the tests: stays so
    KillWhileWriting(c.named, c.signal);
    EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"m.mis"}) << c.signal;
  }
}

// A run whose disk fills up while it writes the item blocks names the real reason and leaves
// nothing. The small file system is mounted in a namespace of a child process of its own,
// where the system lets an ordinary user do so.
TEST_F(FileFaults, AFullFileSystemIsReportedAsSuchAndLeavesNothing) {
  constexpr int kCannotMount = 77;
  const fs::path small = dir / "small";
  fs::create_directory(small);
  const std::string uid = "0 " + std::to_string(::getuid()) + " 1";
  const std::string gid = "0 " + std::to_string(::getgid()) + " 1";
  const pid_t child = ::fork();
  if (child == 0) {
    // The new namespace maps this user to its root, so that it may create files there.
    const auto put = [](const char* file, const std::string& text) {
      const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
      const bool written =
          fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
      if (fd >= 0) ::close(fd);
      return written;
    };
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !put("/proc/self/setgroups", "deny") ||
        !put("/proc/self/uid_map", uid) || !put("/proc/self/gid_map", gid) ||
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("small", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
      ::_exit(kCannotMount);
    }
    request.outputPath = (small / "out.mis").string();
    request.recipe.layers.front().count = 32766;  // about 13 MB of item blocks
    const Outcome outcome = Run();
    const bool named = outcome.message.find("No space left on device.") != std::string::npos;
    ::_exit(named && fs::is_empty(small) ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kCannotMount) {
    GTEST_SKIP() << "this machine does not let a process mount a small file system of its own";
  }
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// A full device reports the real reason, carried from the failing write itself.
TEST_F(FileFaults, AFullDiskIsReportedAsSuch) {
  const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  if (full < 0) GTEST_SKIP() << "this machine has no /dev/full";
  const NativeFile device(full);
  FileWriteBuffer sink;
  sink.Attach(device);
  OutputBuffer buffer(sink);
  buffer.Write("begin item 1\r\n");
  EXPECT_FALSE(buffer.Flush());
  EXPECT_EQ(sink.Error(), std::errc::no_space_on_device);
}

}  // namespace
}  // namespace bosquell
