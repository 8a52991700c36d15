#include "win32/recipe_side_panel.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "recipe/recipe_text.h"
#include "win32/map_window.h"
#include "win32/wide_text.h"
#include "win32/window_setup.h"
#include "window_logic/map_logic.h"

namespace bosquell::win32 {
namespace {

// Sizes at 96 dpi.
constexpr int kPanelWidth = 236;
constexpr int kLabelWidth = 84;
constexpr int kRowHeight = 23;
constexpr int kLabelHeight = 16;
constexpr int kGap = 4;
constexpr int kDropDownHeight = 200;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_CENTERIMAGE;
constexpr DWORD kField = kChild | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kList = kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kCombo = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;

constexpr int kKeepClear = static_cast<int>(MapControlId::KeepClear);
constexpr int kSpacing = static_cast<int>(MapControlId::Spacing);

constexpr int Id(PanelControlId id) {
  return static_cast<int>(id);
}

struct PanelSpec {
  int id;
  const wchar_t* windowClass;
  DWORD style;
  const wchar_t* text;
  const wchar_t* name;  // for screen readers; labels have none
  const wchar_t* tip;
};

// In creation order, which is the tab order; a label comes just before its control, so that
// its access key reaches that control.
const PanelSpec kPanel[] = {
    {Id(PanelControlId::LayersLabel), WC_STATICW, kLabel, L"&Layers:", nullptr, nullptr},
    {Id(PanelControlId::Layers), WC_LISTBOXW, kList | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, L"",
     L"Layers", L"The recipe's layers, drawn in this order; the selected one is edited"},
    {Id(PanelControlId::AddLayer), WC_BUTTONW, kButton, L"Add", L"Add layer",
     L"Adds a layer after the last one"},
    {Id(PanelControlId::RemoveLayer), WC_BUTTONW, kButton, L"Remove", L"Remove layer",
     L"Removes the selected layer"},
    {Id(PanelControlId::LayerUp), WC_BUTTONW, kButton, L"Up", L"Move layer up",
     L"Draws the selected layer earlier"},
    {Id(PanelControlId::LayerDown), WC_BUTTONW, kButton, L"Down", L"Move layer down",
     L"Draws the selected layer later"},
    {Id(PanelControlId::MixLabel), WC_STATICW, kLabel, L"&Mix:", nullptr, nullptr},
    {Id(PanelControlId::Mix), WC_COMBOBOXW, kCombo, L"", L"Mix",
     L"A built-in tree theme, or own type ids with weights"},
    {Id(PanelControlId::MixRowsLabel), WC_STATICW, kLabel, L"Own &ids:", nullptr, nullptr},
    {Id(PanelControlId::MixRows), WC_LISTBOXW, kList | LBS_USETABSTOPS, L"", L"Own ids and weights",
     L"Type ids and their weights: a type is drawn in proportion to its weight"},
    {Id(PanelControlId::NewTypeId), WC_EDITW, kField, L"", L"New row's type id",
     L"The type id of the row to add"},
    {Id(PanelControlId::NewWeight), WC_EDITW, kField, L"", L"New row's weight",
     L"Its weight; empty is 1"},
    {Id(PanelControlId::AddMixRow), WC_BUTTONW, kButton, L"Add row", L"Add row",
     L"Adds the type id with its weight"},
    {Id(PanelControlId::RemoveMixRow), WC_BUTTONW, kButton, L"Remove row", L"Remove row",
     L"Removes the selected row"},
    {Id(PanelControlId::PatternLabel), WC_STATICW, kLabel, L"Patter&n:", nullptr, nullptr},
    {Id(PanelControlId::Pattern), WC_COMBOBOXW, kCombo, L"", L"Pattern",
     L"uniform: anywhere in the area; even: no two closer than the spacing; clumped: around "
     L"clump centres"},
    {Id(PanelControlId::CountLabel), WC_STATICW, kLabel, L"&Count:", nullptr, nullptr},
    {Id(PanelControlId::Count), WC_EDITW, kField, L"", L"Count",
     L"How many objects the layer draws"},
    {Id(PanelControlId::Fill), WC_BUTTONW, kCheck, L"&Fill", L"Fill",
     L"\"even\" only: as many objects as fit"},
    {Id(PanelControlId::KeepClearLabel), WC_STATICW, kLabel, L"&Keep clear:", nullptr, nullptr},
    {kKeepClear, WC_EDITW, kField, L"", L"Keep clear distance",
     L"From the mission's objects and earlier layers', in user units; empty or 0 is off"},
    {Id(PanelControlId::SpacingLabel), WC_STATICW, kLabel, L"S&pacing:", nullptr, nullptr},
    {kSpacing, WC_EDITW, kField, L"", L"Spacing distance",
     L"No two objects of the layer closer, in user units; empty or 0 is off"},
    {Id(PanelControlId::ClumpsLabel), WC_STATICW, kLabel, L"Cl&umps:", nullptr, nullptr},
    {Id(PanelControlId::Clumps), WC_EDITW, kField, L"", L"Clumps",
     L"\"clumped\" only: how many clumps"},
    {Id(PanelControlId::ClumpRadiusLabel), WC_STATICW, kLabel, L"Clump ra&dius:", nullptr, nullptr},
    {Id(PanelControlId::ClumpRadius), WC_EDITW, kField, L"", L"Clump radius",
     L"\"clumped\" only: in user units"},
    {Id(PanelControlId::ShapesLabel), WC_STATICW, kLabel, L"&Shapes:", nullptr, nullptr},
    {Id(PanelControlId::Shapes), WC_LISTBOXW, kList | LBS_WANTKEYBOARDINPUT, L"", L"Shapes",
     L"The current layer's areas; Del deletes the selected one"},
    {Id(PanelControlId::Exclude), WC_BUTTONW, kCheck, L"E&xclude", L"Exclude",
     L"Checked, the selected area is kept clear; else objects are drawn in it"},
};

// The number fields, and what each one sets.
struct NumberField {
  int id;
  PanelField field;
};
constexpr NumberField kNumberFields[] = {
    {Id(PanelControlId::Count), PanelField::kCount},
    {kKeepClear, PanelField::kKeepClear},
    {kSpacing, PanelField::kSpacing},
    {Id(PanelControlId::Clumps), PanelField::kClumps},
    {Id(PanelControlId::ClumpRadius), PanelField::kClumpRadius},
};

int Scaled(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

int Selection(HWND list) {
  return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

std::vector<ListRow> MixRowsAsList(const std::vector<MixRowTexts>& rows) {
  std::vector<ListRow> list;
  for (const MixRowTexts& row : rows) list.push_back({row.typeId + "\t" + row.weight, false});
  return list;
}

}  // namespace

RecipeSidePanel::~RecipeSidePanel() {
  if (tooltips_ != nullptr) DestroyWindow(tooltips_);
}

void RecipeSidePanel::Create(HWND parent, HINSTANCE instance) {
  parent_ = parent;
  tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                              nullptr, instance, nullptr);
  std::vector<std::pair<int, const wchar_t*>> named;
  for (const PanelSpec& entry : kPanel) {
    HWND control =
        CreateWindowExW(std::wstring_view(entry.windowClass) == WC_EDITW ||
                                std::wstring_view(entry.windowClass) == WC_LISTBOXW
                            ? WS_EX_CLIENTEDGE
                            : 0,
                        entry.windowClass, entry.text, entry.style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
    if (entry.name != nullptr) named.emplace_back(entry.id, entry.name);
    if (entry.tip != nullptr) AddTooltip(control, entry.tip);
  }
  SetAccessibleNames(parent, named);
  for (const std::string& choice : MixChoices()) {
    SendMessageW(Item(PanelControlId::Mix), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Wide(choice).c_str()));
  }
  for (const Pattern pattern : kPatterns) {
    SendMessageW(Item(PanelControlId::Pattern), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Wide(PatternName(pattern)).c_str()));
  }
  SendMessageW(Item(PanelControlId::NewTypeId), EM_SETCUEBANNER, FALSE,
               reinterpret_cast<LPARAM>(L"Type id"));
  SendMessageW(Item(PanelControlId::NewWeight), EM_SETCUEBANNER, FALSE,
               reinterpret_cast<LPARAM>(L"Weight"));
}

void RecipeSidePanel::AddTooltip(HWND control, const wchar_t* text) {
  if (tooltips_ == nullptr || control == nullptr) return;
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(text);  // the tooltip only reads it
  SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void RecipeSidePanel::SetFont(HFONT font, UINT dpi) {
  for (const PanelSpec& entry : kPanel) {
    SendMessageW(Item(entry.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  SendMessageW(Item(PanelControlId::Layers), LB_SETITEMHEIGHT, 0, Scaled(kLabelHeight + 2, dpi));
  // The own ids' weights line up after the type ids (in dialog units).
  const int stop = 40;
  SendMessageW(Item(PanelControlId::MixRows), LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
  if (tooltips_ != nullptr) SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
}

int RecipeSidePanel::Width(UINT dpi) {
  return Scaled(kPanelWidth, dpi);
}

// Top to bottom: the layers, the mix, the fields, the shapes. The three lists share what height
// the rest leaves, the shapes twice as much as each of the others.
void RecipeSidePanel::Layout(const RECT& column, UINT dpi) {
  const int row = Scaled(kRowHeight, dpi);
  const int labelHeight = Scaled(kLabelHeight, dpi);
  const int gap = Scaled(kGap, dpi);
  const int labelWidth = Scaled(kLabelWidth, dpi);
  const int left = column.left;
  const int width = column.right - column.left;
  const int fixed = 3 * labelHeight + 11 * row + 16 * gap;
  const int lists = std::max<int>(column.bottom - column.top - fixed, 6 * row);
  const int shortList = lists / 4;
  int top = column.top;
  HDWP positions = BeginDeferWindowPos(static_cast<int>(std::size(kPanel)));
  const auto place = [&](int id, int x, int w, int h) {
    positions =
        DeferWindowPos(positions, Item(id), nullptr, x, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const auto whole = [&](PanelControlId id, int h) {
    place(Id(id), left, width, h);
    top += h + gap;
  };
  // Controls side by side, in equal parts of the width.
  const auto across = [&](std::initializer_list<int> ids) {
    const int count = static_cast<int>(ids.size());
    const int part = (width - (count - 1) * gap) / count;
    int x = left;
    for (const int id : ids) {
      place(id, x, part, row);
      x += part + gap;
    }
    top += row + gap;
  };
  // A label on the left, its control on the right; a drop-down list gets room to open.
  const auto labelled = [&](int label, int id, int controlWidth, int height) {
    place(label, left, labelWidth, row);
    place(id, left + labelWidth, controlWidth, height);
  };
  const int fieldWidth = width - labelWidth;

  whole(PanelControlId::LayersLabel, labelHeight);
  whole(PanelControlId::Layers, shortList);
  across({Id(PanelControlId::AddLayer), Id(PanelControlId::RemoveLayer),
          Id(PanelControlId::LayerUp), Id(PanelControlId::LayerDown)});
  labelled(Id(PanelControlId::MixLabel), Id(PanelControlId::Mix), fieldWidth,
           Scaled(kDropDownHeight, dpi));
  top += row + gap;
  whole(PanelControlId::MixRowsLabel, labelHeight);
  whole(PanelControlId::MixRows, shortList);
  across({Id(PanelControlId::NewTypeId), Id(PanelControlId::NewWeight)});
  across({Id(PanelControlId::AddMixRow), Id(PanelControlId::RemoveMixRow)});
  labelled(Id(PanelControlId::PatternLabel), Id(PanelControlId::Pattern), fieldWidth,
           Scaled(kDropDownHeight, dpi));
  top += row + gap;
  const int checkWidth = Scaled(56, dpi);
  labelled(Id(PanelControlId::CountLabel), Id(PanelControlId::Count), fieldWidth - checkWidth - gap,
           row);
  place(Id(PanelControlId::Fill), column.right - checkWidth, checkWidth, row);
  top += row + gap;
  const std::pair<PanelControlId, int> fields[] = {
      {PanelControlId::KeepClearLabel, kKeepClear},
      {PanelControlId::SpacingLabel, kSpacing},
      {PanelControlId::ClumpsLabel, Id(PanelControlId::Clumps)},
      {PanelControlId::ClumpRadiusLabel, Id(PanelControlId::ClumpRadius)},
  };
  for (const auto& [label, id] : fields) {
    labelled(Id(label), id, fieldWidth, row);
    top += row + gap;
  }
  whole(PanelControlId::ShapesLabel, labelHeight);
  whole(PanelControlId::Shapes, lists - 2 * shortList);
  whole(PanelControlId::Exclude, row);
  EndDeferWindowPos(positions);
}

bool RecipeSidePanel::OnCommand(int id, int code) {
  const auto number = std::find_if(std::begin(kNumberFields), std::end(kNumberFields),
                                   [id](const NumberField& field) { return field.id == id; });
  if (number != std::end(kNumberFields)) {
    HWND field = Item(id);
    if (code == EN_CHANGE && quiet_ == 0 && logic_ != nullptr) {
      typing_ = field;
      logic_->FieldTyped(number->field, TextOf(field));
      Refill();
    } else if (code == EN_KILLFOCUS) {
      FieldLeft(field);
    }
    return true;
  }
  if (id < Id(PanelControlId::LayersLabel) || id > Id(PanelControlId::Exclude)) return false;
  if (logic_ == nullptr || quiet_ > 0) return true;
  const auto command = static_cast<PanelControlId>(id);
  const bool clicked = code == BN_CLICKED;
  const bool picked = code == LBN_SELCHANGE || code == CBN_SELCHANGE;
  switch (command) {
    case PanelControlId::Layers:
      if (const int layer = Selection(Item(id)); picked && layer >= 0) {
        Edit([layer](RecipeEditor& editor) { editor.SetCurrentLayer(layer); });
      }
      break;
    case PanelControlId::AddLayer:
      if (clicked) Edit([](RecipeEditor& editor) { editor.AddLayer(); });
      break;
    case PanelControlId::RemoveLayer:
      if (clicked) Edit([](RecipeEditor& editor) { editor.RemoveLayer(); });
      break;
    case PanelControlId::LayerUp:
    case PanelControlId::LayerDown:
      if (clicked) {
        const bool earlier = command == PanelControlId::LayerUp;
        Edit([earlier](RecipeEditor& editor) { editor.MoveLayer(earlier); });
      }
      break;
    case PanelControlId::Mix:
      if (picked) MixChosen();
      break;
    case PanelControlId::AddMixRow:
      if (clicked) {
        const std::string type = TextOf(Item(PanelControlId::NewTypeId));
        const std::string weight = TextOf(Item(PanelControlId::NewWeight));
        const std::size_t before = logic_->Panel().mixRows.size();
        Edit([&](RecipeEditor& editor) { editor.AddMixRow(type, weight); });
        if (logic_->Panel().mixRows.size() > before) {
          SetWindowTextW(Item(PanelControlId::NewTypeId), L"");
        }
      }
      break;
    case PanelControlId::RemoveMixRow:
      if (clicked) {
        const int selected = Selection(Item(PanelControlId::MixRows));
        const int row = selected >= 0 ? selected : static_cast<int>(shown_.mixRows.size()) - 1;
        if (row >= 0) Edit([row](RecipeEditor& editor) { editor.RemoveMixRow(row); });
      }
      break;
    case PanelControlId::Pattern:
      if (const auto index = SendMessageW(Item(id), CB_GETCURSEL, 0, 0);
          picked && index >= 0 && index < static_cast<LRESULT>(std::size(kPatterns))) {
        Edit([index](RecipeEditor& editor) { editor.SetPattern(kPatterns[index]); });
      }
      break;
    case PanelControlId::Fill:
      if (clicked) {
        const bool fill = SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
        Edit([fill](RecipeEditor& editor) { editor.SetFill(fill); });
      }
      break;
    case PanelControlId::Shapes:
      if (picked) {
        const int area = Selection(Item(id));
        Edit([area](RecipeEditor& editor) {
          editor.Select(area >= 0 ? std::optional<std::size_t>(area) : std::nullopt);
        });
      }
      break;
    case PanelControlId::Exclude:
      if (clicked) {
        logic_->SetExclude(SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED);
        Refill();
      }
      break;
    default:
      break;
  }
  return true;
}

void RecipeSidePanel::EnterPressed(HWND focus) {
  FieldLeft(focus);
}

void RecipeSidePanel::FieldLeft(HWND field) {
  if (field == nullptr || field != typing_) return;
  typing_ = nullptr;
  if (logic_ != nullptr) logic_->FieldLeft();
  Refill();
}

bool RecipeSidePanel::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (static_cast<int>(item.CtlID) != Id(PanelControlId::Layers)) return false;
  if (item.itemID == static_cast<UINT>(-1)) return true;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  // The swatch: a square of the layer's colour at the row's start.
  const int side = item.rcItem.bottom - item.rcItem.top - 4;
  const Rgb color = LayerColor(item.itemID);
  HBRUSH swatch = CreateSolidBrush(RGB(color.red, color.green, color.blue));
  RECT square{item.rcItem.left + 2, item.rcItem.top + 2, item.rcItem.left + 2 + side,
              item.rcItem.top + 2 + side};
  FillRect(item.hDC, &square, swatch);
  DeleteObject(swatch);
  const auto length = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
  std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
  SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
  RECT words = item.rcItem;
  words.left = square.right + 4;
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &words,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
  return true;
}

std::optional<LRESULT> RecipeSidePanel::OnListKey(WPARAM wParam, HWND list) {
  if (list != Item(PanelControlId::Shapes)) return std::nullopt;
  if (LOWORD(wParam) != VK_DELETE || logic_ == nullptr) return -1;  // the list's own handling
  Edit([](RecipeEditor& editor) { editor.DeleteSelected(); });
  return -2;
}

HWND RecipeSidePanel::Item(PanelControlId id) const {
  return GetDlgItem(parent_, Id(id));
}

void RecipeSidePanel::Edit(const std::function<void(RecipeEditor&)>& change) {
  logic_->EditRecipe(change);
  Refill();  // a refused change puts the control back, also while the map is closed
}

void RecipeSidePanel::MixChosen() {
  const auto index = SendMessageW(Item(PanelControlId::Mix), CB_GETCURSEL, 0, 0);
  const std::vector<std::string> choices = MixChoices();
  if (index < 0 || index >= static_cast<LRESULT>(choices.size())) return;
  const std::string& choice = choices[static_cast<std::size_t>(index)];
  if (choice != kOwnIdsChoice) {
    Edit([&](RecipeEditor& editor) { editor.SetTheme(choice); });
  } else if (shown_.mixChoice != kOwnIdsChoice) {
    // Own ids start from the theme's first type id; the user adds more.
    const std::string first = FirstTypeIdOf(shown_.mixChoice);
    Edit([&](RecipeEditor& editor) { editor.AddMixRow(first, "1"); });
  }
}

void RecipeSidePanel::RefillField(int id, const std::string& text, bool enabled) {
  HWND field = Item(id);
  EnableWindow(field, enabled ? TRUE : FALSE);
  if (field == typing_) return;
  if (!FieldShows(TextOf(field), text)) SetWindowTextW(field, Wide(text).c_str());
}

void RecipeSidePanel::RefillList(PanelControlId id, const std::vector<ListRow>& rows,
                                 const std::vector<ListRow>& shown) {
  HWND list = Item(id);
  bool same = SendMessageW(list, LB_GETCOUNT, 0, 0) == static_cast<LRESULT>(rows.size()) &&
              rows.size() == shown.size();
  for (std::size_t i = 0; same && i < rows.size(); ++i) same = rows[i].name == shown[i].name;
  if (!same) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const ListRow& row : rows) {
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(row.name).c_str()));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
  }
  const auto selected =
      std::find_if(rows.begin(), rows.end(), [](const ListRow& row) { return row.selected; });
  const int index = selected == rows.end() ? -1 : static_cast<int>(selected - rows.begin());
  if (id == PanelControlId::MixRows) return;  // a row there is picked only for removing
  if (Selection(list) != index) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void RecipeSidePanel::Refill() {
  if (parent_ == nullptr || logic_ == nullptr) return;
  const RecipePanel panel = logic_->Panel();
  const PanelEnabled& on = panel.enabled;
  const RecipePanel none;
  const RecipePanel& shown = filled_ ? shown_ : none;
  ++quiet_;
  RefillList(PanelControlId::Layers, panel.layers, shown.layers);
  RefillList(PanelControlId::Shapes, panel.shapes, shown.shapes);
  RefillList(PanelControlId::MixRows, MixRowsAsList(panel.mixRows), MixRowsAsList(shown.mixRows));
  const std::vector<std::string> choices = MixChoices();
  const auto choice = std::find(choices.begin(), choices.end(), panel.mixChoice);
  SendMessageW(Item(PanelControlId::Mix), CB_SETCURSEL,
               choice == choices.end() ? static_cast<WPARAM>(-1)
                                       : static_cast<WPARAM>(choice - choices.begin()),
               0);
  SendMessageW(Item(PanelControlId::Pattern), CB_SETCURSEL, static_cast<WPARAM>(panel.pattern), 0);
  SendMessageW(Item(PanelControlId::Fill), BM_SETCHECK, panel.fill ? BST_CHECKED : BST_UNCHECKED,
               0);
  SendMessageW(Item(PanelControlId::Exclude), BM_SETCHECK,
               panel.selectedExcludes ? BST_CHECKED : BST_UNCHECKED, 0);
  RefillField(Id(PanelControlId::Count), panel.count, on.layerFields && on.count);
  RefillField(kKeepClear, panel.keepClear, on.rules);
  RefillField(kSpacing, panel.spacing, on.rules);
  RefillField(Id(PanelControlId::Clumps), panel.clumps, on.clumps);
  RefillField(Id(PanelControlId::ClumpRadius), panel.clumpRadius, on.clumps);
  const std::pair<PanelControlId, bool> enabled[] = {
      {PanelControlId::Mix, on.layerFields},
      {PanelControlId::Pattern, on.layerFields},
      {PanelControlId::NewTypeId, on.layerFields},
      {PanelControlId::NewWeight, on.layerFields},
      {PanelControlId::AddMixRow, on.layerFields},
      {PanelControlId::MixRows, panel.mixChoice == kOwnIdsChoice},
      {PanelControlId::RemoveMixRow, on.removeMixRow},
      {PanelControlId::Fill, on.fill},
      {PanelControlId::RemoveLayer, on.removeLayer},
      {PanelControlId::LayerUp, on.layerUp},
      {PanelControlId::LayerDown, on.layerDown},
      {PanelControlId::Shapes, on.layerFields},
      {PanelControlId::Exclude, on.inclusion},
  };
  for (const auto& [id, enable] : enabled) EnableWindow(Item(id), enable ? TRUE : FALSE);
  // A button that went off under the focus ("Up" on the first layer) hands it to the next.
  HWND focus = GetFocus();
  if (focus != nullptr && GetParent(focus) == parent_ && !IsWindowEnabled(focus)) {
    SetFocus(GetNextDlgTabItem(parent_, focus, FALSE));
  }
  --quiet_;
  shown_ = panel;
  filled_ = true;
}

}  // namespace bosquell::win32
