// A forest drawn in the native map window from start to end, as a user makes it: a polygon with
// an excluded corridor and an excluded circular clearing, drawn with the pointer and the keys,
// saved as a recipe, written with "Add Objects", and written again by bosquell-cli from the
// saved recipe and the seed in the map's status line.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "../cli/run_redirected.h"
#include "../engine/test_support.h"
#include "mission/item_positions.h"
#include "placement/random_source.h"
#include "win32/form1.h"
#include "win32/wide_text.h"
#include "win32_test_support.h"

namespace bosquell::win32 {
namespace {

using namespace testing;

// Taken while the current folder is still the build's, before a test moves to its scratch one.
const std::filesystem::path kFixtures = std::filesystem::absolute(BOSQUELL_FIXTURES);
const std::filesystem::path kCli = std::filesystem::absolute(BOSQUELL_CLI_PROGRAM);

constexpr int kPeru = 6;  // in the theme list

class DrawnForestTest : public ::testing::Test {
 protected:
  DrawnForestTest() {
    bosquell::testing::WriteFile(folder_.Path() / "two_oaks.mis",
                                 bosquell::testing::ReadFile(kFixtures / "two_oaks.mis"));
    form_ = std::make_unique<Form1>(GetModuleHandleW(nullptr), log_.Presenter(),
                                    std::make_unique<MersenneRandom>(42),
                                    [this] { return nextSeed_++; });
    form_->MapFrame().SetRecipeDialogs(
        {[](HWND) { return std::optional<std::string>(); },
         [this](HWND) { return std::optional<std::string>(Utf8(recipe_.wstring())); },
         [](HWND, const std::string&) { return UnsavedAnswer::kDiscard; },
         [](HWND, const std::string&) { return false; },
         [this](HWND, const std::string& text) { problems_.push_back(text); }});
    ShowWindow(Main(), SW_SHOW);
    SetForegroundWindow(Main());
  }

  HWND Main() { return form_->Window().Handle(); }
  HWND Box(Control id) { return form_->Window().ControlHandle(id); }
  HWND Picture() { return form_->MapFrame().Control(MapControlId::Picture); }
  void SetText(Control id, const wchar_t* text) {
    SendMessageW(Box(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  void Command(MapRecipeId id) {
    SendMessageW(form_->MapFrame().Handle(), WM_COMMAND, static_cast<WPARAM>(id), 0);
  }
  // The pixel of the picture at a point in user units; it must lie on the picture.
  POINT At(double x, double y) {
    const PixelPoint pixel =
        form_->Map().Viewport().ToPixel({x * kMapUnitsPerUserUnit, y * kMapUnitsPerUserUnit});
    RECT client;
    GetClientRect(Picture(), &client);
    const POINT point{static_cast<LONG>(std::lround(pixel.x)),
                      static_cast<LONG>(std::lround(pixel.y))};
    EXPECT_TRUE(PtInRect(&client, point)) << x << ", " << y;
    return point;
  }
  void Mouse(UINT message, WPARAM keys, POINT at) {
    SendMessageW(Picture(), message, keys, MAKELPARAM(at.x, at.y));
  }
  void Click(POINT at) {
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, at);
    Mouse(WM_LBUTTONUP, 0, at);
  }
  void PressOnPicture(UINT key) {
    SetFocus(Picture());
    PressKey(form_->Window(), key);
  }
  std::string MapStatus() {
    HWND status = form_->MapFrame().Control(MapControlId::Status);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(status)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(status, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
  }

  CurrentScratchFolder folder_{"Wald 森"};
  std::filesystem::path recipe_ = folder_.Path() / L"gezeichnet.toml";
  MessageLog log_;
  std::vector<std::string> problems_;
  std::uint32_t nextSeed_ = 2026;
  std::unique_ptr<Form1> form_;
};

TEST_F(DrawnForestTest, TheSavedRecipeRunByTheCommandLineWritesTheWindowsBytes) {
  // The mission, and boxes for a small square well away from where the forest goes.
  SendMessageW(Box(Control::kFileList), LB_SETCURSEL, 0, 0);
  SendMessageW(Main(), WM_COMMAND,
               MAKEWPARAM(static_cast<WORD>(IdOf(Control::kFileList)), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(Box(Control::kFileList)));
  SetText(Control::kCenterX, L"150");
  SetText(Control::kCenterY, L"150");
  SetText(Control::kRangeX, L"10");
  SetText(Control::kRangeY, L"10");
  SetText(Control::kCount, L"200");
  SendMessageW(Box(Control::kTheme), CB_SETCURSEL, kPeru, 0);
  SendMessageW(Main(), WM_COMMAND,
               MAKEWPARAM(static_cast<WORD>(IdOf(Control::kTheme)), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Box(Control::kTheme)));
  SetFocus(Box(Control::kDriveList));
  PressKey(form_->Window(), VK_F2);
  ASSERT_TRUE(form_->Map().IsOpen());
  UpdateWindow(Picture());

  // The forest: four corners clicked, the last one twice, as a double click gives it.
  Command(MapRecipeId::PolygonTool);
  for (const auto& [x, y] : {std::pair{0, 20}, {120, 10}, {130, 130}}) Click(At(x, y));
  Click(At(10, 120));
  Mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, At(10, 120));
  Mouse(WM_LBUTTONUP, 0, At(10, 120));
  // The road: three points, Enter, and Enter again for the offered width.
  Command(MapRecipeId::CorridorTool);
  for (const auto& [x, y] : {std::pair{0, 50}, {70, 40}, {135, 80}}) Click(At(x, y));
  PressOnPicture(VK_RETURN);
  PressOnPicture(VK_RETURN);
  Command(MapRecipeId::Exclude);
  // The clearing: dragged out from its centre.
  Command(MapRecipeId::CircleTool);
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, At(60, 90));
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, At(70, 90));
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, At(80, 90));
  Mouse(WM_LBUTTONUP, 0, At(80, 90));
  Command(MapRecipeId::Exclude);
  // The boxes' square goes: clicked with the select tool, then Del.
  Command(MapRecipeId::SelectTool);
  Click(At(150, 150));
  PressOnPicture(VK_DELETE);

  const Recipe& drawn = form_->Map().Document().Current();
  ASSERT_EQ(drawn.layers.size(), 1u);
  const std::vector<Area>& areas = drawn.layers[0].areas;
  ASSERT_EQ(areas.size(), 3u);
  EXPECT_EQ(areas[0], (Area{PolygonArea{{{0, 20}, {120, 10}, {130, 130}, {10, 120}}}, false}));
  EXPECT_EQ(areas[1], (Area{CorridorArea{{{0, 50}, {70, 40}, {135, 80}}, 10}, true}));
  EXPECT_EQ(areas[2], (Area{CircleArea{{60, 90}, 20}, true}));
  ASSERT_EQ(form_->Map().Problem(), "");
  const std::vector<DrawnObject> previewed = form_->Map().Preview().objects;
  ASSERT_EQ(previewed.size(), 200u);

  SetFocus(Picture());
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PressKey(form_->Window(), 'S');
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  ASSERT_TRUE(std::filesystem::exists(recipe_)) << (problems_.empty() ? "" : problems_[0]);
  EXPECT_EQ(form_->Map().WindowTitle(), "gezeichnet.toml - Bosquell map");

  // The user reads the seed off the map's status line.
  const std::string status = MapStatus();
  const std::size_t seedAt = status.find("Seed: ");
  ASSERT_NE(seedAt, std::string::npos) << status;
  const std::string seed =
      status.substr(seedAt + 6, status.find_first_not_of("0123456789", seedAt + 6) - seedAt - 6);
  EXPECT_EQ(seed, "2026");

  SendMessageW(Box(Control::kAddObjects), BM_CLICK, 0, 0);
  ASSERT_EQ(log_.messages.size(), 1u);
  EXPECT_EQ(log_.messages[0].rfind("200 Object have been added", 0), 0u) << log_.messages[0];
  const std::string written = bosquell::testing::ReadFile(folder_.Path() / "two_oaks_rnd.mis");
  std::stringbuf writtenBuffer(written);
  const std::vector<MapPoint> positions = ReadItemPositions(writtenBuffer).value();
  ASSERT_EQ(positions.size(), 2 + previewed.size());
  for (std::size_t i = 0; i < previewed.size(); ++i) {
    EXPECT_EQ(positions[2 + i].x, previewed[i].x);
    EXPECT_EQ(positions[2 + i].y, previewed[i].y);
  }

  const std::filesystem::path fromCli = folder_.Path() / "from_cli.mis";
  const int exitCode = bosquell::test::RunRedirected(
      kCli,
      {"--recipe", Utf8(recipe_.wstring()), "--seed", seed, "-o", Utf8(fromCli.wstring()),
       Utf8((folder_.Path() / "two_oaks.mis").wstring())},
      folder_.Path() / "out.txt", folder_.Path() / "err.txt");
  ASSERT_EQ(exitCode, 0) << bosquell::testing::ReadFile(folder_.Path() / "err.txt");
  EXPECT_TRUE(bosquell::testing::ReadFile(fromCli) == written);
}

}  // namespace
}  // namespace bosquell::win32
