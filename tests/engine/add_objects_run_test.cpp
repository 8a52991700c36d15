#include "run/add_objects_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "mission/mission_rewrite.h"
#include "mission/output_buffer.h"
#include "test_support.h"

#ifdef _WIN32
#include "common/windows_headers.h"
#endif

namespace bosquell {
namespace {

using testing::FileNames;
using testing::kTopUnit;
using testing::ReadFile;
using testing::RecordingWindow;
using testing::ScriptedRandom;
using testing::TempDir;
using testing::WriteFile;
using Calls = std::vector<std::string>;

constexpr const char* kMission =
    "begin objects\r\n  num_items 100\r\nend objects\r\n\r\nbegin item 6\r\n  id 7\r\nend item\r\n";

class AddObjectsRun : public ::testing::Test {
 protected:
  AddObjectsRun() {
    WriteFile(dir / "forest.mis", kMission);
    inputs.themeText = "Snow";
    inputs.centerXText = "0";
    inputs.centerYText = "0";
    inputs.rangeXText = "1";
    inputs.rangeYText = "1";
    inputs.countText = "2";
    inputs.missionPath = (dir / "forest.mis").string();
    inputs.outputPath = (dir / "forest_rnd.mis").string();
  }

  RunOutcome Run() { return RunAddObjects(inputs, window, random); }

  // The calls of a run that ended at a check with this message.
  static Calls EndedWith(const std::string& message) {
    return {"disable", "message:" + message, "enable"};
  }

  TempDir dir;
  RunInputs inputs;
  RecordingWindow window;
  ScriptedRandom random{0.0f, 0.5f, 0.25f, kTopUnit};
};

TEST_F(AddObjectsRun, WritesTheWholeOutputAndReports) {
  const RunOutcome outcome = Run();
  ASSERT_EQ(outcome.status, RunOutcome::Status::kCompleted) << outcome.message;
  const std::string block =
      std::string("  position -128 256 0\r\n  facing 180 0\r\n") + testing::kBlockTail;
  EXPECT_EQ(ReadFile(dir / "forest_rnd.mis"),
            "begin objects\r\n  num_items 102\r\nend objects\r\n\r\nbegin item 6\r\n  id 7\r\n"
            "end item\r\n"
            "\r\nbegin item 7\r\n  id 8\r\n  type_id 1023\r\n" +
                block + "\r\nbegin item 8\r\n  id 9\r\n  type_id 1023\r\n" + block);
  EXPECT_EQ(ReadFile(dir / "forest.mis"), kMission);
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"forest.mis", "forest_rnd.mis"}));

  const std::string message =
      "2 Object have been added and the file has been saved to \r\n" + inputs.outputPath;
  EXPECT_EQ(window.calls, (Calls{"disable", "enable", "clear-mission-path", "message:" + message,
                                 "status:File has been saved with the ending _rnd.mis!"}));
  EXPECT_EQ(random.reseeds, 1);
  EXPECT_EQ(random.drawn, 8);
  EXPECT_EQ(outcome.addedCount, 2);
  ASSERT_EQ(outcome.objects.size(), 2u);
  EXPECT_EQ(outcome.objects[1].y, 256);
}

TEST_F(AddObjectsRun, ChecksInOrderAndStopsAtTheFirstFailure) {
  const std::string theme =
      "You have to select a Tree Theme or enter you own Object ID First!, Thank You";
  const std::string noFile = "First Open a file!, Thank You";
  const std::string numbers = "Please only enter Numbers!";
  const std::string range = "You have to enter a Positive Intiger in the Range!";
  const std::string count =
      "You have to put a number 1 ot greater in the 'Number of objects to add' box!";
  const RunInputs valid = inputs;
  const struct {
    void (*change)(RunInputs&);
    std::string message;
  } cases[] = {
      {[](RunInputs& in) {
         in.themeText = "Select Tree a Tree Theme:";
         in.missionPath.clear();
         in.countText.clear();
       },
       theme},
      {[](RunInputs& in) {
         in.missionPath.clear();
         in.countText.clear();
       },
       noFile},
      {[](RunInputs& in) { in.countText = "abc"; }, numbers},
      {[](RunInputs& in) { in.countText = ""; }, numbers},
      {[](RunInputs& in) { in.centerXText = "1 2"; }, numbers},
      {[](RunInputs& in) {
         in.rangeXText = "0";
         in.countText = "0";
       },
       range},
      {[](RunInputs& in) { in.rangeYText = "0.9"; }, range},
      {[](RunInputs& in) { in.countText = "0.5"; }, count},
      {[](RunInputs& in) { in.countText = "-3"; }, count},
  };
  for (const auto& c : cases) {
    inputs = valid;
    c.change(inputs);
    window.calls.clear();
    const RunOutcome outcome = Run();
    EXPECT_EQ(outcome.status, RunOutcome::Status::kEndedEarly);
    EXPECT_EQ(window.calls, EndedWith(c.message));
  }
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"forest.mis"});
}

TEST_F(AddObjectsRun, ASecondRunAsksForANewFile) {
  Run();
  inputs.missionPath.clear();  // what the window does when the run clears it
  window.calls.clear();
  Run();
  EXPECT_EQ(window.calls, EndedWith("First Open a file!, Thank You"));
}

TEST_F(AddObjectsRun, OwnIdWinsOverTheThemeWhenNumeric) {
  inputs.ownIdText = " 77";
  inputs.countText = "1";
  Run();
  EXPECT_NE(ReadFile(dir / "forest_rnd.mis").find("  type_id  77\r\n"), std::string::npos);

  // Blanks alone pass the first check but are no number; the prompt matches no theme.
  inputs.themeText = "Select Tree a Tree Theme:";
  inputs.ownIdText = "  ";
  Run();
  EXPECT_NE(ReadFile(dir / "forest_rnd.mis").find("  type_id \r\n"), std::string::npos);
}

TEST_F(AddObjectsRun, RaisesTheCountByTheObjectsActuallyWritten) {
  inputs.countText = "2.5";
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.addedCount, 2);
  const std::string output = ReadFile(dir / "forest_rnd.mis");
  EXPECT_NE(output.find("  num_items 102\r\n"), std::string::npos);
  EXPECT_NE(output.find("begin item 8\r\n"), std::string::npos);
  EXPECT_EQ(output.find("begin item 9\r\n"), std::string::npos);
  EXPECT_EQ(window.calls[3].substr(0, 10), "message:2 ");
}

TEST_F(AddObjectsRun, RefusesCountsAndRangesItCannotHoldBeforeTouchingFiles) {
  inputs.countText = "32766";
  inputs.rangeYText = "9e9";
  Run();
  EXPECT_EQ(
      window.calls,
      EndedWith("The Range or the Center Offset is too large, please enter smaller Numbers!"));
  inputs.countText = "32766.6";
  window.calls.clear();
  Run();
  EXPECT_EQ(window.calls,
            EndedWith("You have to put a number smaller than 32767 in the 'Number of objects to "
                      "add' box!"));
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"forest.mis"});
}

TEST_F(AddObjectsRun, WritesTheLargestCount) {
  inputs.countText = "32766";
  const RunOutcome outcome = Run();
  EXPECT_EQ(outcome.addedCount, 32766);
  const std::string output = ReadFile(dir / "forest_rnd.mis");
  EXPECT_NE(output.find("  num_items 32866\r\n"), std::string::npos);
  EXPECT_NE(output.find("\r\nbegin item 32772\r\n  id 32773\r\n"), std::string::npos);

  // Output this large is written from a second thread; it must be the very bytes the plain
  // pass writes in memory for the same objects.
  std::stringbuf mission(kMission), expected;
  {
    OutputBuffer buffer(expected);
    double nextId = FirstId(CopyPass(mission, buffer, 32766));
    for (const DrawnObject& object : outcome.objects) {
      WriteItemBlock(buffer, ++nextId, object.typeText, object.x, object.y, object.facing);
    }
  }
  EXPECT_TRUE(output == expected.str());
}

// A failed run reports the file and the reason, keeps the open file for a retry, and leaves
// neither a partial output nor a changed earlier one behind.
TEST_F(AddObjectsRun, FailuresLeaveNoPartialFileAndKeepTheEarlierOutput) {
  WriteFile(dir / "forest_rnd.mis", "earlier output");
  std::filesystem::remove(dir / "forest.mis");
  const RunOutcome missing = Run();
  EXPECT_EQ(missing.status, RunOutcome::Status::kFailed);
  EXPECT_NE(missing.message.find(inputs.missionPath), std::string::npos);
  EXPECT_NE(missing.message.find("does not exist"), std::string::npos);
  EXPECT_EQ(window.calls, EndedWith(missing.message));

  inputs.missionPath = dir.path().string();  // an "Open" that recorded the directory
  EXPECT_EQ(Run().status, RunOutcome::Status::kFailed);

  WriteFile(dir / "forest.mis", kMission);
  inputs.missionPath = (dir / "forest.mis").string();
  inputs.outputPath = (dir / "no such folder" / "forest_rnd.mis").string();
  window.calls.clear();
  const RunOutcome unwritable = Run();
  EXPECT_EQ(unwritable.status, RunOutcome::Status::kFailed);
  EXPECT_NE(unwritable.message.find("could not be created"), std::string::npos);
  EXPECT_EQ(window.calls, EndedWith(unwritable.message));

  inputs.outputPath = inputs.missionPath;
  EXPECT_EQ(Run().status, RunOutcome::Status::kFailed);

  inputs.outputPath = (dir / "forest_rnd.mis").string();
  std::filesystem::create_directory(dir / "forest_rnd.mis.blocker");
  std::filesystem::remove(dir / "forest_rnd.mis");
  std::filesystem::create_directory(dir / "forest_rnd.mis");  // cannot be replaced by a file
  std::filesystem::remove(dir / "forest_rnd.mis.blocker");
  const RunOutcome unreplaceable = Run();
  EXPECT_EQ(unreplaceable.status, RunOutcome::Status::kFailed);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "forest_rnd.mis"));

  EXPECT_EQ(ReadFile(dir / "forest.mis"), kMission);
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"forest.mis", "forest_rnd.mis"}));
}

TEST_F(AddObjectsRun, KeepsAnEarlierOutputUntilTheNewOneIsComplete) {
  WriteFile(dir / "forest_rnd.mis", "earlier output");
  inputs.countText = "1";
  EXPECT_EQ(Run().status, RunOutcome::Status::kCompleted);
  EXPECT_NE(ReadFile(dir / "forest_rnd.mis").find("  num_items 101\r\n"), std::string::npos);
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"forest.mis", "forest_rnd.mis"}));
}

// Ids count on in a double: past 2^53 they would repeat, so such a mission keeps no output.
TEST_F(AddObjectsRun, EndsWhenTheIdsCannotContinueExactly) {
  const struct {
    const char* idLine;
    bool completes;
  } cases[] = {{"  id 9007199254740990", true},  // the second new id is 2^53 itself
               {"  id 9007199254740991", false},
               {"  id -9007199254740992", false},
               {"  id 1e999", false}};
  for (const auto& c : cases) {
    WriteFile(dir / "forest.mis", std::string("begin item 0\r\n") + c.idLine + "\r\nend item\r\n");
    std::filesystem::remove(dir / "forest_rnd.mis");
    const RunOutcome outcome = Run();
    EXPECT_EQ(outcome.status == RunOutcome::Status::kCompleted, c.completes) << c.idLine;
    EXPECT_EQ(std::filesystem::exists(dir / "forest_rnd.mis"), c.completes) << c.idLine;
  }
}

#ifdef _WIN32
// Windows will not replace a file another program holds open: the run says so, and the earlier
// output stays as it was.
TEST_F(AddObjectsRun, AnOutputHeldOpenElsewhereIsReportedAndKept) {
  WriteFile(dir / "forest_rnd.mis", "earlier output");
  const HANDLE held = CreateFileW((dir / "forest_rnd.mis").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const RunOutcome outcome = Run();
  CloseHandle(held);
  EXPECT_EQ(outcome.status, RunOutcome::Status::kFailed);
  EXPECT_NE(outcome.message.find("nother program has the file open"), std::string::npos)
      << outcome.message;
  EXPECT_EQ(ReadFile(dir / "forest_rnd.mis"), "earlier output");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"forest.mis", "forest_rnd.mis"}));
}
#endif

}  // namespace
}  // namespace bosquell
