#pragma once

#include <QProxyStyle>

namespace bosquell {

// The application's own style, with no icon for the overflow button of menu and tool bars.
// Form1's one menu always fits its menu bar, so that button never shows; yet the menu bar reads
// its icon from an image file when it is built, which makes Qt load every image format plugin
// to learn the file's format, a good part of the window's start.
class OverflowFreeStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                     const QWidget* widget) const override;
};

// Wraps the application's style in an OverflowFreeStyle.
void UseOverflowFreeStyle();

}  // namespace bosquell
