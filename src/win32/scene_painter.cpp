#include "win32/scene_painter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "win32/wide_text.h"

namespace bosquell::win32 {
namespace {

// GDI takes coordinates far beyond the bitmap, but not any double: a zoomed-in picture can put
// a line's end millions of pixels away. Lines are cut to this margin around the bitmap first.
constexpr double kLineMargin = 16;
// Circles larger than this show no curve worth drawing inside the bitmap.
constexpr double kLargestRadius = 1 << 22;

COLORREF ColorOf(Rgb color) {
  return RGB(color.red, color.green, color.blue);
}

int Rounded(double value) {
  return static_cast<int>(std::lround(value));
}

// The part of the segment inside the rectangle (Liang and Barsky's clip), none when it misses.
std::optional<std::pair<PixelPoint, PixelPoint>> Clipped(PixelPoint from, PixelPoint to,
                                                         double left, double top, double right,
                                                         double bottom) {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  double enter = 0;
  double leave = 1;
  const std::pair<double, double> edges[] = {
      {-dx, from.x - left}, {dx, right - from.x}, {-dy, from.y - top}, {dy, bottom - from.y}};
  for (const auto& [direction, distance] : edges) {
    if (direction == 0) {
      if (distance < 0) return std::nullopt;
      continue;
    }
    const double at = distance / direction;
    if (direction < 0) {
      enter = std::max(enter, at);
    } else {
      leave = std::min(leave, at);
    }
    if (enter > leave) return std::nullopt;
  }
  return std::pair{PixelPoint{from.x + enter * dx, from.y + enter * dy},
                   PixelPoint{from.x + leave * dx, from.y + leave * dy}};
}

void DrawLines(const MapScene& scene, HDC dc, int width, int height) {
  for (const SceneLine& line : scene.lines) {
    const auto inside = Clipped(line.from, line.to, -kLineMargin, -kLineMargin, width + kLineMargin,
                                height + kLineMargin);
    if (!inside) continue;
    HPEN pen = CreatePen(line.dashed ? PS_DASH : PS_SOLID, 1, ColorOf(line.color));
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, Rounded(inside->first.x), Rounded(inside->first.y), nullptr);
    LineTo(dc, Rounded(inside->second.x), Rounded(inside->second.y));
    // LineTo leaves out the last pixel; the scene's lines include both ends.
    SetPixelV(dc, Rounded(inside->second.x), Rounded(inside->second.y), ColorOf(line.color));
    SelectObject(dc, previous);
    DeleteObject(pen);
  }
}

void DrawCircles(const MapScene& scene, HDC dc) {
  HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  for (const SceneCircle& circle : scene.circles) {
    if (!(circle.radius > 0) || circle.radius > kLargestRadius) continue;
    HPEN pen = CreatePen(PS_SOLID, 1, ColorOf(circle.color));
    HGDIOBJ previous = SelectObject(dc, pen);
    Ellipse(dc, Rounded(circle.center.x - circle.radius), Rounded(circle.center.y - circle.radius),
            Rounded(circle.center.x + circle.radius) + 1,
            Rounded(circle.center.y + circle.radius) + 1);
    SelectObject(dc, previous);
    DeleteObject(pen);
  }
  SelectObject(dc, previousBrush);
}

UINT AlignmentOf(TextAlign align) {
  switch (align) {
    case TextAlign::kLeft:
      return TA_BASELINE | TA_LEFT | TA_NOUPDATECP;
    case TextAlign::kCenter:
      return TA_BASELINE | TA_CENTER | TA_NOUPDATECP;
    case TextAlign::kRight:
      return TA_BASELINE | TA_RIGHT | TA_NOUPDATECP;
  }
  return TA_BASELINE | TA_LEFT | TA_NOUPDATECP;
}

void DrawTexts(const MapScene& scene, HDC dc, HFONT font) {
  HGDIOBJ previous = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  for (const SceneText& text : scene.texts) {
    const std::wstring wide = Wide(text.text);
    SetTextColor(dc, ColorOf(text.color));
    SetTextAlign(dc, AlignmentOf(text.align));
    TextOutW(dc, Rounded(text.at.x), Rounded(text.at.y), wide.c_str(),
             static_cast<int>(wide.size()));
  }
  SelectObject(dc, previous);
}

}  // namespace

SceneBitmap::SceneBitmap(HDC reference, int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down, as the scene's rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = CreateCompatibleDC(reference);
  if (bitmap_ == nullptr || dc_ == nullptr) return;
  previous_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<std::uint32_t*>(bits);
}

SceneBitmap::~SceneBitmap() {
  if (dc_ != nullptr) {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

std::uint32_t SceneBitmap::Pixel(int x, int y) const {
  if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return bits_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF;
}

void SceneBitmap::CopyPixels(const std::uint32_t* pixels) {
  if (bits_ == nullptr) return;
  GdiFlush();
  // A 32-bit DIB keeps a pixel as blue, green, red, unused: in memory the same as 0x00RRGGBB.
  std::memcpy(bits_, pixels, static_cast<std::size_t>(width_) * height_ * sizeof *bits_);
}

void PaintScene(const MapScene& scene, HFONT font, SceneBitmap& target) {
  if (!target.Valid()) return;
  const bool whole = scene.width > 0 && scene.height > 0 &&
                     scene.pixels.size() == static_cast<std::size_t>(scene.width) * scene.height;
  if (whole && scene.width == target.Width() && scene.height == target.Height()) {
    target.CopyPixels(scene.pixels.data());
  } else {
    RECT all{0, 0, target.Width(), target.Height()};
    FillRect(target.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (whole) {
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = scene.width;
      info.bmiHeader.biHeight = -scene.height;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      SetDIBitsToDevice(target.Dc(), 0, 0, static_cast<DWORD>(scene.width),
                        static_cast<DWORD>(scene.height), 0, 0, 0, static_cast<UINT>(scene.height),
                        scene.pixels.data(), &info, DIB_RGB_COLORS);
    }
  }
  DrawLines(scene, target.Dc(), target.Width(), target.Height());
  DrawCircles(scene, target.Dc());
  DrawTexts(scene, target.Dc(), font);
  GdiFlush();
}

}  // namespace bosquell::win32
