#pragma once

#include <windows.h>

#include <cstdint>

#include "map/map_scene.h"

namespace bosquell::win32 {

// A 32-bit top-down bitmap in memory with a device context drawing into it: the map's picture
// is painted here whole, then copied to the screen in one step, so the screen never shows a
// half-painted picture.
class SceneBitmap {
 public:
  // Compatible with `reference` (the screen when null).
  SceneBitmap(HDC reference, int width, int height);
  ~SceneBitmap();
  SceneBitmap(const SceneBitmap&) = delete;
  SceneBitmap& operator=(const SceneBitmap&) = delete;

  bool Valid() const { return bits_ != nullptr; }
  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixel as 0xRRGGBB, after GDI has finished drawing.
  std::uint32_t Pixel(int x, int y) const;
  // Replaces every pixel; `pixels` holds Width() x Height() values 0xRRGGBB, row by row.
  void CopyPixels(const std::uint32_t* pixels);

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// Paints the scene into the bitmap: its pixels, then its lines, circles and texts over them, the
// texts in `font`. A scene of another size than the bitmap's is drawn from the top-left corner,
// over a white background.
void PaintScene(const MapScene& scene, HFONT font, SceneBitmap& target);

}  // namespace bosquell::win32
