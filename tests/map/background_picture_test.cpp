// The picture under the map: reading PNG, JPEG and BMP files, broken ones refused with a reason,
// the smaller copies, the placement by two corners and the painting under the map.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../engine/test_support.h"
#include "common/utf8_path.h"
#include "map/map_picture.h"
#include "map/picture_reader.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace bosquell {
namespace {

enum class Kind { kPng, kJpeg, kBmp };

// Pixels of `channels` bytes, encoded by stb_image_write.
std::string Encoded(Kind kind, int width, int height, int channels,
                    const std::vector<unsigned char>& pixels) {
  std::string bytes;
  const auto append = [](void* to, void* data, int size) {
    static_cast<std::string*>(to)->append(static_cast<const char*>(data), size);
  };
  if (kind == Kind::kPng)
    stbi_write_png_to_func(append, &bytes, width, height, channels, pixels.data(), 0);
  if (kind == Kind::kJpeg)
    stbi_write_jpg_to_func(append, &bytes, width, height, channels, pixels.data(), 95);
  if (kind == Kind::kBmp)
    stbi_write_bmp_to_func(append, &bytes, width, height, channels, pixels.data());
  return bytes;
}

std::string Plain(Kind kind, int width, int height) {
  return Encoded(kind, width, height, 3,
                 std::vector<unsigned char>(static_cast<std::size_t>(width) * height * 3, 90));
}

void PutNumber(std::string& bytes, std::size_t at, std::uint32_t value, int size, bool big) {
  for (int i = 0; i < size; ++i)
    bytes[at + (big ? size - 1 - i : i)] = static_cast<char>(value >> (8 * i));
}
// The picture with another size in its header: PNG's header chunk, JPEG's frame, BMP's info.
std::string Claiming(Kind kind, std::uint32_t width, std::uint32_t height) {
  std::string bytes = Plain(kind, 64, 64);
  if (kind == Kind::kPng) {
    PutNumber(bytes, 16, width, 4, true);
    PutNumber(bytes, 20, height, 4, true);
  } else if (kind == Kind::kJpeg) {
    const std::size_t frame = bytes.find("\xFF\xC0");
    PutNumber(bytes, frame + 5, height, 2, true);
    PutNumber(bytes, frame + 7, width, 2, true);
  } else {
    PutNumber(bytes, 18, width, 4, false);
    PutNumber(bytes, 22, height, 4, false);
  }
  return bytes;
}

// The JPEG with its first Huffman table listing 510 codes, more than a table holds.
std::string WithOverfullTable(std::string jpeg) {
  const std::size_t table = jpeg.find("\xFF\xC4");
  jpeg[table + 19] = jpeg[table + 20] = '\xFF';
  return jpeg;
}

// An RGB PNG made by hand from its rows, each with its filter byte: their zlib stream, changed by
// `damage`, is cut into IDAT chunks of `piece` bytes with a text chunk after each; chunk checksums
// are left zero, as decoders do not look at them.
std::string HandMadePng(int width, int height, std::string rows,
                        std::size_t piece = std::string::npos,
                        void (*damage)(std::string&) = nullptr) {
  int size = 0;
  unsigned char* compressed = stbi_zlib_compress(reinterpret_cast<unsigned char*>(rows.data()),
                                                 static_cast<int>(rows.size()), &size, 8);
  std::string zlib(reinterpret_cast<char*>(compressed), static_cast<std::size_t>(size));
  std::free(compressed);
  if (damage != nullptr) damage(zlib);
  std::string png("\x89PNG\r\n\x1a\n", 8);
  const auto chunk = [&](const char* type, const std::string& data) {
    std::string length(4, '\0');
    PutNumber(length, 0, static_cast<std::uint32_t>(data.size()), 4, true);
    png += length + type + data + std::string(4, '\0');
  };
  std::string header(13, '\0');
  PutNumber(header, 0, static_cast<std::uint32_t>(width), 4, true);
  PutNumber(header, 4, static_cast<std::uint32_t>(height), 4, true);
  header[8] = 8;  // bits a channel
  header[9] = 2;  // RGB
  chunk("IHDR", header);
  for (std::size_t at = 0; at < zlib.size(); at += piece) {
    chunk("IDAT", zlib.substr(at, piece));
    if (piece != std::string::npos) chunk("tEXt", "Comment");
  }
  chunk("IEND", "");
  return png;
}

PictureReading ReadBytes(const testing::TempDir& dir, const std::string& bytes) {
  testing::WriteFile(dir / "picture", bytes);
  return ReadBackgroundPicture(Utf8FromPath(dir / "picture"));
}

TEST(BackgroundPicture, BrokenFilesAreRefusedWithTheirReason) {
  testing::TempDir dir;
  const std::string png = Plain(Kind::kPng, 64, 64);
  const std::string jpeg = Plain(Kind::kJpeg, 64, 64);
  const std::string bmp = Plain(Kind::kBmp, 64, 64);
  const std::string twoRows("\0abcdef\0ghijkl", 14);
  const std::string withoutEnd = HandMadePng(2, 2, twoRows);
  // A bad filter byte in a later batch of rows than the first.
  std::string tallRows(200 * 3001, '\0');
  tallRows[150 * 3001] = 7;
  const struct {
    std::string bytes;
    std::string reason;
  } cases[] = {
      {"", "it is not a PNG, JPEG or BMP picture"},
      {"begin item 0\r\nend item\r\n", "it is not a PNG, JPEG or BMP picture"},
      {png.substr(0, png.size() / 2), "it is cut short"},
      {png.substr(0, 20), "it is damaged: its header cannot be read"},
      {jpeg.substr(0, jpeg.size() - 40), "it is cut short"},
      {WithOverfullTable(jpeg), "it is damaged (bad Huffman table)"},
      {bmp.substr(0, bmp.size() - 1), "the file is too short for the 64 x 64 pixels"},
      {Claiming(Kind::kPng, 100000, 100000), "it is 100000 x 100000 pixels, more than the map"},
      {Claiming(Kind::kJpeg, 65535, 65535), "it is 65535 x 65535 pixels, more than the map"},
      {Claiming(Kind::kBmp, 16385, 2), "it is 16385 x 2 pixels, more than the map"},
      {Claiming(Kind::kPng, 8192, 8192), "the file is too short for the 8192 x 8192 pixels"},
      {Claiming(Kind::kJpeg, 8192, 8192), "the file is too short for the 8192 x 8192 pixels"},
      {Claiming(Kind::kBmp, 4000, 3000), "the file is too short for the 4000 x 3000 pixels"},
      {Claiming(Kind::kPng, 0, 64), "it has no pixels"},
      {Claiming(Kind::kBmp, 64, 0), "it has no pixels"},
      {HandMadePng(2, 2, std::string("\5abcdef\0abcdef", 14)), "it is damaged (bad filter method)"},
      {HandMadePng(1000, 200, tallRows), "it is damaged (bad filter method)"},
      {HandMadePng(2, 2, std::string("\0abcdef", 7)),
       "it is damaged (its data ends before its last row)"},
      {HandMadePng(2, 2, std::string(21, '\0')), "it is damaged (its data runs past its last row)"},
      {HandMadePng(2, 2, twoRows, 3, [](std::string& zlib) { zlib.back() ^= 1; }),
       "it is damaged (incorrect data check)"},
      {HandMadePng(2, 2, twoRows, 3, [](std::string& zlib) { zlib.resize(zlib.size() - 4); }),
       "it is damaged (its data ends before its checksum)"},
      {HandMadePng(2, 2, twoRows, 3, [](std::string& zlib) { zlib[0] ^= 1; }),
       "it is damaged (incorrect header check)"},
      {withoutEnd.substr(0, withoutEnd.size() - 12), "it is cut short"},
  };
  for (const auto& broken : cases) {
    const PictureReading reading = ReadBytes(dir, broken.bytes);
    EXPECT_FALSE(reading.picture) << broken.reason;
    EXPECT_EQ(reading.problem.rfind(Utf8FromPath(dir / "picture") + ": " + broken.reason, 0), 0u)
        << broken.reason << " / " << reading.problem;
  }
  EXPECT_EQ(ReadBackgroundPicture(Utf8FromPath(dir / "gone.png")).problem,
            Utf8FromPath(dir / "gone.png") + ": the file does not exist");
  EXPECT_NE(ReadBackgroundPicture(Utf8FromPath(dir.path())).problem.find("a folder"),
            std::string::npos);
}

std::vector<unsigned char> PixelsOf(const PictureLevel& level) {
  return {level.rgb, level.rgb + static_cast<std::size_t>(level.width) * level.height * 3};
}

// Each format gives the pixels it holds, under a name with letters outside ASCII; transparent
// parts come laid on white, and the smaller copies are means of two by two.
TEST(BackgroundPicture, ReadsEachFormatAndMakesItsSmallerCopies) {
  testing::TempDir dir;
  const std::string name = Utf8FromPath(dir.path()) + "/Gel\xC3\xA4nde \xC3\x9F.img";
  const std::vector<unsigned char> rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90,
                                          15, 25, 35, 45, 55, 65, 75, 85, 95};
  for (const Kind kind : {Kind::kPng, Kind::kBmp}) {
    testing::WriteFile(PathFromUtf8(name), Encoded(kind, 3, 2, 3, rgb));
    const PictureReading reading = ReadBackgroundPicture(name);
    ASSERT_TRUE(reading.picture) << reading.problem;
    const std::vector<PictureLevel>& levels = reading.picture->Levels();
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(PixelsOf(levels[0]), rgb);
    EXPECT_EQ(levels[1].width, 2);
    EXPECT_EQ(PixelsOf(levels[1]), (std::vector<unsigned char>{28, 38, 48, 73, 83, 93}));
    EXPECT_EQ(PixelsOf(levels[2]), (std::vector<unsigned char>{51, 61, 71}));
  }
  // Data in many IDAT chunks, with other chunks between them.
  testing::WriteFile(PathFromUtf8(name), HandMadePng(2, 2, std::string("\0abcdef\0ghijkl", 14), 3));
  const PictureReading pieces = ReadBackgroundPicture(name);
  ASSERT_TRUE(pieces.picture) << pieces.problem;
  EXPECT_EQ(
      PixelsOf(pieces.picture->Levels()[0]),
      (std::vector<unsigned char>{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l'}));
  // Each of PNG's row filters undone: noise, which every filter changes, over more rows than
  // are inflated at a time.
  std::vector<unsigned char> noise(101 * 1000 * 3);
  for (std::size_t i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<unsigned char>(i * 151 % 256);
  for (int filter = 0; filter <= 4; ++filter) {
    stbi_write_force_png_filter = filter;
    testing::WriteFile(PathFromUtf8(name), Encoded(Kind::kPng, 101, 1000, 3, noise));
    const PictureReading reading = ReadBackgroundPicture(name);
    ASSERT_TRUE(reading.picture) << reading.problem;
    EXPECT_EQ(PixelsOf(reading.picture->Levels()[0]), noise) << "filter " << filter;
  }
  stbi_write_force_png_filter = -1;
  // Opaque red, half-transparent red and clear black.
  testing::WriteFile(PathFromUtf8(name),
                     Encoded(Kind::kPng, 3, 1, 4, {255, 0, 0, 255, 255, 0, 0, 128, 0, 0, 0, 0}));
  EXPECT_EQ(PixelsOf(ReadBackgroundPicture(name).picture->Levels()[0]),
            (std::vector<unsigned char>{255, 0, 0, 255, 127, 127, 255, 255, 255}));
  testing::WriteFile(PathFromUtf8(name), Plain(Kind::kJpeg, 16, 16));
  const PictureReading jpeg = ReadBackgroundPicture(name);
  ASSERT_TRUE(jpeg.picture) << jpeg.problem;
  EXPECT_NEAR(jpeg.picture->Levels()[0].rgb[0], 90, 2);
}

TEST(MapBackground, CornersPlaceThePictureAndBadOnesAreRefused) {
  const BackgroundPicture picture(
      400, 200,
      BackgroundPicture::CopyOf(std::vector<std::uint8_t>(400 * 200 * 3).data(), 400, 200));
  const MapBackground background{&picture, {-1000, 500}, {3000, -1500}, 1};
  for (const auto& [map, pixel] : {std::pair<MapPoint, PixelPoint>{{-1000, 500}, {0, 0}},
                                   {{3000, -1500}, {400, 200}},
                                   {{1000, -500}, {200, 100}},
                                   {{-1010, 510}, {-1, -1}}}) {
    EXPECT_DOUBLE_EQ(PicturePosition(background, map).x, pixel.x);
    EXPECT_DOUBLE_EQ(PicturePosition(background, map).y, pixel.y);
    EXPECT_DOUBLE_EQ(MapPosition(background, pixel).x, map.x);
    EXPECT_DOUBLE_EQ(MapPosition(background, pixel).y, map.y);
  }
  EXPECT_EQ(BackgroundCornersProblem({-1000, 500}, {3000, -1500}), "");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto& [topLeft, bottomRight] : {std::pair<MapPoint, MapPoint>{{5, 5}, {5, 5}},
                                             {{5, 5}, {5, 0}},
                                             {{0, 5}, {10, 5}},
                                             {{10, 5}, {0, 0}},
                                             {{0, 0}, {10, 5}},
                                             {{nan, 5}, {10, 0}},
                                             {{-1e308, 5}, {1e308, 0}}}) {
    EXPECT_NE(BackgroundCornersProblem(topLeft, bottomRight), "") << topLeft.x << bottomRight.y;
  }
}

std::uint32_t At(const MapScene& scene, int x, int y) {
  return scene.pixels[static_cast<std::size_t>(y) * scene.width + x];
}

// Four colours over the four quarters of a view, then at half opacity; the corners of a larger
// view stay white.
TEST(MapBackground, PaintsUnderTheMapAtItsOpacity) {
  const std::vector<std::uint8_t> quarters = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
  const BackgroundPicture picture(2, 2, BackgroundPicture::CopyOf(quarters.data(), 2, 2));
  MapPicture map;
  map.background = MapBackground{&picture, {-1000, 1000}, {1000, -1000}, 1};
  MapViewport viewport;
  viewport.Resize(200, 200);
  viewport.Fit({-1000, -1000, 1000, 1000}, 0);
  const std::pair<int, int> middles[] = {{25, 25}, {175, 25}, {25, 175}, {175, 175}};
  const auto colours = [&] {
    const MapScene scene = DrawMapScene(map, viewport);
    std::vector<std::uint32_t> seen;
    for (const auto& [x, y] : middles) seen.push_back(At(scene, x, y));
    return seen;
  };
  EXPECT_EQ(colours(), (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00}));
  map.background->opacity = 0.5;
  EXPECT_EQ(colours(), (std::vector<std::uint32_t>{0xFF8080, 0x80FF80, 0x8080FF, 0xFFFF80}));
  viewport.Fit({-4000, -4000, 4000, 4000}, 0);
  const MapScene wide = DrawMapScene(map, viewport);
  EXPECT_EQ(At(wide, 74, 100), 0xFFFFFFu);
  EXPECT_EQ(At(wide, 76, 76), 0xFF8080u);
}

// Seen from afar, a checkerboard of single pixels shows as the grey of its smaller copies.
TEST(MapBackground, AFarPictureIsPaintedFromItsSmallerCopies) {
  std::vector<std::uint8_t> board(64 * 64 * 3);
  for (std::size_t i = 0; i < board.size(); ++i) board[i] = (i / 3 % 64 + i / 3 / 64) % 2 * 255;
  const BackgroundPicture picture(64, 64, BackgroundPicture::CopyOf(board.data(), 64, 64));
  MapViewport viewport;
  viewport.Resize(80, 80);
  viewport.Fit({-500, -500, 500, 500}, 0);
  MapScene scene;
  scene.width = scene.height = 80;
  scene.pixels.assign(80 * 80, 0xFFFFFF);
  PaintBackground({&picture, {-50, 50}, {50, -50}, 1}, viewport, scene);
  for (int x = 36; x < 44; ++x) EXPECT_EQ(At(scene, x, 40), 0x808080u) << x;
}

}  // namespace
}  // namespace bosquell
