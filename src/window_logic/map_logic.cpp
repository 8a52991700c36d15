#include "window_logic/map_logic.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <new>
#include <system_error>

#include "common/number_text.h"
#include "common/utf8_path.h"
#include "files/file_buffers.h"
#include "files/mission_file.h"
#include "form/form1_layout.h"
#include "map/map_picture.h"
#include "placement/compiled_layer.h"
#include "placement/placement_rules.h"
#include "placement/random_source.h"
#include "placement/tree_themes.h"
#include "run/add_objects_run.h"
#include "run/run_messages.h"
#include "window_logic/key_step.h"
#include "window_logic/recipe_boxes.h"
#include "window_logic/shape_geometry.h"
#include "window_logic/window_logic.h"

namespace bosquell {
namespace {

constexpr double kZoomStep = 1.25;
constexpr double kFitMargin = 24;
// How near a background's corner a press must be to drag it, and the handle drawn there.
constexpr double kCornerReach = 6;
constexpr Rgb kHandleColor{96, 96, 96};
MapRectangle Corners(MapPoint a, MapPoint b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

std::string CannotReadText(const std::string& missionPath, const std::string& failure) {
  std::string text = "The mission file could not be read:\r\n" + missionPath;
  if (!failure.empty()) text += "\r\n" + failure;
  return text;
}

// The mission's objects that keeping clear looks at; nothing when the mission cannot be read.
std::optional<SortedPointGrid> ReadKeepClearPoints(const std::string& missionPath,
                                                   const KeepClearReach& reach) {
  std::error_code error;
  const NativeFile mission = OpenMissionForReading(missionPath, error);
  if (!mission.IsOpen()) return std::nullopt;
  FileReadBuffer bytes(mission);
  return ReadKeepClearGrid(bytes, reach);
}

// A read by one of the readers. A mission too large or too strange to hold makes a reader
// throw; that must not end the window, so the read gives nothing and `failure` says why.
template <typename Read>
auto Guarded(Read read, std::string& failure) -> decltype(read()) {
  failure.clear();
  try {
    return read();
  } catch (const std::bad_alloc&) {
    failure = "There is not enough memory to read it.";
  } catch (const std::exception& error) {
    failure = "Reading it failed: " + std::string(error.what()) + ".";
  }
  return std::nullopt;
}

// Whether the text already says `wanted`: a number box the map would set to the value it holds
// keeps the user's way of writing it.
bool SaysNumber(const std::string& text, const std::string& wanted) {
  if (text == wanted) return true;
  return TextIsNumeric(text) && TextIsNumeric(wanted) && TextValue(text) == TextValue(wanted);
}

std::optional<MapShape> MapShapeOf(const AreaShape& shape) {
  return ShapeInMapUnits(shape, false);
}

std::vector<MapPoint> MapPointsOf(const std::vector<UserPoint>& points) {
  std::vector<MapPoint> mapped;
  for (const UserPoint& point : points) mapped.push_back(ToMapPoint(point));
  return mapped;
}

// The sketch of a shape being drawn: a dragged rectangle or circle as that shape, the points of
// a polygon or corridor joined up to the pointer.
std::optional<PictureSketch> SketchOf(const UnfinishedShape& shape) {
  PictureSketch sketch;
  std::vector<UserPoint> points = shape.points;
  if (shape.pointer && (points.size() < 2 || !(points.back() == *shape.pointer))) {
    points.push_back(*shape.pointer);
  }
  const bool spans = shape.tool == ShapeTool::kRectangle || shape.tool == ShapeTool::kCircle;
  if (spans && points.size() >= 2) {
    const UserPoint from = points.front();
    const UserPoint to = points[1];
    if (shape.tool == ShapeTool::kCircle) {
      sketch.shape = MapShapeOf(CircleArea{from, Distance(from, to)});
    } else if (const auto rectangle = RectangleBetween(from, to)) {
      sketch.shape = MapShapeOf(*rectangle);
    }
    sketch.line = MapPointsOf({from, to});
    if (sketch.shape) sketch.line.clear();
    return sketch;
  }
  sketch.line = MapPointsOf(points);
  return sketch;
}

std::optional<EditorKey> EditorKeyOf(MapKey key) {
  switch (key) {
    case MapKey::kEnter:
      return EditorKey::kEnter;
    case MapKey::kEscape:
      return EditorKey::kEscape;
    case MapKey::kBackspace:
      return EditorKey::kBackspace;
    case MapKey::kDelete:
      return EditorKey::kDelete;
    case MapKey::kSpace:
      return EditorKey::kSpace;
    case MapKey::kUndo:
      return EditorKey::kUndo;
    case MapKey::kRedo:
      return EditorKey::kRedo;
    case MapKey::kLeft:
      return EditorKey::kLeft;
    case MapKey::kRight:
      return EditorKey::kRight;
    case MapKey::kUp:
      return EditorKey::kUp;
    case MapKey::kDown:
      return EditorKey::kDown;
    default:
      return std::nullopt;
  }
}

// Questions a window has not put in yet are answered so that nothing is lost or overwritten.
DocumentPrompts WithKeepingAnswers(DocumentPrompts prompts) {
  if (!prompts.askUnsaved)
    prompts.askUnsaved = [](const std::string&) { return UnsavedAnswer::kCancel; };
  if (!prompts.askOverwriteChanged)
    prompts.askOverwriteChanged = [](const std::string&) { return false; };
  if (!prompts.chooseSavePath) prompts.chooseSavePath = [] { return std::optional<std::string>(); };
  return prompts;
}

using KeepClearReader = decltype(MapReaders::keepClear);

bool Holds(const MapRectangle& outer, const MapRectangle& inner) {
  return outer.left <= inner.left && outer.bottom <= inner.bottom && outer.right >= inner.right &&
         outer.top >= inner.top;
}

MapRectangle Joined(const MapRectangle& a, const MapRectangle& b) {
  return {std::min(a.left, b.left), std::min(a.bottom, b.bottom), std::max(a.right, b.right),
          std::max(a.top, b.top)};
}

// The preview of compiled layers: the very draws of a run from `seed`, after reading the
// mission's objects for keeping clear unless `grid` holds them already. Runs on the preview's
// thread: it reads only what it is given.
DrawnPreview DrawOnInputs(const std::vector<CompiledLayer>& layers,
                          const std::optional<KeepClearReach>& reach,
                          std::shared_ptr<const SortedPointGrid> grid, const KeepClearReader& read,
                          const std::string& missionPath, std::uint32_t seed) {
  DrawnPreview preview;
  preview.keepClearFor = reach;
  if (reach && !grid) {
    std::string failure;
    std::optional<SortedPointGrid> points =
        Guarded([&] { return read(missionPath, *reach); }, failure);
    if (!points) {
      preview.keepClearFailure = failure;
      return preview;
    }
    grid = std::make_shared<const SortedPointGrid>(std::move(*points));
  }
  preview.keepClearGrid = grid;
  MersenneRandom random(seed);
  random.StartRun();
  preview.drawn = DrawLayers(layers, grid.get(), kMaxObjectCount, random);
  return preview;
}

BackgroundCorners MapCornersOf(const Background& background) {
  return {ToMapPoint(background.topLeft), ToMapPoint(background.bottomRight)};
}

UserPoint UserPointOf(MapPoint point) {
  return {point.x / kMapUnitsPerUserUnit, point.y / kMapUnitsPerUserUnit};
}

// The chosen file as the recipe holds it, absolute (see RecipeDocument).
std::string AbsolutePicturePath(const std::string& utf8Path) {
  std::error_code error;
  const std::filesystem::path path = PathFromUtf8(utf8Path);
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return Utf8FromPath(error ? path : absolute.lexically_normal());
}

std::string Fixed1(double value) {
  return NumberText(std::round(value * 10) / 10);
}

}  // namespace

std::string MapRecipeStatus(std::uint32_t seed) {
  // Short enough for the status line's one line at its large font, whatever the seed.
  return "\"Add Objects\" writes the map's recipe, seed " + std::to_string(seed);
}

MapReaders MissionFileReaders() {
  return {MissionDensity::Read, ReadKeepClearPoints};
}

MapLogic::MapLogic(WindowView& form, MapView& view, PreviewSeeds newSeed, MapReaders readers,
                   DocumentPrompts prompts)
    : form_(form),
      view_(view),
      newSeed_(newSeed ? std::move(newSeed) : PreviewSeeds(ClockPreviewSeed)),
      readers_(std::move(readers)),
      document_({}, WithKeepingAnswers(std::move(prompts))),
      previews_(std::make_unique<DrawAtOnce>()) {
  // Today's drag first: the boxes' area.
  document_.Editor().SetTool(ShapeTool::kRectangle);
}

void MapLogic::Show() {
  if (open_) {
    view_.Open();
    return;
  }
  open_ = true;
  if (!seed_) seed_ = newSeed_();
  view_.Open();
  Update();
}

void MapLogic::Closed() {
  open_ = false;
  // A closed window holds no pointer; a drag that was under way ends with it, unfinished.
  drag_.reset();
  panFrom_.reset();
  if (cornerDrag_) {
    cornerDrag_.reset();
    RecordBackground();
  }
  document_.Editor().CaptureLost();
}

bool MapLogic::MapOwnsRecipe() const {
  const Recipe& recipe = document_.Current();
  return !recipe.layers.empty() && std::holds_alternative<std::string>(BoxTextsOf(recipe));
}

bool MapLogic::EditorHasPointer() const {
  return MapOwnsRecipe() || Tool() != ShapeTool::kRectangle;
}

template <typename Call>
void MapLogic::Edit(Call call) {
  const Recipe before = document_.Current();
  call(document_.Editor());
  if (document_.Current() == before) {
    Redraw();
    return;
  }
  RecipeEdited();
}

void MapLogic::RecipeEdited() {
  amendingOpacity_ = false;
  if (!MapOwnsRecipe()) WriteBoxes();
  ShowRecipeStatus();
  Update();
}

void MapLogic::EditRecipe(const std::function<void(RecipeEditor&)>& edit) {
  Edit(edit);
}

void MapLogic::FieldTyped(PanelField field, const std::string& text) {
  EditHistory& history = document_.Editor().History();
  const bool sameTyping =
      typing_ && typing_->field == field && typing_->version == history.Version();
  const bool recorded = sameTyping && typing_->recorded;
  const std::size_t before = history.Version();
  switch (field) {
    case PanelField::kKeepClear:
      KeepClearEdited(text);
      break;
    case PanelField::kSpacing:
      SpacingEdited(text);
      break;
    case PanelField::kCount:
      Edit([&](RecipeEditor& editor) { editor.SetCountText(text); });
      break;
    case PanelField::kClumps:
      Edit([&](RecipeEditor& editor) { editor.SetClumpsText(text); });
      break;
    case PanelField::kClumpRadius:
      Edit([&](RecipeEditor& editor) { editor.SetClumpRadiusText(text); });
      break;
  }
  // A keystroke that changed the recipe after one of the same typing replaces it in the history.
  const bool changed = history.Version() != before;
  if (recorded && changed) history.MergeWithPrevious();
  typing_ = Typing{field, history.Version(), recorded || changed};
}

RecipePanel MapLogic::Panel() const {
  RecipePanel panel = PanelOf(document_.Editor());
  if (!MapOwnsRecipe()) {
    // The boxes' rules are the texts the next run reads, also those it would refuse.
    panel.keepClear = keepClearText_;
    panel.spacing = spacingText_;
    panel.enabled.rules = true;  // a run takes them even before the boxes make a recipe
  }
  return panel;
}

bool MapLogic::EscapeDropsShape() const {
  const RecipeEditor& editor = document_.Editor();
  return EditorHasPointer() && (editor.Dragging() || editor.Unfinished());
}

void MapLogic::SetTool(ShapeTool tool) {
  drag_.reset();
  document_.Editor().SetTool(tool);
  Redraw();
}

void MapLogic::KeepShownSeed() {
  if (document_.Current().seed || !seed_) return;
  document_.Editor().SetSeed(*seed_);
}

bool MapLogic::MayClose() {
  if (document_.Dirty()) KeepShownSeed();
  return document_.MayDropChanges();
}

bool MapLogic::NewRecipe() {
  if (document_.Dirty()) KeepShownSeed();
  if (document_.Current().seed) seed_ = document_.Current().seed;  // shown until a reroll
  auto fromBoxes = RecipeOfBoxes(CurrentInputs());
  Recipe* boxes = std::get_if<Recipe>(&fromBoxes);
  if (!document_.New(boxes != nullptr ? std::move(*boxes) : Recipe{})) return false;
  document_.Editor().SetTool(ShapeTool::kRectangle);
  RecipeEdited();
  return true;
}

bool MapLogic::OpenRecipe(const std::string& path) {
  const std::optional<std::uint32_t> shown =
      document_.Current().seed ? document_.Current().seed : seed_;
  if (!document_.Open(path)) {
    view_.Refresh();
    return false;
  }
  // A recipe's own seed is the one it shows; one without keeps the seed shown until now.
  seed_ = document_.Current().seed ? document_.Current().seed : shown;
  drag_.reset();
  RecipeEdited();
  if (open_) {
    Fit();
    Redraw();
  }
  return true;
}

bool MapLogic::SaveRecipe() {
  KeepShownSeed();
  const bool saved = document_.Save();
  view_.Refresh();
  return saved;
}

bool MapLogic::SaveRecipeAs(const std::string& path) {
  KeepShownSeed();
  const bool saved = document_.SaveAs(path);
  view_.Refresh();
  return saved;
}

std::string MapLogic::WindowTitle() const {
  // The boxes' recipe, never saved nor changed in the map, is no file of the user's yet.
  if (document_.Path().empty() && !document_.Dirty()) return kMapWindowName;
  return document_.Title() + " - " + kMapWindowName;
}

void MapLogic::SetExclude(bool exclude) {
  Edit([&](RecipeEditor& editor) { editor.SetExclude(exclude); });
}

std::optional<bool> MapLogic::SelectedExcludes() const {
  const RecipeEditor& editor = document_.Editor();
  const std::vector<Layer>& layers = editor.Current().layers;
  const std::optional<std::size_t> selected = editor.Selected();
  if (!selected || editor.CurrentLayer() >= layers.size()) return std::nullopt;
  const auto& areas = layers[editor.CurrentLayer()].areas;
  if (*selected >= areas.size()) return std::nullopt;
  return areas[*selected].exclude;
}

void MapLogic::TakeBoxes() {
  if (writingBoxes_ || MapOwnsRecipe()) return;
  RunInputs inputs = CurrentInputs();
  auto boxes = RecipeOfBoxes(inputs);
  auto* recipe = std::get_if<Recipe>(&boxes);
  if (recipe == nullptr) return;
  RecipeEditor& editor = document_.Editor();
  if (editor.Current().layers == recipe->layers) return;
  recipe->seed = editor.Current().seed;
  recipe->background = editor.Current().background;
  // The first recipe the boxes give is where the history starts; later box edits are edits.
  if (editor.Current().layers.empty() && !editor.Current().background) {
    editor.Reset(std::move(*recipe));
    return;
  }
  // An untitled recipe that is only the boxes has nothing to save: the boxes hold it.
  const bool keepClean = !document_.Dirty() && document_.Path().empty();
  editor.History().Record(std::move(*recipe));
  if (keepClean) editor.History().MarkSaved();
}

void MapLogic::WriteBoxes() {
  auto boxTexts = BoxTextsOf(document_.Current());
  const auto* texts = std::get_if<BoxTexts>(&boxTexts);
  if (texts == nullptr) return;
  writingBoxes_ = true;
  const std::pair<Control, const std::string*> numbers[] = {
      {Control::kCenterX, &texts->centerX}, {Control::kCenterY, &texts->centerY},
      {Control::kRangeX, &texts->rangeX},   {Control::kRangeY, &texts->rangeY},
      {Control::kCount, &texts->count},
  };
  for (const auto& [control, text] : numbers) {
    if (!SaysNumber(form_.Text(control), *text)) form_.SetText(control, *text);
  }
  if (!SaysNumber(form_.Text(Control::kOwnId), texts->ownId)) {
    form_.SetText(Control::kOwnId, texts->ownId);
  }
  if (texts->theme && form_.Text(Control::kTheme) != *texts->theme) {
    const auto order = ThemeListOrder();
    const auto found = std::find(order.begin(), order.end(), *texts->theme);
    if (found != order.end())
      form_.Select(Control::kTheme, static_cast<int>(found - order.begin()));
  }
  if (!SaysNumber(keepClearText_, texts->keepClear)) keepClearText_ = texts->keepClear;
  if (!SaysNumber(spacingText_, texts->spacing)) spacingText_ = texts->spacing;
  writingBoxes_ = false;
}

void MapLogic::ShowRecipeStatus() {
  const bool owns = MapOwnsRecipe();
  const std::string text = owns ? MapRecipeStatus(Seed()) : std::string();
  if (owns == statusShown_ && text == statusShownText_) return;
  const bool showing = statusShown_ && form_.Text(Control::kStatus) == statusShownText_;
  if (owns) {
    if (!statusShown_) statusBefore_ = form_.Text(Control::kStatus);
    form_.SetText(Control::kStatus, text);
  } else if (showing) {
    form_.SetText(Control::kStatus, statusBefore_);
  }
  statusShown_ = owns;
  statusShownText_ = text;
}

RunInputs MapLogic::CurrentInputs() const {
  RunInputs inputs = BoxInputs(form_);
  inputs.keepClearText = keepClearText_;
  inputs.spacingText = spacingText_;
  inputs.missionPath = missionPath_;
  inputs.recipe = RunRecipe();
  return inputs;
}

void MapLogic::ReadMission() {
  if (missionPath_.empty()) return;
  // A mission that changed on disk is read again; one that is gone cannot be shown.
  const MissionStamp stamp = StampOf(missionPath_);
  if (densityPath_ == missionPath_ && stamp == densityStamp_ && density_) return;
  const bool sameMission = densityPath_ == missionPath_;
  densityPath_ = missionPath_;
  densityStamp_ = stamp;
  density_.reset();  // the old objects go before the new ones are read
  existingShades_.reset();
  density_ = Guarded([&] { return readers_.objects(missionPath_); }, densityFailure_);
  keepClearGrid_.reset();
  keepClearFor_.reset();
  if (!sameMission) fitted_ = false;
}

void MapLogic::Update() {
  TakeBoxes();
  if (!open_) return;
  ReadMission();
  ShowRecipeBackground();
  background_.Refresh();
  DrawPreview();
  SettleProblem();
  // The first area the map has to show is taken into the view, also after a fit without one.
  if (!fitted_ || (!fittedToArea_ && Area())) Fit();
  Redraw();
}

void MapLogic::SettleProblem() {
  if (!missionPath_.empty() && !density_) problem_ = CannotReadText(missionPath_, densityFailure_);
  // After a run the map shows what it wrote, not why there is nothing to write until the next
  // mission is opened.
  if (!written_.empty() && missionPath_.empty()) problem_.clear();
}

void MapLogic::DrawPreview() {
  problem_.clear();
  layers_.reset();
  ++generation_;  // whatever is being drawn is out of date now
  auto checked = CheckRunInputs(CurrentInputs());
  std::optional<std::vector<CompiledLayer>> compiled;
  if (const auto* request = std::get_if<AddObjectsRequest>(&checked)) {
    // The form's layers always compile; a run would refuse any other.
    auto layers = CompileLayers(request->recipe.layers);
    if (auto* ready = std::get_if<std::vector<CompiledLayer>>(&layers))
      compiled = std::move(*ready);
  } else {
    problem_ = std::get<std::string>(checked);
  }
  if (!compiled) {
    preview_ = {};
    previewCurrent_ = true;
    return;
  }
  layers_ = std::make_shared<const std::vector<CompiledLayer>>(std::move(*compiled));
  previewCurrent_ = false;
  const std::optional<KeepClearReach> reach = ReachOfKeepClear(*layers_);
  // A grid read for a larger area at the same distance holds every object this one looks at.
  // It is read for the whole mission at once, so that dragging a shape does not read it again.
  std::shared_ptr<const SortedPointGrid> grid;
  std::optional<KeepClearReach> read = reach;
  if (reach && keepClearFor_ && keepClearFor_->distance == reach->distance &&
      Holds(keepClearFor_->area, reach->area)) {
    grid = keepClearGrid_;
    read = keepClearFor_;
  } else if (reach && density_ && density_->Count() > 0) {
    read->area = Joined(reach->area, density_->Bounds());
  }
  previews_->Submit({generation_, [layers = layers_, read, grid, reader = readers_.keepClear,
                                   mission = missionPath_, seed = Seed()] {
                       return DrawOnInputs(*layers, read, grid, reader, mission, seed);
                     }});
  TakeFinishedPreview();
}

bool MapLogic::TakeFinishedPreview() {
  std::optional<DrawnPreview> done = previews_->TakeFinished();
  if (!done || done->generation != generation_ || previewCurrent_ || !layers_) return false;
  previewCurrent_ = true;
  keepClearGrid_ = std::move(done->keepClearGrid);
  keepClearFor_ = done->keepClearFor;
  if (done->keepClearFailure) {
    preview_ = {};
    problem_ = CannotReadText(missionPath_, *done->keepClearFailure);
    return true;
  }
  preview_ = std::move(done->drawn);
  if (!preview_.Complete()) {
    const AddObjectsResult fellShort = FellShort(preview_, layers_->size());
    problem_ = RunMessageLines(fellShort, {}).front();
  }
  return true;
}

void MapLogic::PreviewFinished() {
  if (!TakeFinishedPreview()) return;
  SettleProblem();
  Redraw();
}

void MapLogic::UsePreviewExecutor(std::unique_ptr<PreviewExecutor> executor) {
  // The old executor goes first: its draw under way ends before anything else changes.
  previews_.reset();
  previews_ = executor ? std::move(executor) : std::make_unique<DrawAtOnce>();
  if (!previewCurrent_) Update();
}

void MapLogic::Redraw() {
  sceneStale_ = true;
  view_.Refresh();
}

std::optional<MapRectangle> MapLogic::Area() const {
  if (MapOwnsRecipe()) return document_.Editor().Bounds();
  if (!layers_ || layers_->empty()) return std::nullopt;
  return layers_->front().DrawArea();
}

void MapLogic::Fit() {
  const std::optional<MapRectangle> area = Area();
  viewport_.Fit(WholePicture(density_ ? &*density_ : nullptr, area), kFitMargin);
  fitted_ = true;
  fittedToArea_ = area.has_value();
  sceneStale_ = true;
}

const MapScene& MapLogic::Scene(int width, int height, double textScale) {
  if (textScale != sceneTextScale_) {
    sceneTextScale_ = textScale;
    sceneStale_ = true;
  }
  if (width != viewport_.Width() || height != viewport_.Height()) {
    viewport_.Resize(width, height);
    if (!fitted_ || scene_.width <= 1) Fit();
    sceneStale_ = true;
  }
  if (sceneStale_) {
    // The objects are shaded apart once the view is drawn a second time as it is: a pan or a
    // zoom draws each view once, and would only pay for the copy.
    const bool sameView = lastSceneVisible_ == viewport_.Visible();
    lastSceneVisible_ = viewport_.Visible();
    if (density_ && sameView && !(existingShades_ && existingShades_->Fits(viewport_))) {
      existingShades_ = ShadeExisting(*density_, viewport_);
    }
    MapPicture picture = Picture();
    if (existingShades_) picture.existingShades = &*existingShades_;
    picture.textScale = sceneTextScale_;
    scene_ = DrawMapScene(picture, viewport_);
    AddBackgroundHandles();
    sceneStale_ = false;
  }
  return scene_;
}

MapPicture MapLogic::Picture() const {
  MapPicture picture;
  picture.existing = density_ ? &*density_ : nullptr;
  const bool owns = MapOwnsRecipe();
  if (!owns) picture.area = Area();
  const bool hasLayers = layers_ && !layers_->empty();
  if (hasLayers) {
    picture.keepClear = layers_->front().rules.keepClear;
    picture.spacing = layers_->front().rules.spacing;
  }
  picture.objects = &preview_.objects;
  picture.objectsOutOfDate = !previewCurrent_;
  picture.written = &written_;
  picture.takenBack = &foundRun_;
  picture.problem = problem_;
  if (drag_) picture.band = Corners(drag_->first, drag_->second);
  picture.background = background_.ForMap();
  // The boxes' area is the editor's only while the boxes pass the run's checks.
  const RecipeEditor& editor = document_.Editor();
  if (owns || hasLayers) {
    for (const PaintedArea& painted : editor.Areas()) {
      std::optional<MapShape> shape = MapShapeOf(painted.area.shape);
      if (!shape) continue;
      PictureArea area{
          std::move(*shape), painted.area.exclude, LayerColor(painted.layer), painted.selected, {}};
      if (painted.selected) area.handles = MapPointsOf(HandlesOf(painted.area.shape));
      picture.areas.push_back(std::move(area));
    }
  }
  if (const auto unfinished = editor.Unfinished()) picture.sketch = SketchOf(*unfinished);
  if (const auto cursor = editor.Cursor(); cursor && Tool() != ShapeTool::kSelect) {
    picture.cursor = ToMapPoint(*cursor);
  }
  return picture;
}

std::string MapLogic::StatusText() const {
  std::string status;
  if (pointer_) {
    status += "x " + NumberText(std::round(pointer_->x)) + ", y " +
              NumberText(std::round(pointer_->y)) + " map units (" +
              Fixed1(pointer_->x / kMapUnitsPerUserUnit) + ", " +
              Fixed1(pointer_->y / kMapUnitsPerUserUnit) + " user units)   ";
  }
  const double existing = density_ ? static_cast<double>(density_->Count()) : 0;
  status += "Existing objects: " + NumberText(existing) +
            "   New objects: " + NumberText(static_cast<double>(preview_.objects.size())) +
            "   Seed: " + NumberText(Seed());
  if (!previewCurrent_) status += "   Preview updating\u2026";
  if (!written_.empty()) {
    status += "   Written: " + NumberText(static_cast<double>(written_.size()));
  }
  if (!foundReport_.empty()) status += "   Take back: " + foundReport_;
  if (EditorHasPointer()) {
    status += "   " + document_.Editor().StatusText();
  } else if (!document_.Editor().Refusal().empty()) {
    status += "   " + document_.Editor().Refusal();  // a field of the side panel refused
  }
  if (pickingAlignmentSpot_) {
    status += "   Click point " + std::to_string(background_.AlignmentPoints().size() + 1) +
              " of 2 on the picture";
  }
  if (!backgroundNote_.empty()) status += "   " + backgroundNote_;
  if (!background_.Problem().empty()) status += "   " + background_.Problem();
  return status;
}

void MapLogic::ButtonDown(MapButton button, PixelPoint at) {
  if (Dragging()) return;
  if (button == MapButton::kLeft && pickingAlignmentSpot_) {
    alignmentSpot_ = background_.PictureSpotAt(at, viewport_);
    pickingAlignmentSpot_ = !alignmentSpot_;  // a click beside the picture picks nothing
    Redraw();
    return;
  }
  if (button == MapButton::kLeft) {
    cornerDrag_ = background_.CornerNear(at, viewport_, kCornerReach);
    if (cornerDrag_) return;
  }
  if (button == MapButton::kLeft && EditorHasPointer()) {
    Edit([&](RecipeEditor& editor) { editor.ButtonDown(at, viewport_); });
  } else if (button == MapButton::kLeft) {
    const MapPoint point = viewport_.ToMap(at);
    drag_ = std::pair(point, point);
    Redraw();
  } else {
    panFrom_ = at;
  }
}

void MapLogic::DoubleClick(PixelPoint at) {
  if (!EditorHasPointer()) {
    ButtonDown(MapButton::kLeft, at);
    return;
  }
  Edit([&](RecipeEditor& editor) { editor.DoubleClick(at, viewport_); });
}

void MapLogic::PointerMoved(PixelPoint at) {
  RecipeEditor& editor = document_.Editor();
  editor.PointerMoved(at, viewport_);
  if (editor.Dragging() || editor.Unfinished()) sceneStale_ = true;
  if (panFrom_) {
    viewport_.Pan(at.x - panFrom_->x, at.y - panFrom_->y);
    panFrom_ = at;
    sceneStale_ = true;
  }
  pointer_ = viewport_.ToMap(at);
  if (cornerDrag_) {
    background_.DragCorner(*cornerDrag_, *pointer_);
    sceneStale_ = true;
  }
  if (drag_) {
    drag_->second = *pointer_;
    sceneStale_ = true;
  }
  view_.Refresh();
}

void MapLogic::ButtonUp(MapButton button, PixelPoint at) {
  if (button == MapButton::kLeft) {
    if (cornerDrag_) {
      background_.DragCorner(*cornerDrag_, viewport_.ToMap(at));
      cornerDrag_.reset();
      RecordBackground();
    }
    if (drag_) EndAreaDrag(viewport_.ToMap(at));
    if (document_.Editor().Dragging()) {
      Edit([&](RecipeEditor& editor) { editor.ButtonUp(at, viewport_); });
    }
  } else {
    panFrom_.reset();
  }
}

void MapLogic::CaptureLost() {
  panFrom_.reset();
  if (cornerDrag_) {
    cornerDrag_.reset();
    RecordBackground();  // the picture stays where the drag last put it
  }
  if (document_.Editor().Dragging()) {
    document_.Editor().CaptureLost();
    Redraw();
  }
  if (!drag_) return;
  drag_.reset();
  Redraw();
}

void MapLogic::PointerLeft() {
  // During a drag the window keeps the pointer, wherever it goes.
  if (Dragging()) return;
  pointer_.reset();
  view_.Refresh();
}

void MapLogic::EndAreaDrag(MapPoint at) {
  const MapRectangle band = Corners(drag_->first, at);
  drag_.reset();
  const double unit = kMapUnitsPerUserUnit;
  const bool changed =
      SetAreaTexts((band.left + band.right) / 2 / unit, (band.bottom + band.top) / 2 / unit,
                   (band.right - band.left) / 2 / unit, (band.top - band.bottom) / 2 / unit);
  if (changed) {
    Update();
  } else {
    Redraw();
  }
}

bool MapLogic::SetAreaTexts(double centerX, double centerY, double rangeX, double rangeY) {
  const double rangeXUnits = std::round(rangeX);
  const double rangeYUnits = std::round(rangeY);
  // A drag that spans less than a user unit either way sets no area.
  if (!(rangeXUnits >= 1) || !(rangeYUnits >= 1)) return false;
  struct AreaText {
    Control control;
    std::string text;
  };
  const AreaText texts[] = {
      {Control::kCenterX, NumberText(std::round(centerX))},
      {Control::kCenterY, NumberText(std::round(centerY))},
      {Control::kRangeX, NumberText(rangeXUnits)},
      {Control::kRangeY, NumberText(rangeYUnits)},
  };
  for (const AreaText& box : texts) {
    const int limit = LayoutOf(box.control).textLimit;
    if (box.text.size() > static_cast<std::size_t>(limit)) return false;
  }
  for (const AreaText& box : texts) form_.SetText(box.control, box.text);
  return true;
}

void MapLogic::Pan(double dx, double dy) {
  viewport_.Pan(dx, dy);
  Redraw();
}

void MapLogic::Wheel(PixelPoint at, double steps) {
  if (steps != 0) ZoomAbout(at, steps);
}

void MapLogic::ZoomAbout(PixelPoint about, double steps) {
  viewport_.ZoomAbout(about, std::pow(kZoomStep, steps));
  Redraw();
}

bool MapLogic::KeyPressed(MapKey key, bool shift, bool control) {
  if (const std::optional<EditorKey> editorKey = EditorKeyOf(key)) {
    // Undo and redo reach the boxes' recipe too; the rest only while the editor draws.
    const bool always = key == MapKey::kUndo || key == MapKey::kRedo;
    bool taken = false;
    if (always || EditorHasPointer()) {
      Edit([&](RecipeEditor& editor) { taken = editor.KeyPressed(*editorKey, shift, viewport_); });
    }
    if (taken || !(key == MapKey::kLeft || key == MapKey::kRight || key == MapKey::kUp ||
                   key == MapKey::kDown)) {
      return taken;
    }
  }
  const PixelPoint middle{viewport_.Width() / 2.0, viewport_.Height() / 2.0};
  switch (key) {
    case MapKey::kZoomIn:
      ZoomAbout(middle, 1);
      return true;
    case MapKey::kZoomOut:
      ZoomAbout(middle, -1);
      return true;
    case MapKey::kFit:
      Fit();
      Redraw();
      return true;
    case MapKey::kReroll:
      Reroll();
      return true;
    default:
      break;
  }
  const double dx = key == MapKey::kLeft ? -1 : key == MapKey::kRight ? 1 : 0;
  const double dy = key == MapKey::kDown ? -1 : key == MapKey::kUp ? 1 : 0;
  if (!shift) {
    Pan(-dx * viewport_.Width() / 8, dy * viewport_.Height() / 8);
    return true;
  }
  // One box moves, by a step that follows the zoom; the other three keep their texts as typed.
  const double step = KeyStep(viewport_.UnitsPerPixel());
  const Control moved = dx != 0 ? (control ? Control::kRangeX : Control::kCenterX)
                                : (control ? Control::kRangeY : Control::kCenterY);
  if (MoveAreaText(moved, (dx != 0 ? dx : dy) * step)) Update();
  return true;
}

bool MapLogic::MoveAreaText(Control box, double by) {
  const std::string& text = form_.Text(box);
  if (!TextIsNumeric(text)) return false;
  const double value = TextValue(text) + by;
  // A range never goes below the least a run takes.
  const bool range = box == Control::kRangeX || box == Control::kRangeY;
  if (!std::isfinite(value) || (range && value < 1)) return false;
  const std::string moved = NumberText(value);
  if (moved.size() > static_cast<std::size_t>(LayoutOf(box).textLimit)) return false;
  form_.SetText(box, moved);
  return true;
}

void MapLogic::AddBackgroundHandles() {
  if (!background_.HasPicture()) return;
  const BackgroundCorners& c = background_.Corners();
  for (const MapPoint corner : {c.topLeft, MapPoint{c.bottomRight.x, c.topLeft.y}, c.bottomRight,
                                MapPoint{c.topLeft.x, c.bottomRight.y}}) {
    scene_.circles.push_back({viewport_.ToPixel(corner), 4, kHandleColor});
  }
  if (alignmentSpot_) {
    const MapBackground placed = *background_.ForMap();
    scene_.circles.push_back(
        {viewport_.ToPixel(MapPosition(placed, *alignmentSpot_)), 3, kHandleColor});
  }
}

void MapLogic::Activated() {
  if (open_ && background_.Refresh()) Redraw();
}

void MapLogic::ShowRecipeBackground() {
  const std::optional<bosquell::Background>& wanted = document_.Current().background;
  if (!wanted) {
    if (background_.Path().empty()) return;
    background_.Remove();
    pickingAlignmentSpot_ = false;
    alignmentSpot_.reset();
    return;
  }
  // A corner being dragged is where the drag has it until the button is released.
  if (cornerDrag_) return;
  background_.Show(wanted->image, MapCornersOf(*wanted), wanted->opacity);
}

void MapLogic::RecordBackground(bool amend) {
  std::optional<bosquell::Background> next = document_.Current().background;
  if (next) {
    next->topLeft = UserPointOf(background_.Corners().topLeft);
    next->bottomRight = UserPointOf(background_.Corners().bottomRight);
    next->opacity = background_.Opacity();
    document_.Editor().SetBackground(std::move(next), amend);
  }
  amendingOpacity_ = false;
  backgroundNote_.clear();
  Redraw();
}

void MapLogic::ChooseBackground(const std::string& utf8Path) {
  alignmentSpot_.reset();
  pickingAlignmentSpot_ = false;
  const std::string path = AbsolutePicturePath(utf8Path);
  if (!background_.Choose(path, viewport_.Visible())) {
    // The recipe keeps the picture it had, shown again.
    std::string problem = background_.Problem();
    background_.Remove();
    ShowRecipeBackground();
    backgroundNote_ = std::move(problem);
    Redraw();
    return;
  }
  const BackgroundCorners& corners = background_.Corners();
  document_.Editor().SetBackground(bosquell::Background{
      path, UserPointOf(corners.topLeft), UserPointOf(corners.bottomRight), background_.Opacity()});
  amendingOpacity_ = false;
  backgroundNote_.clear();
  Redraw();
}

void MapLogic::BackgroundCornersTyped(const BackgroundCorners& corners) {
  if (!document_.Current().background) {
    backgroundNote_ = "There is no background picture; choose one first.";
    Redraw();
    return;
  }
  if (!background_.SetCorners(corners)) {
    Redraw();
    return;
  }
  RecordBackground();
}

void MapLogic::BackgroundCornersTyped(std::string_view topLeft, std::string_view bottomRight) {
  const std::optional<MapPoint> first = TypedMapPosition(topLeft);
  const std::optional<MapPoint> second = TypedMapPosition(bottomRight);
  if (!first || !second) {
    backgroundNote_ = kMapPositionHelp;
    Redraw();
    return;
  }
  BackgroundCornersTyped(BackgroundCorners{*first, *second});
}

void MapLogic::AskBackgroundCorners(
    const std::function<std::optional<std::string>(const char* prompt)>& ask) {
  const std::optional<std::string> topLeft = ask(kTopLeftCornerPrompt);
  if (!topLeft) return;
  const std::optional<std::string> bottomRight = ask(kBottomRightCornerPrompt);
  if (bottomRight) BackgroundCornersTyped(*topLeft, *bottomRight);
}

void MapLogic::BackgroundOpacityChanged(double opacity) {
  const double before = background_.Opacity();
  background_.SetOpacity(opacity);
  if (background_.Opacity() == before) return;
  // A slider dragged along is one edit.
  RecordBackground(amendingOpacity_);
  amendingOpacity_ = document_.Current().background.has_value();
}

void MapLogic::PickAlignmentSpot() {
  pickingAlignmentSpot_ = background_.HasPicture();
  alignmentSpot_.reset();
  view_.Refresh();
}

void MapLogic::AlignmentPositionTyped(const std::string& text) {
  if (!alignmentSpot_) return;
  const bool taken = background_.AddAlignmentPoint(*alignmentSpot_, text);
  alignmentSpot_.reset();
  // After the first point the next click picks the second; a position refused is picked again.
  pickingAlignmentSpot_ =
      background_.HasPicture() && (!taken || background_.AlignmentPoints().size() == 1);
  if (taken && background_.AlignmentPoints().empty()) {
    RecordBackground();
  } else {
    Redraw();
  }
}

void MapLogic::AlignmentCancelled() {
  pickingAlignmentSpot_ = false;
  alignmentSpot_.reset();
  background_.CancelAlignment();
  Redraw();
}

void MapLogic::Reroll() {
  const std::uint32_t next = newSeed_();
  // The boxes' untitled recipe has nothing to save: the seed alone does not make it the user's.
  const bool keepClean = !MapOwnsRecipe() && !document_.Dirty() && document_.Path().empty();
  // The boxes' recipe is made anew from the boxes, so the seed shown has to outlive it; a recipe
  // of the map's own holds the new seed itself, so that undoing the reroll shows the old one.
  if (!MapOwnsRecipe()) seed_ = next;
  document_.Editor().SetSeed(next);
  if (keepClean) document_.Editor().History().MarkSaved();
  ShowRecipeStatus();
  Update();
}

void MapLogic::TakeRunBack(const TakeBackPrompts& prompts) {
  // The recipe and mission a run would take now, checked as a run checks them.
  auto checked = CheckRunInputs(CurrentInputs());
  if (const std::string* message = std::get_if<std::string>(&checked)) {
    prompts.showMessage(*message);
    return;
  }
  AddObjectsRequest& request = std::get<AddObjectsRequest>(checked);
  TakeBackFlow(std::move(request.recipe), request.missionPath, prompts,
               [this](std::vector<DrawnObject> found, std::string reportLine) {
                 foundRun_ = std::move(found);
                 foundReport_ = std::move(reportLine);
                 Redraw();
               });
}

void MapLogic::KeepClearEdited(const std::string& text) {
  keepClearText_ = text;
  if (MapOwnsRecipe()) {
    Edit([&](RecipeEditor& editor) { editor.SetKeepClearText(text); });
  } else {
    Update();
  }
}

void MapLogic::SpacingEdited(const std::string& text) {
  spacingText_ = text;
  if (MapOwnsRecipe()) {
    Edit([&](RecipeEditor& editor) { editor.SetSpacingText(text); });
  } else {
    Update();
  }
}

void MapLogic::MissionChanged(const std::string& missionPath) {
  missionPath_ = missionPath;
  // An opened mission is read again, as it is on disk now; the one a run just wrote keeps its
  // picture.
  if (!missionPath.empty()) {
    density_.reset();
    existingShades_.reset();
    written_.clear();
  }
  // Opening a mission rewrites the main window's status line; while the map's recipe runs, the
  // line keeps saying so.
  if (statusShown_ && form_.Text(Control::kStatus) != statusShownText_) {
    statusBefore_ = form_.Text(Control::kStatus);
    form_.SetText(Control::kStatus, statusShownText_);
  }
  Update();
}

void MapLogic::InputsChanged() {
  Update();
}

void MapLogic::RunEnded(const std::vector<DrawnObject>& written) {
  if (!written.empty()) written_ = written;
  Update();
}

bool MapLogic::RereadIfMissionChanged() {
  if (!open_ || missionPath_.empty()) return false;
  // The stamp was taken before the map read the mission: any write since changes it.
  if (densityPath_ == missionPath_ && StampOf(missionPath_) == densityStamp_) return false;
  Update();
  return true;
}

std::optional<std::uint32_t> MapLogic::RunSeed() const {
  // A closed map's recipe with a seed runs from it, as the command line runs its file.
  if (!open_) return MapOwnsRecipe() ? document_.Current().seed : std::nullopt;
  return Seed();
}

std::optional<ExpectedObjects> MapLogic::Expected() const {
  if (!open_) return std::nullopt;
  // The stamp was taken before the map read the mission the preview was drawn for. A preview
  // still being drawn is not what the run must write: the run draws for itself then.
  ExpectedObjects expected{densityStamp_, std::nullopt};
  if (previewCurrent_) expected.objects = preview_.objects;
  return expected;
}

// The rules stay set when the map closes: a run without the map still keeps them.
std::string MapLogic::KeepClearText() const {
  return keepClearText_;
}

std::string MapLogic::SpacingText() const {
  return spacingText_;
}

std::optional<Recipe> MapLogic::RunRecipe() const {
  if (!MapOwnsRecipe()) return std::nullopt;
  return document_.Current();
}

}  // namespace bosquell
