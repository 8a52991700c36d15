#pragma once

class QWidget;

namespace bosquell {

// Moves the top-level `window`, not yet shown, beside `main` on main's screen (PlaceBeside),
// made narrower, down to its smallest useful width, or smaller where the work area is.
void MoveBeside(QWidget& window, const QWidget& main);

}  // namespace bosquell
