#pragma once

#include <QImage>
#include <QWidget>

#include "map/map_scene.h"

class QPainter;

namespace bosquell {

class MapLogic;

// Paints a map scene with its top-left corner at the painter's origin: the pixels, then the
// lines, the circles and the texts over them. `pixels` is a buffer the caller keeps between
// paints, so that a redraw allocates nothing. The scene is in device pixels, `ratio` to each of
// the painter's.
void PaintMapScene(QPainter& painter, const MapScene& scene, QImage& pixels, double ratio = 1);

// The map's picture: paints what the map logic shows at the widget's size and forwards the
// mouse and the keys to it. It takes the keyboard focus, so that every action of the map is
// reachable without the mouse.
class MapCanvas final : public QWidget {
 public:
  explicit MapCanvas(MapLogic& logic, QWidget* parent = nullptr);

  QSize sizeHint() const override { return {720, 480}; }
  QSize minimumSizeHint() const override { return {160, 120}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // A point of the widget in the picture's device pixels.
  PixelPoint At(QPointF point) const;

  MapLogic& logic_;
  QImage pixels_;
};

}  // namespace bosquell
