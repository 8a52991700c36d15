// How the Qt window paints a map scene: the pixels as they are, then the lines, dashed or
// solid, the circle outlines and the texts at their baseline points with their alignment.

#include <QImage>
#include <QPainter>
#include <QTest>

#include "window/map_canvas.h"

using namespace bosquell;

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 80;
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kBlue{0, 0, 200};
constexpr Rgb kGreen{0, 150, 0};
constexpr Rgb kBlack{0, 0, 0};

// A white scene with a red 3 x 3 block at (2, 2), a blue line at y 10, a green dashed line at
// y 20, a red circle of radius 10 around (30, 45) and the same text three times: left-aligned at
// (60, 45), right-aligned at (110, 75) and centred at (30, 75).
MapScene FixedScene() {
  MapScene scene;
  scene.width = kWidth;
  scene.height = kHeight;
  scene.pixels.assign(kWidth * kHeight, kWhite.Packed());
  for (int y = 2; y < 5; ++y) {
    for (int x = 2; x < 5; ++x) scene.pixels[y * kWidth + x] = kRed.Packed();
  }
  scene.lines.push_back({{10, 10}, {110, 10}, kBlue, false});
  scene.lines.push_back({{10, 20}, {110, 20}, kGreen, true});
  scene.circles.push_back({{30, 45}, 10, kRed});
  scene.texts.push_back({{60, 45}, "MWM", kBlack, TextAlign::kLeft});
  scene.texts.push_back({{110, 75}, "MWM", kBlack, TextAlign::kRight});
  scene.texts.push_back({{30, 75}, "MWM", kBlack, TextAlign::kCenter});
  return scene;
}

bool Near(QRgb pixel, Rgb colour, int tolerance) {
  return std::abs(qRed(pixel) - colour.red) <= tolerance &&
         std::abs(qGreen(pixel) - colour.green) <= tolerance &&
         std::abs(qBlue(pixel) - colour.blue) <= tolerance;
}

// How many pixels of [left, right] x [top, bottom] are dark (text).
int DarkPixels(const QImage& image, int left, int top, int right, int bottom) {
  int dark = 0;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  }
  return dark;
}

}  // namespace

class MapCanvasTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void paintsTheSceneInOrder_data();
  void paintsTheSceneInOrder();
  void paintsNothingForAnInconsistentScene();
};

void MapCanvasTest::paintsTheSceneInOrder_data() {
  QTest::addColumn<QImage::Format>("format");
  QTest::newRow("opaque target") << QImage::Format_RGB32;
  QTest::newRow("target with alpha") << QImage::Format_ARGB32_Premultiplied;
}

void MapCanvasTest::paintsTheSceneInOrder() {
  QFETCH(QImage::Format, format);
  QImage image(kWidth, kHeight, format);
  image.fill(Qt::transparent);
  QImage buffer;
  {
    QPainter painter(&image);
    PaintMapScene(painter, FixedScene(), buffer);
  }

  // The pixels, exact and opaque.
  QCOMPARE(image.pixel(3, 3), qRgb(200, 0, 0));
  QCOMPARE(image.pixel(1, 1), qRgb(255, 255, 255));
  QCOMPARE(image.pixel(kWidth - 1, kHeight - 1), qRgb(255, 255, 255));
  QCOMPARE(qAlpha(image.pixel(kWidth / 2, kHeight / 2)), 255);

  // The solid line covers its whole length, the dashed one has gaps.
  int solid = 0;
  int dashes = 0;
  int gaps = 0;
  for (int x = 12; x <= 108; ++x) {
    solid += Near(image.pixel(x, 10), kBlue, 0) ? 1 : 0;
    (Near(image.pixel(x, 20), kGreen, 0) ? dashes : gaps) += 1;
  }
  QCOMPARE(solid, 97);
  QVERIFY2(dashes > 20 && gaps > 20, qPrintable(QString("%1 %2").arg(dashes).arg(gaps)));
  QVERIFY(Near(image.pixel(60, 15), kWhite, 0));

  // The circle is an outline: red on its rim, white inside.
  for (const QPoint rim : {QPoint(40, 45), QPoint(19, 45), QPoint(30, 35), QPoint(30, 54)}) {
    QVERIFY2(
        qRed(image.pixel(rim)) - qGreen(image.pixel(rim)) > 50,
        qPrintable(QString("%1,%2: %3").arg(rim.x()).arg(rim.y()).arg(image.pixel(rim), 0, 16)));
  }
  QVERIFY(Near(image.pixel(30, 45), kWhite, 0));

  // The texts stand on their baselines, on the side their alignment names.
  QVERIFY(DarkPixels(image, 60, 34, 100, 45) > 10);  // left-aligned: right of its point
  QCOMPARE(DarkPixels(image, 42, 30, 58, 47), 0);    // and nothing left of it
  QCOMPARE(DarkPixels(image, 60, 47, 100, 55), 0);   // nor below the baseline (no descenders)
  QVERIFY(DarkPixels(image, 80, 64, 109, 75) > 10);  // right-aligned: left of its point
  QCOMPARE(DarkPixels(image, 112, 60, 119, 79), 0);  // and nothing right of it
  QVERIFY(DarkPixels(image, 18, 64, 29, 75) > 5);    // centred: on both sides
  QVERIFY(DarkPixels(image, 31, 64, 42, 75) > 5);
}

void MapCanvasTest::paintsNothingForAnInconsistentScene() {
  MapScene scene = FixedScene();
  scene.pixels.pop_back();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::black);
  QImage buffer;
  {
    QPainter painter(&image);
    PaintMapScene(painter, scene, buffer);
  }
  QCOMPARE(image.pixel(60, 10), qRgb(0, 0, 0));
}

QTEST_MAIN(MapCanvasTest)
#include "map_canvas_test.moc"
