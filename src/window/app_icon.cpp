#include "window/app_icon.h"

#include <QCoreApplication>

// Resources compiled into a static library have to be registered by hand, from outside any
// namespace.
static void RegisterWindowResources() {
  Q_INIT_RESOURCE(bosquell);
}

namespace bosquell {

QIcon BosquellIcon() {
  static const bool registered = (RegisterWindowResources(), true);
  Q_UNUSED(registered);
  // Read once per application: the program and its window share one copy of the images. The
  // copy goes with the application, before Qt can no longer free its pixmaps.
  static QIcon* icon = nullptr;
  if (!icon) {
    icon = new QIcon(QStringLiteral(":/bosquell/bosquell.ico"));
    qAddPostRoutine([] {
      delete icon;
      icon = nullptr;
    });
  }
  return *icon;
}

}  // namespace bosquell
