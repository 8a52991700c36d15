// Real message boxes, closed with Enter as a user closes them: afterwards the window is in
// front again and the keys typed next go to the control that had the focus, whether the box
// came from the own-id warning, About, a run that ended early (shown while the window is
// disabled) or a completed run, and also after another program was in front for a while.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "placement/random_source.h"
#include "win32/form1.h"
#include "win32/wide_text.h"
#include "win32_test_support.h"
#include "window_logic/window_texts.h"

namespace bosquell::win32 {
namespace {

using namespace testing;

const std::filesystem::path kFixtures = std::filesystem::absolute(BOSQUELL_FIXTURES);

// Presses Enter in every message box of this thread as soon as it comes to the front, and
// notes what the box said.
class EnterClosesMessageBoxes {
 public:
  EnterClosesMessageBoxes() {
    active_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~EnterClosesMessageBoxes() {
    UnhookWindowsHookEx(hook_);
    active_ = nullptr;
  }
  EnterClosesMessageBoxes(const EnterClosesMessageBoxes&) = delete;
  EnterClosesMessageBoxes& operator=(const EnterClosesMessageBoxes&) = delete;

  std::vector<std::string> texts;
  std::function<void(HWND box)> shown;  // looks at each box as it comes to the front

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && active_ != nullptr) {
      HWND box = reinterpret_cast<HWND>(wParam);
      wchar_t className[16] = {};
      GetClassNameW(box, className, 16);
      if (std::wstring_view(className) == L"#32770") {
        wchar_t text[512] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 512);  // the box's message
        active_->texts.push_back(Utf8(text));
        if (active_->shown) active_->shown(box);
        PostMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(box, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC0000001u));
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline thread_local EnterClosesMessageBoxes* active_ = nullptr;
  HHOOK hook_ = nullptr;
};

// Another program's window, behind Bosquell's: where the activation goes when it is lost.
class OtherProgram {
 public:
  OtherProgram() {
    window_ = CreateWindowExW(0, L"Static", L"Other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                              0, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~OtherProgram() { DestroyWindow(window_); }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// The cases below reach into the fixture from lambdas, so its parts are public.
class MessageBoxFocusTest : public ::testing::Test {
 public:
  MessageBoxFocusTest() {
    bosquell::testing::WriteFile(folder_.Path() / "two_oaks.mis",
                                 bosquell::testing::ReadFile(kFixtures / "two_oaks.mis"));
    // The real message boxes: the program's own presenter.
    form_ = std::make_unique<Form1>(GetModuleHandleW(nullptr), ShowMessageBox,
                                    std::make_unique<MersenneRandom>(42));
    ShowWindow(Window().Handle(), SW_SHOW);
    SetForegroundWindow(Window().Handle());
  }

  Form1Window& Window() { return form_->Window(); }
  std::string Text(Control id) {
    HWND control = Window().ControlHandle(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
  }
  void ExpectInFrontWithFocusOn(Control control, const char* what) {
    EXPECT_EQ(GetForegroundWindow(), Window().Handle()) << what;
    EXPECT_EQ(GetActiveWindow(), Window().Handle()) << what;
    EXPECT_TRUE(IsWindowEnabled(Window().Handle())) << what;
    EXPECT_TRUE(HasFocus(Window(), control)) << what;
  }

  OtherProgram other_;
  CurrentScratchFolder folder_{"Fokus"};
  EnterClosesMessageBoxes boxes_;
  std::unique_ptr<Form1> form_;
};

// What a user meets in the own-id box: "1", Enter on the warning, "2", F1, Enter, "3".
TEST_F(MessageBoxFocusTest, TypingGoesOnInTheOwnIdBoxAfterTheWarningAndAbout) {
  ASSERT_TRUE(TabTo(Window(), Control::kOwnId));
  TypeText(Window(), L"1");
  TypeText(Window(), L"2");
  PressKey(Window(), VK_F1);
  TypeText(Window(), L"3");

  EXPECT_EQ(Text(Control::kOwnId), "123");
  EXPECT_EQ(boxes_.texts, (std::vector<std::string>{kOwnIdWarning, AboutText()}));
  ExpectInFrontWithFocusOn(Control::kOwnId, "after the warning and About");
}

TEST_F(MessageBoxFocusTest, EveryBoxGivesTheFocusBackToTheControlThatHadIt) {
  struct Case {
    const char* what;
    Control focused;
    std::function<void(MessageBoxFocusTest&)> interrupt;
    std::size_t boxes;
  };
  const Case cases[] = {
      {"the own-id warning", Control::kOwnId,
       [](MessageBoxFocusTest& test) { TypeText(test.Window(), L"5"); }, 1},
      {"About by F1", Control::kRangeX,
       [](MessageBoxFocusTest& test) { PressKey(test.Window(), VK_F1); }, 1},
      {"a run that ends early, its message shown with the window disabled", Control::kAddObjects,
       [](MessageBoxFocusTest& test) { PressKey(test.Window(), VK_SPACE); }, 1},
      {"a completed run", Control::kAddObjects,
       [](MessageBoxFocusTest& test) {
         HWND file1 = test.Window().ControlHandle(Control::kFileList);
         SendMessageW(file1, LB_SETCURSEL, 0, 0);
         SendMessageW(test.Window().ControlHandle(Control::kOpen), BM_CLICK, 0, 0);
         SetFocus(test.Window().ControlHandle(Control::kAddObjects));
         PressKey(test.Window(), VK_SPACE);
       },
       1},
      {"another program in front, then Bosquell again", Control::kCount,
       [](MessageBoxFocusTest& test) {
         SetForegroundWindow(test.other_.Handle());
         EXPECT_NE(GetActiveWindow(), test.Window().Handle());
         SetForegroundWindow(test.Window().Handle());
       },
       0},
  };
  for (const Case& each : cases) {
    boxes_.texts.clear();
    ASSERT_TRUE(TabTo(Window(), each.focused)) << each.what;
    each.interrupt(*this);
    EXPECT_EQ(boxes_.texts.size(), each.boxes) << each.what;
    ExpectInFrontWithFocusOn(each.focused, each.what);
  }
  EXPECT_EQ(std::filesystem::exists(folder_.Path() / "two_oaks_rnd.mis"), true);
}

TEST_F(MessageBoxFocusTest, ABoxStandsInFrontOfTheWindowItCameFromAndDisablesBoth) {
  SendMessageW(Window().Handle(), WM_COMMAND, static_cast<WPARAM>(MenuId::mapview), 0);
  const HWND map = form_->MapFrame().Handle();
  const HWND main = Window().Handle();
  HWND owner = nullptr;
  bool anyEnabled = true;
  boxes_.shown = [&](HWND box) {
    owner = GetWindow(box, GW_OWNER);
    anyEnabled = IsWindowEnabled(main) || IsWindowEnabled(map);
  };
  for (const HWND from : {map, main}) {
    SetForegroundWindow(from);
    ASSERT_EQ(GetActiveWindow(), from);
    PressKey(Window(), VK_F1);  // About
    EXPECT_EQ(owner, from);
    EXPECT_FALSE(anyEnabled);
    // Afterwards both are usable again, the same one in front.
    EXPECT_TRUE(IsWindowEnabled(main) && IsWindowEnabled(map));
    EXPECT_EQ(GetActiveWindow(), from);
  }
  EXPECT_EQ(boxes_.texts, (std::vector<std::string>{AboutText(), AboutText()}));
  EXPECT_TRUE(form_->Map().IsOpen());
}

}  // namespace
}  // namespace bosquell::win32
