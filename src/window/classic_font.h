#pragma once

#include <QFont>

namespace bosquell {

// "MS Sans Serif" at the given size and regular weight, or the platform's sans-serif face
// where that font is missing.
QFont ClassicFont(qreal pointSize);

}  // namespace bosquell
