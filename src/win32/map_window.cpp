#include "win32/map_window.h"

#include <commctrl.h>
#include <commdlg.h>
#include <oleacc.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "win32/control_tooltips.h"
#include "win32/form1_controls.h"
#include "win32/form1_window.h"
#include "win32/text_prompt.h"
#include "win32/wide_text.h"
#include "win32/window_beside.h"
#include "win32/window_setup.h"
#include "window_logic/map_logic.h"
#include "window_logic/window_texts.h"

namespace bosquell::win32 {
namespace {

constexpr wchar_t kClassName[] = L"BosquellMap";
constexpr wchar_t kPictureClassName[] = L"BosquellMapPicture";
constexpr wchar_t kTitle[] = L"Bosquell map";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// Tab and Shift+Tab move between the picture and the controls, as in a dialog.
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

// Sizes at 96 dpi.
constexpr int kClientWidth = 960;
constexpr int kClientHeight = 600;
constexpr int kMinimumWidth = 600;
constexpr int kMinimumHeight = 560;  // the side panel's fields and a few rows of its lists
constexpr int kGap = 6;
constexpr int kRowHeight = 23;
constexpr int kStatusHeight = 20;
constexpr int kButtonWidth = 80;
constexpr int kSliderWidth = 100;
// Posted when a spot has been picked on the picture: its position is asked after the click.
constexpr UINT kAskPositionMessage = WM_APP + 1;
// The picture's texts: the map logic lays them out for a font about this many pixels high.
constexpr int kPictureFontPixels = 12;

struct ControlSpec {
  MapControlId id;
  const wchar_t* windowClass;
  DWORD style;
  DWORD exStyle;
  const wchar_t* text;
  const wchar_t* accessibleName;
  int width;  // at 96 dpi, in the row of controls; 0: the picture or the status line
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

// In creation order, which is the tab order.
constexpr ControlSpec kControls[] = {
    {MapControlId::Picture, kPictureClassName, kChild | WS_TABSTOP, 0, L"Map",
     L"Map of the mission: drag to draw the scatter area", 0},
    // Alt+R is the "&Recipe" menu's; R on the picture rerolls.
    {MapControlId::Reroll, WC_BUTTONW, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, L"Reroll", L"Reroll",
     kButtonWidth},
    {MapControlId::OpacityLabel, WC_STATICW, kChild | SS_RIGHT | SS_CENTERIMAGE, 0, L"&Opacity:",
     nullptr, 56},
    {MapControlId::Opacity, TRACKBAR_CLASSW, kChild | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, 0, L"",
     L"Background opacity", kSliderWidth},
    {MapControlId::Status, WC_STATICW,
     kChild | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX | SS_ENDELLIPSIS, WS_EX_STATICEDGE,
     L"", L"Map status", 0},
};

int Scaled(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

PixelPoint PointOf(LPARAM lParam) {
  return {static_cast<double>(GET_X_LPARAM(lParam)), static_cast<double>(GET_Y_LPARAM(lParam))};
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

MapButton ButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return MapButton::kLeft;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return MapButton::kRight;
    default:
      return MapButton::kMiddle;
  }
}

bool KeyDown(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

// The picture paints every pixel itself and shows a cross for drawing the area.
void RegisterPictureClass(HINSTANCE instance, WNDPROC picture) {
  WNDCLASSEXW pictureClass{};
  if (GetClassInfoExW(instance, kPictureClassName, &pictureClass)) return;
  pictureClass = WNDCLASSEXW{};
  pictureClass.cbSize = sizeof pictureClass;
  pictureClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  pictureClass.lpfnWndProc = picture;
  pictureClass.hInstance = instance;
  pictureClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
  pictureClass.hbrBackground = nullptr;
  pictureClass.lpszClassName = kPictureClassName;
  RegisterClassExW(&pictureClass);
}

void NameControls(HWND window) {
  std::vector<std::pair<int, const wchar_t*>> named;
  for (const ControlSpec& entry : kControls) {
    if (entry.accessibleName != nullptr) {
      named.emplace_back(static_cast<int>(entry.id), entry.accessibleName);
    }
  }
  SetAccessibleNames(window, named);
}

std::optional<std::string> AskPictureFile(HWND owner) {
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter =
      L"Pictures (*.png, *.jpg, *.jpeg, *.bmp)\0*.png;*.jpg;*.jpeg;*.bmp\0All files\0*.*\0";
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = L"Background picture";
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  file.resize(file.find(L'\0'));
  return Utf8(file);
}

std::optional<std::string> AskMapPosition(HWND owner, const std::string& prompt) {
  const std::optional<std::wstring> text =
      AskText(owner, L"Background picture", Wide(prompt).c_str());
  if (!text) return std::nullopt;
  return Utf8(*text);
}

std::optional<std::string> AskSeed(HWND owner) {
  const std::optional<std::wstring> text =
      AskText(owner, L"Take back a run",
              L"The seed of the run to take back from the mission the map shows:");
  if (!text) return std::nullopt;
  return Utf8(*text);
}

bool AskTakeBack(HWND owner, const std::string& question) {
  return MessageBoxW(owner, Wide(question).c_str(), Wide(kApplicationName).c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void AppendTakeBackItem(HMENU recipe) {
  AppendMenuW(recipe, MF_STRING, static_cast<UINT_PTR>(MapMenuId::TakeBackRun),
              L"&Take back a run\u2026");
}

constexpr wchar_t kRecipeFilter[] = L"Recipes (*.toml)\0*.toml\0All files\0*.*\0";

// The recipe file to open (`save` false) or to save as, after asking about replacing it.
std::optional<std::string> AskRecipeFile(HWND owner, bool save) {
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kRecipeFilter;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrDefExt = L"toml";
  dialog.lpstrTitle = save ? L"Save recipe as" : L"Open recipe";
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                 (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return std::nullopt;
  file.resize(file.find(L'\0'));
  return Utf8(file);
}

UnsavedAnswer AskUnsaved(HWND owner, const std::string& title) {
  const std::wstring text = L"The recipe " + Wide(title) + L" has unsaved changes. Save them?";
  switch (MessageBoxW(owner, text.c_str(), kTitle, MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
      return UnsavedAnswer::kSave;
    case IDNO:
      return UnsavedAnswer::kDiscard;
    default:
      return UnsavedAnswer::kCancel;
  }
}

bool AskOverwriteChanged(HWND owner, const std::string& path) {
  const std::wstring text =
      Wide(path) + L" was changed by another program since it was opened. Overwrite it?";
  return MessageBoxW(owner, text.c_str(), kTitle, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
         IDYES;
}

UINT_PTR ItemId(MapRecipeId id) {
  return static_cast<UINT_PTR>(id);
}

// "&New", "&Open…", "&Save" and "Save &As…", then a separator.
void AppendRecipeFileItems(HMENU recipe) {
  AppendMenuW(recipe, MF_STRING, ItemId(MapRecipeId::NewRecipe), L"&New");
  AppendMenuW(recipe, MF_STRING, ItemId(MapRecipeId::OpenRecipe), L"&Open\u2026\tCtrl+O");
  AppendMenuW(recipe, MF_STRING, ItemId(MapRecipeId::SaveRecipe), L"&Save\tCtrl+S");
  AppendMenuW(recipe, MF_STRING, ItemId(MapRecipeId::SaveRecipeAs), L"Save &As\u2026");
  AppendMenuW(recipe, MF_SEPARATOR, 0, nullptr);
}

// Ctrl+Z and Ctrl+Y stay the picture's keys (and the fields' own undo): the items only show
// them, so that one key press never undoes twice.
HMENU EditMenu() {
  HMENU edit = CreatePopupMenu();
  AppendMenuW(edit, MF_STRING, ItemId(MapRecipeId::Undo), L"&Undo\tCtrl+Z");
  AppendMenuW(edit, MF_STRING, ItemId(MapRecipeId::Redo), L"&Redo\tCtrl+Y");
  return edit;
}

HMENU ToolsMenu() {
  HMENU tools = CreatePopupMenu();
  const std::pair<MapRecipeId, const wchar_t*> items[] = {
      {MapRecipeId::SelectTool, L"&Select"},     {MapRecipeId::RectangleTool, L"&Rectangle"},
      {MapRecipeId::PolygonTool, L"&Polygon"},   {MapRecipeId::CircleTool, L"&Circle"},
      {MapRecipeId::CorridorTool, L"C&orridor"},
  };
  for (const auto& [id, text] : items) AppendMenuW(tools, MF_STRING, ItemId(id), text);
  AppendMenuW(tools, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(tools, MF_STRING, ItemId(MapRecipeId::Include), L"&Include");
  AppendMenuW(tools, MF_STRING, ItemId(MapRecipeId::Exclude), L"&Exclude");
  return tools;
}

// The "&Recipe", "&Edit" and "&Tools" menus of the map window.
HMENU RecipeMenuBar() {
  HMENU recipe = CreatePopupMenu();
  AppendRecipeFileItems(recipe);
  AppendMenuW(recipe, MF_STRING, static_cast<UINT_PTR>(MapMenuId::ChooseBackground),
              L"&Background\u2026");
  AppendMenuW(recipe, MF_STRING, static_cast<UINT_PTR>(MapMenuId::AlignBackground),
              L"&Align by Two Points");
  AppendMenuW(recipe, MF_STRING, static_cast<UINT_PTR>(MapMenuId::BackgroundCorners),
              L"Background &corners\u2026");
  AppendTakeBackItem(recipe);
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(recipe), L"&Recipe");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(EditMenu()), L"&Edit");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(ToolsMenu()), L"&Tools");
  return bar;
}

}  // namespace

MapWindow::MapWindow(HINSTANCE instance, HWND mainWindow)
    : instance_(instance),
      mainWindow_(mainWindow),
      dialogs_{AskPictureFile, AskMapPosition},
      takeBackDialogs_{AskSeed, AskTakeBack, ShowMessageBox},
      recipeDialogs_{[](HWND owner) { return AskRecipeFile(owner, false); },
                     [](HWND owner) { return AskRecipeFile(owner, true); }, AskUnsaved,
                     AskOverwriteChanged, ShowMessageBox} {
  ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'O', static_cast<WORD>(MapRecipeId::OpenRecipe)},
                  {FVIRTKEY | FCONTROL, 'S', static_cast<WORD>(MapRecipeId::SaveRecipe)}};
  accelerators_ = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

bosquell::DocumentPrompts MapWindow::DocumentPrompts() {
  // The dialogs are looked up when asked, so that tests may put theirs in later.
  return {
      [this](const std::string& title) { return recipeDialogs_.unsaved(window_, title); },
      [this](const std::string& path) { return recipeDialogs_.overwriteChanged(window_, path); },
      [this] { return recipeDialogs_.saveFile(window_); }};
}

MapWindow::~MapWindow() {
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    SetWindowLongPtrW(picture_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (controlFont_ != nullptr) DeleteObject(controlFont_);
  if (pictureFont_ != nullptr) DeleteObject(pictureFont_);
  if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
}

HWND MapWindow::Control(MapControlId id) const {
  return window_ != nullptr ? GetDlgItem(window_, static_cast<int>(id)) : nullptr;
}

void MapWindow::TakeRunBack() {
  const HWND owner = window_;
  logic_->TakeRunBack(
      {[this, owner] { return takeBackDialogs_.seed(owner); },
       [this, owner](const std::string& question) {
         // The marks are painted before the question waits for its answer.
         UpdateWindow(picture_);
         return takeBackDialogs_.confirm(owner, question);
       },
       [this, owner](const std::string& text) { takeBackDialogs_.message(owner, text); }});
}

void MapWindow::Open() {
  if (window_ == nullptr) Create();
  if (window_ == nullptr) return;
  ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
  // An open map that lies behind the main window comes to the top too, not only active.
  BringWindowToTop(window_);
  SetForegroundWindow(window_);
  SetActiveWindow(window_);
  SetFocus(picture_);
  Refresh();
}

void MapWindow::Close() {
  if (window_ == nullptr || !IsWindowVisible(window_)) return;
  // A drag under way ends with the window (the logic hears of it as a lost capture).
  if (GetCapture() == picture_) ReleaseCapture();
  const bool wasActive = GetActiveWindow() == window_;
  ShowWindow(window_, SW_HIDE);
  if (wasActive && mainWindow_ != nullptr && IsWindow(mainWindow_)) {
    SetForegroundWindow(mainWindow_);
    SetActiveWindow(mainWindow_);
  }
}

void MapWindow::Refresh() {
  if (window_ == nullptr || logic_ == nullptr) return;
  InvalidateRect(picture_, nullptr, FALSE);
  const std::wstring status = Wide(logic_->StatusText());
  HWND line = Control(MapControlId::Status);
  // Setting an equal text would only make the line flicker.
  if (WindowText(line) != logic_->StatusText()) SetWindowTextW(line, status.c_str());
  panel_.Refill();
  if (WindowText(window_) != logic_->WindowTitle()) {
    SetWindowTextW(window_, Wide(logic_->WindowTitle()).c_str());
  }
  // The slider follows the recipe's opacity (opened, undone); setting it sends no notification.
  const LRESULT opacity = std::lround(logic_->Background().Opacity() * 100);
  HWND slider = Control(MapControlId::Opacity);
  if (SendMessageW(slider, TBM_GETPOS, 0, 0) != opacity) {
    SendMessageW(slider, TBM_SETPOS, TRUE, opacity);
  }
  if (logic_->AlignmentSpot() && !askingPosition_) {
    askingPosition_ = true;
    PostMessageW(window_, kAskPositionMessage, 0, 0);
  }
}

void MapWindow::AskAlignmentPosition() {
  if (logic_ == nullptr || !logic_->AlignmentSpot()) {
    askingPosition_ = false;
    return;
  }
  const std::optional<std::string> position =
      dialogs_.mapPosition(window_, kAlignmentPositionPrompt);
  askingPosition_ = false;
  if (position) {
    logic_->AlignmentPositionTyped(*position);
  } else {
    logic_->AlignmentCancelled();
  }
}

void MapWindow::Create() {
  // The opacity slider is a trackbar.
  const INITCOMMONCONTROLSEX bars{sizeof bars, ICC_BAR_CLASSES};
  InitCommonControlsEx(&bars);
  RegisterTopLevelClass(instance_, kClassName, WindowProc);
  RegisterPictureClass(instance_, PictureProc);
  window_ = CreateWindowExW(kWindowExStyle, kClassName, kTitle, kWindowStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                            instance_, this);
  if (window_ == nullptr) return;
  SetMenu(window_, RecipeMenuBar());
  CreateControls();
  const UINT dpi = GetDpiForWindow(window_);
  ApplyDpi(dpi);
  RECT frame{0, 0, Scaled(kClientWidth, dpi), Scaled(kClientHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, kWindowExStyle, dpi);
  // Beside the main window rather than over its boxes.
  RECT narrowest{0, 0, Scaled(kMinimumWidth, dpi), 0};
  AdjustWindowRectExForDpi(&narrowest, kWindowStyle, TRUE, kWindowExStyle, dpi);
  PlaceBeside(window_, mainWindow_, frame.right - frame.left, frame.bottom - frame.top,
              narrowest.right - narrowest.left);
  NameControls(window_);
  // The side panel's fields have their own; these are the bar's, worded as in the Qt window.
  AddTooltips(
      window_,
      {{static_cast<int>(MapControlId::Reroll), L"A new seed for the preview (R on the map)"},
       {static_cast<int>(MapControlId::Opacity), L"How much of the background picture shows"}});
}

void MapWindow::CreateControls() {
  ++quiet_;
  for (const ControlSpec& entry : kControls) {
    HWND control =
        CreateWindowExW(entry.exStyle, entry.windowClass, entry.text, entry.style, 0, 0, 0, 0,
                        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance_,
                        entry.id == MapControlId::Picture ? this : nullptr);
    if (entry.id == MapControlId::Picture) {
      picture_ = control;
      panel_.Create(window_, instance_);  // Tab goes from the picture to the panel
    }
  }
  panel_.AddTooltip(Control(MapControlId::Reroll), L"A new seed for the preview (R on the map)");
  panel_.AddTooltip(Control(MapControlId::Opacity), L"How much of the background picture shows");
  HWND opacity = Control(MapControlId::Opacity);
  SendMessageW(opacity, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
  SendMessageW(opacity, TBM_SETPAGESIZE, 0, 10);
  SendMessageW(opacity, TBM_SETPOS, TRUE, 100);
  --quiet_;
  panel_.Refill();
}

void MapWindow::ApplyDpi(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  HFONT controlFont =
      SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)
          ? CreateFontIndirectW(&metrics.lfMessageFont)
          : nullptr;
  // The picture is drawn in device pixels: its texts grow with the dpi, as the scene expects.
  HFONT pictureFont =
      CreateFontW(-Scaled(kPictureFontPixels, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                  DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  for (const ControlSpec& entry : kControls) {
    SendMessageW(Control(entry.id), WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
  }
  panel_.SetFont(controlFont, dpi);
  if (controlFont_ != nullptr) DeleteObject(controlFont_);
  if (pictureFont_ != nullptr) DeleteObject(pictureFont_);
  controlFont_ = controlFont;
  pictureFont_ = pictureFont;
  Layout();
}

// The picture takes the window's left part above a row with the button and the slider, the side
// panel its right part, and the status line the bottom.
void MapWindow::Layout() {
  RECT client;
  GetClientRect(window_, &client);
  const UINT dpi = GetDpiForWindow(window_);
  const int gap = Scaled(kGap, dpi);
  const int row = Scaled(kRowHeight, dpi);
  const int status = Scaled(kStatusHeight, dpi);
  const int panelWidth = RecipeSidePanel::Width(dpi);
  const int width = std::max<int>(client.right - panelWidth - 2 * gap, 1);
  const int statusTop = client.bottom - status;
  const int rowTop = statusTop - gap - row;
  const int pictureHeight = std::max(rowTop - gap, 1);

  HDWP positions = BeginDeferWindowPos(static_cast<int>(std::size(kControls)));
  int left = gap;
  for (const ControlSpec& entry : kControls) {
    RECT place{};
    if (entry.id == MapControlId::Picture) {
      place = {0, 0, width, pictureHeight};
    } else if (entry.id == MapControlId::Status) {
      place = {0, statusTop, client.right, client.bottom};
    } else {
      const int controlWidth = Scaled(entry.width, dpi);
      place = {left, rowTop, left + controlWidth, rowTop + row};
      left += controlWidth + gap;
    }
    positions = DeferWindowPos(positions, Control(entry.id), nullptr, place.left, place.top,
                               place.right - place.left, place.bottom - place.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
  }
  EndDeferWindowPos(positions);
  panel_.Layout({width + gap, gap, client.right - gap, statusTop - gap}, dpi);
}

LRESULT CALLBACK MapWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = WindowOwner(window, message, lParam, &MapWindow::window_);
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK MapWindow::PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = WindowOwner(window, message, lParam, &MapWindow::picture_);
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandlePictureMessage(message, wParam, lParam);
}

LRESULT MapWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      UserClosed();
      return 0;
    case WM_ACTIVATE:
      // The focus leaves with the window and comes back to where it was.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
      } else if (HIWORD(wParam) == 0) {  // not while minimised
        RestoreFocus();
        if (logic_ != nullptr) logic_->Activated();
      }
      return 0;
    case WM_DRAWITEM:
      if (panel_.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_VKEYTOITEM:
      if (const auto handled = panel_.OnListKey(wParam, reinterpret_cast<HWND>(lParam))) {
        return *handled;
      }
      break;
    case WM_INITMENUPOPUP:
      UpdateMenuItems(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_HSCROLL:
      if (logic_ != nullptr && reinterpret_cast<HWND>(lParam) == Control(MapControlId::Opacity)) {
        const LRESULT position = SendMessageW(Control(MapControlId::Opacity), TBM_GETPOS, 0, 0);
        logic_->BackgroundOpacityChanged(static_cast<double>(position) / 100);
      }
      return 0;
    case kAskPositionMessage:
      AskAlignmentPosition();
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      const UINT dpi = GetDpiForWindow(window_);
      RECT frame{0, 0, Scaled(kMinimumWidth, dpi), Scaled(kMinimumHeight, dpi)};
      AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, kWindowExStyle, dpi);
      limits->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
      return 0;
    }
    case WM_MOUSEWHEEL:
      // The wheel reaches the window with the focus; over the picture it zooms the picture.
      OnWheel(wParam, lParam);
      return 0;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(wParam));
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void MapWindow::OnCommand(int id, int code) {
  if (logic_ == nullptr) return;
  // Esc, in any control of the window, reaches it as the dialog's Cancel command, and F2 as the
  // main window's accelerator: both close the map.
  if (id == IDCANCEL || id == static_cast<int>(MenuId::mapview)) {
    UserClosed();
    return;
  }
  // F6, the main window's accelerator too, goes back over to it.
  if (id == static_cast<int>(MenuId::switchwindow)) {
    SetForegroundWindow(mainWindow_);
    SetActiveWindow(mainWindow_);
    return;
  }
  // F1 is the main window's "About", whose box then stands in front of the map.
  if (id == static_cast<int>(MenuId::aboutas)) {
    SendMessageW(mainWindow_, WM_COMMAND, MAKEWPARAM(id, 1), 0);
    return;
  }
  if (id == static_cast<int>(MapMenuId::ChooseBackground)) {
    if (const std::optional<std::string> file = dialogs_.pictureFile(window_)) {
      logic_->ChooseBackground(*file);
    }
    return;
  }
  if (id == static_cast<int>(MapMenuId::AlignBackground)) {
    logic_->PickAlignmentSpot();
    return;
  }
  if (id == static_cast<int>(MapMenuId::BackgroundCorners)) {
    logic_->AskBackgroundCorners(
        [this](const char* prompt) { return dialogs_.mapPosition(window_, prompt); });
    return;
  }
  if (id == static_cast<int>(MapMenuId::TakeBackRun)) {
    TakeRunBack();
    return;
  }
  if (OnRecipeCommand(id)) return;
  // Enter in a field of the side panel ends what is typed there.
  if (id == IDOK) {
    panel_.EnterPressed(GetFocus());
    return;
  }
  if (panel_.OnCommand(id, code)) return;
  if (quiet_ > 0) return;
  switch (static_cast<MapControlId>(id)) {
    case MapControlId::Reroll:
      if (code == BN_CLICKED) logic_->Reroll();
      break;
    default:
      break;
  }
}

bool MapWindow::OnRecipeCommand(int id) {
  const int first = static_cast<int>(MapRecipeId::NewRecipe);
  const int last = static_cast<int>(MapRecipeId::Exclude);
  if (id < first || id > last) return false;
  const auto command = static_cast<MapRecipeId>(id);
  const int tools = static_cast<int>(MapRecipeId::SelectTool);
  switch (command) {
    case MapRecipeId::NewRecipe:
      logic_->NewRecipe();
      break;
    case MapRecipeId::OpenRecipe:
      // Unsaved changes are asked about before the file dialog, not after it.
      if (!logic_->Document().MayDropChanges()) break;
      if (const std::optional<std::string> file = recipeDialogs_.openFile(window_)) {
        ShowRecipeProblem(logic_->OpenRecipe(*file));
      }
      break;
    case MapRecipeId::SaveRecipe:
      ShowRecipeProblem(logic_->SaveRecipe());
      break;
    case MapRecipeId::SaveRecipeAs:
      if (const std::optional<std::string> file = recipeDialogs_.saveFile(window_)) {
        ShowRecipeProblem(logic_->SaveRecipeAs(*file));
      }
      break;
    case MapRecipeId::Undo:
      logic_->KeyPressed(MapKey::kUndo, false, true);
      break;
    case MapRecipeId::Redo:
      logic_->KeyPressed(MapKey::kRedo, false, true);
      break;
    case MapRecipeId::Include:
    case MapRecipeId::Exclude:
      logic_->SetExclude(command == MapRecipeId::Exclude);
      break;
    default:
      logic_->SetTool(static_cast<ShapeTool>(id - tools));
      break;
  }
  return true;
}

void MapWindow::ShowRecipeProblem(bool done) {
  const std::string& problem = logic_->Document().Problem();
  if (!done && !problem.empty()) recipeDialogs_.problem(window_, problem);
}

void MapWindow::UpdateMenuItems(HMENU menu) {
  if (logic_ == nullptr) return;
  const RecipeEditor& editor = logic_->Document().Editor();
  const auto enable = [menu](MapRecipeId id, bool enabled) {
    EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  };
  enable(MapRecipeId::Undo, editor.History().CanUndo());
  enable(MapRecipeId::Redo, editor.History().CanRedo());
  const UINT tool = static_cast<UINT>(MapRecipeId::SelectTool) + static_cast<UINT>(editor.Tool());
  CheckMenuRadioItem(menu, static_cast<UINT>(MapRecipeId::SelectTool),
                     static_cast<UINT>(MapRecipeId::CorridorTool), tool, MF_BYCOMMAND);
  // Include or exclude is that of the selected area; without one there is nothing to switch.
  const std::optional<bool> exclude = logic_->SelectedExcludes();
  enable(MapRecipeId::Include, exclude.has_value());
  enable(MapRecipeId::Exclude, exclude.has_value());
  CheckMenuItem(menu, static_cast<UINT>(MapRecipeId::Include),
                MF_BYCOMMAND | (exclude == false ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu, static_cast<UINT>(MapRecipeId::Exclude),
                MF_BYCOMMAND | (exclude == true ? MF_CHECKED : MF_UNCHECKED));
}

void MapWindow::RestoreFocus() {
  SetFocus(lastFocus_ != nullptr && IsChild(window_, lastFocus_) ? lastFocus_ : picture_);
}

void MapWindow::UserClosed() {
  // Unsaved changes of the recipe are asked about first; "Cancel" keeps the map open.
  if (logic_ != nullptr && !logic_->MayClose()) return;
  if (logic_ != nullptr) logic_->Closed();
  Close();
}

LRESULT MapWindow::HandlePictureMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (logic_ == nullptr) return DefWindowProcW(picture_, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel; erasing first would only flicker
    case WM_PAINT:
      PaintPicture();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(picture_, nullptr, FALSE);  // the focus frame
      return 0;
    case WM_GETDLGCODE: {
      // The arrows and the letters are the picture's, and Enter and Esc for the shape being
      // drawn (Esc with none closes the map); Tab stays the dialog's.
      const auto* keyMessage = reinterpret_cast<const MSG*>(lParam);
      const bool editorKey = keyMessage != nullptr && keyMessage->message == WM_KEYDOWN &&
                             (keyMessage->wParam == VK_RETURN || keyMessage->wParam == VK_ESCAPE);
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (editorKey ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
      if (OnPictureKey(wParam)) return 0;
      break;
    case WM_CHAR:
      if (OnPictureCharacter(static_cast<wchar_t>(wParam))) return 0;
      break;
    case WM_LBUTTONDBLCLK:
      SetFocus(picture_);
      logic_->DoubleClick(PointOf(lParam));
      if (logic_->Dragging() && GetCapture() != picture_) SetCapture(picture_);
      return 0;
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      // A second press of the other buttons is one more press.
      message = message == WM_RBUTTONDBLCLK ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetFocus(picture_);
      logic_->ButtonDown(ButtonOf(message), PointOf(lParam));
      // The picture keeps the pointer while a drag lasts, also outside it.
      if (logic_->Dragging() && GetCapture() != picture_) SetCapture(picture_);
      return 0;
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, picture_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      logic_->PointerMoved(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      logic_->ButtonUp(ButtonOf(message), PointOf(lParam));
      if (!logic_->Dragging() && GetCapture() == picture_) ReleaseCapture();
      return 0;
    case WM_CANCELMODE:
      // A modal box or menu is about to take the mouse; the default releases the capture.
      logic_->CaptureLost();
      break;
    case WM_CAPTURECHANGED:
      // Another window took the mouse in mid-drag: the drag is given up.
      if (reinterpret_cast<HWND>(lParam) != picture_) logic_->CaptureLost();
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      logic_->PointerLeft();
      return 0;
    case WM_MOUSEWHEEL:
      OnWheel(wParam, lParam);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(picture_, message, wParam, lParam);
}

void MapWindow::OnWheel(WPARAM wParam, LPARAM lParam) {
  // The wheel's position comes in screen coordinates.
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(picture_, &at);
  RECT area;
  GetClientRect(picture_, &area);
  if (!PtInRect(&area, at) || logic_ == nullptr) return;
  const double steps = static_cast<double>(GET_WHEEL_DELTA_WPARAM(wParam)) / WHEEL_DELTA;
  logic_->Wheel({static_cast<double>(at.x), static_cast<double>(at.y)}, steps);
}

bool MapWindow::OnPictureKey(WPARAM key) {
  const bool shift = KeyDown(VK_SHIFT);
  const bool control = KeyDown(VK_CONTROL);
  switch (key) {
    case VK_LEFT:
      return logic_->KeyPressed(MapKey::kLeft, shift, control);
    case VK_RIGHT:
      return logic_->KeyPressed(MapKey::kRight, shift, control);
    case VK_UP:
      return logic_->KeyPressed(MapKey::kUp, shift, control);
    case VK_DOWN:
      return logic_->KeyPressed(MapKey::kDown, shift, control);
    case VK_HOME:
      return logic_->KeyPressed(MapKey::kFit, shift, control);
    case VK_ESCAPE:
      // Esc drops a shape being drawn; with none it closes the map.
      if (!logic_->KeyPressed(MapKey::kEscape, shift, control)) UserClosed();
      return true;
    case VK_RETURN:
      return logic_->KeyPressed(MapKey::kEnter, shift, control);
    case VK_BACK:
      return logic_->KeyPressed(MapKey::kBackspace, shift, control);
    case VK_DELETE:
      return logic_->KeyPressed(MapKey::kDelete, shift, control);
    case VK_SPACE:
      return logic_->KeyPressed(MapKey::kSpace, shift, control);
    case 'Z':
      return control && logic_->KeyPressed(MapKey::kUndo, shift, control);
    case 'Y':
      return control && logic_->KeyPressed(MapKey::kRedo, shift, control);
    default:
      return false;
  }
}

// The keys that are characters: they follow the keyboard's layout, wherever + and - sit on it.
bool MapWindow::OnPictureCharacter(wchar_t character) {
  switch (character) {
    case L'+':
    case L'=':
      return logic_->KeyPressed(MapKey::kZoomIn, false, false);
    case L'-':
      return logic_->KeyPressed(MapKey::kZoomOut, false, false);
    case L'r':
    case L'R':
      return logic_->KeyPressed(MapKey::kReroll, false, false);
    default:
      return false;
  }
}

void MapWindow::PaintPicture() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(picture_, &paint);
  RECT area;
  GetClientRect(picture_, &area);
  const int width = std::max<int>(area.right, 1);
  const int height = std::max<int>(area.bottom, 1);
  if (!buffer_ || buffer_->Width() != width || buffer_->Height() != height) {
    buffer_.reset();  // the old bitmap goes before the new one is made
    buffer_ = std::make_unique<SceneBitmap>(dc, width, height);
  }
  if (buffer_->Valid()) {
    const double textScale =
        static_cast<double>(GetDpiForWindow(window_)) / USER_DEFAULT_SCREEN_DPI;
    PaintScene(logic_->Scene(width, height, textScale), pictureFont_, *buffer_);
    if (GetFocus() == picture_) {
      RECT inner = area;
      InflateRect(&inner, -1, -1);
      DrawFocusRect(buffer_->Dc(), &inner);
    }
    BitBlt(dc, 0, 0, width, height, buffer_->Dc(), 0, 0, SRCCOPY);
  }
  EndPaint(picture_, &paint);
}

}  // namespace bosquell::win32
