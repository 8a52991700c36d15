#include "window/ico_images.h"

#include <QtEndian>

#include <algorithm>

namespace bosquell {
namespace {

constexpr qsizetype kDirectorySize = 6;
constexpr qsizetype kEntrySize = 16;
constexpr qsizetype kBitmapHeaderSize = 40;

quint16 Word(const uchar* at) {
  return qFromLittleEndian<quint16>(at);
}

quint32 Dword(const uchar* at) {
  return qFromLittleEndian<quint32>(at);
}

// Bitmap rows are padded to a multiple of four bytes.
qsizetype RowBytes(qsizetype bitsPerRow) {
  return (bitsPerRow + 31) / 32 * 4;
}

// One image: its header (with the height doubled for the mask), its palette, its colour rows
// and then its mask rows, both bottom-up. A set mask bit makes the pixel transparent.
bool DecodeBitmap(const uchar* data, qsizetype size, IcoImage& decoded) {
  if (size < kBitmapHeaderSize) return false;
  const qsizetype headerSize = Dword(data);
  const auto width = static_cast<qint32>(Dword(data + 4));
  const auto doubledHeight = static_cast<qint32>(Dword(data + 8));
  const int bits = Word(data + 14);
  const quint32 compression = Dword(data + 16);
  const quint32 coloursUsed = Dword(data + 32);
  if (headerSize < kBitmapHeaderSize || compression != 0 || width <= 0 || width > 256 ||
      doubledHeight <= 0 || doubledHeight % 2 != 0 || doubledHeight > 512) {
    return false;
  }
  if (bits != 1 && bits != 4 && bits != 8) return false;
  const qsizetype colours = coloursUsed != 0 ? coloursUsed : (qsizetype{1} << bits);
  if (colours > 256) return false;

  const int height = doubledHeight / 2;
  const qsizetype paletteAt = headerSize;
  const qsizetype pixelsAt = paletteAt + 4 * colours;
  const qsizetype colourRow = RowBytes(qsizetype{width} * bits);
  const qsizetype maskRow = RowBytes(width);
  const qsizetype maskAt = pixelsAt + colourRow * height;
  if (maskAt + maskRow * height > size) return false;

  QImage image(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    const uchar* row = data + pixelsAt + colourRow * (height - 1 - y);
    const uchar* mask = data + maskAt + maskRow * (height - 1 - y);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      if ((mask[x / 8] & (0x80 >> (x % 8))) != 0) {
        out[x] = 0;
        continue;
      }
      int index = 0;
      if (bits == 8) {
        index = row[x];
      } else if (bits == 4) {
        index = (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F;
      } else {
        index = (row[x / 8] >> (7 - x % 8)) & 1;
      }
      if (index >= colours) index = 0;
      const uchar* entry = data + paletteAt + 4 * index;  // blue, green, red, unused
      out[x] = qRgb(entry[2], entry[1], entry[0]);
    }
  }
  decoded = {image, bits};
  return true;
}

}  // namespace

QList<IcoImage> ReadIcoImages(const QByteArray& data) {
  QList<IcoImage> images;
  const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
  if (data.size() < kDirectorySize || Word(bytes) != 0 || Word(bytes + 2) != 1) return images;
  const int count = Word(bytes + 4);
  if (data.size() < kDirectorySize + kEntrySize * count) return images;
  for (int i = 0; i < count; ++i) {
    const uchar* entry = bytes + kDirectorySize + kEntrySize * i;
    const qsizetype length = Dword(entry + 8);
    const qsizetype offset = Dword(entry + 12);
    if (offset > data.size() || length > data.size() - offset) continue;
    IcoImage image;
    if (DecodeBitmap(bytes + offset, length, image)) images.push_back(image);
  }
  return images;
}

qsizetype PickIcoImage(const QList<IcoImage>& images, QSize size, int screenDepth) {
  if (images.isEmpty()) return -1;
  const auto side = [&](qsizetype i) { return images[i].image.width(); };
  // The size: the smallest that is not smaller than asked, else the largest there is.
  int chosen = -1;
  int largest = 0;
  for (qsizetype i = 0; i < images.size(); ++i) {
    largest = std::max(largest, side(i));
    if (side(i) >= size.width() && (chosen < 0 || side(i) < chosen)) chosen = side(i);
  }
  if (chosen < 0) chosen = largest;
  // The depth: the deepest the screen shows, else the shallowest.
  qsizetype best = -1;
  for (qsizetype i = 0; i < images.size(); ++i) {
    if (side(i) != chosen) continue;
    if (best < 0) {
      best = i;
      continue;
    }
    const int depth = images[i].bitsPerPixel;
    const int bestDepth = images[best].bitsPerPixel;
    const bool fits = depth <= screenDepth;
    const bool bestFits = bestDepth <= screenDepth;
    if (fits != bestFits ? fits : (fits ? depth > bestDepth : depth < bestDepth)) best = i;
  }
  return best;
}

}  // namespace bosquell
