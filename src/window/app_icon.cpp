#include "window/app_icon.h"

// Resources compiled into a static library have to be registered by hand, from outside any
// namespace.
static void RegisterWindowResources() {
  Q_INIT_RESOURCE(bosquell);
}

namespace bosquell {

QIcon BosquellIcon() {
  static const bool registered = (RegisterWindowResources(), true);
  Q_UNUSED(registered);
  return QIcon(QStringLiteral(":/bosquell/bosquell.ico"));
}

}  // namespace bosquell
