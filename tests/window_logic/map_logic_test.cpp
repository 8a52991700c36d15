// The map window's reactions on recording views: what it previews, what a run then writes, and
// what a drag, a key and a reroll do.

#include "window_logic/map_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "../engine/test_support.h"
#ifdef BOSQUELL_TEST_WITH_CLI
#include "cli/cli_program.h"
#endif
#include "mission/item_positions.h"
#include "recipe/recipe_text.h"
#include "recording_view.h"
#include "run/add_objects_run.h"
#include "window_logic/key_step.h"
#include "window_logic/shape_geometry.h"
#include "window_logic/window_logic.h"
#include "window_logic/window_texts.h"

namespace bosquell::testing {
namespace {

class CountingMapView final : public MapView {
 public:
  void Open() override { ++opens; }
  void Close() override { ++closes; }
  void Refresh() override { ++refreshes; }
  int opens = 0;
  int closes = 0;
  int refreshes = 0;
};

constexpr char kMission[] =
    "begin objects\r\n  num_items 2\r\nend objects\r\n"
    "begin item 0\r\n  id 1\r\n  position 0 0 0\r\nend item\r\n"
    "begin item 1\r\n  id 2\r\n  position 25600 -25600 0\r\nend item\r\n";

// A main window on a folder with one mission, opened, the "Jungel" theme chosen, and a map.
class MapLogicTest : public ::testing::Test {
 protected:
  MapLogicTest() {
    WriteFile(dir / "forest.mis", kMission);
    drives.roots = {dir.path().root_path().string()};
    drives.current = dir.path().string();
    window.Load();
    window.SetMap(&map);
    form.texts[Control::kTheme] = "Jungel";
    window.OpenNamedFile((dir / "forest.mis").string());
    form.messages.clear();
  }

  // Drags on a 400 x 300 picture between two map points.
  void Drag(MapPoint from, MapPoint to) {
    map.Scene(400, 300);
    map.ButtonDown(MapButton::kLeft, map.Viewport().ToPixel(from));
    map.PointerMoved(map.Viewport().ToPixel(to));
    map.ButtonUp(MapButton::kLeft, map.Viewport().ToPixel(to));
  }
  // The run wrote the mission's two objects, then those the map showed.
  void ExpectWrittenAsShown(const std::vector<DrawnObject>& shown) {
    std::stringbuf written(ReadFile(dir / "forest_rnd.mis"));
    const std::vector<MapPoint> positions = ReadItemPositions(written).value();
    ASSERT_EQ(positions.size(), 2 + shown.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
      EXPECT_EQ(positions[i + 2].x, shown[i].x);
      EXPECT_EQ(positions[i + 2].y, shown[i].y);
    }
  }
  std::vector<std::string> AreaTexts() {
    return {form.Text(Control::kCenterX), form.Text(Control::kCenterY), form.Text(Control::kRangeX),
            form.Text(Control::kRangeY)};
  }

  TempDir dir;
  RecordingView form;
  FixedDrives drives;
  MersenneRandom clock{5};
  CountingMapView mapView;
  std::uint32_t nextSeed = 100;
  int unsavedAsked = 0;
  MapLogic map{form, mapView, [this] { return nextSeed++; }, MissionFileReaders(),
               DocumentPrompts{[this](const std::string&) {
                                 ++unsavedAsked;
                                 return UnsavedAnswer::kDiscard;
                               },
                               {},
                               {}}};
  WindowLogic window{form, drives, clock};
};

TEST_F(MapLogicTest, AddObjectsWritesWhatTheMapShows) {
  map.Show();
  EXPECT_EQ(mapView.opens, 1);
  ASSERT_TRUE(map.IsOpen());
  EXPECT_EQ(map.Seed(), 100u);
  map.Reroll();
  EXPECT_EQ(map.Seed(), 101u);
  map.SpacingEdited("3");
  map.KeepClearEdited("2");
  ASSERT_EQ(map.Problem(), "");
  const std::vector<DrawnObject> shown = map.Preview().objects;
  ASSERT_EQ(shown.size(), 20u);

  window.AddObjects();
  ASSERT_EQ(form.messages.size(), 1u);
  ExpectWrittenAsShown(shown);
  // The run forgot the mission: the preview is gone, the objects show as written.
  EXPECT_EQ(map.Problem(), "");
  EXPECT_TRUE(map.Preview().objects.empty());
  EXPECT_EQ(map.Written(), shown);
  // Opened again, the mission is shown with the same seed: only Reroll changes it.
  window.OpenMission();
  EXPECT_EQ(map.Seed(), 101u);
}

// The run the map wrote, opened again and taken back from the seed typed: a seed or text that
// made no run writes nothing; the right one marks the run's trees while the user is asked, and
// "yes" gives back the mission's own bytes.
TEST_F(MapLogicTest, TakingARunBackMarksItsTreesAndGivesBackTheMission) {
  map.Show();
  const std::vector<DrawnObject> shown = map.Preview().objects;
  window.AddObjects();
  window.OpenNamedFile((dir / "forest_rnd.mis").string());
  const std::string back = (dir / "forest_rnd_back.mis").string();
  struct Case {
    const char* seed;
    bool yes;
    const char* message;  // its start; none when there is none
  } cases[] = {
      {"7", true, "Not one object of the run of seed 7 is in the mission file:\r\n"},
      {"1e2", true, "The seed must be a whole number from 0 to 4294967295, not \"1e2\""},
      {"100", false, nullptr},
      {"100", true, "20 of 20 removed, 0 not found, 0 changed and kept\r\n"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.seed);
    std::vector<std::string> messages;
    std::vector<DrawnObject> marked;
    std::string status;
    map.TakeRunBack({[&] { return std::optional<std::string>(test.seed); },
                     [&](const std::string&) {
                       marked = map.FoundRun();
                       status = map.StatusText();
                       return test.yes;
                     },
                     [&](const std::string& text) { messages.push_back(text); }});
    EXPECT_TRUE(map.FoundRun().empty());
    ASSERT_EQ(messages.size(), test.message ? 1u : 0u);
    if (test.message) {
      EXPECT_EQ(messages[0].rfind(test.message, 0), 0u) << messages[0];
    }
    if (std::string(test.seed) != "100") continue;
    EXPECT_EQ(marked, shown);
    EXPECT_NE(status.find("Take back: 20 of 20 removed"), std::string::npos) << status;
    EXPECT_EQ(std::filesystem::exists(back), test.yes);
  }
  EXPECT_EQ(ReadFile(back), kMission);
}

TEST_F(MapLogicTest, AClosedMapGivesARunItsRulesButNoSeed) {
  map.KeepClearEdited("5");
  EXPECT_FALSE(map.RunSeed());
  EXPECT_EQ(map.KeepClearText(), "5");
  map.Show();
  EXPECT_EQ(map.RunSeed(), 100u);
  EXPECT_EQ(map.KeepClearText(), "5");
  // Shown again, the open map only comes to the front, preview and all.
  map.Show();
  EXPECT_EQ(mapView.opens, 2);
  EXPECT_EQ(mapView.closes, 0);
  EXPECT_EQ(map.RunSeed(), 100u);
  map.Closed();
  EXPECT_FALSE(map.RunSeed());
  // While closed the map reads nothing and draws nothing.
  const int refreshes = mapView.refreshes;
  window.InputEdited();
  EXPECT_EQ(mapView.refreshes, refreshes);
  map.Show();
  EXPECT_EQ(map.RunSeed(), 100u);
}

// Draws previews only when the test says so, as a thread would later.
class HeldPreviews final : public PreviewExecutor {
 public:
  void Submit(PreviewJob job) override { jobs.push_back(std::move(job)); }
  std::optional<DrawnPreview> TakeFinished() override {
    return std::exchange(finished, std::nullopt);
  }
  void Finish(std::size_t job) {
    finished = jobs.at(job).draw();
    finished->generation = jobs[job].generation;
  }
  std::vector<PreviewJob> jobs;
  std::optional<DrawnPreview> finished;
};

// While an edit's preview is drawn elsewhere the old one shows as out of date; a late draw of
// older inputs is dropped; a run meanwhile draws for itself and writes the current inputs' trees.
TEST_F(MapLogicTest, APreviewDrawnElsewhereShowsWhenItIsTheNewest) {
  auto held = std::make_unique<HeldPreviews>();
  HeldPreviews& previews = *held;
  map.UsePreviewExecutor(std::move(held));
  map.Show();
  ASSERT_EQ(previews.jobs.size(), 1u);
  EXPECT_FALSE(map.PreviewCurrent());
  EXPECT_NE(map.StatusText().find("Preview updating\u2026"), std::string::npos);
  previews.Finish(0);
  map.PreviewFinished();
  ASSERT_TRUE(map.PreviewCurrent());
  const std::vector<DrawnObject> first = map.Preview().objects;
  ASSERT_EQ(first.size(), 20u);

  map.SpacingEdited("3");
  map.Reroll();
  ASSERT_EQ(previews.jobs.size(), 3u);
  const int refreshes = mapView.refreshes;
  previews.Finish(1);
  map.PreviewFinished();
  EXPECT_FALSE(map.PreviewCurrent());
  EXPECT_EQ(mapView.refreshes, refreshes);
  EXPECT_EQ(map.Preview().objects, first);  // shown pale until the newest comes
  EXPECT_NE(map.StatusText().find("Preview updating"), std::string::npos);
  const MapScene& scene = map.Scene(400, 300);
  EXPECT_GT(std::count(scene.pixels.begin(), scene.pixels.end(), 0xC8C8C8u), 20 * 4);

  window.AddObjects();
  ASSERT_EQ(form.messages.size(), 1u);
  previews.Finish(2);
  map.PreviewFinished();  // of the mission before the run: dropped
  MapLogic sameInputs{form, mapView, [] { return 101u; }};
  sameInputs.SpacingEdited("3");
  WriteFile(dir / "again.mis", kMission);
  sameInputs.MissionChanged((dir / "again.mis").string());
  sameInputs.Show();
  ASSERT_NE(sameInputs.Preview().objects, first);
  ExpectWrittenAsShown(sameInputs.Preview().objects);
  EXPECT_EQ(map.Written(), sameInputs.Preview().objects);
}

TEST_F(MapLogicTest, RulesSetInTheMapStaySetAfterEscClosesIt) {
  map.Show();
  map.SpacingEdited("1500");  // room for a few objects only
  map.Closed();
  window.AddObjects();
  ASSERT_EQ(form.messages.size(), 1u);
  EXPECT_EQ(form.messages[0].rfind("Only ", 0), 0u) << form.messages[0];
  EXPECT_FALSE(std::filesystem::exists(dir / "forest_rnd.mis"));
}

TEST_F(MapLogicTest, WithoutASeedSourceEachPreviewSeedsFromTheClock) {
  MapLogic clocked{form, mapView, nullptr};
  clocked.Show();
  const std::uint32_t first = clocked.Seed();
  clocked.Reroll();  // within the clock's resolution, yet another seed
  EXPECT_NE(clocked.Seed(), first);
}

TEST_F(MapLogicTest, TheFirstAreaToShowIsFittedIntoTheView) {
  form.texts[Control::kTheme] = "Select Tree a Tree Theme:";
  map.Show();
  map.Scene(400, 300);  // fitted to the two objects, which the area of 1024 units dwarfs
  form.texts[Control::kTheme] = "Jungel";
  window.InputEdited();
  for (const double corner : {-262144, 262144}) {
    const PixelPoint shown = map.Viewport().ToPixel({corner, corner});
    EXPECT_TRUE(shown.x >= 0 && shown.x <= 400 && shown.y >= 0 && shown.y <= 300);
  }
}

TEST_F(MapLogicTest, AMissionWrittenSinceTheMapReadItIsShownAnewAndNothingIsWritten) {
  const std::string mission = (dir / "forest.mis").string();
  map.Show();
  map.KeepClearEdited("2");
  const auto existing = [&] { return map.StatusText().substr(0, 19); };
  EXPECT_EQ(existing(), "Existing objects: 2");
  // The editor saves more objects; opening the same file again reads it again.
  WriteFile(dir / "forest.mis", std::string(kMission) +
                                    "begin item 2\r\n  id 3\r\n"
                                    "  position 512 512 0\r\nend item\r\n");
  window.OpenMission();
  EXPECT_EQ(existing(), "Existing objects: 3");

  // Saved again with the map open: "Add Objects" shows the new picture and writes nothing.
  WriteFile(dir / "forest.mis", kMission);
  window.AddObjects();
  EXPECT_EQ(existing(), "Existing objects: 2");
  EXPECT_EQ(form.messages, std::vector<std::string>{MissionChangedText(mission)});
  EXPECT_FALSE(std::filesystem::exists(dir / "forest_rnd.mis"));
  // Pressed again, it writes what the map now shows.
  const std::vector<DrawnObject> shown = map.Preview().objects;
  window.AddObjects();
  ExpectWrittenAsShown(shown);
}

// The map, with the mission saved again by another program just after the run asked what it
// must write, before the run opens the mission: the objects would be the same, the mission not.
class SavedBeforeTheRunOpensIt final : public MapCompanion {
 public:
  SavedBeforeTheRunOpensIt(MapLogic& map, std::filesystem::path mission)
      : map_(map), mission_(std::move(mission)) {}
  void MissionChanged(const std::string& path) override { map_.MissionChanged(path); }
  void InputsChanged() override { map_.InputsChanged(); }
  void RunEnded(const std::vector<DrawnObject>& written) override { map_.RunEnded(written); }
  bool RereadIfMissionChanged() override {
    ++asked;
    return map_.RereadIfMissionChanged();
  }
  std::optional<std::uint32_t> RunSeed() const override { return map_.RunSeed(); }
  std::optional<ExpectedObjects> Expected() const override {
    std::optional<ExpectedObjects> expected = map_.Expected();
    WriteFile(mission_, std::string(kMission) +
                            "begin item 2\r\n  id 3\r\n  position 999999 0 0\r\nend item\r\n");
    return expected;
  }
  std::string KeepClearText() const override { return map_.KeepClearText(); }
  std::string SpacingText() const override { return map_.SpacingText(); }
  std::optional<Recipe> RunRecipe() const override { return map_.RunRecipe(); }
  int asked = 0;

 private:
  MapLogic& map_;
  std::filesystem::path mission_;
};

TEST_F(MapLogicTest, AMissionWrittenWhileTheRunReadsItEndsTheRunUnwritten) {
  map.Show();
  SavedBeforeTheRunOpensIt saved(map, dir / "forest.mis");
  window.SetMap(&saved);
  std::string existingWhileTold;
  form.onMessage = [&] { existingWhileTold = map.StatusText().substr(0, 19); };
  window.AddObjects();
  form.onMessage = nullptr;
  EXPECT_EQ(saved.asked, 2);
  EXPECT_EQ(form.messages,
            std::vector<std::string>{"The run failed: the mission file was changed while the run "
                                     "read it; the map now shows it as it is.\r\nNothing has "
                                     "been saved, and no earlier output file has been changed."});
  EXPECT_FALSE(std::filesystem::exists(dir / "forest_rnd.mis"));
  // The map shows the mission as it is now by the time the user reads why.
  EXPECT_EQ(existingWhileTold, "Existing objects: 3");
  window.SetMap(&map);
}

TEST_F(MapLogicTest, AReaderThatThrowsShowsItsReasonInTheMap) {
  const auto tooLarge = [](auto&&...) -> std::nullopt_t { throw std::bad_alloc(); };
  const auto tooLong = [](auto&&...) -> std::nullopt_t { throw std::length_error("too long"); };
  const std::pair<MapReaders, std::string> cases[] = {
      {{tooLarge, MissionFileReaders().keepClear}, "There is not enough memory to read it."},
      {{MissionFileReaders().objects, tooLong}, "Reading it failed: too long."}};
  for (const auto& [readers, reason] : cases) {
    MapLogic failing{form, mapView, [] { return 7u; }, readers};
    window.SetMap(&failing);
    window.OpenMission();
    failing.Show();
    failing.KeepClearEdited("2");
    EXPECT_EQ(failing.Problem(), "The mission file could not be read:\r\n" +
                                     (dir / "forest.mis").string() + "\r\n" + reason);
    failing.Scene(400, 300);  // the picture is drawn all the same
  }
  window.SetMap(&map);
}

TEST_F(MapLogicTest, ADragSetsTheAreaInWholeUserUnits) {
  map.Show();
  Drag({2560, 1280}, {7700, -1300});
  EXPECT_EQ(AreaTexts(), (std::vector<std::string>{"20", "0", "10", "5"}));
  EXPECT_EQ(map.Problem(), "");
  // Too small to be an area, or beyond what the boxes take: nothing changes.
  Drag({0, 0}, {100, 100});
  Drag({-300000000, 0}, {-299990000, 5000});
  EXPECT_EQ(AreaTexts(), (std::vector<std::string>{"20", "0", "10", "5"}));
  // Shift+arrows move the area, Ctrl+Shift+arrows size it, by a step that follows the zoom and
  // leaves the boxes not moved as typed; plain arrows only look elsewhere.
  form.texts[Control::kCenterY] = "0.25";
  struct Step {
    double zoomIn;
    MapKey key;
    bool control;
    std::vector<std::string> area;
  };
  // Zoomed in, out and in again: steps of 2, 200, 200 (a range cannot go below 1), and 2.
  for (const Step& step : {Step{16, MapKey::kRight, false, {"22", "0.25", "10", "5"}},
                           Step{-18, MapKey::kUp, true, {"22", "0.25", "10", "205"}},
                           Step{0, MapKey::kLeft, true, {"22", "0.25", "10", "205"}},
                           Step{18, MapKey::kDown, false, {"22", "-1.75", "10", "205"}}}) {
    map.Wheel({200, 150}, step.zoomIn);
    EXPECT_TRUE(map.KeyPressed(step.key, true, step.control));
    EXPECT_EQ(AreaTexts(), step.area) << KeyStep(map.Viewport().UnitsPerPixel());
  }
  EXPECT_TRUE(map.KeyPressed(MapKey::kLeft, false, false));
  EXPECT_EQ(AreaTexts(), (std::vector<std::string>{"22", "-1.75", "10", "205"}));
}

// One event of the pointer on a 400 x 300 picture, at a map point.
struct PointerEvent {
  enum Kind { kDown, kMove, kUp, kCaptureLost, kClosedAndShown } kind;
  MapButton button = MapButton::kLeft;
  MapPoint at{};
};
PointerEvent Down(MapButton button, MapPoint at) {
  return {PointerEvent::kDown, button, at};
}
PointerEvent Move(MapPoint at) {
  return {PointerEvent::kMove, MapButton::kLeft, at};
}
PointerEvent Up(MapButton button, MapPoint at) {
  return {PointerEvent::kUp, button, at};
}

TEST_F(MapLogicTest, LeftDragsDrawTheAreaOtherDragsPanAndALostDragChangesNothing) {
  using E = PointerEvent;
  const MapButton l = MapButton::kLeft, r = MapButton::kRight, m = MapButton::kMiddle;
  const MapPoint from{2560, 1280}, to{7700, -1300};
  map.Show();
  const std::size_t withoutBand = map.Scene(400, 300).lines.size();
  const std::vector<std::string> before = AreaTexts();
  const std::vector<std::string> drawn{"20", "0", "10", "5"};
  struct Case {
    const char* name;
    std::vector<PointerEvent> events;
    bool drawsArea;
    bool pans;  // the point under the pointer at `from` is under it at `to`
  };
  const Case cases[] = {
      {"left", {Down(l, from), Move(to), Up(l, to)}, true, false},
      {"right", {Down(r, from), Move({5000, 0}), Move(to), Up(r, to)}, false, true},
      {"middle", {Down(m, from), Move(to), Up(m, to)}, false, true},
      {"right during left",
       {Down(l, from), Down(r, to), Move({}), Up(r, to), Up(l, to)},
       true,
       false},
      {"left during right",
       {Down(r, from), Down(l, from), Move(to), Up(l, to), Up(r, to)},
       false,
       true},
      {"capture lost", {Down(l, from), Move(to), {E::kCaptureLost}, Up(l, to)}, false, false},
      {"map closed", {Down(l, from), Move(to), {E::kClosedAndShown}, Up(l, to)}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Control boxes[] = {Control::kCenterX, Control::kCenterY, Control::kRangeX,
                             Control::kRangeY};
    for (std::size_t i = 0; i < 4; ++i) form.texts[boxes[i]] = before[i];
    window.InputEdited();
    // The pixels of the points as they were at the start: an unwanted pan moves the area.
    const MapViewport start = map.Viewport();
    for (const PointerEvent& event : c.events) {
      const PixelPoint at = start.ToPixel(event.at);
      if (event.kind == E::kDown) map.ButtonDown(event.button, at);
      if (event.kind == E::kMove) map.PointerMoved(at);
      if (event.kind == E::kUp) map.ButtonUp(event.button, at);
      if (event.kind == E::kCaptureLost) map.CaptureLost();
      if (event.kind == E::kClosedAndShown) {
        map.Closed();
        map.Show();
      }
    }
    EXPECT_FALSE(map.Dragging());
    EXPECT_EQ(map.Scene(400, 300).lines.size(), withoutBand);
    EXPECT_EQ(AreaTexts(), c.drawsArea ? drawn : before);
    const MapPoint under = map.Viewport().ToMap(start.ToPixel(to));
    EXPECT_NEAR(under.x, c.pans ? from.x : to.x, 1e-6);
    EXPECT_NEAR(under.y, c.pans ? from.y : to.y, 1e-6);
  }
}

TEST_F(MapLogicTest, TheWheelZoomsAboutThePointer) {
  map.Show();
  map.Scene(400, 300);
  const MapPoint under = map.Viewport().ToMap({90, 60});
  const double unitsPerPixel = map.Viewport().UnitsPerPixel();
  map.Wheel({90, 60}, 2);
  EXPECT_DOUBLE_EQ(map.Viewport().UnitsPerPixel(), unitsPerPixel / 1.25 / 1.25);
  EXPECT_NEAR(map.Viewport().ToMap({90, 60}).x, under.x, 1e-6);
  EXPECT_NEAR(map.Viewport().ToMap({90, 60}).y, under.y, 1e-6);
}

TEST_F(MapLogicTest, TheRunsMessageShowsInsteadOfObjects) {
  map.Show();
  struct Case {
    Control box;
    std::string text;
    std::string problem;
  };
  for (const Case& c :
       {Case{Control::kCount, "abc", "Please only enter Numbers!"},
        Case{Control::kRangeX, "0", "You have to enter a Positive Intiger in the Range!"},
        Case{Control::kTheme, "Select Tree a Tree Theme:",
             "You have to select a Tree Theme or enter you own Object ID First!, "
             "Thank You"}}) {
    const std::string kept = form.Text(c.box);
    form.texts[c.box] = c.text;
    window.InputEdited();
    EXPECT_EQ(map.Problem(), c.problem);
    EXPECT_TRUE(map.Preview().objects.empty());
    form.texts[c.box] = kept;
  }
  // A mission that is gone after it was opened cannot be shown; the run would say the same.
  std::filesystem::rename(dir / "forest.mis", dir / "moved.mis");
  window.InputEdited();
  EXPECT_EQ(map.Problem(),
            "The mission file could not be read:\r\n" + (dir / "forest.mis").string());
  std::filesystem::rename(dir / "moved.mis", dir / "forest.mis");
  form.texts[Control::kRangeX] = "1";
  form.texts[Control::kRangeY] = "1";
  map.SpacingEdited("3");
  EXPECT_EQ(map.Problem(),
            "Only 1 of the 20 objects could be placed while keeping the Keep clear and Spacing "
            "distances, please enter a larger Range or smaller distances!");
  EXPECT_NE(map.StatusText().find("New objects: 1"), std::string::npos);
}

// The picture lies under the objects, fitted to the view; two clicked points with their typed
// positions align it, a dragged corner moves it, and a file that is gone or no picture is named
// in the status line and not drawn.
TEST_F(MapLogicTest, ABackgroundIsChosenAlignedDraggedAndDroppedWhenItsFileGoes) {
  const Rgb blue{0x33, 0x66, 0xcc};
  WriteFile(dir / "terrain.bmp", PlainBmp(4, 2, blue.Packed()));
  map.Show();
  map.Scene(400, 300);
  map.ChooseBackground((dir / "terrain.bmp").string());
  const auto screenOf = [&](PixelPoint onPicture) {
    return map.Viewport().ToPixel(MapPosition(*map.Background().ForMap(), onPicture));
  };
  const PixelPoint inside = screenOf({0.5, 1.5});
  const MapScene& scene = map.Scene(400, 300);
  EXPECT_EQ(scene.pixels[static_cast<int>(inside.y) * 400 + static_cast<int>(inside.x)],
            blue.Packed());
  const double width =
      map.Background().Corners().bottomRight.x - map.Background().Corners().topLeft.x;
  EXPECT_NEAR(width,
              2 * (map.Background().Corners().topLeft.y - map.Background().Corners().bottomRight.y),
              1e-6);

  const std::vector<std::string> area = AreaTexts();
  const std::pair<PixelPoint, std::string> points[] = {
      {{1, 0.5}, "0, 0"}, {{3, 1.5}, "x"}, {{3, 1.5}, " 100 ,-1e2"}};
  for (const auto& [onPicture, onMap] : points) {
    map.PickAlignmentSpot();
    map.ButtonDown(MapButton::kLeft, screenOf(onPicture));
    map.ButtonUp(MapButton::kLeft, screenOf(onPicture));
    ASSERT_TRUE(map.AlignmentSpot());
    EXPECT_NEAR(map.AlignmentSpot()->x, onPicture.x, 1e-9);
    map.AlignmentPositionTyped(onMap);
    if (onMap == "x") {
      EXPECT_NE(map.StatusText().find("A map position is two numbers"), std::string::npos);
    }
  }
  const BackgroundCorners& aligned = map.Background().Corners();
  EXPECT_NEAR(aligned.topLeft.x, -12800, 1e-6);
  EXPECT_NEAR(aligned.topLeft.y, 12800, 1e-6);
  EXPECT_NEAR(aligned.bottomRight.x, 38400, 1e-6);
  EXPECT_NEAR(aligned.bottomRight.y, -38400, 1e-6);

  const PixelPoint corner = map.Viewport().ToPixel(aligned.bottomRight);
  map.ButtonDown(MapButton::kLeft, {corner.x + 3, corner.y - 2});
  map.PointerMoved({corner.x + 20, corner.y + 10});
  map.ButtonUp(MapButton::kLeft, {corner.x + 20, corner.y + 10});
  const MapPoint dropped = map.Viewport().ToMap({corner.x + 20, corner.y + 10});
  EXPECT_EQ(map.Background().Corners().bottomRight.x, dropped.x);
  EXPECT_EQ(map.Background().Corners().bottomRight.y, dropped.y);
  EXPECT_EQ(map.Document().Current().background->bottomRight.x * 256, dropped.x);
  EXPECT_EQ(AreaTexts(), area);  // neither an alignment click nor a corner drag draws an area
  map.BackgroundCornersTyped({{5, 5}, {5, 5}});
  EXPECT_NE(map.StatusText().find("the picture's corners must not coincide"), std::string::npos);
  map.BackgroundCornersTyped({{-256, 512}, {256, -512}});
  EXPECT_EQ(map.Background().Corners().bottomRight.y, -512);
  EXPECT_EQ(map.Background().Problem(), "");

  std::filesystem::remove(dir / "terrain.bmp");
  map.Activated();
  EXPECT_FALSE(map.Background().ForMap());
  EXPECT_NE(map.StatusText().find("terrain.bmp: the file does not exist"), std::string::npos);
  map.ChooseBackground((dir / "forest.mis").string());
  EXPECT_NE(map.StatusText().find("forest.mis: it is not a PNG, JPEG or BMP picture"),
            std::string::npos);
  EXPECT_TRUE(map.Document().Current().background);  // the first choice stays the recipe's
  for (int undo = 0; undo < 4; ++undo) map.KeyPressed(MapKey::kUndo, false, true);
  EXPECT_FALSE(map.Document().Current().background);
  EXPECT_FALSE(map.Background().HasPicture());
}

// The picture is the recipe's: opened at its corners and opacity, each change an edit undone as
// any other (a slider dragged along is one), saved relative to the recipe's folder; a picture
// gone keeps its entry, and New drops it.
TEST_F(MapLogicTest, TheBackgroundIsPartOfTheRecipe) {
  std::filesystem::create_directories(dir / "maps");
  std::filesystem::create_directories(dir / "recipes");
  WriteFile(dir / "maps" / "terrain.bmp", PlainBmp(4, 2, 0x336633));
  Recipe recipe;
  recipe.layers.push_back({ThemeMix{"Jungel"},
                           5,
                           false,
                           Pattern::kUniform,
                           0,
                           0,
                           0,
                           0,
                           {{RectangleArea{{0, 0}, {20, 20}}, false}}});
  recipe.background = Background{"../maps/terrain.bmp", {-10, 5}, {10, -5}, 0.5};
  const std::string opened = (dir / "recipes" / "forest.toml").string();
  WriteFile(opened, RecipeText(recipe));
  map.Show();
  map.Scene(400, 300);
  ASSERT_TRUE(map.OpenRecipe(opened)) << map.Document().Problem();
  ASSERT_TRUE(map.Background().ForMap());
  EXPECT_EQ(map.Background().Corners().topLeft.x, -2560);
  EXPECT_EQ(map.Background().Corners().bottomRight.y, -1280);
  EXPECT_EQ(map.Background().Opacity(), 0.5);

  map.BackgroundOpacityChanged(0.3);
  map.BackgroundOpacityChanged(0.25);
  EXPECT_EQ(map.Document().Current().background->opacity, 0.25);
  EXPECT_EQ(map.WindowTitle(), "forest.toml* - Bosquell map");
  map.KeyPressed(MapKey::kUndo, false, true);
  EXPECT_EQ(map.Background().Opacity(), 0.5);
  EXPECT_FALSE(map.Document().Dirty());
  map.KeyPressed(MapKey::kRedo, false, true);
  map.BackgroundCornersTyped("1, 1", "1,1");
  EXPECT_NE(map.StatusText().find("the picture's corners must not coincide"), std::string::npos);
  map.BackgroundCornersTyped("-20, 10", "20, -10");
  EXPECT_EQ(map.Background().Corners().bottomRight.x, 5120);

  recipe.background = Background{"maps/terrain.bmp", {-20, 10}, {20, -10}, 0.25};
  recipe.seed = map.Seed();  // saving keeps the seed shown
  ASSERT_TRUE(map.SaveRecipeAs((dir / "moved.toml").string()));
  EXPECT_EQ(ReadFile(dir / "moved.toml"), RecipeText(recipe));

  std::filesystem::remove(dir / "maps" / "terrain.bmp");
  map.Activated();
  EXPECT_FALSE(map.Background().ForMap());
  EXPECT_NE(map.StatusText().find("terrain.bmp: the file does not exist"), std::string::npos);
  EXPECT_TRUE(map.Document().Current().background);
  EXPECT_TRUE(map.NewRecipe());
  EXPECT_FALSE(map.Document().Current().background);
  EXPECT_TRUE(map.Background().Path().empty());
}

// The map's own recipe: a polygon forest with an exclusion corridor, drawn with the pointer and
// the keys, in place of the boxes' rectangle.
class DrawnRecipeTest : public MapLogicTest {
 protected:
  void Click(UserPoint at) {
    map.ButtonDown(MapButton::kLeft, map.Viewport().ToPixel(ToMapPoint(at)));
    map.ButtonUp(MapButton::kLeft, map.Viewport().ToPixel(ToMapPoint(at)));
  }
  void DrawForest() {
    map.Show();
    map.Scene(400, 300);
    map.SetTool(ShapeTool::kPolygon);
    for (const UserPoint corner : {UserPoint{-40, -40}, {60, -40}, {80, 30}, {10, 70}}) {
      Click(corner);
    }
    map.DoubleClick(map.Viewport().ToPixel(ToMapPoint({-40, 40})));
    map.SetTool(ShapeTool::kCorridor);
    Click({-50, 10});
    Click({90, 10});
    EXPECT_TRUE(map.KeyPressed(MapKey::kEnter, false, false));  // the points; width 10 next
    EXPECT_TRUE(map.KeyPressed(MapKey::kEnter, false, false));
    map.Document().Editor().SetExclude(true);
    map.RecipeEdited();
    // The boxes' rectangle goes: the layer is the polygon less the corridor.
    map.Document().Editor().Select(0);
    EXPECT_TRUE(map.KeyPressed(MapKey::kDelete, false, false));
  }
};

TEST_F(DrawnRecipeTest, AddObjectsWritesThePreviewOfTheDrawnRecipe) {
  DrawForest();
  const std::vector<Area>& areas = map.Document().Current().layers.at(0).areas;
  ASSERT_EQ(areas.size(), 2u);
  EXPECT_EQ(std::get<PolygonArea>(areas[0].shape).corners.size(), 5u);
  EXPECT_EQ(areas[1], (Area{CorridorArea{{{-50, 10}, {90, 10}}, 10}, true}));
  ASSERT_TRUE(map.MapOwnsRecipe());
  EXPECT_EQ(form.Text(Control::kStatus), MapRecipeStatus(map.Seed()));
  ASSERT_EQ(map.Problem(), "");
  const std::vector<DrawnObject> shown = map.Preview().objects;
  ASSERT_EQ(shown.size(), 20u);
  for (const DrawnObject& object : shown) {
    EXPECT_GT(std::abs(object.y / kMapUnitsPerUserUnit - 10), 5) << object.x;
  }
  // The picture shows the polygon tinted in its layer's colour and the corridor hatched red.
  EXPECT_TRUE(map.KeyPressed(MapKey::kFit, false, false));
  const MapScene& scene = map.Scene(400, 300);
  EXPECT_GT(std::count(scene.pixels.begin(), scene.pixels.end(), 0xD0EBD5u), 1000);
  EXPECT_GT(std::count(scene.pixels.begin(), scene.pixels.end(), 0xD35858u), 10);

  // The same request on a copy of the mission, from the map's seed.
  const std::optional<Recipe> recipe = map.RunRecipe();
  ASSERT_TRUE(recipe);
  WriteFile(dir / "copy.mis", kMission);
  AddObjectsRequest request{*recipe, (dir / "copy.mis").string(), (dir / "copy_rnd.mis").string(),
                            std::nullopt};
  MersenneRandom random(map.Seed());
  random.StartRun();
  ASSERT_EQ(AddObjects(request, random).status, AddObjectsResult::Status::kWritten);

  window.AddObjects();
  ExpectWrittenAsShown(shown);
  EXPECT_EQ(ReadFile(dir / "forest_rnd.mis"), ReadFile(dir / "copy_rnd.mis"));
  EXPECT_EQ(map.Written(), shown);
}

TEST_F(DrawnRecipeTest, TheBoxesRecipeStaysLinkedUntilTheMapsIsMore) {
  map.Show();
  // A box edit is the recipe's; the select tool's move of the rectangle is the boxes'.
  form.texts[Control::kCenterX] = "7";
  window.InputEdited();
  const auto& rectangle = [&] {
    return std::get<RectangleArea>(map.Document().Current().layers.at(0).areas.at(0).shape);
  };
  EXPECT_EQ(rectangle().center, (UserPoint{7, 0}));
  EXPECT_FALSE(map.Document().Dirty());  // the boxes hold it: nothing to ask about
  map.Scene(400, 300);
  map.SetTool(ShapeTool::kSelect);
  map.ButtonDown(MapButton::kLeft, map.Viewport().ToPixel(ToMapPoint({7, 0})));
  map.PointerMoved(map.Viewport().ToPixel(ToMapPoint({107, 0})));
  map.ButtonUp(MapButton::kLeft, map.Viewport().ToPixel(ToMapPoint({107, 0})));
  EXPECT_EQ(form.Text(Control::kCenterX), "107");
  EXPECT_EQ(rectangle().center, (UserPoint{107, 0}));
  EXPECT_FALSE(map.RunRecipe());
  // Undo reaches the boxes too.
  EXPECT_TRUE(map.KeyPressed(MapKey::kUndo, false, true));
  EXPECT_EQ(form.Text(Control::kCenterX), "7");

  DrawForest();
  form.texts[Control::kCenterX] = "500";  // the boxes no longer say what is run
  window.InputEdited();
  EXPECT_TRUE(map.RunRecipe());
  EXPECT_EQ(map.Preview().objects.size(), 20u);
  // Closed, the map's recipe still runs; "New" goes back to the boxes and their status.
  map.Closed();
  EXPECT_TRUE(map.RunRecipe());
  EXPECT_TRUE(map.NewRecipe());
  EXPECT_EQ(unsavedAsked, 1);
  EXPECT_FALSE(map.RunRecipe());
  EXPECT_EQ(rectangle().center, (UserPoint{500, 0}));
  EXPECT_EQ(form.Text(Control::kStatus), kStatusFileOpen);
}

// The panel's rule fields are the current layer's: a layer switch and an undo show them anew;
// a field the editor refuses says why in the status line, also while the boxes hold the recipe.
TEST_F(DrawnRecipeTest, ThePanelFollowsTheCurrentLayerAndUndo) {
  // Before the boxes make a recipe, the rule fields already take what a run will keep.
  const MapLogic fresh{form, mapView, nullptr};
  EXPECT_TRUE(fresh.Panel().enabled.rules);
  EXPECT_FALSE(fresh.Panel().enabled.layerFields);
  map.Show();
  map.EditRecipe([](RecipeEditor& editor) { editor.SetCountText("many"); });
  EXPECT_NE(map.StatusText().find("The count must be a whole number"), std::string::npos);
  DrawForest();
  // Typed keystroke by keystroke, a refused one among them, a field is one step to undo.
  const auto count = [&] { return map.Document().Current().layers.at(0).count; };
  for (const char* typed : {"", "5", "50", "50x", "500"}) map.FieldTyped(PanelField::kCount, typed);
  EXPECT_EQ(count(), 500);
  EXPECT_TRUE(map.KeyPressed(MapKey::kUndo, false, true));
  EXPECT_EQ(count(), 20);
  EXPECT_TRUE(map.KeyPressed(MapKey::kRedo, false, true));
  map.FieldLeft();
  map.FieldTyped(PanelField::kKeepClear, "3");
  map.EditRecipe([](RecipeEditor& editor) { editor.AddLayer(); });
  EXPECT_EQ(map.Panel().keepClear, "");
  map.EditRecipe([](RecipeEditor& editor) { editor.SetCurrentLayer(0); });
  EXPECT_EQ(map.Panel().keepClear, "3");
  EXPECT_TRUE(map.KeyPressed(MapKey::kUndo, false, true));
  EXPECT_TRUE(map.KeyPressed(MapKey::kUndo, false, true));
  EXPECT_EQ(map.Panel().layers.size(), 1u);
  EXPECT_EQ(map.Panel().keepClear, "");
}

// The recipe saved, a broken one refused with its reason and the map's kept, the saved one
// opened again; the title follows the file and its unsaved changes.
TEST_F(DrawnRecipeTest, RecipesAreSavedAndOpenedAndABrokenOneChangesNothing) {
  EXPECT_EQ(map.WindowTitle(), "Bosquell map");
  DrawForest();
  EXPECT_EQ(map.WindowTitle(), "Untitled* - Bosquell map");
  map.Document().Editor().Select(1);
  map.SetExclude(false);
  EXPECT_EQ(map.SelectedExcludes(), false);
  map.SetExclude(true);
  EXPECT_EQ(map.SelectedExcludes(), true);
  const std::string saved = (dir / "forest.toml").string();
  ASSERT_TRUE(map.SaveRecipeAs(saved)) << map.Document().Problem();
  EXPECT_EQ(map.WindowTitle(), "forest.toml - Bosquell map");
  const Recipe drawn = map.Document().Current();
  EXPECT_EQ(ReadFile(dir / "forest.toml"), RecipeText(drawn));

  EXPECT_TRUE(map.NewRecipe());
  EXPECT_EQ(unsavedAsked, 0);
  EXPECT_EQ(map.SelectedExcludes(), std::nullopt);
  WriteFile(dir / "broken.toml", "[[layer]]\ncount = many\n");
  EXPECT_FALSE(map.OpenRecipe((dir / "broken.toml").string()));
  EXPECT_NE(map.Document().Problem().find("broken.toml"), std::string::npos);
  EXPECT_FALSE(map.RunRecipe());
  ASSERT_TRUE(map.OpenRecipe(saved));
  EXPECT_EQ(map.RunRecipe(), drawn);
  EXPECT_EQ(form.Text(Control::kStatus), MapRecipeStatus(map.Seed()));
  EXPECT_EQ(map.Preview().objects.size(), 20u);
}

// The seed shown is the one saved and named in the main window's status line; opened again, the
// recipe shows it, and the command line with the saved file writes the bytes the run wrote.
TEST_F(DrawnRecipeTest, TheSavedRecipeReproducesThePreviewOnTheCommandLine) {
  DrawForest();
  // A reroll is an edit like any other: undone, the drawn recipe shows its seed before it again.
  ASSERT_FALSE(map.Document().Current().seed);
  const std::uint32_t first = map.Seed();
  map.Reroll();
  const std::uint32_t rerolled = map.Seed();
  map.KeyPressed(MapKey::kUndo, false, true);
  EXPECT_EQ(map.Seed(), first);
  map.KeyPressed(MapKey::kRedo, false, true);
  EXPECT_EQ(map.Seed(), rerolled);
  const std::string saved = (dir / "forest.toml").string();
  ASSERT_TRUE(map.SaveRecipeAs(saved));
  EXPECT_EQ(map.Document().Current().seed, map.Seed());
  map.Reroll();
  EXPECT_EQ(map.WindowTitle(), "forest.toml* - Bosquell map");
  ASSERT_TRUE(map.SaveRecipe());
  const std::uint32_t shown = map.Seed();
  EXPECT_EQ(form.Text(Control::kStatus), MapRecipeStatus(shown));
  ASSERT_TRUE(map.NewRecipe());
  map.Reroll();
  ASSERT_NE(map.Seed(), shown);
  ASSERT_TRUE(map.OpenRecipe(saved));
  EXPECT_EQ(map.Seed(), shown);
  const std::vector<DrawnObject> preview = map.Preview().objects;
  window.AddObjects();
  ExpectWrittenAsShown(preview);
#ifdef BOSQUELL_TEST_WITH_CLI
  WriteFile(dir / "copy.mis", kMission);
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(RunCliProgram({"--recipe", saved, (dir / "copy.mis").string()}, out, err), 0)
      << err.str();
  EXPECT_EQ(ReadFile(dir / "copy_rnd.mis"), ReadFile(dir / "forest_rnd.mis"));
#endif
}

}  // namespace
}  // namespace bosquell::testing
