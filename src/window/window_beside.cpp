#include "window/window_beside.h"

#include <QScreen>
#include <QWidget>

#include "window_logic/window_placement.h"

namespace bosquell {
namespace {

ScreenRect ToScreenRect(const QRect& rect) {
  return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace

void MoveBeside(QWidget& window, const QWidget& main) {
  const QScreen* screen = main.screen();
  if (screen == nullptr) return;
  // The new window's frame is not there yet: it is taken to be as wide as the main window's.
  const QSize frame = main.frameGeometry().size() - main.geometry().size();
  const QSize outer = window.size() + frame;
  const int narrowest = window.minimumSizeHint().width() + frame.width();
  const ScreenRect placed =
      PlaceBeside(ToScreenRect(main.frameGeometry()), outer.width(), outer.height(),
                  ToScreenRect(screen->availableGeometry()), narrowest);
  window.resize(placed.Width() - frame.width(), placed.Height() - frame.height());
  window.move(placed.left, placed.top);
}

}  // namespace bosquell
