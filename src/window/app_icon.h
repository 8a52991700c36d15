#pragma once

#include <QIcon>

namespace bosquell {

// The program's tree icon, in all the sizes it was drawn in.
QIcon BosquellIcon();

}  // namespace bosquell
