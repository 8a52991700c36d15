#include "window/app_icon.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QPixmap>

// Resources compiled into a static library have to be registered by hand, from outside any
// namespace.
static void RegisterWindowResources() {
  Q_INIT_RESOURCE(bosquell);
}

namespace bosquell {
namespace {

// The window shows the .ico's 256-colour images, which the icon theme keeps as PNGs too. Read
// as PNG by name, they need none of Qt's image format plugins, and no palette or mask to
// convert; the .ico itself is for Windows.
QIcon ReadIcon() {
  QIcon icon;
  for (const char* name : {":/bosquell/bosquell-32.png", ":/bosquell/bosquell-16.png"}) {
    QImageReader reader(QString::fromLatin1(name), "png");
    reader.setAutoDetectImageFormat(false);
    icon.addPixmap(QPixmap::fromImage(reader.read()));
  }
  return icon;
}

}  // namespace

QIcon BosquellIcon() {
  static const bool registered = (RegisterWindowResources(), true);
  Q_UNUSED(registered);
  // Read once per application: the program and its window share one copy of the images. The
  // copy goes with the application, before Qt can no longer free its pixmaps.
  static QIcon* icon = nullptr;
  if (!icon) {
    icon = new QIcon(ReadIcon());
    qAddPostRoutine([] {
      delete icon;
      icon = nullptr;
    });
  }
  return *icon;
}

}  // namespace bosquell
