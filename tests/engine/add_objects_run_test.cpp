#include "run/add_objects_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "files/mission_stamp.h"
#include "mission/mission_rewrite.h"
#include "mission/output_buffer.h"
#include "run/run_messages.h"
#include "test_support.h"

#ifdef _WIN32
#include "common/windows_headers.h"
#endif

namespace bosquell {
namespace {

using testing::FileNames;
using testing::kTopUnit;
using testing::MessageOf;
using testing::ReadFile;
using testing::ScriptedRandom;
using testing::TempDir;
using testing::WriteFile;
using Status = AddObjectsResult::Status;

constexpr const char* kMission =
    "begin objects\r\n  num_items 100\r\nend objects\r\n\r\nbegin item 6\r\n  id 7\r\nend item\r\n";

class AddObjectsRun : public ::testing::Test {
 protected:
  AddObjectsRun() { WriteFile(dir / "forest.mis", kMission); }

  AddObjectsResult Run() { return AddObjects(request, random); }

  TempDir dir;
  AddObjectsRequest request =
      testing::Request("Snow", 2, "0", "0", "1", "1", dir / "forest.mis", dir / "forest_rnd.mis");
  ScriptedRandom random{0.0f, 0.5f, 0.25f, kTopUnit};
};

TEST_F(AddObjectsRun, WritesTheWholeOutputAndReports) {
  const AddObjectsResult result = Run();
  ASSERT_EQ(result.status, Status::kWritten) << MessageOf(result, request);
  const std::string block =
      std::string("  position -128 256 0\r\n  facing 180 0\r\n") + testing::kBlockTail;
  EXPECT_EQ(ReadFile(dir / "forest_rnd.mis"),
            "begin objects\r\n  num_items 102\r\nend objects\r\n\r\nbegin item 6\r\n  id 7\r\n"
            "end item\r\n"
            "\r\nbegin item 7\r\n  id 8\r\n  type_id 1023\r\n" +
                block + "\r\nbegin item 8\r\n  id 9\r\n  type_id 1023\r\n" + block);
  EXPECT_EQ(ReadFile(dir / "forest.mis"), kMission);
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"forest.mis", "forest_rnd.mis"}));

  // The engine starts nothing itself: the caller starts the random sequence.
  EXPECT_EQ(random.runsStarted, 0);
  EXPECT_EQ(random.drawn, 8);
  ASSERT_EQ(result.objects.size(), 2u);
  EXPECT_EQ(result.objects[1].y, 256);
  EXPECT_EQ(RunMessageLines(result, request.outputPath),
            (std::vector<std::string>{"2 Object have been added and the file has been saved to ",
                                      request.outputPath}));
  EXPECT_EQ(MessageOf(result, request),
            "2 Object have been added and the file has been saved to \r\n" + request.outputPath);
}

// The own id is written exactly as typed, blanks and all.
TEST_F(AddObjectsRun, OwnIdIsWrittenAsTyped) {
  request =
      testing::Request(" 77", 1, "0", "0", "1", "1", dir / "forest.mis", dir / "forest_rnd.mis");
  ASSERT_EQ(Run().status, Status::kWritten);
  EXPECT_NE(ReadFile(dir / "forest_rnd.mis").find("  type_id  77\r\n"), std::string::npos);
}

TEST_F(AddObjectsRun, WritesTheLargestCount) {
  request.recipe.layers.front().count = kMaxObjectCount;
  const AddObjectsResult result = Run();
  EXPECT_EQ(result.objects.size(), 32766u);
  const std::string output = ReadFile(dir / "forest_rnd.mis");
  EXPECT_NE(output.find("  num_items 32866\r\n"), std::string::npos);
  EXPECT_NE(output.find("\r\nbegin item 32772\r\n  id 32773\r\n"), std::string::npos);

  // Output this large is written from a second thread; it must be the very bytes the plain
  // pass writes in memory for the same objects.
  std::stringbuf mission(kMission), expected;
  {
    OutputBuffer buffer(expected);
    double nextId = FirstId(CopyPass(mission, buffer, 32766));
    for (const DrawnObject& object : result.objects) {
      WriteItemBlock(buffer, ++nextId, object.typeText, object.x, object.y, object.facing);
    }
  }
  EXPECT_TRUE(output == expected.str());
}

// A failed run reports the file and the reason, and leaves neither a partial output nor a
// changed earlier one behind.
TEST_F(AddObjectsRun, FailuresLeaveNoPartialFileAndKeepTheEarlierOutput) {
  WriteFile(dir / "forest_rnd.mis", "earlier output");
  std::filesystem::remove(dir / "forest.mis");
  const AddObjectsResult missing = Run();
  EXPECT_EQ(missing.status, Status::kFailed);
  EXPECT_EQ(MessageOf(missing, request),
            "The mission file could not be read:\r\n" + request.missionPath +
                "\r\nThe file does not exist.\r\nNothing has been saved, and no earlier output "
                "file has been changed.");

  request.missionPath = dir.path().string();  // an "Open" that recorded the directory
  EXPECT_EQ(Run().status, Status::kFailed);

  WriteFile(dir / "forest.mis", kMission);
  request.missionPath = (dir / "forest.mis").string();
  request.outputPath = (dir / "no such folder" / "forest_rnd.mis").string();
  const AddObjectsResult unwritable = Run();
  EXPECT_EQ(unwritable.status, Status::kFailed);
  EXPECT_EQ(unwritable.failure.kind, FileFailure::Kind::kCreateOutput);
  EXPECT_EQ(
      MessageOf(unwritable, request)
          .rfind("The output file could not be created:\r\n" + request.outputPath + "\r\n", 0),
      0u);

  request.outputPath = request.missionPath;
  const AddObjectsResult replacing = Run();
  EXPECT_EQ(MessageOf(replacing, request),
            "The output file would replace the mission file:\r\n" + request.missionPath +
                "\r\nThe mission file is never changed.\r\nNothing has been saved, and no "
                "earlier output file has been changed.");

  request.outputPath = (dir / "forest_rnd.mis").string();
  std::filesystem::create_directory(dir / "forest_rnd.mis.blocker");
  std::filesystem::remove(dir / "forest_rnd.mis");
  std::filesystem::create_directory(dir / "forest_rnd.mis");  // cannot be replaced by a file
  std::filesystem::remove(dir / "forest_rnd.mis.blocker");
  const AddObjectsResult unreplaceable = Run();
  EXPECT_EQ(unreplaceable.status, Status::kFailed);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "forest_rnd.mis"));

  EXPECT_EQ(ReadFile(dir / "forest.mis"), kMission);
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"forest.mis", "forest_rnd.mis"}));
}

TEST_F(AddObjectsRun, KeepsAnEarlierOutputUntilTheNewOneIsComplete) {
  WriteFile(dir / "forest_rnd.mis", "earlier output");
  request.recipe.layers.front().count = 1;
  EXPECT_EQ(Run().status, Status::kWritten);
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
    const AddObjectsResult result = Run();
    EXPECT_EQ(result.status == Status::kWritten, c.completes) << c.idLine;
    EXPECT_EQ(std::filesystem::exists(dir / "forest_rnd.mis"), c.completes) << c.idLine;
  }
}

// A run given what it must write writes it, and nothing when the mission or its objects are not
// those expected.
TEST_F(AddObjectsRun, WritesOnlyTheExpectedObjectsIntoTheExpectedMission) {
  ScriptedRandom again = random;
  std::vector<DrawnObject> shown = AddObjects(request, again).objects;
  std::filesystem::remove(dir / "forest_rnd.mis");
  const MissionStamp stamp = StampOf(request.missionPath);
  ASSERT_TRUE(stamp.exists);
  std::vector<DrawnObject> otherObjects = shown;
  otherObjects[1].facing = 90;
  MissionStamp otherMission = stamp;
  otherMission.size += 1;
  const struct {
    MissionStamp missionStamp;
    std::vector<DrawnObject> objects;
    Status status;
  } cases[] = {{otherMission, shown, Status::kMissionChanged},
               {stamp, otherObjects, Status::kMissionChanged},
               {stamp, {shown[0]}, Status::kMissionChanged},
               {stamp, shown, Status::kWritten}};
  for (const auto& c : cases) {
    request.expected = ExpectedObjects{c.missionStamp, c.objects};
    random.StartRun();
    const AddObjectsResult result = Run();
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(std::filesystem::exists(dir / "forest_rnd.mis"), c.status == Status::kWritten);
  }
  EXPECT_EQ(MessageOf({Status::kMissionChanged, 0, 2, 0, {}, {}, {}}, request),
            "The run failed: the mission file was changed while the run read it; the map now "
            "shows it as it is.\r\nNothing has been saved, and no earlier output file has been "
            "changed.");
}

// Layers are written in order, ids continuing; a layer that falls short is named when there are
// several, and a recipe the draw cannot take is refused before any file is opened.
TEST_F(AddObjectsRun, LayersAreWrittenInOrderAndTheOneThatFallsShortIsNamed) {
  const std::string kNothingSaved =
      "\r\nNothing has been saved, and no earlier output file has been changed.";
  const std::string kNotAll =
      " objects could be placed while keeping the Keep clear and Spacing distances, please "
      "enter a larger Range or smaller distances!" +
      kNothingSaved;
  Layer snow = request.recipe.layers.front();  // 2 of Snow in 1 x 1 user units
  Layer own = snow;
  own.mix = WeightedMix{{{"1017", 1}}};
  own.count = 3;
  own.areas = {{CircleArea{{40, 0}, 2}, false}};
  Layer crowded = own;  // keeps clear of the Snow trees, which cover its whole area
  crowded.areas = snow.areas;
  crowded.keepClear = 5;
  Layer spaced = crowded;
  spaced.keepClear = 0;
  spaced.spacing = 5;
  Layer fill = own;
  fill.pattern = Pattern::kEven;
  fill.fill = true;
  fill.count = 0;
  fill.spacing = 0.5;
  Layer tooMany = snow;
  tooMany.count = kMaxObjectCount - 1;
  Layer unreadable = own;
  unreadable.areas.front().exclude = true;
  struct Case {
    std::vector<Layer> layers;
    std::string message;  // of a run that writes nothing
  };
  const Case cases[] = {
      {{snow, own}, ""},
      {{snow, crowded}, "Layer 2: only 0 of the 3" + kNotAll},
      {{spaced}, "Only 1 of the 3" + kNotAll},
      {{tooMany, fill},
       "Layer 2: the fill stopped: more than 1 objects would fill the area, the most this run has "
       "room for, please enter a larger spacing or a smaller area!" +
           kNothingSaved},
      {{snow, unreadable},
       "The recipe cannot be drawn: layer 2 holds a value that the draw cannot handle." +
           kNothingSaved},
      {{tooMany, snow},
       "The recipe cannot be drawn: its layers count 32767 objects together, more than the "
       "32766 one run adds." +
           kNothingSaved},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(dir / "forest_rnd.mis");
    request.recipe.layers = c.layers;
    MersenneRandom seeded(5);
    seeded.StartRun();
    const AddObjectsResult result = AddObjects(request, seeded);
    EXPECT_EQ(std::filesystem::exists(dir / "forest_rnd.mis"), c.message.empty());
    if (!c.message.empty()) {
      EXPECT_EQ(MessageOf(result, request), c.message);
      continue;
    }
    ASSERT_EQ(result.layerCounts, (std::vector<std::size_t>{2, 3}));
    const std::string output = ReadFile(dir / "forest_rnd.mis");
    EXPECT_NE(output.find("  num_items 105\r\n"), std::string::npos);
    const std::string firstOwn = "begin item 9\r\n  id 10\r\n  type_id 1017";
    EXPECT_EQ(output.find("type_id 1017"), output.find(firstOwn) + firstOwn.find("type_id"));
    EXPECT_NE(output.find("begin item 11\r\n  id 12\r\n  type_id 1017"), std::string::npos);
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
  const AddObjectsResult result = Run();
  CloseHandle(held);
  EXPECT_EQ(result.status, Status::kFailed);
  const std::string message = MessageOf(result, request);
  EXPECT_NE(message.find("nother program has the file open"), std::string::npos) << message;
  EXPECT_EQ(ReadFile(dir / "forest_rnd.mis"), "earlier output");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"forest.mis", "forest_rnd.mis"}));
}
#endif

}  // namespace
}  // namespace bosquell
