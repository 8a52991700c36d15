// The window's rules, on a recording view: choosing the mission file, the theme and own id,
// Add Objects, About and Exit, and a file named at start.

#include "window_logic/window_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "../engine/test_support.h"
#include "recording_view.h"
#include "window_logic/window_paths.h"

namespace bosquell::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

constexpr char kPrompt[] = "Select Tree a Tree Theme:";
constexpr char kFileOpen[] = "File is open, now please set options!";
const Names kMissions{"A.MIS", "b.mis", "c.Mis"};

std::string Path(const fs::path& path) {
  return path.string();
}

// A current directory of mission files and look-alikes on the root drive, a second drive with
// one mission, and a third drive that cannot be read.
class WindowLogicTest : public ::testing::Test {
 protected:
  WindowLogicTest() {
    for (const char* name : {"b.mis", "A.MIS", "c.Mis", "notes.txt", "d.mis.bak"}) {
      WriteFile(current_ / name, "");
    }
    for (const char* name : {"folder.mis", "sub"}) fs::create_directory(current_ / name);
#ifndef _WIN32
    // Names that begin with a dot are hidden outside Windows.
    WriteFile(current_ / ".hidden.mis", "");
    fs::create_directory(current_ / ".git");
#endif
    WriteFile(current_ / "sub" / "inner.mis", "");
    WriteFile(otherDrive_ / "far.mis", "");
    drives_.roots = {Path(current_.path().root_path()), Path(otherDrive_.path()),
                     Path(current_ / "gone")};
    drives_.unreadable = {drives_.roots[2]};
    drives_.current = Path(current_.path());
    drives_.currentOn[drives_.roots[0]] = drives_.current;
    logic_.Load();
  }

  // The user chooses an entry of a list, or types an own id, and the window reports it.
  void Choose(Control list, int index) {
    view_.Select(list, index);
    if (list == Control::kDriveList) logic_.DriveChanged();
    if (list == Control::kTheme) logic_.ThemePicked();
  }
  void TypeOwnId(const std::string& text) {
    view_.SetText(Control::kOwnId, text);
    logic_.OwnIdChanged();
  }
  void OpenFile(int index) {
    Choose(Control::kFileList, index);
    logic_.OpenMission();
  }
  Names Files() {
    return view_.entries[Control::kFileList];
  }

  TempDir current_;
  TempDir otherDrive_;
  RecordingView view_;
  FixedDrives drives_;
  MersenneRandom random_{42};
  WindowLogic logic_{view_, drives_, random_};
};

TEST_F(WindowLogicTest, LoadShowsThemesDrivesFoldersAndMissionFiles) {
  EXPECT_EQ(view_.entries[Control::kTheme].size(), 8u);
  EXPECT_EQ(view_.Text(Control::kTheme), kPrompt);
  EXPECT_EQ(view_.SelectedIndex(Control::kTheme), -1);
  EXPECT_EQ(view_.SelectedIndex(Control::kDriveList), 0);

  // Ancestors from the root down, the current directory, then its visible subdirectories.
  const std::vector<DirectoryEntry>& dirs = view_.directories;
  const auto current = static_cast<std::size_t>(view_.currentDirectory);
  ASSERT_EQ(current + 3, dirs.size());
  EXPECT_EQ(dirs.front().name, drives_.roots[0]);
  EXPECT_EQ(dirs[current], (DirectoryEntry{current_.path().filename().string(), drives_.current,
                                           static_cast<int>(current), true}));
  EXPECT_EQ(dirs[current + 1], (DirectoryEntry{"folder.mis", Path(current_ / "folder.mis"),
                                               static_cast<int>(current + 1), false}));
  EXPECT_EQ(dirs[current + 2].name, "sub");
  EXPECT_EQ(Files(), kMissions);
}

TEST_F(WindowLogicTest, OpenJoinsTheFolderAndTheSelectedNameInItsCase) {
  logic_.OpenMission();  // nothing selected: nothing opened
  EXPECT_EQ(logic_.MissionPath(), "");

  OpenFile(2);
  const std::string base = drives_.current + kPathSeparator;
  EXPECT_EQ(logic_.MissionPath(), base + "c.Mis");
  EXPECT_EQ(logic_.OutputPath(), base + "c_rnd.mis");
  EXPECT_EQ(view_.Text(Control::kStatus), kFileOpen);

  // Browsing elsewhere keeps the open file; a file opened there joins that folder.
  logic_.DirectoryOpened(view_.currentDirectory + 2);
  EXPECT_EQ(Files(), Names{"inner.mis"});
  EXPECT_EQ(logic_.MissionPath(), base + "c.Mis");
  OpenFile(0);
  EXPECT_EQ(logic_.MissionPath(), Path(current_ / "sub") + kPathSeparator + "inner.mis");
}

TEST_F(WindowLogicTest, NewDriveMovesBothListsAndAnUnreadableOneIsUndone) {
  Choose(Control::kDriveList, 1);
  EXPECT_EQ(logic_.Directory(), drives_.roots[1]);
  EXPECT_EQ(Files(), Names{"far.mis"});
  Choose(Control::kDriveList, 0);  // back to the current directory, not the root
  EXPECT_EQ(logic_.Directory(), drives_.current);
  EXPECT_TRUE(view_.messages.empty());

  Choose(Control::kDriveList, 2);
  EXPECT_EQ(view_.messages,
            Names{"The drive " + drives_.roots[2] +
                  " cannot be read.\r\nCheck that it is ready, or choose another."});
  EXPECT_EQ(view_.SelectedIndex(Control::kDriveList), 0);
  EXPECT_EQ(Files(), kMissions);

  const Names roots{"/", "/media/disk", "/media/disk2"};
  EXPECT_EQ(DriveOfPath(roots, "/media/disk2/maps"), 2);
  EXPECT_EQ(DriveOfPath(roots, "/media/diskette"), 0);
  // Drive names compare as file names do: letter case folded on Windows only.
#ifdef _WIN32
  EXPECT_EQ(DriveOfPath({"C:\\", "D:\\"}, "d:\\Maps"), 1);
  EXPECT_EQ(DriveOfPath({"C:\\", "\\\\Server\\Ä\\"}, "\\\\server\\ä\\maps"), 1);
#else
  EXPECT_EQ(DriveOfPath(roots, "/MEDIA/DISK2/maps"), 0);  // on "/" only
#endif
}

// Each drive has a current directory of its own, kept by the system; a new drive shows it.
TEST_F(WindowLogicTest, NewDriveShowsTheFolderTheSystemKeepsForIt) {
  fs::create_directory(otherDrive_ / "maps");
  WriteFile(otherDrive_ / "maps" / "near.mis", "");
  const std::string root = drives_.roots[1];
  struct Case {
    const char* what;
    std::string kept;
    std::string shown;
    Names files;
  };
  const Case cases[] = {
      {"its own folder", Path(otherDrive_ / "maps"), Path(otherDrive_ / "maps"), {"near.mis"}},
      {"the same, spelt unnormalised",
       Path(otherDrive_ / "maps" / ".." / "maps") + "/",
       Path(otherDrive_ / "maps"),
       {"near.mis"}},
      {"none kept", "", root, {"far.mis"}},
      {"a folder gone since", Path(otherDrive_ / "gone"), root, {"far.mis"}},
      {"a folder on another drive", Path(current_ / "sub"), root, {"far.mis"}},
      {"its root", root, root, {"far.mis"}},
  };
  for (const auto& [what, kept, shown, files] : cases) {
    drives_.currentOn[root] = kept;
    Choose(Control::kDriveList, 0);
    Choose(Control::kDriveList, 1);
    EXPECT_EQ(logic_.Directory(), shown) << what;
    EXPECT_EQ(view_.directories.at(static_cast<std::size_t>(view_.currentDirectory)).path, shown)
        << what;
    EXPECT_EQ(Files(), files) << what;
  }
  // The first drive's own folder is where the program started.
  Choose(Control::kDriveList, 0);
  EXPECT_EQ(logic_.Directory(), drives_.current);
  EXPECT_TRUE(view_.messages.empty());
}

TEST_F(WindowLogicTest, IdAndThemeDiscardEachOtherWithOneWarning) {
  Choose(Control::kTheme, 7);  // no id to empty, so no warning
  EXPECT_EQ(view_.Text(Control::kTheme), "Snow");
  EXPECT_TRUE(view_.messages.empty());

  TypeOwnId("1");
  EXPECT_EQ(view_.Text(Control::kTheme), kPrompt);
  EXPECT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0].substr(0, 10), "WARNING!\r\n");
  TypeOwnId("");  // deleting the id is a change too
  TypeOwnId("12");

  Choose(Control::kTheme, 6);
  EXPECT_EQ(view_.Text(Control::kOwnId), "");
  EXPECT_EQ(view_.Text(Control::kTheme), "Peru");
  EXPECT_EQ(view_.SelectedIndex(Control::kTheme), 6);
  EXPECT_EQ(view_.messages.size(), 1u);
  EXPECT_TRUE(logic_.IdWarningShown());
}

TEST_F(WindowLogicTest, EachBoxFeedsItsOwnCheck) {
  OpenFile(0);
  Choose(Control::kTheme, 0);
  const std::pair<Control, const char*> cases[] = {
      {Control::kCenterX, "Please only enter Numbers!"},
      {Control::kCenterY, "Please only enter Numbers!"},
      {Control::kRangeX, "You have to enter a Positive Intiger in the Range!"},
      {Control::kRangeY, "You have to enter a Positive Intiger in the Range!"},
      {Control::kCount,
       "You have to put a number 1 ot greater in the 'Number of objects to add' box!"},
  };
  for (const auto& [box, message] : cases) {
    const std::string kept = view_.Text(box);
    view_.SetText(box, box == Control::kCenterX || box == Control::kCenterY ? "x" : "0.5");
    view_.messages.clear();
    view_.calls.clear();
    logic_.AddObjects();
    EXPECT_EQ(view_.messages, Names{message});
    // The window is disabled while the run checks, and usable again once the box is dismissed.
    EXPECT_EQ(view_.calls, (Names{"disable", "message:" + std::string(message), "enable"}));
    view_.SetText(box, kept);
  }
  EXPECT_TRUE(view_.enabled);
}

// The run starts its random sequence before it checks anything; a run that fails keeps the
// mission open and the status line as it was, so that the user can retry.
TEST_F(WindowLogicTest, FailedRunReportsAndKeepsTheMissionForARetry) {
  ScriptedRandom random{0.5f};
  WindowLogic logic{view_, drives_, random};
  logic.Load();
  view_.Select(Control::kFileList, 1);
  logic.OpenMission();
  view_.Select(Control::kTheme, 0);
  logic.ThemePicked();
  const std::string mission = logic.MissionPath();
  fs::remove(mission);
  view_.calls.clear();

  logic.AddObjects();

  EXPECT_EQ(random.runsStarted, 1);
  EXPECT_EQ(view_.calls,
            (Names{"disable",
                   "message:The mission file could not be read:\r\n" + mission +
                       "\r\nThe file does not exist.\r\nNothing has been saved, and no "
                       "earlier output file has been changed.",
                   "enable"}));
  EXPECT_EQ(logic.MissionPath(), mission);
  EXPECT_EQ(view_.Text(Control::kStatus), kFileOpen);
  // Nothing to check when the press starts the sequence: it has started all the same.
  view_.SetText(Control::kCount, "x");
  logic.AddObjects();
  EXPECT_EQ(random.runsStarted, 2);
}

// The mission and options the command line's seed-42 result was made with.
TEST_F(WindowLogicTest, CompletedRunWritesTheFileListsItAndKeepsTheSelection) {
  const fs::path fixtures = BOSQUELL_CLI_FIXTURES;
  fs::copy_file(fixtures / "two_oaks.mis", otherDrive_ / "two_oaks.mis");
  Choose(Control::kDriveList, 1);
  OpenFile(1);
  Choose(Control::kTheme, 6);
  for (const auto& [box, text] : {std::pair{Control::kCount, "5"},
                                  {Control::kCenterX, "2"},
                                  {Control::kCenterY, "-1"},
                                  {Control::kRangeX, "3"},
                                  {Control::kRangeY, "2"}}) {
    view_.SetText(box, text);
  }
  const std::string output = logic_.OutputPath();
  std::string missionWhileShown = "(no message)";
  view_.onMessage = [&] { missionWhileShown = logic_.MissionPath(); };
  view_.messages.clear();
  view_.calls.clear();

  logic_.AddObjects();

  EXPECT_EQ(ReadFile(output), ReadFile(fixtures / "two_oaks_peru_seed42.mis"));
  const std::string message =
      "5 Object have been added and the file has been saved to \r\n" + output;
  EXPECT_EQ(view_.messages, Names{message});
  // Usable again and the mission forgotten before the message; the status line after it.
  EXPECT_EQ(view_.calls, (Names{"disable", "enable", "message:" + message,
                                "status:File has been saved with the ending _rnd.mis!"}));
  EXPECT_EQ(missionWhileShown, "");
  EXPECT_EQ(view_.Text(Control::kStatus), "File has been saved with the ending _rnd.mis!");
  EXPECT_EQ(logic_.MissionPath(), "");
  EXPECT_EQ(Files(), (Names{"far.mis", "two_oaks.mis", "two_oaks_rnd.mis"}));
  EXPECT_EQ(view_.SelectedIndex(Control::kFileList), 1);

  // The file has been used up, and "Open" gives it back.
  view_.calls.clear();
  logic_.AddObjects();
  EXPECT_EQ(view_.calls, (Names{"disable", "message:First Open a file!, Thank You", "enable"}));
  logic_.OpenMission();
  EXPECT_EQ(logic_.OutputPath(), output);
}

TEST_F(WindowLogicTest, FileNamedAtStartIsOpenedAsIfChosenInTheLists) {
  logic_.OpenNamedFile(Path(otherDrive_ / "far.mis"));
  EXPECT_EQ(view_.SelectedIndex(Control::kDriveList), 1);
  EXPECT_EQ(view_.SelectedIndex(Control::kFileList), 0);
  EXPECT_EQ(logic_.MissionPath(), drives_.roots[1] + kPathSeparator + "far.mis");

  logic_.OpenNamedFile("sub/../sub/inner.mis");  // relative to the current directory
  EXPECT_EQ(logic_.MissionPath(), Path(current_ / "sub") + kPathSeparator + "inner.mis");
  EXPECT_EQ(view_.Text(Control::kStatus), kFileOpen);
  EXPECT_TRUE(view_.messages.empty());
}

TEST_F(WindowLogicTest, NameThatIsNoReadableMissionIsReportedAndChangesNothing) {
  for (const std::string name : {"missing.mis", "notes.txt", "folder.mis", ".hidden.mis", ""}) {
    view_.messages.clear();
    logic_.OpenNamedFile(name);
    ASSERT_EQ(view_.messages.size(), 1u) << name;
    EXPECT_EQ(view_.messages[0].rfind("The file " + name + " cannot be opened", 0), 0u);
    EXPECT_EQ(logic_.MissionPath(), "");
    EXPECT_EQ(logic_.Directory(), drives_.current);
  }
}

TEST_F(WindowLogicTest, AboutNamesVersionAuthorsAndLicenceAndChangesNothing) {
  OpenFile(0);
  const std::string mission = logic_.MissionPath();

  logic_.About();
  EXPECT_EQ(view_.messages,
            Names{"Bosquell " BOSQUELL_VERSION
                  " by The Bosquell authors, free to use, copy and share under the MIT licence.\r\n"
                  "Please send your comments and bug reports to the project's issue tracker."});
  EXPECT_EQ(logic_.MissionPath(), mission);
  EXPECT_EQ(view_.Text(Control::kStatus), kFileOpen);

  logic_.Exit();
  EXPECT_TRUE(view_.ended);
}

}  // namespace
}  // namespace bosquell::testing
