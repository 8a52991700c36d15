#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>

namespace bosquell {

// One image of a Windows .ico file, with the colour depth it was drawn for.
struct IcoImage {
  QImage image;  // ARGB32; the transparent pixels are 0
  int bitsPerPixel = 0;
};

// The images of a .ico file in the order it lists them: palette bitmaps of 1, 4 or 8 bits with
// their transparency mask. Entries of any other form are left out; data that is no .ico gives
// none. Read without Qt's image format plugins, so showing the icon loads none.
QList<IcoImage> ReadIcoImages(const QByteArray& data);

// The image to show at `size` on a screen of `screenDepth` bits per pixel, as Windows picks
// one: the images nearest in size (the smallest that is not smaller, else the largest), of those
// the deepest the screen can show, else the shallowest. -1 when there are no images.
qsizetype PickIcoImage(const QList<IcoImage>& images, QSize size, int screenDepth);

}  // namespace bosquell
