// The window's rules, on a recording view: choosing the mission file, the theme and own id,
// Add Objects, About and Exit.

#include "window_logic/window_logic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "../engine/test_support.h"
#include "recording_view.h"
#include "window_logic/window_paths.h"

namespace bosquell::testing {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

constexpr char kPrompt[] = "Select Tree a Tree Theme:";
constexpr char kFileOpen[] = "File is open, now please set options!";
constexpr char kWarning[] =
    "WARNING!\r\nIf you enter the wrong Object ID, DF2 Mission Editor will not be able to load "
    "the output file!";

// A current directory of mission files and look-alikes, on the root drive, with a second drive
// holding one mission and a third that cannot be read.
class WindowLogicTest : public ::testing::Test {
 protected:
  WindowLogicTest() {
    for (const char* name : {"b.mis", "A.MIS", "c.Mis", "notes.txt", "d.mis.bak", ".hidden.mis"}) {
      WriteFile(current_ / name, "");
    }
    for (const char* name : {"folder.mis", "sub", ".git"}) fs::create_directory(current_ / name);
    WriteFile(current_ / "sub" / "inner.mis", "");
    WriteFile(otherDrive_ / "far.mis", "");
    drives_.roots = {Root(), Path(otherDrive_.path()), Path(current_ / "gone")};
    drives_.unreadable = {drives_.roots[2]};
    drives_.current = Path(current_.path());
    logic_.Load();
  }

  static std::string Root() { return Path(fs::temp_directory_path().root_path()); }
  static std::string Path(const fs::path& path) { return path.string(); }

  // The user chooses an entry of a list, and the window reports it.
  void Choose(Control list, int index) {
    view_.Select(list, index);
    if (list == Control::kDrive1) logic_.DriveChanged();
    if (list == Control::kCombo1) logic_.ThemePicked();
  }
  void TypeOwnId(const std::string& text) {
    view_.SetText(Control::kText6, text);
    logic_.OwnIdChanged();
  }
  void OpenDirectory(const std::string& name) {
    const Names names = view_.DirectoryNames();
    logic_.DirectoryOpened(
        static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin()));
  }
  Names Files() { return view_.entries[Control::kFile1]; }

  TempDir current_;
  TempDir otherDrive_;
  RecordingView view_;
  FixedDrives drives_;
  MersenneRandom random_{42};
  WindowLogic logic_{view_, drives_, random_};
};

TEST_F(WindowLogicTest, LoadShowsThemesDrivesFoldersAndMissionFiles) {
  EXPECT_EQ(view_.entries[Control::kCombo1], (Names{"Jungel", "Zaire", "Georgia", "Desert", "Niger",
                                                    "Kazhazkstan", "Peru", "Snow"}));
  EXPECT_EQ(view_.Text(Control::kCombo1), kPrompt);
  EXPECT_EQ(view_.SelectedIndex(Control::kCombo1), -1);

  EXPECT_EQ(view_.entries[Control::kDrive1], drives_.roots);
  EXPECT_EQ(view_.SelectedIndex(Control::kDrive1), 0);

  // Ancestors from the root down, the current directory, then its visible subdirectories.
  const std::vector<DirectoryEntry>& dirs = view_.directories;
  ASSERT_GE(dirs.size(), 4u);
  EXPECT_EQ(dirs.front().name, Root());
  const auto current = static_cast<std::size_t>(view_.currentDirectory);
  EXPECT_EQ(current, dirs.size() - 3);
  EXPECT_EQ(dirs[current], (DirectoryEntry{current_.path().filename().string(), drives_.current,
                                           static_cast<int>(current), true}));
  EXPECT_EQ(dirs[current + 1], (DirectoryEntry{"folder.mis", Path(current_ / "folder.mis"),
                                               static_cast<int>(current + 1), false}));
  EXPECT_EQ(dirs[current + 2].name, "sub");

  EXPECT_EQ(Files(), (Names{"A.MIS", "b.mis", "c.Mis"}));
  EXPECT_EQ(view_.SelectedIndex(Control::kFile1), -1);
  EXPECT_EQ(logic_.MissionPath(), "");
  EXPECT_EQ(logic_.OutputPath(), "");
}

TEST_F(WindowLogicTest, OpenJoinsTheFolderAndTheSelectedNameAndKeepsItsCase) {
  logic_.OpenMission();  // nothing selected: nothing opened
  EXPECT_EQ(logic_.MissionPath(), "");
  EXPECT_EQ(view_.Text(Control::kLabel1), "Please Open a File!");

  const std::string base = drives_.current + kPathSeparator;
  Choose(Control::kFile1, 0);
  logic_.OpenMission();
  EXPECT_EQ(logic_.MissionPath(), base + "A.MIS");
  EXPECT_EQ(logic_.OutputPath(), base + "A_rnd.mis");
  EXPECT_EQ(view_.Text(Control::kLabel1), kFileOpen);

  Choose(Control::kFile1, 2);
  logic_.OpenMission();
  EXPECT_EQ(logic_.MissionPath(), base + "c.Mis");
  EXPECT_EQ(logic_.OutputPath(), base + "c_rnd.mis");
  EXPECT_TRUE(view_.messages.empty());
}

TEST(WindowPaths, SeparatorIsAlwaysInsertedAndFoldersAreNormalised) {
  EXPECT_EQ(JoinMissionPath("C:\\", "a.mis", '\\'), "C:\\\\a.mis");
  EXPECT_EQ(JoinMissionPath("C:\\Missions", "mission1.mis", '\\'), "C:\\Missions\\mission1.mis");
#ifdef _WIN32
  EXPECT_EQ(NativeDirectory("C:/Missions/"), "C:\\Missions");
  EXPECT_EQ(NativeDirectory("C:/"), "C:\\");
#else
  EXPECT_EQ(JoinMissionPath(NativeDirectory("/"), "a.mis"), "//a.mis");
  EXPECT_EQ(NativeDirectory("/srv/./missions/old/../"), "/srv/missions");
#endif
  const std::vector<std::string> drives{"/", "/media/disk", "/media/disk2"};
  EXPECT_EQ(DriveOfPath(drives, "/media/disk2/maps"), 2);
  EXPECT_EQ(DriveOfPath(drives, "/media/disk"), 1);
  EXPECT_EQ(DriveOfPath(drives, "/media/diskette"), 0);
  EXPECT_EQ(DriveOfPath({"D:\\"}, "C:\\maps"), -1);
}

TEST_F(WindowLogicTest, OpeningAFolderMovesTheFilesButKeepsTheOpenFile) {
  Choose(Control::kFile1, 1);
  logic_.OpenMission();
  const std::string opened = logic_.MissionPath();

  OpenDirectory("sub");
  EXPECT_EQ(logic_.Directory(), Path(current_ / "sub"));
  EXPECT_EQ(view_.directories[static_cast<std::size_t>(view_.currentDirectory)].name, "sub");
  EXPECT_EQ(Files(), Names{"inner.mis"});
  EXPECT_EQ(logic_.MissionPath(), opened);
  EXPECT_EQ(view_.Text(Control::kLabel1), kFileOpen);

  Choose(Control::kFile1, 0);
  logic_.OpenMission();
  EXPECT_EQ(logic_.MissionPath(), Path(current_ / "sub") + kPathSeparator + "inner.mis");

  OpenDirectory(current_.path().filename().string());
  EXPECT_EQ(logic_.Directory(), drives_.current);
  EXPECT_EQ(Files(), (Names{"A.MIS", "b.mis", "c.Mis"}));
}

TEST_F(WindowLogicTest, NewDriveMovesBothListsAndTheFirstReturnsToTheCurrentFolder) {
  Choose(Control::kDrive1, 1);
  EXPECT_EQ(logic_.Directory(), drives_.roots[1]);
  EXPECT_EQ(Files(), Names{"far.mis"});

  Choose(Control::kDrive1, 0);
  EXPECT_EQ(logic_.Directory(), drives_.current);
  EXPECT_EQ(Files(), (Names{"A.MIS", "b.mis", "c.Mis"}));
  EXPECT_TRUE(view_.messages.empty());
}

TEST_F(WindowLogicTest, UnreadableDriveIsReportedAndUndone) {
  Choose(Control::kDrive1, 2);

  EXPECT_EQ(view_.messages,
            Names{"The drive " + drives_.roots[2] +
                  " cannot be read.\r\nCheck that it is ready, or choose another."});
  EXPECT_EQ(view_.SelectedIndex(Control::kDrive1), 0);
  EXPECT_EQ(logic_.Directory(), drives_.current);
  EXPECT_EQ(Files(), (Names{"A.MIS", "b.mis", "c.Mis"}));
}

TEST_F(WindowLogicTest, FirstIdChangeWarnsOnceAndEveryChangeResetsTheTheme) {
  TypeOwnId("1");
  EXPECT_EQ(view_.messages, Names{kWarning});
  EXPECT_TRUE(logic_.IdWarningShown());

  Choose(Control::kCombo1, 7);
  EXPECT_EQ(view_.Text(Control::kCombo1), "Snow");
  EXPECT_EQ(view_.Text(Control::kText6), "");
  TypeOwnId("2");
  TypeOwnId("");  // deleting the id is a change too
  EXPECT_EQ(view_.Text(Control::kCombo1), kPrompt);
  EXPECT_EQ(view_.SelectedIndex(Control::kCombo1), -1);
  EXPECT_EQ(view_.messages.size(), 1u);
}

TEST_F(WindowLogicTest, PickingAThemeEmptiesTheIdAndKeepsThePick) {
  // Before any id: no change of the id, so no warning.
  Choose(Control::kCombo1, 6);
  EXPECT_EQ(view_.Text(Control::kCombo1), "Peru");
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_FALSE(logic_.IdWarningShown());

  TypeOwnId("1023");
  Choose(Control::kCombo1, 6);
  EXPECT_EQ(view_.Text(Control::kText6), "");
  EXPECT_EQ(view_.Text(Control::kCombo1), "Peru");
  EXPECT_EQ(view_.SelectedIndex(Control::kCombo1), 6);
  EXPECT_EQ(view_.messages, Names{kWarning});
}

TEST_F(WindowLogicTest, EachBoxFeedsItsOwnCheck) {
  Choose(Control::kFile1, 0);
  logic_.OpenMission();
  Choose(Control::kCombo1, 0);
  const struct {
    Control box;
    const char* text;
    const char* message;
  } cases[] = {
      {Control::kText1, "x", "Please only enter Numbers!"},
      {Control::kText3, "x", "Please only enter Numbers!"},
      {Control::kText4, "0", "You have to enter a Positive Intiger in the Range!"},
      {Control::kText2, "0", "You have to enter a Positive Intiger in the Range!"},
      {Control::kText5, "0.5",
       "You have to put a number 1 ot greater in the 'Number of objects to add' box!"},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.text);
    const std::string kept = view_.Text(each.box);
    view_.SetText(each.box, each.text);
    view_.messages.clear();
    logic_.AddObjects();
    EXPECT_EQ(view_.messages, Names{each.message});
    EXPECT_TRUE(view_.enabled);
    view_.SetText(each.box, kept);
  }
  EXPECT_FALSE(logic_.MissionPath().empty());
}

// The mission and options the command line's seed-42 result was made with.
TEST_F(WindowLogicTest, CompletedRunWritesTheFileAndListsIt) {
  const fs::path fixtures = BOSQUELL_CLI_FIXTURES;
  fs::copy_file(fixtures / "two_oaks.mis", otherDrive_ / "two_oaks.mis");
  Choose(Control::kDrive1, 1);
  Choose(Control::kFile1, 1);
  logic_.OpenMission();
  Choose(Control::kCombo1, 6);
  for (const auto& [box, text] : {std::pair{Control::kText5, "5"},
                                  {Control::kText1, "2"},
                                  {Control::kText3, "-1"},
                                  {Control::kText4, "3"},
                                  {Control::kText2, "2"}}) {
    view_.SetText(box, text);
  }
  const std::string output = logic_.OutputPath();

  logic_.AddObjects();

  EXPECT_EQ(ReadFile(output), ReadFile(fixtures / "two_oaks_peru_seed42.mis"));
  EXPECT_EQ(view_.messages,
            Names{"5 Object have been added and the file has been saved to \r\n" + output});
  EXPECT_EQ(view_.enabledAtMessage, std::vector<bool>{true});
  EXPECT_EQ(view_.Text(Control::kLabel1), "File has been saved with the ending _rnd.mis!");
  EXPECT_EQ(logic_.MissionPath(), "");
  EXPECT_EQ(logic_.OutputPath(), output);
  EXPECT_EQ(Files(), (Names{"far.mis", "two_oaks.mis", "two_oaks_rnd.mis"}));
  EXPECT_EQ(view_.SelectedIndex(Control::kFile1), 1);

  // The file has been used up: the next press asks for a new one, and "Open" gives it back.
  logic_.AddObjects();
  EXPECT_EQ(view_.messages.back(), "First Open a file!, Thank You");
  EXPECT_EQ(view_.enabledAtMessage.back(), false);
  logic_.OpenMission();
  EXPECT_EQ(logic_.OutputPath(), output);
  EXPECT_NE(logic_.MissionPath(), "");
}

TEST_F(WindowLogicTest, FileNamedAtStartIsOpenedAsIfChosenInTheLists) {
  logic_.OpenNamedFile("sub/../sub/inner.mis");  // relative to the current directory
  EXPECT_EQ(logic_.Directory(), Path(current_ / "sub"));
  EXPECT_EQ(view_.SelectedIndex(Control::kFile1), 0);
  EXPECT_EQ(logic_.MissionPath(), Path(current_ / "sub") + kPathSeparator + "inner.mis");
  EXPECT_EQ(view_.Text(Control::kLabel1), kFileOpen);

  logic_.OpenNamedFile(Path(otherDrive_ / "far.mis"));
  EXPECT_EQ(view_.SelectedIndex(Control::kDrive1), 1);
  EXPECT_EQ(logic_.MissionPath(), drives_.roots[1] + kPathSeparator + "far.mis");
  EXPECT_TRUE(view_.messages.empty());
}

TEST_F(WindowLogicTest, NameThatIsNoReadableMissionIsReportedAndTheWindowStartsAsUsual) {
  for (const std::string name : {"missing.mis", "notes.txt", "folder.mis", ".hidden.mis", ""}) {
    SCOPED_TRACE(name);
    view_.messages.clear();
    logic_.OpenNamedFile(name);
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].rfind("The file " + name + " cannot be opened", 0), 0u);
    EXPECT_EQ(logic_.MissionPath(), "");
    EXPECT_EQ(logic_.Directory(), drives_.current);
    EXPECT_EQ(view_.Text(Control::kLabel1), "Please Open a File!");
  }
}

TEST_F(WindowLogicTest, AboutNamesProgramVersionAuthorsAndLicenceAndChangesNothing) {
  Choose(Control::kFile1, 0);
  logic_.OpenMission();
  TypeOwnId("77");
  const std::string mission = logic_.MissionPath();

  logic_.About();
  logic_.About();

  ASSERT_EQ(view_.messages.size(), 3u);
  EXPECT_EQ(view_.messages[1], view_.messages[2]);
  EXPECT_EQ(view_.messages[1], "Bosquell " BOSQUELL_VERSION
                               " by The Bosquell authors, free to use, copy and share under the "
                               "MIT licence.\r\n"
                               "Please send your comments and bug reports to the project's issue "
                               "tracker.");
  EXPECT_EQ(logic_.MissionPath(), mission);
  EXPECT_EQ(view_.Text(Control::kText6), "77");
  EXPECT_EQ(view_.Text(Control::kLabel1), kFileOpen);
  EXPECT_FALSE(view_.ended);

  logic_.Exit();
  EXPECT_TRUE(view_.ended);
  EXPECT_FALSE(fs::exists(current_ / "A_rnd.mis"));
}

}  // namespace
}  // namespace bosquell::testing
