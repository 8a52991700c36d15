#include "win32/text_prompt.h"

#include <vector>

namespace bosquell::win32 {
namespace {

constexpr int kPromptId = 100;
constexpr int kFieldId = 101;
// The predefined window classes of a dialog template, by their atoms.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

struct PromptState {
  const wchar_t* prompt;
  std::wstring text;
};

// A dialog template is a run of WORDs: the header, then each control on a DWORD boundary.
class DialogTemplate {
 public:
  void Add(const void* header, std::size_t bytes) {
    const auto* words = static_cast<const WORD*>(header);
    words_.insert(words_.end(), words, words + bytes / sizeof(WORD));
  }
  void Text(const wchar_t* text) {
    while (*text != L'\0') words_.push_back(static_cast<WORD>(*text++));
    words_.push_back(0);
  }
  void Word(WORD word) { words_.push_back(word); }
  void Control(DWORD style, short x, short y, short cx, short cy, int id, WORD atom,
               const wchar_t* text) {
    if (words_.size() % 2 != 0) words_.push_back(0);
    const DLGITEMTEMPLATE item{style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy,
                               static_cast<WORD>(id)};
    Add(&item, sizeof item);
    Word(0xFFFF);
    Word(atom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetDlgItemTextW(dialog, kPromptId, reinterpret_cast<PromptState*>(lParam)->prompt);
      return TRUE;  // the focus goes to the field, the first control that takes it
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && state != nullptr) {
        HWND field = GetDlgItem(dialog, kFieldId);
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
        state->text = std::move(text);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

std::optional<std::wstring> AskText(HWND owner, const wchar_t* title, const wchar_t* prompt) {
  DialogTemplate dialog;
  const DLGTEMPLATE header{
      DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
      0,
      4,
      0,
      0,
      230,
      62};
  dialog.Add(&header, sizeof header);
  dialog.Word(0);  // no menu
  dialog.Word(0);  // the dialog class
  dialog.Text(title);
  dialog.Word(9);
  dialog.Text(L"Segoe UI");
  dialog.Control(SS_LEFT | SS_NOPREFIX, 7, 7, 216, 10, kPromptId, kStaticAtom, L"");
  dialog.Control(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 20, 216, 13, kFieldId, kEditAtom, L"");
  dialog.Control(BS_DEFPUSHBUTTON | WS_TABSTOP, 119, 41, 50, 14, IDOK, kButtonAtom, L"OK");
  dialog.Control(BS_PUSHBUTTON | WS_TABSTOP, 173, 41, 50, 14, IDCANCEL, kButtonAtom, L"Cancel");
  PromptState state{prompt, {}};
  const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner,
                                                 PromptProc, reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return std::nullopt;
  return state.text;
}

}  // namespace bosquell::win32
