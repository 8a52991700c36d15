#include "window_logic/recipe_editor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "common/number_text.h"
#include "placement/placement.h"
#include "placement/tree_themes.h"
#include "recipe/recipe_reader.h"
#include "window_logic/key_step.h"
#include "recipe/recipe_text.h"
#include "window_logic/shape_geometry.h"

namespace bosquell {
namespace {

// How near, in pixels, a click must come to a shape or a handle to take it.
constexpr double kPickPixels = 6;
// What a new layer or a field a pattern needs starts with.
constexpr int kDefaultCount = 100;
constexpr double kDefaultSpacing = 10;
constexpr int kDefaultClumps = 5;
constexpr double kDefaultClumpRadius = 50;

UserPoint UserPointAt(PixelPoint at, const MapViewport& view) {
  return SnappedUserPoint(view.ToMap(at));
}

double PickTolerance(const MapViewport& view) {
  return kPickPixels * view.UnitsPerPixel() / kMapUnitsPerUserUnit;
}

bool HasInclude(const Layer& layer) {
  return std::any_of(layer.areas.begin(), layer.areas.end(),
                     [](const Area& area) { return !area.exclude; });
}

// The recipe as the reader sees it while a layer has nothing to draw in yet: such a layer gets
// a small include of its own, so that only the rest is judged.
Recipe WithStandInAreas(Recipe recipe) {
  for (Layer& layer : recipe.layers) {
    if (!HasInclude(layer)) layer.areas.push_back({RectangleArea{{0, 0}, {1, 1}}, false});
  }
  return recipe;
}

// A number as typed in a field; empty reads as `empty`.
std::optional<double> FieldNumber(std::string_view text, std::optional<double> empty) {
  if (text.find_first_not_of(' ') == std::string_view::npos) return empty;
  if (!TextIsNumeric(text)) return std::nullopt;
  const double value = TextValue(text);
  return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

// A whole number as typed, within int; the reader's own bounds are judged after.
std::optional<int> FieldWholeNumber(std::string_view text) {
  const std::optional<double> value = FieldNumber(text, std::nullopt);
  if (!value || *value != std::floor(*value) ||
      std::abs(*value) > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

std::string LayerName(const Layer& layer, std::size_t index) {
  std::string mix;
  if (const auto* theme = std::get_if<ThemeMix>(&layer.mix)) {
    mix = theme->name;
  } else {
    for (const WeightedType& type : std::get<WeightedMix>(layer.mix).types) {
      mix += (mix.empty() ? "ids " : ", ") + type.typeText;
    }
  }
  return "Layer " + std::to_string(index + 1) + ": " + mix + ", " +
         (layer.fill ? std::string("fill") : std::to_string(layer.count)) + ", " +
         std::string(PatternName(layer.pattern)) + ", " + std::to_string(layer.areas.size()) +
         (layer.areas.size() == 1 ? " area" : " areas");
}

}  // namespace

Rgb LayerColor(std::size_t layer) {
  static constexpr std::array<Rgb, 6> kColors{{{40, 160, 60},
                                               {30, 110, 200},
                                               {200, 140, 20},
                                               {150, 60, 180},
                                               {20, 160, 160},
                                               {120, 120, 40}}};
  return kColors[layer % kColors.size()];
}

RecipeEditor::RecipeEditor(Recipe start) : history_(std::move(start)) {}

void RecipeEditor::Reset(Recipe start) {
  history_.Reset(std::move(start));
  layer_ = 0;
  selected_.reset();
  drag_.reset();
  DropUnfinished();
  refusal_.clear();
}

bool RecipeEditor::Undo() {
  drag_.reset();
  DropUnfinished();
  const bool undone = history_.Undo();
  Clamp();
  return undone;
}

bool RecipeEditor::Redo() {
  drag_.reset();
  DropUnfinished();
  const bool redone = history_.Redo();
  Clamp();
  return redone;
}

void RecipeEditor::SetTool(ShapeTool tool) {
  tool_ = tool;
  drag_.reset();
  DropUnfinished();
}

void RecipeEditor::ButtonDown(PixelPoint at, const MapViewport& view) {
  if (drag_) return;
  const UserPoint point = UserPointAt(at, view);
  pointer_ = point;
  switch (tool_) {
    case ShapeTool::kRectangle:
    case ShapeTool::kCircle:
      drag_ = Drag{Drag::Kind::kDraw, point, point};
      return;
    case ShapeTool::kPolygon:
    case ShapeTool::kCorridor:
      Place(point);
      return;
    case ShapeTool::kSelect:
      break;
  }
  const double tolerance = PickTolerance(view);
  const Recipe& recipe = Current();
  if (selected_) {
    const AreaShape& shape = recipe.layers[layer_].areas[*selected_].shape;
    if (const auto handle = HandleAt(shape, point, tolerance)) {
      drag_ = Drag{Drag::Kind::kHandle, point, point, *handle};
      return;
    }
  }
  // The current layer's areas first, the last drawn on top; then the other layers'.
  for (std::size_t pass = 0; pass < 2; ++pass) {
    for (std::size_t l = recipe.layers.size(); l-- > 0;) {
      if ((l == layer_) != (pass == 0)) continue;
      const std::vector<Area>& areas = recipe.layers[l].areas;
      for (std::size_t a = areas.size(); a-- > 0;) {
        if (!Hits(areas[a].shape, point, tolerance)) continue;
        layer_ = l;
        selected_ = a;
        drag_ = Drag{Drag::Kind::kMove, point, point};
        return;
      }
    }
  }
  selected_.reset();
}

void RecipeEditor::PointerMoved(PixelPoint at, const MapViewport& view) {
  pointer_ = UserPointAt(at, view);
  if (drag_) drag_->to = *pointer_;
}

void RecipeEditor::ButtonUp(PixelPoint at, const MapViewport& view) {
  if (!drag_) return;
  drag_->to = UserPointAt(at, view);
  const Drag drag = *drag_;
  const std::optional<AreaShape> live = LiveShape();
  drag_.reset();
  if (drag.kind == Drag::Kind::kDraw) {
    // A drag that spans no area draws nothing.
    if (live) AddArea(*live);
    return;
  }
  if (!live || drag.from == drag.to) return;
  EditLayer([&](Layer& layer) {
    layer.areas[*selected_].shape = *live;
    return true;
  });
}

void RecipeEditor::DoubleClick(PixelPoint at, const MapViewport& view) {
  if (tool_ != ShapeTool::kPolygon && tool_ != ShapeTool::kCorridor) {
    ButtonDown(at, view);
    return;
  }
  Place(UserPointAt(at, view));
  if (tool_ == ShapeTool::kPolygon) {
    ClosePolygon();
  } else {
    FinishCorridorPoints();
  }
}

bool RecipeEditor::KeyPressed(EditorKey key, bool shift, const MapViewport& view) {
  const bool drawing = tool_ != ShapeTool::kSelect;
  const bool unfinished = !points_.empty() || askingWidth_;
  const double step = KeyStep(view.UnitsPerPixel());
  double dx = 0;
  double dy = 0;
  switch (key) {
    case EditorKey::kUndo:
      Undo();
      return true;
    case EditorKey::kRedo:
      Redo();
      return true;
    case EditorKey::kEscape:
      if (drag_) {
        drag_.reset();
        return true;
      }
      if (!unfinished) return false;
      DropUnfinished();
      return true;
    case EditorKey::kBackspace:
      if (askingWidth_) {
        askingWidth_ = false;
      } else if (!points_.empty()) {
        points_.pop_back();
      } else {
        return false;
      }
      return true;
    case EditorKey::kDelete:
      if (!selected_) return false;
      DeleteSelected();
      return true;
    case EditorKey::kSpace:
      if (!drawing) return false;
      if (!cursor_)
        cursor_ = SnappedUserPoint(view.ToMap({view.Width() / 2.0, view.Height() / 2.0}));
      Place(*cursor_);
      return true;
    case EditorKey::kEnter:
      if (tool_ == ShapeTool::kPolygon && unfinished) {
        ClosePolygon();
      } else if (tool_ == ShapeTool::kCorridor && askingWidth_) {
        FinishCorridor(corridorWidth_);
      } else if (tool_ == ShapeTool::kCorridor && unfinished) {
        FinishCorridorPoints();
      } else if (unfinished && cursor_) {
        Place(*cursor_);  // a rectangle's or circle's far corner at the cursor
      } else {
        return false;
      }
      return true;
    case EditorKey::kLeft:
      dx = -step;
      break;
    case EditorKey::kRight:
      dx = step;
      break;
    case EditorKey::kUp:
      dy = step;
      break;
    case EditorKey::kDown:
      dy = -step;
      break;
  }
  if (shift && selected_) {
    EditLayer([&](Layer& layer) {
      layer.areas[*selected_].shape = Moved(layer.areas[*selected_].shape, dx, dy);
      return true;
    });
    return true;
  }
  if (!drawing) return false;
  MoveCursor(dx, dy, view);
  return true;
}

void RecipeEditor::MoveCursor(double dx, double dy, const MapViewport& view) {
  if (!cursor_) {
    // The first press shows the cursor where the user looks.
    cursor_ = SnappedUserPoint(view.ToMap({view.Width() / 2.0, view.Height() / 2.0}));
  } else {
    cursor_ = UserPoint{cursor_->x + dx, cursor_->y + dy};
  }
  pointer_ = cursor_;
}

void RecipeEditor::TypeCorner(std::string_view xText, std::string_view yText) {
  const std::optional<double> x = FieldNumber(xText, std::nullopt);
  const std::optional<double> y = FieldNumber(yText, std::nullopt);
  if (!x || !y) {
    refusal_ = "A corner is two numbers, X and Y, in user units";
    return;
  }
  cursor_ = UserPoint{*x, *y};
  Place(*cursor_);
}

void RecipeEditor::TypeHandle(std::size_t handle, std::string_view xText, std::string_view yText) {
  const std::optional<double> x = FieldNumber(xText, std::nullopt);
  const std::optional<double> y = FieldNumber(yText, std::nullopt);
  if (!x || !y) {
    refusal_ = "A corner is two numbers, X and Y, in user units";
    return;
  }
  if (!selected_) return;
  EditLayer([&](Layer& layer) {
    AreaShape& shape = layer.areas[*selected_].shape;
    if (handle >= HandlesOf(shape).size()) return false;
    shape = WithHandleAt(shape, handle, {*x, *y});
    return true;
  });
}

void RecipeEditor::TypeCorridorWidth(std::string_view text) {
  const std::optional<double> width = FieldNumber(text, std::nullopt);
  if (!width) {
    refusal_ = "The corridor's width must be a number";
    return;
  }
  if (askingWidth_) {
    FinishCorridor(*width);
    return;
  }
  if (!selected_) return;
  EditLayer([&](Layer& layer) {
    auto* corridor = std::get_if<CorridorArea>(&layer.areas[*selected_].shape);
    if (corridor != nullptr) corridor->width = *width;
    return corridor != nullptr;
  });
}

void RecipeEditor::Place(UserPoint at) {
  refusal_.clear();
  switch (tool_) {
    case ShapeTool::kSelect:
      return;
    case ShapeTool::kPolygon:
    case ShapeTool::kCorridor:
      // A point on the last one adds nothing: a double click's first click placed it.
      if (!askingWidth_ && (points_.empty() || !(points_.back() == at))) points_.push_back(at);
      return;
    case ShapeTool::kRectangle:
    case ShapeTool::kCircle:
      break;
  }
  if (points_.empty()) {
    points_.push_back(at);
    return;
  }
  drag_ = Drag{Drag::Kind::kDraw, points_.front(), at};
  const std::optional<AreaShape> shape = LiveShape();
  drag_.reset();
  if (!shape) {
    refusal_ = "The " + std::string(tool_ == ShapeTool::kCircle ? "circle" : "rectangle") +
               " spans no area; move the cursor away from its first point";
    return;
  }
  if (AddArea(*shape)) points_.clear();
}

void RecipeEditor::ClosePolygon() {
  if (points_.size() < 3) {
    refusal_ = "A polygon needs 3 corners or more";
    return;
  }
  // Refused, the corners stay for the user to take back.
  if (AddArea(PolygonArea{points_})) points_.clear();
}

void RecipeEditor::FinishCorridorPoints() {
  if (points_.size() < 2) {
    refusal_ = "A corridor needs 2 points or more";
    return;
  }
  askingWidth_ = true;
}

void RecipeEditor::FinishCorridor(double width) {
  if (AddArea(CorridorArea{points_, width})) {
    corridorWidth_ = width;
    DropUnfinished();
  }
}

void RecipeEditor::DropUnfinished() {
  points_.clear();
  askingWidth_ = false;
}

bool RecipeEditor::AddArea(AreaShape shape) {
  const bool added = EditLayer([&](Layer& layer) {
    layer.areas.push_back({std::move(shape), false});
    return true;
  });
  if (added) selected_ = Current().layers[layer_].areas.size() - 1;
  return added;
}

void RecipeEditor::Select(std::optional<std::size_t> area) {
  const bool valid =
      !area || (layer_ < Current().layers.size() && *area < Current().layers[layer_].areas.size());
  if (valid) selected_ = area;
}

void RecipeEditor::SetExclude(bool exclude) {
  if (!selected_) return;
  EditLayer([&](Layer& layer) {
    layer.areas[*selected_].exclude = exclude;
    return true;
  });
}

void RecipeEditor::DeleteSelected() {
  if (!selected_) return;
  const std::size_t gone = *selected_;
  if (EditLayer([&](Layer& layer) {
        layer.areas.erase(layer.areas.begin() + static_cast<std::ptrdiff_t>(gone));
        return true;
      })) {
    selected_.reset();
  }
}

void RecipeEditor::SetCurrentLayer(std::size_t layer) {
  if (layer >= Current().layers.size() || layer == layer_) return;
  layer_ = layer;
  selected_.reset();
}

void RecipeEditor::AddLayer() {
  Recipe next = Current();
  Layer layer;
  layer.mix = next.layers.empty() ? Mix{ThemeMix{std::string(ThemeListOrder().front())}}
                                  : next.layers[layer_].mix;
  layer.count = kDefaultCount;
  next.layers.push_back(std::move(layer));
  if (Commit(std::move(next))) SetCurrentLayer(Current().layers.size() - 1);
}

void RecipeEditor::RemoveLayer() {
  if (layer_ >= Current().layers.size()) return;
  Recipe next = Current();
  next.layers.erase(next.layers.begin() + static_cast<std::ptrdiff_t>(layer_));
  if (Commit(std::move(next))) {
    selected_.reset();
    Clamp();
  }
}

void RecipeEditor::MoveLayer(bool earlier) {
  const std::size_t count = Current().layers.size();
  if (layer_ >= count || (earlier ? layer_ == 0 : layer_ + 1 == count)) return;
  const std::size_t other = earlier ? layer_ - 1 : layer_ + 1;
  Recipe next = Current();
  std::swap(next.layers[layer_], next.layers[other]);
  if (Commit(std::move(next))) layer_ = other;
}

void RecipeEditor::SetBackground(std::optional<Background> background, bool amend) {
  if (Current().background == background) return;
  // Not through Commit: the reader refuses a recipe without layers, and the boxes' recipe may
  // have none while a picture already lies under the map.
  Recipe next = Current();
  next.background = std::move(background);
  refusal_.clear();
  if (amend) {
    history_.Amend(std::move(next));
  } else {
    history_.Record(std::move(next));
  }
}

void RecipeEditor::SetSeed(std::optional<std::uint32_t> seed) {
  Recipe next = Current();
  next.seed = seed;
  Commit(std::move(next));
}

std::optional<MapRectangle> RecipeEditor::Bounds() const {
  std::optional<MapRectangle> bounds;
  for (const Layer& layer : Current().layers) {
    for (const Area& area : layer.areas) {
      const MapRectangle b = BoundsOf(area.shape);
      const MapRectangle inMap{b.left * kMapUnitsPerUserUnit, b.bottom * kMapUnitsPerUserUnit,
                               b.right * kMapUnitsPerUserUnit, b.top * kMapUnitsPerUserUnit};
      bounds = !bounds
                   ? inMap
                   : MapRectangle{
                         std::min(bounds->left, inMap.left), std::min(bounds->bottom, inMap.bottom),
                         std::max(bounds->right, inMap.right), std::max(bounds->top, inMap.top)};
    }
  }
  return bounds;
}

void RecipeEditor::SetTheme(const std::string& name) {
  EditLayer([&](Layer& layer) {
    layer.mix = ThemeMix{name};
    return true;
  });
}

void RecipeEditor::AddMixRow(std::string_view typeText, std::string_view weightText) {
  const std::optional<double> weight = FieldNumber(weightText, 1);
  if (!weight) {
    refusal_ = "A weight must be a number";
    return;
  }
  EditLayer([&](Layer& layer) {
    if (!std::holds_alternative<WeightedMix>(layer.mix)) layer.mix = WeightedMix{};
    std::get<WeightedMix>(layer.mix).types.push_back({std::string(typeText), *weight});
    return true;
  });
}

void RecipeEditor::EditMixRow(std::size_t row, std::string_view typeText,
                              std::string_view weightText) {
  const std::optional<double> weight = FieldNumber(weightText, 1);
  if (!weight) {
    refusal_ = "A weight must be a number";
    return;
  }
  EditLayer([&](Layer& layer) {
    auto* mix = std::get_if<WeightedMix>(&layer.mix);
    if (mix == nullptr || row >= mix->types.size()) return false;
    mix->types[row] = {std::string(typeText), *weight};
    return true;
  });
}

void RecipeEditor::RemoveMixRow(std::size_t row) {
  EditLayer([&](Layer& layer) {
    auto* mix = std::get_if<WeightedMix>(&layer.mix);
    if (mix == nullptr || row >= mix->types.size()) return false;
    mix->types.erase(mix->types.begin() + static_cast<std::ptrdiff_t>(row));
    return true;
  });
}

void RecipeEditor::SetPattern(Pattern pattern) {
  EditLayer([&](Layer& layer) {
    layer.pattern = pattern;
    if (pattern == Pattern::kEven && !(layer.spacing > 0)) layer.spacing = kDefaultSpacing;
    if (pattern != Pattern::kEven && layer.fill) {
      layer.fill = false;
      layer.count = kDefaultCount;
    }
    if (pattern == Pattern::kClumped) {
      if (layer.clumps < 1) layer.clumps = kDefaultClumps;
      if (!(layer.clumpRadius > 0)) layer.clumpRadius = kDefaultClumpRadius;
    } else {
      layer.clumps = 0;
      layer.clumpRadius = 0;
    }
    return true;
  });
}

void RecipeEditor::SetCountText(std::string_view text) {
  const std::optional<int> count = FieldWholeNumber(text);
  if (!count) {
    refusal_ = "The count must be a whole number";
    return;
  }
  EditLayer([&](Layer& layer) {
    layer.count = *count;
    layer.fill = false;
    return true;
  });
}

void RecipeEditor::SetFill(bool fill) {
  EditLayer([&](Layer& layer) {
    layer.fill = fill;
    layer.count = fill ? 0 : kDefaultCount;
    return true;
  });
}

void RecipeEditor::SetSpacingText(std::string_view text) {
  SetLayerNumber(text, 0, "The spacing must be a number, or empty", &Layer::spacing);
}

void RecipeEditor::SetKeepClearText(std::string_view text) {
  SetLayerNumber(text, 0, "Keep clear must be a number, or empty", &Layer::keepClear);
}

void RecipeEditor::SetClumpsText(std::string_view text) {
  const std::optional<int> clumps = FieldWholeNumber(text);
  if (!clumps) {
    refusal_ = "The clumps must be a whole number";
    return;
  }
  EditLayer([&](Layer& layer) {
    layer.clumps = *clumps;
    return true;
  });
}

void RecipeEditor::SetClumpRadiusText(std::string_view text) {
  SetLayerNumber(text, std::nullopt, "The clump radius must be a number", &Layer::clumpRadius);
}

void RecipeEditor::SetLayerNumber(std::string_view text, std::optional<double> empty,
                                  std::string_view refusal, double Layer::*field) {
  const std::optional<double> value = FieldNumber(text, empty);
  if (!value) {
    refusal_ = refusal;
    return;
  }
  EditLayer([&](Layer& layer) {
    layer.*field = *value;
    return true;
  });
}

bool RecipeEditor::Commit(Recipe next) {
  if (next == Current()) return true;
  std::string problem = CheckRecipe(WithStandInAreas(next));
  if (!problem.empty()) {
    refusal_ = std::move(problem);
    return false;
  }
  refusal_.clear();
  history_.Record(std::move(next));
  return true;
}

bool RecipeEditor::EditLayer(const std::function<bool(Layer&)>& edit) {
  if (layer_ >= Current().layers.size()) {
    refusal_ = "The recipe has no layer; add one first";
    return false;
  }
  Recipe next = Current();
  if (!edit(next.layers[layer_])) return false;
  return Commit(std::move(next));
}

void RecipeEditor::Clamp() {
  const std::vector<Layer>& layers = Current().layers;
  if (layer_ >= layers.size()) {
    layer_ = layers.empty() ? 0 : layers.size() - 1;
    selected_.reset();
  }
  if (selected_ && (layers.empty() || *selected_ >= layers[layer_].areas.size())) {
    selected_.reset();
  }
}

std::optional<AreaShape> RecipeEditor::LiveShape() const {
  if (!drag_) return std::nullopt;
  const UserPoint from = drag_->from;
  const UserPoint to = drag_->to;
  if (drag_->kind == Drag::Kind::kDraw) {
    if (tool_ == ShapeTool::kCircle) {
      const double radius = std::round(Distance(from, to));
      if (!(radius > 0)) return std::nullopt;
      return CircleArea{from, radius};
    }
    if (const auto rectangle = RectangleBetween(from, to)) return *rectangle;
    return std::nullopt;
  }
  if (!selected_) return std::nullopt;
  const AreaShape& shape = Current().layers[layer_].areas[*selected_].shape;
  if (drag_->kind == Drag::Kind::kMove) return Moved(shape, to.x - from.x, to.y - from.y);
  return WithHandleAt(shape, drag_->handle, to);
}

std::vector<PaintedArea> RecipeEditor::Areas() const {
  std::vector<PaintedArea> painted;
  const std::optional<AreaShape> live = LiveShape();
  const bool changing = drag_ && drag_->kind != Drag::Kind::kDraw;
  const std::vector<Layer>& layers = Current().layers;
  for (std::size_t l = 0; l < layers.size(); ++l) {
    for (std::size_t a = 0; a < layers[l].areas.size(); ++a) {
      const bool selected = l == layer_ && selected_ == a;
      PaintedArea area{l, a, layers[l].areas[a], selected, l == layer_};
      if (selected && changing && live) area.area.shape = *live;
      painted.push_back(std::move(area));
    }
  }
  return painted;
}

std::optional<UnfinishedShape> RecipeEditor::Unfinished() const {
  if (drag_ && drag_->kind == Drag::Kind::kDraw) {
    return UnfinishedShape{tool_, {drag_->from, drag_->to}, drag_->to, false};
  }
  if (points_.empty()) return std::nullopt;
  return UnfinishedShape{tool_, points_, askingWidth_ ? std::nullopt : pointer_, askingWidth_};
}

std::vector<ListRow> RecipeEditor::ShapeRows() const {
  std::vector<ListRow> rows;
  if (layer_ >= Current().layers.size()) return rows;
  const std::vector<Area>& areas = Current().layers[layer_].areas;
  for (std::size_t a = 0; a < areas.size(); ++a)
    rows.push_back({AreaName(areas[a], a), selected_ == a});
  return rows;
}

std::vector<ListRow> RecipeEditor::LayerRows() const {
  std::vector<ListRow> rows;
  const std::vector<Layer>& layers = Current().layers;
  for (std::size_t l = 0; l < layers.size(); ++l)
    rows.push_back({LayerName(layers[l], l), l == layer_});
  return rows;
}

std::string RecipeEditor::StatusText() const {
  if (!refusal_.empty()) return refusal_;
  switch (tool_) {
    case ShapeTool::kSelect:
      return selected_ ? "Drag the area or its handles; Del deletes it"
                       : "Click an area to select it";
    case ShapeTool::kRectangle:
      return "Rectangle: drag from corner to corner, or place both corners with Space";
    case ShapeTool::kCircle:
      return "Circle: drag from the centre, or place the centre and the rim with Space";
    case ShapeTool::kPolygon:
      return "Polygon: click the corners; Enter or a double click closes it, Backspace takes "
             "the last corner back, Esc drops it";
    case ShapeTool::kCorridor:
      return askingWidth_ ? "Corridor: type its width, or Enter for " + NumberText(corridorWidth_)
                          : "Corridor: click the points of its line, then Enter";
  }
  return {};
}

}  // namespace bosquell
