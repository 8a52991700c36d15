// The native window: its controls, and the user's events wired to the window logic. The rules
// themselves are tested once, with the logic; here the window is driven with window messages
// and keys as a user would drive it.

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "form/form1_layout.h"
#include "form/form_inputs.h"
#include "placement/random_source.h"
#include "win32/form1.h"
#include "win32/wide_text.h"
#include "win32_test_support.h"
#include "window_logic/window_texts.h"

namespace bosquell::win32 {
namespace {

using namespace testing;

// Read before any test moves the current directory.
const std::filesystem::path kFixtures = std::filesystem::absolute(BOSQUELL_FIXTURES);

constexpr int kPeru = 6;  // in the theme list

// What kind of control the native control is, from its class and style.
ControlKind KindOf(HWND control) {
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
  const auto is = [&](const wchar_t* className) { return lstrcmpiW(name, className) == 0; };
  if (is(L"Button")) {
    return (style & BS_TYPEMASK) == BS_GROUPBOX ? ControlKind::kFrame : ControlKind::kCommandButton;
  }
  if (is(L"ComboBox")) {
    return (style & 3) == CBS_DROPDOWNLIST ? ControlKind::kDriveList : ControlKind::kComboBox;
  }
  if (is(L"ListBox")) {
    return (style & LBS_OWNERDRAWFIXED) != 0 ? ControlKind::kDirectoryList : ControlKind::kFileList;
  }
  if (is(L"Edit")) return ControlKind::kTextBox;
  if (is(L"Static")) return ControlKind::kLabel;
  return static_cast<ControlKind>(-1);  // none of the table's kinds
}

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() {
    bosquell::testing::WriteFile(folder_.Path() / "two_oaks.mis",
                                 bosquell::testing::ReadFile(kFixtures / "two_oaks.mis"));
    bosquell::testing::WriteFile(folder_.Path() / "Z.MIS", "");
    bosquell::testing::WriteFile(folder_.Path() / "notes.txt", "");
    form_ = std::make_unique<Form1>(GetModuleHandleW(nullptr), log_.Presenter(),
                                    std::make_unique<MersenneRandom>(42));
    ShowWindow(Window().Handle(), SW_SHOW);
    SetForegroundWindow(Window().Handle());
    SetFocus(Window().ControlHandle(Control::kDriveList));
  }

  Form1Window& Window() { return form_->Window(); }
  HWND Handle(Control id) { return Window().ControlHandle(id); }
  std::string Text(Control id) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Handle(id))) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(Handle(id), text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
  }
  void Notify(Control id, WORD code) {
    SendMessageW(Window().Handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(IdOf(id)), code),
                 reinterpret_cast<LPARAM>(Handle(id)));
  }
  void SetText(Control id, const wchar_t* text) {
    SendMessageW(Handle(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  // The placement of the fixture's expected output; the theme and count are set by each test.
  void EnterPlacement() {
    SetText(Control::kCenterX, L"2");
    SetText(Control::kCenterY, L"-1");
    SetText(Control::kRangeX, L"3");
    SetText(Control::kRangeY, L"2");
  }
  void ExpectTheFixtureWritten() {
    ASSERT_FALSE(log_.messages.empty());
    const std::filesystem::path output = folder_.Path() / "two_oaks_rnd.mis";
    EXPECT_EQ(log_.messages.back(), "5 Object have been added and the file has been saved to \r\n" +
                                        Utf8(output.wstring()));
    EXPECT_EQ(bosquell::testing::ReadFile(output),
              bosquell::testing::ReadFile(kFixtures / "two_oaks_peru_seed42.mis"));
    EXPECT_EQ(Text(Control::kStatus), kStatusSaved);
  }

  CurrentScratchFolder folder_{"Wäldchen 森"};
  MessageLog log_;
  std::unique_ptr<Form1> form_;
};

TEST_F(Form1Test, ControlsCarryTheirTextsLimitsPlacesAndTabOrder) {
  struct Expected {
    Control id;
    std::string text;
    int limit;
  };
  for (const auto& [id, text, limit] :
       {Expected{Control::kCenterX, "0", 6}, Expected{Control::kRangeY, "1024", 6},
        Expected{Control::kCount, "20", 3}, Expected{Control::kOwnId, "", 6}}) {
    EXPECT_EQ(Text(id), text);
    EXPECT_EQ(SendMessageW(Handle(id), EM_GETLIMITTEXT, 0, 0), limit);
  }
  EXPECT_EQ(Text(Control::kTheme), kThemePrompt);
  EXPECT_EQ(Text(Control::kStatus), kStatusPleaseOpen);
  EXPECT_EQ(SendMessageW(Handle(Control::kTheme), CB_GETCOUNT, 0, 0), 8);

  // Text1 sits in Frame3 in Frame2: 120 + 120 + 120 and 0 + 240 + 240 twips, 15 to a pixel.
  RECT place;
  GetWindowRect(Handle(Control::kCenterX), &place);
  MapWindowPoints(nullptr, Window().Handle(), reinterpret_cast<POINT*>(&place), 2);
  const int dpi = static_cast<int>(GetDpiForWindow(Window().Handle()));
  EXPECT_EQ(place.left, MulDiv(360, dpi, 1440));
  EXPECT_EQ(place.top, MulDiv(480, dpi, 1440));

  std::vector<std::optional<Control>> order;
  for (HWND control = Handle(Control::kDriveList); order.size() < 12;
       control = GetNextDlgTabItem(Window().Handle(), control, FALSE)) {
    order.push_back(ControlOfId(GetDlgCtrlID(control)));
  }
  using enum Control;
  EXPECT_EQ(order, (std::vector<std::optional<Control>>{kDriveList, kFileList, kFolderList,
                                                        kAddObjects, kCenterX, kCenterY, kRangeX,
                                                        kRangeY, kOpen, kCount, kTheme, kOwnId}));
}

// The table the Qt window is built from too: kind, place, caption, limit, font and tab order of
// every control. Frames nest in the table; here every control is a child of the window.
TEST_F(Form1Test, ControlsMatchTheSharedLayoutTable) {
  const int dpi = static_cast<int>(GetDpiForWindow(Window().Handle()));
  const auto pixels = [dpi](int twips) { return MulDiv(twips, dpi, kTwipsPerInch); };
  for (const ControlLayout& layout : kForm1Layout) {
    SCOPED_TRACE(std::string(layout.name));
    const HWND control = Handle(layout.control);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), Window().Handle());
    EXPECT_EQ(KindOf(control), layout.kind);

    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, Window().Handle(), reinterpret_cast<POINT*>(&place), 2);
    const TwipsRect twips = PlaceInClientArea(layout);
    EXPECT_EQ(place.left, pixels(twips.left));
    EXPECT_EQ(place.top, pixels(twips.top));
    EXPECT_EQ(place.right - place.left, pixels(twips.width));
    // A combo box's field is as high as its font; the table's height is the field's.
    if (layout.kind != ControlKind::kComboBox && layout.kind != ControlKind::kDriveList) {
      EXPECT_EQ(place.bottom - place.top, pixels(twips.height));
    }

    const bool isList = layout.kind == ControlKind::kDriveList ||
                        layout.kind == ControlKind::kFileList ||
                        layout.kind == ControlKind::kDirectoryList;
    if (!isList) {
      EXPECT_EQ(Text(layout.control), layout.caption);
    }
    if (layout.kind == ControlKind::kTextBox) {
      EXPECT_EQ(SendMessageW(control, EM_GETLIMITTEXT, 0, 0), layout.textLimit);
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(static_cast<int>(layout.pointSize * 10), dpi, 720));
    EXPECT_EQ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0, TakesFocus(layout.kind));
  }

  std::vector<int> expected;
  for (const ControlLayout* layout : TabOrder()) expected.push_back(IdOf(*layout));
  std::vector<int> order;
  for (HWND control = GetDlgItem(Window().Handle(), expected.front());
       order.size() < expected.size();
       control = GetNextDlgTabItem(Window().Handle(), control, FALSE)) {
    order.push_back(GetDlgCtrlID(control));
  }
  EXPECT_EQ(order, expected);
}

TEST_F(Form1Test, ListsShowTheCurrentFolderAndItsMissionsInAnyCase) {
  const HWND file1 = Handle(Control::kFileList);
  ASSERT_EQ(SendMessageW(file1, LB_GETCOUNT, 0, 0), 2);
  wchar_t name[64];
  SendMessageW(file1, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(name));
  EXPECT_EQ(Utf8(name), "Z.MIS");
  const HWND dir1 = Handle(Control::kFolderList);
  wchar_t folder[MAX_PATH];
  SendMessageW(dir1, LB_GETTEXT, SendMessageW(dir1, LB_GETCURSEL, 0, 0),
               reinterpret_cast<LPARAM>(folder));
  EXPECT_EQ(Utf8(folder), Utf8(folder_.Path().filename().wstring()));
}

TEST_F(Form1Test, MouseRoadWritesTheExpectedFileAndKeepsTheFileSelected) {
  SendMessageW(Handle(Control::kFileList), LB_SETCURSEL, 0, 0);
  Notify(Control::kFileList, LBN_DBLCLK);
  EXPECT_EQ(Text(Control::kStatus), "File is open, now please set options!");
  EnterPlacement();
  SetText(Control::kCount, L"5");
  SendMessageW(Handle(Control::kTheme), CB_SETCURSEL, kPeru, 0);
  Notify(Control::kTheme, CBN_SELCHANGE);
  SendMessageW(Handle(Control::kAddObjects), BM_CLICK, 0, 0);

  ExpectTheFixtureWritten();
  // The list now holds the output too; the opened file is still the selected one.
  EXPECT_EQ(SendMessageW(Handle(Control::kFileList), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(Handle(Control::kFileList), LB_GETCURSEL, 0, 0), 0);
}

TEST_F(Form1Test, OwnIdWarnsOnceAndPutsTheThemeBackToItsPrompt) {
  SendMessageW(Handle(Control::kTheme), CB_SETCURSEL, kPeru, 0);
  Notify(Control::kTheme, CBN_SELCHANGE);
  EXPECT_EQ(Text(Control::kTheme), "Peru");
  SetText(Control::kOwnId, L"1055");
  SetText(Control::kOwnId, L"1056");
  EXPECT_EQ(log_.messages, std::vector<std::string>{kOwnIdWarning});
  EXPECT_EQ(Text(Control::kTheme), kThemePrompt);
}

TEST_F(Form1Test, KeyboardAloneOpensAFileAndCompletesARun) {
  EnterPlacement();
  ASSERT_TRUE(TabTo(Window(), Control::kFileList));
  PressKey(Window(), VK_HOME);  // the first entry, two_oaks.mis
  ASSERT_TRUE(TabTo(Window(), Control::kOpen));
  PressKey(Window(), VK_SPACE);
  EXPECT_EQ(Text(Control::kStatus), "File is open, now please set options!");
  ASSERT_TRUE(TabTo(Window(), Control::kCount));
  TypeText(Window(), L"5");  // replaces the whole text, which Tab selected
  ASSERT_TRUE(TabTo(Window(), Control::kTheme));
  TypeText(Window(), L"Peru");
  ASSERT_TRUE(TabTo(Window(), Control::kAddObjects));
  PressKey(Window(), VK_SPACE);
  ExpectTheFixtureWritten();

  // Enter in the file list opens the file again for the next run.
  ASSERT_TRUE(TabTo(Window(), Control::kFileList));
  PressKey(Window(), VK_RETURN);
  EXPECT_EQ(Text(Control::kStatus), "File is open, now please set options!");
}

TEST_F(Form1Test, MessagesAreShownWhileARunHasTheWindowDisabled) {
  SendMessageW(Handle(Control::kAddObjects), BM_CLICK, 0, 0);
  ASSERT_EQ(log_.messages.size(), 1u);
  EXPECT_FALSE(log_.windowEnabled[0]);
  EXPECT_TRUE(IsWindowEnabled(Window().Handle()));
}

TEST_F(Form1Test, F1ShowsTheAboutBoxAndExitEndsTheProgram) {
  PressKey(Window(), VK_F1);
  EXPECT_EQ(log_.messages, std::vector<std::string>{AboutText()});

  SendMessageW(Window().Handle(), WM_COMMAND, static_cast<WPARAM>(MenuId::ext), 0);
  EXPECT_FALSE(IsWindow(Window().Handle()));
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace bosquell::win32
