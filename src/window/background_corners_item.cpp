#include "window/background_corners_item.h"

#include <utility>

#include <QAction>
#include <QMenu>

#include "window_logic/map_logic.h"

namespace bosquell {

QString AlignmentPositionPrompt() {
  return QStringLiteral("Map position of the point, in user units (x, y):");
}

void AddBackgroundCornersItem(QMenu* recipe, QWidget* parent, MapLogic& logic,
                              MapPositionAsker ask) {
  QAction* item = recipe->addAction(QString::fromUtf8("Background &corners\u2026"));
  item->setObjectName(QStringLiteral("BackgroundCorners"));
  QObject::connect(item, &QAction::triggered, parent, [parent, &logic, ask = std::move(ask)] {
    const std::optional<QString> topLeft =
        ask(parent, QStringLiteral("Map position of the picture's top-left corner, in user units "
                                   "(x, y):"));
    if (!topLeft) return;
    const std::optional<QString> bottomRight = ask(
        parent, QStringLiteral("Map position of the picture's bottom-right corner, in user units "
                               "(x, y):"));
    if (!bottomRight) return;
    logic.BackgroundCornersTyped(topLeft->toUtf8().toStdString(),
                                 bottomRight->toUtf8().toStdString());
  });
}

}  // namespace bosquell
