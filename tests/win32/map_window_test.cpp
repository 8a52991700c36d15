// The native map window: opened and closed with F2, driven with the mouse and keys as a user
// drives it, and the run that writes what it shows. What the map decides is tested with its
// logic; here the window's wiring to that logic is.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <tuple>

#include "../engine/test_support.h"
#include "common/number_text.h"
#include "placement/placement.h"
#include "placement/random_source.h"
#include "win32/form1.h"
#include "win32/wide_text.h"
#include "win32_test_support.h"
#include "window_logic/window_texts.h"

namespace bosquell::win32 {
namespace {

using namespace testing;

const std::filesystem::path kFixtures = std::filesystem::absolute(BOSQUELL_FIXTURES);

constexpr int kPeru = 6;  // in the theme list

// Whether one of the tooltips of `owner` shows a tip for `control`.
bool HasTooltip(HWND owner, HWND control) {
  HWND tooltip = nullptr;
  while ((tooltip = FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
    if (GetWindow(tooltip, GW_OWNER) != owner) continue;
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    if (SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != 0) {
      return true;
    }
  }
  return false;
}
constexpr std::uint32_t kFirstSeed = 1000;

struct Position {
  double x;
  double y;
  bool operator==(const Position&) const = default;
};

// The type id and the position of every item record of a mission, in file order.
std::vector<std::pair<std::string, Position>> ItemsOf(const std::string& mission) {
  std::vector<std::pair<std::string, Position>> items;
  std::istringstream lines(mission);
  std::string line;
  std::string type;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string key;
    words >> key;
    if (key == "type_id") words >> type;
    if (key == "position") {
      Position at{};
      words >> at.x >> at.y;
      items.emplace_back(type, at);
    }
  }
  return items;
}

class MapWindowTest : public ::testing::Test {
 protected:
  MapWindowTest() {
    bosquell::testing::WriteFile(folder_.Path() / "two_oaks.mis",
                                 bosquell::testing::ReadFile(kFixtures / "two_oaks.mis"));
    form_ = std::make_unique<Form1>(GetModuleHandleW(nullptr), log_.Presenter(),
                                    std::make_unique<MersenneRandom>(42),
                                    [this] { return nextSeed_++; });
    // No box may wait for a user: a drawn recipe is dropped when the map closes.
    form_->MapFrame().SetRecipeDialogs(
        {[](HWND) { return std::optional<std::string>(); },
         [](HWND) { return std::optional<std::string>(); },
         [](HWND, const std::string&) { return UnsavedAnswer::kDiscard; },
         [](HWND, const std::string&) { return false; }, [](HWND, const std::string&) {}});
    ShowWindow(Main(), SW_SHOW);
    SetForegroundWindow(Main());
    SetFocus(Handle(Control::kDriveList));
  }

  Form1Window& Window() { return form_->Window(); }
  HWND Main() { return Window().Handle(); }
  HWND Handle(Control id) { return Window().ControlHandle(id); }
  MapLogic& Map() { return form_->Map(); }
  HWND MapControl(MapControlId id) { return form_->MapFrame().Control(id); }
  HWND Picture() { return MapControl(MapControlId::Picture); }

  static std::string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
  }
  std::string Text(Control id) { return TextOf(Handle(id)); }
  void SetText(Control id, const wchar_t* text) {
    SendMessageW(Handle(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  void Notify(Control id, WORD code) {
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(IdOf(id)), code),
                 reinterpret_cast<LPARAM>(Handle(id)));
  }

  void OpenTheMission() {
    SendMessageW(Handle(Control::kFileList), LB_SETCURSEL, 0, 0);
    Notify(Control::kFileList, LBN_DBLCLK);
  }
  // Inputs a run accepts: five Peru trees in a small area.
  void EnterRunInputs() {
    SetText(Control::kCenterX, L"2");
    SetText(Control::kCenterY, L"-1");
    SetText(Control::kRangeX, L"3");
    SetText(Control::kRangeY, L"2");
    SetText(Control::kCount, L"5");
    SendMessageW(Handle(Control::kTheme), CB_SETCURSEL, kPeru, 0);
    Notify(Control::kTheme, CBN_SELCHANGE);
  }
  // F2 in the main window; the picture is painted once, which sizes the map's view.
  void OpenTheMap() {
    SetFocus(Handle(Control::kDriveList));
    PressKey(Window(), VK_F2);
    ASSERT_TRUE(Map().IsOpen());
    UpdateWindow(Picture());
  }
  void Mouse(UINT message, WPARAM keys, PixelPoint at) {
    SendMessageW(
        Picture(), message, keys,
        MAKELPARAM(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y))));
  }
  std::string Status() { return TextOf(MapControl(MapControlId::Status)); }
  HWND PanelControl(PanelControlId id) {
    return GetDlgItem(form_->MapFrame().Handle(), static_cast<int>(id));
  }

  CurrentScratchFolder folder_{"Karte 地図"};
  MessageLog log_;
  std::uint32_t nextSeed_ = kFirstSeed;
  std::unique_ptr<Form1> form_;
};

TEST_F(MapWindowTest, ViewMenuAndF2OpenTheMapAndF2EscOrItsCloseButtonHideIt) {
  HMENU bar = GetMenu(Main());
  wchar_t caption[32] = {};
  GetMenuStringW(bar, 1, caption, 32, MF_BYPOSITION);
  EXPECT_EQ(Utf8(caption), "&View");
  GetMenuStringW(GetSubMenu(bar, 1), 0, caption, 32, MF_BYPOSITION);
  EXPECT_EQ(Utf8(caption), "&Map\tF2");
  EXPECT_EQ(FindWindowW(nullptr, L"Bosquell map"), nullptr);  // made when first opened

  OpenTheMap();
  const HWND map = FindWindowW(nullptr, L"Bosquell map");
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map, form_->MapFrame().Handle());
  EXPECT_TRUE(IsWindowVisible(map));
  EXPECT_EQ(GetFocus(), Picture());
  // Resizable, with its own place on the taskbar.
  EXPECT_NE(GetWindowLongPtrW(map, GWL_STYLE) & WS_THICKFRAME, 0);

  struct Closing {
    const char* how;
    std::function<void()> close;
  };
  const Closing ways[] = {
      {"F2 in the map", [&] { PressKey(Window(), VK_F2); }},
      {"Esc in the map", [&] { PressKey(Window(), VK_ESCAPE); }},
      {"the close button", [&] { SendMessageW(map, WM_CLOSE, 0, 0); }},
  };
  for (const Closing& way : ways) {
    SCOPED_TRACE(way.how);
    if (!Map().IsOpen()) SendMessageW(Main(), WM_COMMAND, static_cast<WPARAM>(MenuId::mapview), 0);
    ASSERT_TRUE(IsWindowVisible(map));
    SetFocus(Picture());
    way.close();
    EXPECT_FALSE(IsWindowVisible(map));
    EXPECT_FALSE(Map().IsOpen());
    EXPECT_TRUE(IsWindow(map));  // hidden, not destroyed, and the program goes on
    EXPECT_TRUE(IsWindow(Main()));
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  }
  // Opened again, it is the same window, on the same seed.
  OpenTheMap();
  EXPECT_EQ(FindWindowW(nullptr, L"Bosquell map"), map);
  EXPECT_EQ(Map().Seed(), kFirstSeed);
  // F2 in the main window brings the open map to the front, a minimized one too.
  for (const bool minimized : {false, true}) {
    if (minimized) ShowWindow(map, SW_MINIMIZE);
    OpenTheMap();
    EXPECT_FALSE(IsIconic(map));
    EXPECT_TRUE(IsWindowVisible(map));
    EXPECT_EQ(GetActiveWindow(), map);
  }
}

// The map opens beside the main window, as far as the screen's work area lets it, with tooltips
// on its fields; F6 goes over to the other window.
TEST_F(MapWindowTest, TheMapOpensBesideTheMainWindowAndF6GoesBetweenThem) {
  OpenTheMap();
  HWND map = FindWindowW(nullptr, L"Bosquell map");
  RECT mapFrame{};
  RECT mainFrame{};
  GetWindowRect(map, &mapFrame);
  GetWindowRect(Window().Handle(), &mainFrame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(
      GetMonitorInfoW(MonitorFromWindow(Window().Handle(), MONITOR_DEFAULTTONEAREST), &monitor));
  const RECT& work = monitor.rcWork;
  EXPECT_TRUE(mapFrame.left >= work.left && mapFrame.right <= work.right &&
              mapFrame.top >= work.top && mapFrame.bottom <= work.bottom);
  RECT overlap{};
  EXPECT_TRUE(!IntersectRect(&overlap, &mapFrame, &mainFrame) || mapFrame.left == work.left ||
              mapFrame.right == work.right);
  // The bar's controls and the side panel's fields have their tooltips, as in the other window.
  for (const MapControlId id :
       {MapControlId::Reroll, MapControlId::Opacity, MapControlId::KeepClear}) {
    EXPECT_TRUE(HasTooltip(map, GetDlgItem(map, static_cast<int>(id)))) << static_cast<int>(id);
  }
  PressKey(Window(), VK_F6);
  EXPECT_EQ(GetActiveWindow(), Window().Handle());
  PressKey(Window(), VK_F6);
  EXPECT_EQ(GetActiveWindow(), map);
}

TEST_F(MapWindowTest, DraggingOnThePictureSetsTheAreaInTheMainWindow) {
  OpenTheMission();
  OpenTheMap();
  const MapViewport& view = Map().Viewport();
  ASSERT_EQ(view.Width(), [&] {
    RECT area;
    GetClientRect(Picture(), &area);
    return static_cast<int>(area.right);
  }());
  // Zoomed in with "+" until a pixel is a small part of a user unit, so that the corners below
  // land within a tenth of a unit of whole user units.
  for (int press = 0; press < 60 && view.UnitsPerPixel() > 16; ++press) TypeText(Window(), L"+");
  ASSERT_LE(view.UnitsPerPixel(), 16);

  const MapPoint middle = view.ToMap({view.Width() / 2.0, view.Height() / 2.0});
  const double x = std::round(middle.x / kMapUnitsPerUserUnit);
  const double y = std::round(middle.y / kMapUnitsPerUserUnit);
  // From x - 1 to x + 5 and from y - 1 to y + 3 user units, dragged from the top-left corner.
  const PixelPoint from =
      view.ToPixel({(x - 1) * kMapUnitsPerUserUnit, (y + 3) * kMapUnitsPerUserUnit});
  const PixelPoint to =
      view.ToPixel({(x + 5) * kMapUnitsPerUserUnit, (y - 1) * kMapUnitsPerUserUnit});
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, from);
  EXPECT_EQ(GetCapture(), Picture());
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, {(from.x + to.x) / 2, (from.y + to.y) / 2});
  EXPECT_EQ(Text(Control::kRangeX), "1024");  // nothing is set before the drag ends
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, to);
  Mouse(WM_LBUTTONUP, 0, to);
  EXPECT_EQ(GetCapture(), nullptr);

  EXPECT_EQ(Text(Control::kCenterX), NumberText(x + 2));
  EXPECT_EQ(Text(Control::kCenterY), NumberText(y + 1));
  EXPECT_EQ(Text(Control::kRangeX), "3");
  EXPECT_EQ(Text(Control::kRangeY), "2");
  // The pointer's place is in the status line.
  EXPECT_NE(Status().find("user units"), std::string::npos);

  // A click spans no area and changes nothing.
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, from);
  Mouse(WM_LBUTTONUP, 0, from);
  EXPECT_EQ(Text(Control::kRangeX), "3");
}

TEST_F(MapWindowTest, AnotherWindowTakingTheMouseInMidDragEndsTheDragUnfinished) {
  OpenTheMission();
  OpenTheMap();
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, {50, 50});
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, {150, 120});
  SetCapture(Main());
  EXPECT_FALSE(Map().Dragging());
  ReleaseCapture();
  Mouse(WM_LBUTTONUP, 0, {150, 120});
  EXPECT_EQ(Text(Control::kRangeX), "1024");
}

// Holds the modifier keys down, as the window reads them, while `press` runs.
void WithKeysHeld(std::initializer_list<int> keys, const std::function<void()>& press) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
  press();
  for (int key : keys) state[key] = 0;
  SetKeyboardState(state);
}

TEST_F(MapWindowTest, ShiftArrowsMoveTheAreaCtrlShiftArrowsResizeItArrowsPan) {
  OpenTheMission();
  EnterRunInputs();  // center 2, -1; range 3, 2
  OpenTheMap();
  // Zoomed in, a step is one user unit.
  Map().Wheel({Map().Viewport().Width() / 2.0, Map().Viewport().Height() / 2.0}, 24);
  WithKeysHeld({VK_SHIFT}, [&] {
    PressKey(Window(), VK_RIGHT);
    PressKey(Window(), VK_UP);
  });
  EXPECT_EQ(Text(Control::kCenterX), "3");
  EXPECT_EQ(Text(Control::kCenterY), "0");
  WithKeysHeld({VK_SHIFT, VK_CONTROL}, [&] {
    PressKey(Window(), VK_RIGHT);
    PressKey(Window(), VK_DOWN);
  });
  EXPECT_EQ(Text(Control::kRangeX), "4");
  EXPECT_EQ(Text(Control::kRangeY), "1");
  EXPECT_EQ(Text(Control::kCenterX), "3");

  const MapViewport& view = Map().Viewport();
  const MapPoint before = view.ToMap({0, 0});
  PressKey(Window(), VK_LEFT);
  EXPECT_LT(view.ToMap({0, 0}).x, before.x);
  EXPECT_EQ(Text(Control::kCenterX), "3");
}

TEST_F(MapWindowTest, ThePictureGivesTheEditorItsClicksDoubleClickAndEsc) {
  OpenTheMission();
  EnterRunInputs();
  OpenTheMap();
  Map().SetTool(ShapeTool::kPolygon);
  const auto areas = [&] { return Map().Document().Current().layers.at(0).areas.size(); };
  const auto at = [&](double x, double y) {
    return Map().Viewport().ToPixel({x * kMapUnitsPerUserUnit, y * kMapUnitsPerUserUnit});
  };
  const auto click = [&](PixelPoint point) {
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, point);
    Mouse(WM_LBUTTONUP, 0, point);
  };
  // Esc drops the shape being drawn and leaves the map open.
  click(at(0, 0));
  PressKey(Window(), VK_ESCAPE);
  EXPECT_TRUE(Map().IsOpen());
  EXPECT_FALSE(Map().Document().Editor().Unfinished());

  click(at(0, 0));
  click(at(20, 0));
  click(at(10, 15));
  Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, at(10, 15));
  Mouse(WM_LBUTTONUP, 0, at(10, 15));
  EXPECT_EQ(areas(), 2u);
  // With nothing to drop, Esc closes the map.
  PressKey(Window(), VK_ESCAPE);
  EXPECT_FALSE(Map().IsOpen());
}

TEST_F(MapWindowTest, WheelZoomsAboutThePointerAndTheOtherButtonsPan) {
  OpenTheMission();
  OpenTheMap();
  const MapViewport& view = Map().Viewport();
  const PixelPoint pointer{100, 80};
  const MapPoint under = view.ToMap(pointer);
  const double before = view.UnitsPerPixel();
  // The wheel's position comes in screen coordinates.
  POINT screen{100, 80};
  ClientToScreen(Picture(), &screen);
  SendMessageW(Picture(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
               MAKELPARAM(screen.x, screen.y));
  EXPECT_LT(view.UnitsPerPixel(), before);
  EXPECT_NEAR(view.ToMap(pointer).x, under.x, view.UnitsPerPixel());
  EXPECT_NEAR(view.ToMap(pointer).y, under.y, view.UnitsPerPixel());

  for (const auto& [down, up, held] : {std::tuple{WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON},
                                       std::tuple{WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON}}) {
    const MapPoint grabbed = view.ToMap({100, 100});
    Mouse(down, held, {100, 100});
    Mouse(WM_MOUSEMOVE, held, {115, 95});
    Mouse(WM_MOUSEMOVE, held, {130, 90});
    Mouse(up, 0, {130, 90});
    // The map point that was grabbed has moved with the pointer.
    EXPECT_NEAR(view.ToMap({130, 90}).x, grabbed.x, 1e-6 * std::abs(grabbed.x) + 1e-6);
    EXPECT_NEAR(view.ToMap({130, 90}).y, grabbed.y, 1e-6 * std::abs(grabbed.y) + 1e-6);
  }
  // Home fits the picture again.
  PressKey(Window(), VK_HOME);
  EXPECT_DOUBLE_EQ(view.UnitsPerPixel(), before);
}

TEST_F(MapWindowTest, RerollTakesANewSeedThatTheStatusLineShows) {
  OpenTheMission();
  EnterRunInputs();
  OpenTheMap();
  EXPECT_EQ(Map().Seed(), kFirstSeed);
  EXPECT_EQ(Map().Preview().objects.size(), 5u);
  EXPECT_NE(Status().find("Seed: 1000"), std::string::npos) << Status();

  TypeText(Window(), L"r");
  EXPECT_EQ(Map().Seed(), kFirstSeed + 1);
  EXPECT_NE(Status().find("Seed: 1001"), std::string::npos) << Status();
  TypeText(Window(), L"R");
  EXPECT_EQ(Map().Seed(), kFirstSeed + 2);
  SendMessageW(MapControl(MapControlId::Reroll), BM_CLICK, 0, 0);
  EXPECT_EQ(Map().Seed(), kFirstSeed + 3);
  EXPECT_NE(Status().find("Seed: 1003"), std::string::npos) << Status();
}

TEST_F(MapWindowTest, AddObjectsWritesExactlyThePreviewedObjects) {
  OpenTheMission();
  EnterRunInputs();
  OpenTheMap();
  TypeText(Window(), L"r");
  std::vector<std::pair<std::string, Position>> preview;
  for (const DrawnObject& object : Map().Preview().objects) {
    preview.emplace_back(object.typeText, Position{object.x, object.y});
  }
  ASSERT_EQ(preview.size(), 5u);

  SendMessageW(Handle(Control::kAddObjects), BM_CLICK, 0, 0);
  const std::string input = bosquell::testing::ReadFile(folder_.Path() / "two_oaks.mis");
  const std::string output = bosquell::testing::ReadFile(folder_.Path() / "two_oaks_rnd.mis");
  const auto existing = ItemsOf(input);
  auto written = ItemsOf(output);
  ASSERT_EQ(written.size(), existing.size() + preview.size());
  written.erase(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(existing.size()));
  EXPECT_EQ(written, preview);
}

TEST_F(MapWindowTest, WithTheMapClosedAgainTheRunSeedsItself) {
  OpenTheMission();
  EnterRunInputs();
  OpenTheMap();
  PressKey(Window(), VK_ESCAPE);
  SendMessageW(Handle(Control::kAddObjects), BM_CLICK, 0, 0);
  EXPECT_EQ(bosquell::testing::ReadFile(folder_.Path() / "two_oaks_rnd.mis"),
            bosquell::testing::ReadFile(kFixtures / "two_oaks_peru_seed42.mis"));
}

TEST_F(MapWindowTest, TheUsersEditsInEitherWindowRedrawThePreview) {
  OpenTheMission();
  EnterRunInputs();
  OpenTheMap();
  ASSERT_EQ(Map().Preview().objects.size(), 5u);

  SetText(Control::kCount, L"x");
  EXPECT_TRUE(Map().Preview().objects.empty());
  EXPECT_FALSE(Map().Problem().empty());
  SetText(Control::kCount, L"7");
  EXPECT_EQ(Map().Preview().objects.size(), 7u);

  // Typing in the theme box's field: its prompt is no theme.
  SetWindowTextW(Handle(Control::kTheme), Wide(kThemePrompt).c_str());
  Notify(Control::kTheme, CBN_EDITCHANGE);
  EXPECT_TRUE(Map().Preview().objects.empty());
  SetWindowTextW(Handle(Control::kTheme), L"Peru");
  Notify(Control::kTheme, CBN_EDITCHANGE);
  EXPECT_EQ(Map().Preview().objects.size(), 7u);

  // Tab goes from the picture to the side panel, whose rule fields are the map's.
  SetFocus(Picture());
  PressKey(Window(), VK_TAB);
  EXPECT_EQ(GetFocus(), PanelControl(PanelControlId::Layers));
  SetFocus(MapControl(MapControlId::KeepClear));
  TypeText(Window(), L"2");
  EXPECT_EQ(Map().KeepClearField(), "2");
  PressKey(Window(), VK_TAB);
  ASSERT_EQ(GetFocus(), MapControl(MapControlId::Spacing));
  TypeText(Window(), L"1.5");
  EXPECT_EQ(Map().SpacingField(), "1.5");
  // The clumps' fields are off for a uniform layer; nothing is selected to exclude.
  PressKey(Window(), VK_TAB);
  EXPECT_EQ(GetFocus(), PanelControl(PanelControlId::Shapes));
  PressKey(Window(), VK_TAB);
  EXPECT_EQ(GetFocus(), MapControl(MapControlId::Reroll));
  PressKey(Window(), VK_TAB);
  EXPECT_EQ(GetFocus(), MapControl(MapControlId::Opacity));
  PressKey(Window(), VK_TAB);
  EXPECT_EQ(GetFocus(), Picture());
}

// A side panel's choice and fields reach the recipe; a refused text gives way to the recipe's
// value when the field is left; undo shows the field's earlier value.
TEST_F(MapWindowTest, TheSidePanelEditsTheRecipeAndUndoShowsItsFieldsAgain) {
  OpenTheMission();
  EnterRunInputs();
  OpenTheMap();
  const auto layer = [&] { return Map().Document().Current().layers.at(0); };
  HWND pattern = PanelControl(PanelControlId::Pattern);
  SendMessageW(pattern, CB_SETCURSEL, 2, 0);
  SendMessageW(form_->MapFrame().Handle(), WM_COMMAND,
               MAKEWPARAM(static_cast<WORD>(PanelControlId::Pattern), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(pattern));
  EXPECT_EQ(layer().pattern, Pattern::kClumped);
  HWND radius = PanelControl(PanelControlId::ClumpRadius);
  SetFocus(radius);
  SendMessageW(radius, EM_SETSEL, 0, -1);
  TypeText(Window(), L"12.5");
  PressKey(Window(), VK_RETURN);
  EXPECT_EQ(layer().clumpRadius, 12.5);

  HWND count = PanelControl(PanelControlId::Count);
  SetFocus(count);
  SendMessageW(count, EM_SETSEL, 0, -1);
  TypeText(Window(), L"x");
  EXPECT_NE(Status().find("The count must be a whole number"), std::string::npos) << Status();
  PressKey(Window(), VK_TAB);
  EXPECT_EQ(TextOf(count), "5");

  SendMessageW(form_->MapFrame().Handle(), WM_COMMAND, static_cast<WPARAM>(MapRecipeId::Undo), 0);
  EXPECT_EQ(TextOf(radius), "50");
}

// "&Recipe" > "&Background…" lays the chosen picture (a name in other letters) under the
// objects, the slider sets its opacity, and "&Align by Two Points" asks the position of each
// point clicked on it, after the click.
TEST_F(MapWindowTest, TheRecipeMenuPlacesTheBackgroundAndTheSliderSetsItsOpacity) {
  const std::string picture = Utf8((folder_.Path() / L"T\u00e4ler.bmp").wstring());
  bosquell::testing::WriteFile(folder_.Path() / L"T\u00e4ler.bmp",
                               bosquell::testing::PlainBmp(8, 4, 0x3366cc));
  std::vector<std::string> positions = {"0, 0", "100, -100"};
  form_->MapFrame().SetDialogs({[&](HWND) { return std::optional<std::string>(picture); },
                                [&](HWND, const std::string&) {
                                  std::optional<std::string> next = positions.front();
                                  positions.erase(positions.begin());
                                  return next;
                                }});
  OpenTheMission();
  EnterRunInputs();
  OpenTheMap();
  const HWND map = form_->MapFrame().Handle();
  wchar_t caption[32] = {};
  GetMenuStringW(GetMenu(map), 0, caption, 32, MF_BYPOSITION);
  EXPECT_EQ(Utf8(caption), "&Recipe");
  SendMessageW(map, WM_COMMAND, static_cast<WPARAM>(MapMenuId::ChooseBackground), 0);
  ASSERT_TRUE(Map().Background().HasPicture()) << Map().Background().Problem();
  EXPECT_EQ(Map().Background().Path(), picture);

  HWND slider = MapControl(MapControlId::Opacity);
  SendMessageW(slider, TBM_SETPOS, TRUE, 40);
  SendMessageW(map, WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(Map().Background().Opacity(), 0.4);

  for (const PixelPoint onPicture : {PixelPoint{2, 1}, PixelPoint{6, 3}}) {
    SendMessageW(map, WM_COMMAND, static_cast<WPARAM>(MapMenuId::AlignBackground), 0);
    const PixelPoint at =
        Map().Viewport().ToPixel(MapPosition(*Map().Background().ForMap(), onPicture));
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, at);
    Mouse(WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(Map().AlignmentSpot());
    MSG message;
    while (PeekMessageW(&message, map, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    EXPECT_FALSE(Map().AlignmentSpot());
  }
  EXPECT_TRUE(positions.empty());
  const BackgroundCorners& corners = Map().Background().Corners();
  EXPECT_NEAR(corners.topLeft.x, -12800, 2000);
  EXPECT_NEAR(corners.bottomRight.y, -38400, 4000);
  // "Background corners…" asks both corners; the slider follows an undone opacity.
  positions = {"-10, 5", "10, -5"};
  SendMessageW(map, WM_COMMAND, static_cast<WPARAM>(MapMenuId::BackgroundCorners), 0);
  EXPECT_EQ(corners.topLeft.x, -2560);
  EXPECT_EQ(corners.bottomRight.y, -1280);
  for (int undo = 0; undo < 4; ++undo) Map().KeyPressed(MapKey::kUndo, false, true);
  EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 100);
}

// The recipe's file items (Ctrl+O and Ctrl+S too), the tools, undo and the close of the map
// reach the logic through the window's dialogs.
TEST_F(MapWindowTest, TheRecipeFileItemsAndTheToolsReachTheLogic) {
  const std::filesystem::path saved = folder_.Path() / L"gezeichnet.toml";
  bosquell::testing::WriteFile(folder_.Path() / L"broken.toml", "[[layer]]\ncount = many\n");
  std::string toOpen = Utf8((folder_.Path() / L"broken.toml").wstring());
  std::vector<std::string> problems;
  int unsavedAsked = 0;
  form_->MapFrame().SetRecipeDialogs(
      {[&](HWND) { return std::optional<std::string>(toOpen); },
       [&](HWND) { return std::optional<std::string>(Utf8(saved.wstring())); },
       [&](HWND, const std::string&) {
         return ++unsavedAsked == 1 ? UnsavedAnswer::kCancel : UnsavedAnswer::kDiscard;
       },
       [](HWND, const std::string&) { return false; },
       [&](HWND, const std::string& text) { problems.push_back(text); }});
  OpenTheMission();
  EnterRunInputs();
  OpenTheMap();
  const HWND map = form_->MapFrame().Handle();
  const auto command = [&](MapRecipeId id) {
    SendMessageW(map, WM_COMMAND, static_cast<WPARAM>(id), 0);
  };
  wchar_t caption[32] = {};
  GetMenuStringW(GetSubMenu(GetMenu(map), 0), 0, caption, 32, MF_BYPOSITION);
  EXPECT_EQ(Utf8(caption), "&New");
  command(MapRecipeId::CircleTool);
  EXPECT_EQ(Map().Tool(), ShapeTool::kCircle);
  HMENU tools = GetSubMenu(GetMenu(map), 2);
  SendMessageW(map, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), 2);
  EXPECT_EQ(
      GetMenuState(tools, static_cast<UINT>(MapRecipeId::CircleTool), MF_BYCOMMAND) & MF_CHECKED,
      MF_CHECKED);
  const PixelPoint centre = Map().Viewport().ToPixel({0, 0});
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, centre);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, {centre.x + 30, centre.y});
  Mouse(WM_LBUTTONUP, 0, {centre.x + 30, centre.y});
  EXPECT_EQ(TextOf(map), "Untitled* - Bosquell map");
  const auto excluded = [&] {
    return Map().Document().Current().layers.at(0).areas.back().exclude;
  };
  command(MapRecipeId::Exclude);
  EXPECT_TRUE(excluded());
  command(MapRecipeId::Undo);
  EXPECT_FALSE(excluded());

  // "Cancel" keeps the map open; the next question is answered "Discard".
  SendMessageW(map, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Map().IsOpen());
  SetFocus(Picture());
  WithKeysHeld({VK_CONTROL}, [&] { PressKey(Window(), 'S'); });
  EXPECT_EQ(TextOf(map), "gezeichnet.toml - Bosquell map");
  EXPECT_TRUE(std::filesystem::exists(saved));
  WithKeysHeld({VK_CONTROL}, [&] { PressKey(Window(), 'O'); });
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("broken.toml"), std::string::npos) << problems[0];
  toOpen = Utf8(saved.wstring());
  command(MapRecipeId::NewRecipe);
  command(MapRecipeId::OpenRecipe);
  EXPECT_EQ(Map().Document().Path(), toOpen);
  EXPECT_EQ(unsavedAsked, 1);
}

// "&Recipe" ends with "&Take back a run…", which asks through the window's boxes.
TEST_F(MapWindowTest, TheRecipeMenuEndsWithTakingARunBack) {
  std::vector<std::string> messages;
  form_->MapFrame().SetTakeBackDialogs(
      {[](HWND) { return std::optional<std::string>("12a"); },
       [](HWND, const std::string&) { return false; },
       [&](HWND, const std::string& text) { messages.push_back(text); }});
  OpenTheMission();
  EnterRunInputs();
  OpenTheMap();
  const HWND map = form_->MapFrame().Handle();
  HMENU recipe = GetSubMenu(GetMenu(map), 0);
  wchar_t caption[32] = {};
  GetMenuStringW(recipe, GetMenuItemCount(recipe) - 1, caption, 32, MF_BYPOSITION);
  EXPECT_EQ(Utf8(caption), "&Take back a run\u2026");
  EXPECT_EQ(GetMenuItemID(recipe, GetMenuItemCount(recipe) - 1),
            static_cast<UINT>(MapMenuId::TakeBackRun));
  SendMessageW(map, WM_COMMAND, static_cast<WPARAM>(MapMenuId::TakeBackRun), 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("The seed must be a whole number", 0), 0u) << messages[0];
}

}  // namespace
}  // namespace bosquell::win32
