#pragma once

#include <QIcon>

namespace bosquell {

// The program's tree icon with all four images of its .ico: 32 and 16 pixels, each in 16 and in
// 256 colours; it shows the one drawn for the size and the screen's colour depth.
QIcon BosquellIcon();

}  // namespace bosquell
