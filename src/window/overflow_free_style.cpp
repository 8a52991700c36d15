#include "window/overflow_free_style.h"

#include <QApplication>

namespace bosquell {

QIcon OverflowFreeStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                      const QWidget* widget) const {
  if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) {
    return {};
  }
  return QProxyStyle::standardIcon(icon, option, widget);
}

void UseOverflowFreeStyle() {
  // The style chosen for the application (its default, or -style) stays underneath.
  QApplication::setStyle(new OverflowFreeStyle(QApplication::style()));
}

}  // namespace bosquell
