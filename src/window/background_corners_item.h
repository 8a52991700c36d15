#pragma once

#include <functional>
#include <optional>

#include <QString>

class QMenu;
class QWidget;

namespace bosquell {

class MapLogic;

// Asks for a map position ("x, y" in user units) with `prompt`; nothing when the user cancels.
using MapPositionAsker =
    std::function<std::optional<QString>(QWidget* parent, const QString& prompt)>;

// What the alignment asks for each point it picked.
QString AlignmentPositionPrompt();

// "Background &corners…" in `recipe`: asks for the map positions of the picture's top-left and
// bottom-right corners, one after the other, and hands both to the logic, which places the
// picture there or says in the status line why not. A cancel of either changes nothing.
void AddBackgroundCornersItem(QMenu* recipe, QWidget* parent, MapLogic& logic,
                              MapPositionAsker ask);

}  // namespace bosquell
