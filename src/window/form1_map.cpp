// Form1's part of the map: the "&View" menu, the map's logic and window, and the edits of the
// inputs the map follows.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>

#include "window/form1.h"
#include "window/map_window.h"
#include "window_logic/map_logic.h"
#include "window_logic/preview_thread.h"

namespace bosquell {

QWidget* Form1::mapWindow() const {
  return mapWindow_->window();
}

void Form1::drawPreviewsOnAThread() {
  // The thread stops with the map's logic, before this window's QObject goes: a call it queued
  // last is dropped with the window.
  MapLogic* logic = mapLogic_.get();
  mapLogic_->UsePreviewExecutor(std::make_unique<PreviewThread>([this, logic] {
    QMetaObject::invokeMethod(
        this, [logic] { logic->PreviewFinished(); }, Qt::QueuedConnection);
  }));
}

void Form1::createMap(PreviewSeeds seeds) {
  mapWindow_ = std::make_unique<MapWindow>(this);
  mapLogic_ = std::make_unique<MapLogic>(*this, *mapWindow_, std::move(seeds), MissionFileReaders(),
                                         mapWindow_->documentPrompts());
  mapWindow_->setLogic(*mapLogic_);
  logic_.SetMap(mapLogic_.get());

  QMenu* view = menuBar()->addMenu(tr("&View"));
  view->setObjectName(QStringLiteral("view"));
  QAction* map = view->addAction(tr("&Map"));
  map->setObjectName(QStringLiteral("map"));
  // F2 here opens the map or brings it to the front; in the map window F2 closes it.
  map->setShortcut(QKeySequence(Qt::Key_F2));
  connect(map, &QAction::triggered, this, [this] { mapLogic_->Show(); });
  // F6 goes over to the open map, and there back here.
  auto* toMap = new QAction(this);
  toMap->setShortcut(QKeySequence(Qt::Key_F6));
  connect(toMap, &QAction::triggered, this, [this] {
    if (mapLogic_->IsOpen()) mapLogic_->Show();
  });
  addAction(toMap);

  // The user's typing only: the texts the logic sets are no edits.
  for (QLineEdit* box :
       {widget<QLineEdit>(Control::kCenterX), widget<QLineEdit>(Control::kCenterY),
        widget<QLineEdit>(Control::kRangeX), widget<QLineEdit>(Control::kRangeY),
        widget<QLineEdit>(Control::kCount), widget<QComboBox>(Control::kTheme)->lineEdit()}) {
    connect(box, &QLineEdit::textEdited, this, [this] { logic_.InputEdited(); });
  }
}

}  // namespace bosquell
