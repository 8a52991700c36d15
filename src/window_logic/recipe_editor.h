#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/map_scene.h"
#include "map/map_viewport.h"
#include "recipe/recipe.h"
#include "window_logic/edit_history.h"

namespace bosquell {

// What a click or drag on the picture does.
enum class ShapeTool { kSelect, kRectangle, kPolygon, kCircle, kCorridor };

// The keys the editor takes; Ctrl+Z and Ctrl+Y arrive as kUndo and kRedo.
enum class EditorKey {
  kEnter,
  kEscape,
  kBackspace,
  kDelete,
  kSpace,
  kLeft,
  kRight,
  kUp,
  kDown,
  kUndo,
  kRedo,
};

// An area as the picture paints it: filled when an include, hatched when an exclude, in its
// layer's colour, with handles when selected.
struct PaintedArea {
  std::size_t layer = 0;
  std::size_t index = 0;  // among its layer's areas
  Area area;
  bool selected = false;
  bool currentLayer = false;
};

// The shape being drawn: its points so far and the pointer's, for the line to the next point.
struct UnfinishedShape {
  ShapeTool tool = ShapeTool::kPolygon;
  std::vector<UserPoint> points;
  std::optional<UserPoint> pointer;
  bool askingWidth = false;  // a corridor's points are done; its width comes next
};

// A row of the shape list or of the layer list: its text, which is also what a screen reader
// says, and whether it is the selected one.
struct ListRow {
  std::string name;
  bool selected = false;
  bool operator==(const ListRow&) const = default;
};

// The colour a layer's areas and handles are drawn in.
Rgb LayerColor(std::size_t layer);

// The map's recipe editor, free of any toolkit: the drawing tools, the selection, the layers and
// their fields, with undo and redo of every edit. Every edit is held to the recipe reader's
// rules (CheckRecipe): an edit the reader would refuse leaves the recipe as it was and gives the
// reader's message. The one state the reader refuses that an editor must allow is a layer with
// nothing to draw in yet: it is kept, and saving it is refused.
class RecipeEditor {
 public:
  explicit RecipeEditor(Recipe start = {});

  // A recipe opened or made new: the history starts again, nothing is selected.
  void Reset(Recipe start);
  const Recipe& Current() const { return history_.Current(); }
  EditHistory& History() { return history_; }
  const EditHistory& History() const { return history_; }
  bool Undo();
  bool Redo();

  // Picking a tool drops a shape being drawn.
  void SetTool(ShapeTool tool);
  ShapeTool Tool() const { return tool_; }

  // The left button on the picture, in its pixels, with the viewport that maps them. A tool's
  // double click arrives in place of the second button down.
  void ButtonDown(PixelPoint at, const MapViewport& view);
  void PointerMoved(PixelPoint at, const MapViewport& view);
  void ButtonUp(PixelPoint at, const MapViewport& view);
  void DoubleClick(PixelPoint at, const MapViewport& view);
  // The window lost the pointer: a drag in progress changes nothing.
  void CaptureLost() { drag_.reset(); }
  bool Dragging() const { return drag_.has_value(); }
  // False when the key is none of the editor's in this state (the map pans, closes, ...).
  // Arrows move the keyboard cursor while a drawing tool is picked; Shift+arrows move the
  // selected area. Steps follow the zoom.
  bool KeyPressed(EditorKey key, bool shift, const MapViewport& view);
  // The corner typed in user units, placed as Space places the cursor's.
  void TypeCorner(std::string_view xText, std::string_view yText);
  // Handle `handle` of the selected area (see HandlesOf) moved to the typed point.
  void TypeHandle(std::size_t handle, std::string_view xText, std::string_view yText);
  // The width of the corridor being drawn, or of the selected corridor.
  void TypeCorridorWidth(std::string_view text);

  // The selected area of the current layer.
  std::optional<std::size_t> Selected() const { return selected_; }
  void Select(std::optional<std::size_t> area);
  void SetExclude(bool exclude);
  void DeleteSelected();

  std::size_t CurrentLayer() const { return layer_; }
  void SetCurrentLayer(std::size_t layer);
  void AddLayer();
  void RemoveLayer();
  // Moves the current layer one place earlier (drawn before) or later.
  void MoveLayer(bool earlier);

  // The picture under the map, or none; the caller has checked its corners. `amend` makes it
  // one edit with the last one (see EditHistory::Amend).
  void SetBackground(std::optional<Background> background, bool amend = false);

  // The seed the preview shows, saved with the recipe; none takes the clock's at each run.
  void SetSeed(std::optional<std::uint32_t> seed);

  // The current layer's fields, as typed; a text that is no number, or a value the reader
  // refuses, leaves the layer as it was and gives why.
  void SetTheme(const std::string& name);
  // Own ids with weights; adding to a theme's mix makes it one of own ids.
  void AddMixRow(std::string_view typeText, std::string_view weightText);
  void EditMixRow(std::size_t row, std::string_view typeText, std::string_view weightText);
  void RemoveMixRow(std::size_t row);
  // A pattern that needs a field the layer lacks gets a default for it; fields a pattern does
  // not have are cleared.
  void SetPattern(Pattern pattern);
  void SetCountText(std::string_view text);
  void SetFill(bool fill);
  void SetSpacingText(std::string_view text);
  void SetKeepClearText(std::string_view text);
  void SetClumpsText(std::string_view text);
  void SetClumpRadiusText(std::string_view text);

  // What the picture and the lists show. Areas come in drawing order, a drag's live shape in
  // place of the area it changes.
  std::vector<PaintedArea> Areas() const;
  std::optional<UnfinishedShape> Unfinished() const;
  std::optional<UserPoint> Cursor() const { return cursor_; }
  // All areas together, in map units, for a fit that shows them; none without areas.
  std::optional<MapRectangle> Bounds() const;
  std::vector<ListRow> ShapeRows() const;
  std::vector<ListRow> LayerRows() const;
  // Why the last edit was refused, until the next one is made; else what the tool expects.
  std::string StatusText() const;
  const std::string& Refusal() const { return refusal_; }

 private:
  struct Drag {
    enum class Kind { kDraw, kMove, kHandle } kind;
    UserPoint from;
    UserPoint to;
    std::size_t handle = 0;
  };

  // Records `next` when the reader would take it; else keeps the recipe and the refusal.
  bool Commit(Recipe next);
  // The current layer, in a copy of the recipe to edit; nothing (and a refusal) when the recipe
  // has no layer.
  bool EditLayer(const std::function<bool(Layer&)>& edit);
  bool AddArea(AreaShape shape);
  // A number field of the current layer, as typed; `empty` is what an empty field means.
  void SetLayerNumber(std::string_view text, std::optional<double> empty, std::string_view refusal,
                      double Layer::*field);
  void Place(UserPoint at);
  void ClosePolygon();
  void FinishCorridorPoints();
  void FinishCorridor(double width);
  void DropUnfinished();
  // Keeps the current layer and the selection within the recipe after an undo or a removal.
  void Clamp();
  std::optional<AreaShape> LiveShape() const;
  void MoveCursor(double dx, double dy, const MapViewport& view);

  EditHistory history_;
  ShapeTool tool_ = ShapeTool::kSelect;
  std::size_t layer_ = 0;
  std::optional<std::size_t> selected_;
  std::optional<Drag> drag_;
  std::vector<UserPoint> points_;  // of the shape being drawn
  bool askingWidth_ = false;
  std::optional<UserPoint> pointer_;
  std::optional<UserPoint> cursor_;
  double corridorWidth_ = 10;  // the width Enter gives a corridor: the last one typed
  std::string refusal_;
};

}  // namespace bosquell
