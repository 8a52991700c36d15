#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "window_logic/recipe_panel.h"

namespace bosquell {
class MapLogic;
}

namespace bosquell::win32 {

// The side panel's controls, children of the map window beside its picture. Keep clear and
// Spacing keep the ids they had in the map window (MapControlId::KeepClear and ::Spacing).
enum class PanelControlId : int {
  LayersLabel = 400,
  Layers,
  AddLayer,
  RemoveLayer,
  LayerUp,
  LayerDown,
  MixLabel,
  Mix,
  MixRowsLabel,
  MixRows,
  NewTypeId,
  NewWeight,
  AddMixRow,
  RemoveMixRow,
  PatternLabel,
  Pattern,
  CountLabel,
  Count,
  Fill,
  KeepClearLabel,
  SpacingLabel,
  ClumpsLabel,
  Clumps,
  ClumpRadiusLabel,
  ClumpRadius,
  ShapesLabel,
  Shapes,
  Exclude,
};

// The recipe's side panel in the native map window: the layers (each drawn with its colour),
// and the current layer's mix, pattern, count, rules and shapes, with a tooltip on every
// control. The controls show MapLogic::Panel() after every change (Refill); the user's edits go
// to the logic. The map window forwards the messages its children send it.
class RecipeSidePanel {
 public:
  RecipeSidePanel() = default;
  ~RecipeSidePanel();
  RecipeSidePanel(const RecipeSidePanel&) = delete;
  RecipeSidePanel& operator=(const RecipeSidePanel&) = delete;

  void Connect(MapLogic* logic) { logic_ = logic; }
  // Creates the controls in their tab order, where the parent's tab order has come to.
  void Create(HWND parent, HINSTANCE instance);
  void SetFont(HFONT font, UINT dpi);
  // Places the controls in `column` (parent's client pixels).
  void Layout(const RECT& column, UINT dpi);
  // The width the panel takes at this dpi.
  static int Width(UINT dpi);

  // A tooltip for a control of the parent window.
  void AddTooltip(HWND control, const wchar_t* text);

  // WM_COMMAND from one of the panel's controls; false for any other id.
  bool OnCommand(int id, int code);
  // Enter in a field: what was typed is done, as when the field is left.
  void EnterPressed(HWND focus);
  // WM_DRAWITEM for the layer list's rows; false for another control.
  bool OnDrawItem(const DRAWITEMSTRUCT& item);
  // WM_VKEYTOITEM: Del on the shape list deletes the selected area.
  std::optional<LRESULT> OnListKey(WPARAM wParam, HWND list);

  void Refill();

 private:
  HWND Item(PanelControlId id) const;
  HWND Item(int id) const { return GetDlgItem(parent_, id); }
  void Edit(const std::function<void(RecipeEditor&)>& change);
  void FieldLeft(HWND field);
  void RefillField(int id, const std::string& text, bool enabled);
  void RefillList(PanelControlId id, const std::vector<ListRow>& rows,
                  const std::vector<ListRow>& shown);
  void MixChosen();

  MapLogic* logic_ = nullptr;
  HWND parent_ = nullptr;
  HWND tooltips_ = nullptr;
  RecipePanel shown_;
  bool filled_ = false;
  int quiet_ = 0;          // > 0 while the panel itself sets its controls
  HWND typing_ = nullptr;  // the field the user is typing in
};

}  // namespace bosquell::win32
