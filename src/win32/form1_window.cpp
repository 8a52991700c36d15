#include "win32/form1_window.h"

#include <commctrl.h>
#include <oleacc.h>

#include <iterator>
#include <optional>
#include <utility>

#include "win32/map_window.h"
#include "win32/wide_text.h"
#include "win32/window_setup.h"
#include "window_logic/map_logic.h"
#include "window_logic/window_logic.h"
#include "window_logic/window_texts.h"

namespace bosquell::win32 {
namespace {

constexpr wchar_t kClassName[] = L"BosquellForm1";
// A fixed single border, a caption and the system menu; no minimise or maximise button.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
// How far the drop-down list of a combo box reaches below its field, at 96 dpi.
constexpr int kDropDownPixels = 200;
// Indent of one level in the directory list, at 96 dpi.
constexpr int kIndentPixels = 10;

int Scaled(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

bool IsComboBox(ControlKind kind) {
  return kind == ControlKind::kComboBox || kind == ControlKind::kDriveList;
}

int ListIndex(HWND list) {
  const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

struct WindowClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

WindowClass ClassOf(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::kFrame:
      return {WC_BUTTONW, kChild | BS_GROUPBOX, 0};
    case ControlKind::kCommandButton:
      return {WC_BUTTONW, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::kDriveList:
      return {WC_COMBOBOXW, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::kFileList:
      return {WC_LISTBOXW, kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
              WS_EX_CLIENTEDGE};
    case ControlKind::kDirectoryList:
      return {WC_LISTBOXW,
              kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                  LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
              WS_EX_CLIENTEDGE};
    case ControlKind::kTextBox:
      return {WC_EDITW, kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kComboBox:
      return {WC_COMBOBOXW, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
    case ControlKind::kLabel:
      return {WC_STATICW, kChild | WS_BORDER | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0};
  }
  return {WC_STATICW, kChild, 0};
}

// The table's names for screen readers.
void NameControls(HWND window) {
  std::vector<std::wstring> names;
  std::vector<std::pair<int, const wchar_t*>> named;
  names.reserve(std::size(kForm1Layout));
  for (const ControlLayout& control : kForm1Layout) {
    if (control.accessibleName.empty()) continue;
    names.push_back(Wide(control.accessibleName));
    named.emplace_back(IdOf(control), names.back().c_str());
  }
  SetAccessibleNames(window, named);
}

}  // namespace

void ShowMessageBox(HWND owner, const std::string& text) {
  // A box gives the activation back only to an owner that it disabled itself; to an owner that
  // was disabled already (a run shows its early-end messages so) the system would pick another
  // program. So the owner is lent to the box enabled, the box disables it while it shows, and
  // it is disabled again once the box has given it back.
  const bool ownerDisabled = owner != nullptr && !IsWindowEnabled(owner);
  if (ownerDisabled) EnableWindow(owner, TRUE);
  MessageBoxW(owner, Wide(text).c_str(), Wide(kApplicationName).c_str(), MB_OK);
  if (ownerDisabled) EnableWindow(owner, FALSE);
}

Form1Window::Form1Window(HINSTANCE instance, MessagePresenter presenter)
    : instance_(instance),
      presenter_(presenter ? std::move(presenter) : MessagePresenter(ShowMessageBox)) {
  RegisterTopLevelClass(instance_, kClassName, WindowProc);
  window_ = CreateWindowExW(kWindowExStyle, kClassName, Wide(kApplicationName).c_str(),
                            kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, nullptr, nullptr, instance_, this);
  if (window_ == nullptr) return;
  CreateMenuBar();
  CreateControls();
  ApplyDpi(GetDpiForWindow(window_));
  NameControls(window_);

  ACCEL keys[] = {{FVIRTKEY, VK_F1, static_cast<WORD>(MenuId::aboutas)},
                  {FVIRTKEY, VK_F2, static_cast<WORD>(MenuId::mapview)},
                  {FVIRTKEY, VK_F6, static_cast<WORD>(MenuId::switchwindow)}};
  accelerators_ = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
  focus_ = ControlHandle(Control::kDriveList);
  SetFocus(focus_);
}

Form1Window::~Form1Window() {
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
  for (HFONT font : fonts_) DeleteObject(font);
}

HWND Form1Window::ControlHandle(Control control) const {
  return GetDlgItem(window_, IdOf(control));
}

HACCEL Form1Window::MapAccelerators() const {
  return mapWindow_ != nullptr ? mapWindow_->Accelerators() : nullptr;
}

HWND Form1Window::MapHandle() const {
  return mapWindow_ != nullptr ? mapWindow_->Handle() : nullptr;
}

void Form1Window::CreateMenuBar() {
  HMENU prgm = CreatePopupMenu();
  AppendMenuW(prgm, MF_STRING, static_cast<UINT_PTR>(MenuId::aboutas), L"&About\tF1");
  AppendMenuW(prgm, MF_SEPARATOR, 0, nullptr);  // minln
  AppendMenuW(prgm, MF_STRING, static_cast<UINT_PTR>(MenuId::ext), L"&Exit");
  HMENU view = CreatePopupMenu();
  AppendMenuW(view, MF_STRING, static_cast<UINT_PTR>(MenuId::mapview), L"&Map\tF2");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(prgm), L"&Program");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
  SetMenu(window_, bar);
}

void Form1Window::CreateControls() {
  ++quiet_;
  for (const ControlLayout* layout : CreationOrder()) {
    const WindowClass windowClass = ClassOf(layout->kind);
    const std::wstring text = IsComboBox(layout->kind) ? std::wstring() : Wide(layout->caption);
    HWND control = CreateWindowExW(
        windowClass.exStyle, windowClass.name, text.c_str(), windowClass.style, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(*layout))), instance_, nullptr);
    if (layout->textLimit > 0) {
      SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(layout->textLimit), 0);
    }
    if (layout->kind == ControlKind::kComboBox) {
      SendMessageW(control, CB_LIMITTEXT, 0, 0);
      SetWindowTextW(control, Wide(layout->caption).c_str());
    }
  }
  --quiet_;
}

void Form1Window::ApplyDpi(UINT dpi) {
  std::vector<HFONT> old = std::move(fonts_);
  fonts_.clear();
  for (const ControlLayout& layout : kForm1Layout) {
    HFONT font = CreateFontW(
        -MulDiv(static_cast<int>(layout.pointSize * 10), static_cast<int>(dpi), 720), 0, 0, 0,
        FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
        DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    fonts_.push_back(font);
    // Frames nest, but every control is a child of the window itself, placed in its client area.
    const TwipsRect place = PlaceInClientArea(layout);
    int height = Scaled(place.height, dpi);
    if (IsComboBox(layout.kind)) height += MulDiv(kDropDownPixels, static_cast<int>(dpi), 96);
    HWND control = ControlHandle(layout.control);
    SetWindowPos(control, nullptr, Scaled(place.left, dpi), Scaled(place.top, dpi),
                 Scaled(place.width, dpi), height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (layout.kind == ControlKind::kDirectoryList) {
      HDC dc = GetDC(control);
      HGDIOBJ previous = SelectObject(dc, font);
      TEXTMETRICW metrics{};
      GetTextMetricsW(dc, &metrics);
      SelectObject(dc, previous);
      ReleaseDC(control, dc);
      SendMessageW(control, LB_SETITEMHEIGHT, 0, metrics.tmHeight + 2);
    }
  }
  HFONT menuFont = fonts_.empty() ? nullptr : fonts_.front();
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(menuFont), FALSE);
  for (HFONT font : old) DeleteObject(font);

  RECT frame{0, 0, Scaled(kClientWidthTwips, dpi), Scaled(kClientHeightTwips, dpi)};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, kWindowExStyle, dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string Form1Window::Text(Control control) const {
  HWND handle = ControlHandle(control);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(handle, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

void Form1Window::SetText(Control control, const std::string& text) {
  ++quiet_;
  SetWindowTextW(ControlHandle(control), Wide(text).c_str());
  --quiet_;
}

void Form1Window::SetEntries(Control list, const std::vector<std::string>& entries) {
  HWND handle = ControlHandle(list);
  const bool combo = IsComboBox(LayoutOf(list).kind);
  ++quiet_;
  SendMessageW(handle, WM_SETREDRAW, FALSE, 0);
  // Emptying a combo box's list also empties its text field; the logic sets it again.
  SendMessageW(handle, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries) {
    const std::wstring text = Wide(entry);
    SendMessageW(handle, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageW(handle, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle, nullptr, TRUE);
  --quiet_;
}

int Form1Window::SelectedIndex(Control list) const {
  const bool combo = IsComboBox(LayoutOf(list).kind);
  const LRESULT index =
      SendMessageW(ControlHandle(list), combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void Form1Window::Select(Control list, int index) {
  const bool combo = IsComboBox(LayoutOf(list).kind);
  ++quiet_;
  SendMessageW(ControlHandle(list), combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index),
               0);
  --quiet_;
}

void Form1Window::ShowDirectories(const std::vector<DirectoryEntry>& entries, int current) {
  HWND handle = ControlHandle(Control::kFolderList);
  ++quiet_;
  SendMessageW(handle, WM_SETREDRAW, FALSE, 0);
  SendMessageW(handle, LB_RESETCONTENT, 0, 0);
  for (const DirectoryEntry& entry : entries) {
    const std::wstring name = Wide(entry.name);
    const LRESULT index =
        SendMessageW(handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(handle, LB_SETITEMDATA, static_cast<WPARAM>(index), entry.depth);
  }
  SendMessageW(handle, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  SendMessageW(handle, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle, nullptr, TRUE);
  --quiet_;
}

void Form1Window::ShowMessage(const std::string& text) {
  // The box stands in front of the window it came from: the map, when the user is there. It
  // disables its owner itself; the other window is disabled alongside while it shows, so that
  // neither can be used behind the box.
  HWND map = MapHandle();
  const bool fromMap = map != nullptr && GetActiveWindow() == map;
  HWND owner = fromMap ? map : window_;
  HWND other = fromMap ? window_ : map;
  const bool disableOther = other != nullptr && IsWindowEnabled(other);
  if (disableOther) EnableWindow(other, FALSE);
  presenter_(owner, text);
  if (disableOther) EnableWindow(other, TRUE);
  // Back in front, also when the box closed while another program was in front; the main
  // window with the control that had the focus.
  if (GetForegroundWindow() != owner) SetForegroundWindow(owner);
  if (fromMap) return;
  HWND focus = GetFocus();
  if (IsWindowEnabled(window_) && (focus == nullptr || focus == window_)) RestoreFocus();
}

void Form1Window::SetWindowEnabled(bool enabled) {
  if (!enabled) RememberFocus();
  EnableWindow(window_, enabled ? TRUE : FALSE);
  // Disabling took the focus away; give it back to where it was.
  if (enabled && GetFocus() == nullptr) RestoreFocus();
}

void Form1Window::RememberFocus() {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(window_, focus)) focus_ = focus;
}

void Form1Window::RestoreFocus() {
  if (focus_ != nullptr && IsWindow(focus_) && IsChild(window_, focus_)) {
    SetFocus(focus_);
  } else {
    SetFocus(ControlHandle(Control::kDriveList));
  }
}

void Form1Window::EndProgram() {
  DestroyWindow(window_);
}

LRESULT CALLBACK Form1Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = WindowOwner(window, message, lParam, &Form1Window::window_);
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Form1Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 && LOWORD(wParam) == IDOK) {
        OnEnter();
      } else {
        OnCommand(LOWORD(wParam), HIWORD(wParam));
      }
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID == static_cast<UINT>(IdOf(Control::kFolderList))) {
        DrawDirectoryEntry(*item);
        return TRUE;
      }
      break;
    }
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(wParam));
      return 0;
    }
    // A main window that is no dialog keeps its focused control itself: it is noted when the
    // window loses the activation (to a message box, or to another program) and given back
    // when the window gets it again, instead of the focus resting on the window itself.
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        RememberFocus();
      } else if (HIWORD(wParam) == 0 && IsWindowEnabled(window_)) {
        RestoreFocus();
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1Window::OnCommand(int id, int code) {
  if (logic_ == nullptr || quiet_ > 0) return;
  if (const std::optional<Control> control = ControlOfId(id)) {
    OnControlCommand(*control, code);
  } else {
    OnMenuCommand(static_cast<MenuId>(id));
  }
}

void Form1Window::OnControlCommand(Control control, int code) {
  switch (control) {
    case Control::kDriveList:
      if (code == CBN_SELCHANGE) logic_->DriveChanged();
      break;
    case Control::kFolderList:
      if (code == LBN_DBLCLK) logic_->DirectoryOpened(ListIndex(ControlHandle(control)));
      break;
    case Control::kFileList:
      if (code == LBN_DBLCLK) logic_->OpenMission();
      break;
    case Control::kOpen:
      if (code == BN_CLICKED) logic_->OpenMission();
      break;
    case Control::kTheme:
      if (code == CBN_SELCHANGE) logic_->ThemePicked();
      if (code == CBN_EDITCHANGE) logic_->InputEdited();
      break;
    case Control::kCenterX:
    case Control::kCenterY:
    case Control::kRangeX:
    case Control::kRangeY:
    case Control::kCount:
      if (code == EN_CHANGE) logic_->InputEdited();
      break;
    case Control::kOwnId:
      if (code == EN_CHANGE) logic_->OwnIdChanged();
      break;
    case Control::kAddObjects:
      if (code == BN_CLICKED) logic_->AddObjects();
      break;
    default:  // the frames and the status line
      break;
  }
}

void Form1Window::OnMenuCommand(MenuId id) {
  switch (id) {
    case MenuId::aboutas:
      logic_->About();
      break;
    case MenuId::ext:
      logic_->Exit();
      break;
    case MenuId::mapview:
      if (map_ != nullptr) map_->Show();
      break;
    case MenuId::switchwindow:
      if (map_ != nullptr && map_->IsOpen()) map_->Show();
      break;
  }
}

// Enter reaches the window as the dialog's OK command: in the folder list it opens the folder,
// in the file list the file. No button is the default one.
void Form1Window::OnEnter() {
  if (logic_ == nullptr) return;
  HWND focus = GetFocus();
  if (focus == ControlHandle(Control::kFolderList)) {
    logic_->DirectoryOpened(ListIndex(ControlHandle(Control::kFolderList)));
  } else if (focus == ControlHandle(Control::kFileList)) {
    logic_->OpenMission();
  }
}

void Form1Window::DrawDirectoryEntry(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &area, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID != static_cast<UINT>(-1)) {
    const auto length = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const auto got =
        SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    const UINT dpi = GetDpiForWindow(item.hwndItem);
    area.left +=
        MulDiv(2 + kIndentPixels * static_cast<int>(item.itemData), static_cast<int>(dpi), 96);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &item.rcItem);
}

void DispatchWindowMessage(const Form1Window& window, MSG& message) {
  HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  const bool inMap = root != nullptr && root == window.MapHandle();
  if (inMap && TranslateAcceleratorW(root, window.MapAccelerators(), &message)) return;
  if (TranslateAcceleratorW(inMap ? root : window.Handle(), window.Accelerators(), &message)) {
    return;
  }
  // The map window holds controls too: its keys move its own focus.
  const bool controlParent =
      root != nullptr && (GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
  if (IsDialogMessageW(controlParent ? root : window.Handle(), &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int RunMessageLoop(const Form1Window& window) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchWindowMessage(window, message);
  return static_cast<int>(message.wParam);
}

}  // namespace bosquell::win32
