#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "files/mission_stamp.h"
#include "form/form_inputs.h"
#include "map/map_picture.h"
#include "map/map_scene.h"
#include "map/map_viewport.h"
#include "map/mission_density.h"
#include "placement/object_draw.h"
#include "placement/recipe_draw.h"
#include "window_logic/background_placement.h"
#include "window_logic/map_companion.h"
#include "window_logic/map_view.h"
#include "window_logic/preview_executor.h"
#include "window_logic/preview_seeds.h"
#include "window_logic/recipe_document.h"
#include "window_logic/recipe_panel.h"
#include "window_logic/take_back_flow.h"
#include "window_logic/window_view.h"

namespace bosquell {

// How the map reads a mission: the objects it draws, and those that keeping clear looks at for
// a run's inputs. Each gives nothing for a mission that cannot be read, and may throw on one
// that is too large to hold. Tests put failing readers in their place.
struct MapReaders {
  std::function<std::optional<MissionDensity>(const std::string& missionPath)> objects;
  std::function<std::optional<SortedPointGrid>(const std::string& missionPath,
                                               const KeepClearReach& reach)>
      keepClear;
};

// The readers of the program: the mission file itself.
MapReaders MissionFileReaders();

// The mouse buttons the map's picture reacts to.
enum class MapButton { kLeft, kRight, kMiddle };

// The keys the map window forwards; every other key is the window's own.
enum class MapKey {
  kLeft,
  kRight,
  kUp,
  kDown,
  kZoomIn,   // + or =
  kZoomOut,  // -
  kFit,      // Home
  kReroll,   // R
  // The recipe editor's keys; Ctrl+Z and Ctrl+Y arrive as kUndo and kRedo.
  kEnter,
  kEscape,  // false when there is nothing to drop: the window closes
  kBackspace,
  kDelete,
  kSpace,
  kUndo,
  kRedo,
};

// The map window's name, before the recipe's in its title.
inline constexpr char kMapWindowName[] = "Bosquell map";

// The main window's status line while "Add Objects" writes the map's recipe from `seed`: with
// the recipe saved, `bosquell-cli --recipe` and that seed write the same trees.
std::string MapRecipeStatus(std::uint32_t seed);

// The reactions and the state of the map window, free of any toolkit: what it shows (the
// mission's objects, the scatter area from the main window's texts, the objects the next run
// writes), and what a drag, a key or a reroll does. Texts are UTF-8.
class MapLogic final : public MapCompanion {
 public:
  // `form` is the main window, whose texts the map reads and a drag writes; `newSeed` gives the
  // seed of a new preview (ClockPreviewSeed when it is empty).
  // `prompts` are the questions of the recipe's file.
  MapLogic(WindowView& form, MapView& view, PreviewSeeds newSeed,
           MapReaders readers = MissionFileReaders(), DocumentPrompts prompts = {});

  // F2 or "&View" > "&Map" in the main window: opens the map, or brings the open one to the
  // front (back from the taskbar when minimized), with its preview as it was.
  void Show();
  // The user closed the map window (its close button, Esc or F2 in the map).
  void Closed();
  bool IsOpen() const { return open_; }

  // What the picture shows at this size in device pixels, and the status line under it; the
  // window draws texts `textScale` times their usual size (DevicePixels).
  const MapScene& Scene(int width, int height, double textScale = 1);
  std::string StatusText() const;

  // The pointer on the picture, in its pixels, as the window reports it. With the rectangle tool
  // and the boxes' recipe, a drag with the left button draws the scatter area: the button's
  // release sets the center and range boxes, in whole user units, and a drag that spans no area
  // changes nothing. Otherwise the left button is the recipe editor's. A drag with the right or
  // middle button moves the picture. A button pressed during a drag is ignored.
  void ButtonDown(MapButton button, PixelPoint at);
  // A double click of the left button, in place of its second button down.
  void DoubleClick(PixelPoint at);
  void PointerMoved(PixelPoint at);
  void ButtonUp(MapButton button, PixelPoint at);
  // The window lost the pointer in mid-drag (another window took it, or the window went to the
  // background): the area being drawn is dropped and changes nothing; a pan stays where it is.
  void CaptureLost();
  // True from a drag's button down to its end: the window keeps the pointer until then.
  bool Dragging() const {
    return drag_.has_value() || panFrom_.has_value() || cornerDrag_.has_value() ||
           document_.Editor().Dragging();
  }
  void PointerLeft();
  // The wheel: steps > 0 zoom in about the pointer.
  void Wheel(PixelPoint at, double steps);
  // Arrows pan; Shift+arrows move the area by KeyStep at the zoom, Ctrl+Shift+arrows grow
  // (right, up) or shrink (left, down) it; only the box moved changes. While the editor draws,
  // arrows move its cursor and Shift+arrows the selected area. False when the key is none of the
  // map's.
  bool KeyPressed(MapKey key, bool shift, bool control);
  // Whether Esc would drop a shape being drawn or a drag, rather than close the map: a window
  // whose Esc is a shortcut lets the picture have it then.
  bool EscapeDropsShape() const;
  // The tool the left button draws with; the rectangle draws the boxes' area while the recipe
  // is the boxes' own.
  void SetTool(ShapeTool tool);
  ShapeTool Tool() const { return document_.Editor().Tool(); }
  // The map's recipe and its file. After a change made through them, call RecipeEdited.
  RecipeDocument& Document() { return document_; }
  const RecipeDocument& Document() const { return document_; }
  void RecipeEdited();
  // An edit from the side panel: a change of the recipe goes to the boxes and the preview; a
  // refusal, or a change of the current layer or the selection, is only shown.
  void EditRecipe(const std::function<void(RecipeEditor&)>& edit);
  // Text typed into a number field of the side panel, each keystroke as it comes: the preview
  // follows at once, and all that is typed until the field is left is one step to undo.
  void FieldTyped(PanelField field, const std::string& text);
  void FieldLeft() { typing_.reset(); }
  // What the side panel shows: the current layer's fields, with the rule fields as typed while
  // the recipe is the boxes' own.
  RecipePanel Panel() const;
  // "&New": back to the boxes' recipe, after asking about unsaved changes; false when the user
  // kept working.
  bool NewRecipe();
  // "&Open…": the recipe file chosen after MayDropChanges; one that fails to read keeps what the
  // map had, and Document().Problem() says why. An opened recipe is fitted into the view.
  bool OpenRecipe(const std::string& path);
  // "&Save" and "Save &As…" (the dialog has asked about replacing another file); a failure is
  // in Document().Problem().
  bool SaveRecipe();
  bool SaveRecipeAs(const std::string& path);
  // Whether the map window may close: asks about unsaved changes of the recipe.
  bool MayClose();
  // The map window's title: the recipe's file name ("Untitled*" once drawn on) beside the
  // window's name.
  std::string WindowTitle() const;
  // "&Include" or "&Exclude" for the selected area, and which it is: nothing without one.
  void SetExclude(bool exclude);
  std::optional<bool> SelectedExcludes() const;
  // True while the recipe is more than the boxes can say: the run draws it, not the boxes.
  bool MapOwnsRecipe() const;
  // The objects the last written run appended, shown until a mission is opened again.
  const std::vector<DrawnObject>& Written() const { return written_; }
  // "Reroll": the preview takes a new seed, which becomes the recipe's (a change to save).
  // Nothing else draws one: the seed the map first opened with stays over closing and opening
  // it, other missions and runs; a recipe opened with a seed shows that one.
  void Reroll();
  // "&Take back a run…": the run of the map's recipe (the one the next run would write) from
  // the seed the user gives, taken back from the mission the map shows (TakeBackFlow). While the
  // user is asked, the run's trees found are marked on the map and the report is in the status
  // line.
  void TakeRunBack(const TakeBackPrompts& prompts);
  // The run's trees marked while the user is asked whether to take them back.
  const std::vector<DrawnObject>& FoundRun() const { return foundRun_; }
  // The rule fields of the map window.
  void KeepClearEdited(const std::string& text);
  void SpacingEdited(const std::string& text);
  const std::string& KeepClearField() const { return keepClearText_; }
  const std::string& SpacingField() const { return spacingText_; }

  // The picture under the map ("&Recipe" > "&Background…"), the recipe's background: chosen,
  // it is laid over what the map shows now; then its corners can be typed (map units) or dragged
  // with the left button, and it can be aligned by two points: after PickAlignmentSpot the next
  // left click on the picture picks a spot instead of drawing an area, the window asks for that
  // spot's map position and passes it to AlignmentPositionTyped; the second such point places the
  // picture. What goes wrong shows in the status line. A picture file changed or gone since it was
  // read shows as it is now whenever the map updates, and when its window is activated. Each change
  // of the picture, its corners or its opacity is an edit of the recipe, undone as any other;
  // a picture that cannot be read keeps its entry in the recipe.
  void Activated();
  void ChooseBackground(const std::string& utf8Path);
  void BackgroundCornersTyped(const BackgroundCorners& corners);
  // The corners as typed, each "x, y" in user units (TypedMapPosition).
  void BackgroundCornersTyped(std::string_view topLeft, std::string_view bottomRight);
  // "Background corners…": asks for the top-left, then the bottom-right corner through `ask`
  // (with the prompt to show; nothing cancels) and places the picture there.
  void AskBackgroundCorners(
      const std::function<std::optional<std::string>(const char* prompt)>& ask);
  void BackgroundOpacityChanged(double opacity);
  void PickAlignmentSpot();
  // The spot picked on the picture, awaiting its map position.
  const std::optional<PixelPoint>& AlignmentSpot() const { return alignmentSpot_; }
  // The position as typed, "x, y" in user units (TypedMapPosition); a text that is none leaves
  // the spot to be picked again, and the status line says why.
  void AlignmentPositionTyped(const std::string& text);
  // The user gave no position: the alignment starts over.
  void AlignmentCancelled();
  const BackgroundPlacement& Background() const { return background_; }

  // Where previews are drawn: at once (the default) or on a thread of the window's
  // (PreviewThread), whose finished callback ends in PreviewFinished on the window's thread.
  // Nothing goes back to drawing at once, after the draw under way, if any, is done.
  void UsePreviewExecutor(std::unique_ptr<PreviewExecutor> executor);
  // A preview was drawn: the newest is shown, an out-of-date one dropped.
  void PreviewFinished();
  // False from an edit until the preview of it is drawn: meanwhile the old objects show pale, the
  // status line says the preview is updating, and a run compares nothing with them.
  bool PreviewCurrent() const { return previewCurrent_; }

  // The preview's seed (the recipe's own when it has one), and the objects the next run writes
  // (empty when the inputs would not pass); the run's message for the first failing check, or the
  // "Only N of M" text.
  std::uint32_t Seed() const { return document_.Current().seed.value_or(seed_.value_or(0)); }
  const DrawnLayers& Preview() const { return preview_; }
  const std::string& Problem() const { return problem_; }
  const MapViewport& Viewport() const { return viewport_; }

  // MapCompanion: what the main window tells and asks.
  void MissionChanged(const std::string& missionPath) override;
  void InputsChanged() override;
  void RunEnded(const std::vector<DrawnObject>& written) override;
  bool RereadIfMissionChanged() override;
  std::optional<std::uint32_t> RunSeed() const override;
  std::optional<ExpectedObjects> Expected() const override;
  std::string KeepClearText() const override;
  std::string SpacingText() const override;
  std::optional<Recipe> RunRecipe() const override;

 private:
  // Whether the left button and the editor's keys go to the recipe editor.
  bool EditorHasPointer() const;
  // Runs an editor call; a change of the recipe goes to the boxes and the preview, anything
  // else is only painted again.
  template <typename Call>
  void Edit(Call call);
  // The boxes' recipe into the editor, while the recipe is theirs; and back.
  void TakeBoxes();
  void WriteBoxes();
  void ShowRecipeStatus();
  // Writes the shown seed into a recipe that has none, before it is saved: the file then
  // reproduces the preview.
  void KeepShownSeed();
  MapPicture Picture() const;
  RunInputs CurrentInputs() const;
  // Reads what the map needs and draws the preview again, then has the window repaint.
  void Update();
  // The run's checks on the current inputs, then its draws, or why there are none.
  void DrawPreview();
  // Takes the executor's finished preview when it is the newest; true when it was.
  bool TakeFinishedPreview();
  // What the map says instead of the run's problem: an unreadable mission, or nothing after a
  // run.
  void SettleProblem();
  void Redraw();
  void ReadMission();
  // Fits the view to the existing objects and the area.
  void Fit();
  // Sets the center and range boxes to whole user units, when every text fits its box.
  bool SetAreaTexts(double centerX, double centerY, double rangeX, double rangeY);
  // Adds `by` to one numeric area box; false when the box holds no number, or the result would
  // not fit it or be no range.
  bool MoveAreaText(Control box, double by);
  // Ends the area drag with its far corner at `at`.
  void EndAreaDrag(MapPoint at);
  void Pan(double dx, double dy);
  void ZoomAbout(PixelPoint about, double steps);
  std::optional<MapRectangle> Area() const;
  // The background's corner handles and the alignment spot picked, over the scene.
  void AddBackgroundHandles();
  // The recipe's background on the map: its picture read when the recipe names another file.
  void ShowRecipeBackground();
  // Where the picture lies now and its opacity into the recipe's background, as one edit or
  // (`amend`) as part of the last one.
  void RecordBackground(bool amend = false);

  WindowView& form_;
  MapView& view_;
  PreviewSeeds newSeed_;
  MapReaders readers_;
  RecipeDocument document_;
  bool open_ = false;
  bool writingBoxes_ = false;    // the map sets the boxes: their changes are its own
  bool statusShown_ = false;     // the main window's status line says the map's recipe runs
  std::string statusBefore_;     // what it said before
  std::string statusShownText_;  // the map's recipe's line as last shown there
  std::vector<DrawnObject> written_;
  std::vector<DrawnObject> foundRun_;
  std::string foundReport_;

  std::string missionPath_;
  // The objects of the mission the map last read, its path, and its stamp from just before the
  // read; read when the map first shows that mission, so that opening a file with the map
  // closed costs nothing. Why a read failed, when a reader threw.
  std::optional<MissionDensity> density_;
  std::string densityPath_;
  MissionStamp densityStamp_;
  std::string densityFailure_;
  // Those objects shaded for the view last drawn; kept while the view and the objects stay.
  std::optional<ExistingShades> existingShades_;
  std::optional<MapRectangle> lastSceneVisible_;  // the part of the map the last scene showed
  std::string keepClearText_;
  std::string spacingText_;
  // The panel field being typed in: the history's version after its last keystroke, and
  // whether the typing made a step of its own yet.
  struct Typing {
    PanelField field;
    std::size_t version;
    bool recorded;
  };
  std::optional<Typing> typing_;
  // From the first time the map opens, and each reroll: the seed a recipe without one shows.
  std::optional<std::uint32_t> seed_;

  // The inputs' layers, ready to draw, when they pass; shared with the draw under way.
  std::shared_ptr<const std::vector<CompiledLayer>> layers_;
  DrawnLayers preview_;
  std::string problem_;
  std::unique_ptr<PreviewExecutor> previews_;
  std::uint64_t generation_ = 0;  // of the newest preview asked for
  bool previewCurrent_ = true;
  // The keep-clear grid read for one area and distance, kept while they stay the same.
  std::shared_ptr<const SortedPointGrid> keepClearGrid_;
  std::optional<KeepClearReach> keepClearFor_;

  MapViewport viewport_;
  bool fitted_ = false;
  bool fittedToArea_ = false;  // the last fit took in an area
  MapScene scene_;
  double sceneTextScale_ = 1;
  bool sceneStale_ = true;
  std::optional<MapPoint> pointer_;
  std::optional<std::pair<MapPoint, MapPoint>> drag_;  // map points of the drag's corners
  std::optional<PixelPoint> panFrom_;                  // where a pan last moved the picture to

  BackgroundPlacement background_;
  std::optional<PictureCorner> cornerDrag_;  // the background's corner being dragged
  bool pickingAlignmentSpot_ = false;
  std::optional<PixelPoint> alignmentSpot_;
  bool amendingOpacity_ = false;  // the last edit moved the opacity: the next one continues it
  std::string backgroundNote_;    // why the last picture chosen or corners typed were refused
};

}  // namespace bosquell
