#include "window/background_corners_item.h"

#include <string>
#include <utility>

#include <QAction>
#include <QMenu>

#include "window_logic/map_logic.h"

namespace bosquell {

QString AlignmentPositionPrompt() {
  return QString::fromUtf8(kAlignmentPositionPrompt);
}

void AddBackgroundCornersItem(QMenu* recipe, QWidget* parent, MapLogic& logic,
                              MapPositionAsker ask) {
  QAction* item = recipe->addAction(QString::fromUtf8("Background &corners\u2026"));
  item->setObjectName(QStringLiteral("BackgroundCorners"));
  QObject::connect(item, &QAction::triggered, parent, [parent, &logic, ask = std::move(ask)] {
    logic.AskBackgroundCorners([&](const char* prompt) -> std::optional<std::string> {
      const std::optional<QString> typed = ask(parent, QString::fromUtf8(prompt));
      if (!typed) return std::nullopt;
      return typed->toUtf8().toStdString();
    });
  });
}

}  // namespace bosquell
