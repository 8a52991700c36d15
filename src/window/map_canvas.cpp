#include "window/map_canvas.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "window_logic/device_pixels.h"
#include "window_logic/map_logic.h"

namespace bosquell {
namespace {

// The scene's texts are a small font, about 12 pixels high.
constexpr int kTextPixelSize = 12;
// One notch of a common mouse wheel.
constexpr double kWheelNotch = 120;

QColor ToColor(Rgb rgb) {
  return QColor(rgb.red, rgb.green, rgb.blue);
}

QPointF ToPoint(PixelPoint point) {
  return {point.x, point.y};
}

PixelPoint ToPixel(QPointF point) {
  return {point.x(), point.y()};
}

// The scene's pixels are 0xRRGGBB; Qt's RGB32 wants 0xFFRRGGBB, and a window whose backing
// store keeps alpha would show a zero top byte as transparent.
void CopyPixels(const MapScene& scene, QImage& pixels) {
  if (pixels.width() != scene.width || pixels.height() != scene.height ||
      pixels.format() != QImage::Format_RGB32) {
    pixels = QImage(scene.width, scene.height, QImage::Format_RGB32);
  }
  const std::uint32_t* from = scene.pixels.data();
  for (int y = 0; y < scene.height; ++y, from += scene.width) {
    auto* row = reinterpret_cast<std::uint32_t*>(pixels.scanLine(y));
    std::transform(from, from + scene.width, row,
                   [](std::uint32_t pixel) { return pixel | 0xFF000000u; });
  }
}

std::optional<MapButton> ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return MapButton::kLeft;
    case Qt::RightButton:
      return MapButton::kRight;
    case Qt::MiddleButton:
      return MapButton::kMiddle;
    default:
      return std::nullopt;
  }
}

std::optional<MapKey> KeyOf(int key, bool control) {
  if (control) {
    if (key == Qt::Key_Z) return MapKey::kUndo;
    if (key == Qt::Key_Y) return MapKey::kRedo;
  }
  switch (key) {
    case Qt::Key_Left:
      return MapKey::kLeft;
    case Qt::Key_Right:
      return MapKey::kRight;
    case Qt::Key_Up:
      return MapKey::kUp;
    case Qt::Key_Down:
      return MapKey::kDown;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return MapKey::kZoomIn;
    case Qt::Key_Minus:
      return MapKey::kZoomOut;
    case Qt::Key_Home:
      return MapKey::kFit;
    case Qt::Key_R:
      return MapKey::kReroll;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return MapKey::kEnter;
    case Qt::Key_Escape:
      return MapKey::kEscape;
    case Qt::Key_Backspace:
      return MapKey::kBackspace;
    case Qt::Key_Delete:
      return MapKey::kDelete;
    case Qt::Key_Space:
      return MapKey::kSpace;
    default:
      return std::nullopt;
  }
}

}  // namespace

void PaintMapScene(QPainter& painter, const MapScene& scene, QImage& pixels, double ratio) {
  if (scene.width <= 0 || scene.height <= 0 ||
      scene.pixels.size() != static_cast<std::size_t>(scene.width) * scene.height) {
    return;
  }
  ratio = UsableRatio(ratio);
  CopyPixels(scene, pixels);
  pixels.setDevicePixelRatio(ratio);
  painter.save();
  painter.drawImage(QPointF(0, 0), pixels);
  // The scene is in device pixels: lines, circles and texts are placed in them too.
  painter.scale(1 / ratio, 1 / ratio);

  // Lines stay crisp on the pixel grid; circles and texts are smoothed.
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const SceneLine& line : scene.lines) {
    QPen pen(ToColor(line.color), 1, line.dashed ? Qt::DashLine : Qt::SolidLine);
    painter.setPen(pen);
    painter.drawLine(ToPoint(line.from), ToPoint(line.to));
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  for (const SceneCircle& circle : scene.circles) {
    painter.setPen(QPen(ToColor(circle.color), 1));
    painter.drawEllipse(ToPoint(circle.center), circle.radius, circle.radius);
  }

  QFont font = painter.font();
  font.setPixelSize(DevicePixels(kTextPixelSize, ratio));
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  for (const SceneText& text : scene.texts) {
    const QString shown = QString::fromStdString(text.text);
    const double width = metrics.horizontalAdvance(shown);
    double x = text.at.x;
    if (text.align == TextAlign::kCenter) x -= width / 2;
    if (text.align == TextAlign::kRight) x -= width;
    painter.setPen(ToColor(text.color));
    painter.drawText(QPointF(x, text.at.y), shown);
  }
  painter.restore();
}

MapCanvas::MapCanvas(MapLogic& logic, QWidget* parent) : QWidget(parent), logic_(logic) {
  setObjectName(QStringLiteral("MapPicture"));
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  // The scene covers every pixel: nothing to clear first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

PixelPoint MapCanvas::At(QPointF point) const {
  return DevicePoint(ToPixel(point), devicePixelRatioF());
}

void MapCanvas::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const double ratio = devicePixelRatioF();
  PaintMapScene(
      painter,
      logic_.Scene(DevicePixels(width(), ratio), DevicePixels(height(), ratio), UsableRatio(ratio)),
      pixels_, ratio);
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
  if (const std::optional<MapButton> button = ButtonOf(event->button())) {
    logic_.ButtonDown(*button, At(event->position()));
  }
}

void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    logic_.DoubleClick(At(event->position()));
  } else {
    mousePressEvent(event);
  }
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  logic_.PointerMoved(At(event->position()));
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (const std::optional<MapButton> button = ButtonOf(event->button())) {
    logic_.ButtonUp(*button, At(event->position()));
  }
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
  logic_.Wheel(At(event->position()), event->angleDelta().y() / kWheelNotch);
  event->accept();
}

void MapCanvas::leaveEvent(QEvent* /*event*/) {
  logic_.PointerLeft();
}

bool MapCanvas::event(QEvent* event) {
  // The window's Esc shortcut closes the map; while a shape is being drawn, Esc drops it here.
  if (event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && logic_.EscapeDropsShape()) {
    event->accept();
    return true;
  }
  return QWidget::event(event);
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  const bool control = modifiers & Qt::ControlModifier;
  // Esc first drops a shape being drawn; with none it closes the map, as F2 does.
  if ((event->key() == Qt::Key_Escape && !logic_.KeyPressed(MapKey::kEscape, false, control)) ||
      event->key() == Qt::Key_F2) {
    window()->close();
    return;
  }
  if (event->key() == Qt::Key_Escape) return;
  const std::optional<MapKey> key = KeyOf(event->key(), control);
  // R with Ctrl or Alt is some other command's key, not a reroll.
  const bool commandKey = modifiers & (Qt::ControlModifier | Qt::AltModifier);
  if (!key || (*key == MapKey::kReroll && commandKey) ||
      !logic_.KeyPressed(*key, modifiers & Qt::ShiftModifier, modifiers & Qt::ControlModifier)) {
    QWidget::keyPressEvent(event);
  }
}

void MapCanvas::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void MapCanvas::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  // The window went to the background, or a popup opened: the button's release may never come
  // here. Tab in mid-drag moves only the focus; the drag goes on.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
    logic_.CaptureLost();
  }
  update();
}

}  // namespace bosquell
