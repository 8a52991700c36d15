// The map window in the Qt window: F2 opens it on the opened mission and closes it again, a
// drag and the keys on its picture reach the area and the preview, and "Add Objects" writes the
// objects the map shows.

#include <sstream>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "mission/item_positions.h"
#include "window/form1.h"
#include "window/map_window.h"
#include "window_logic/map_logic.h"
#include "window_test_support.h"

Q_DECLARE_METATYPE(bosquell::MapPoint)

using namespace bosquell;
using namespace bosquell::testing;

namespace {

constexpr double kUnit = 256;  // map units in a user unit

// Three objects well apart, at (0, 0), (100, -100) and (-50, 50) user units.
const QByteArray kMission =
    "begin objects\r\n  num_items 3\r\nend objects\r\n"
    "\r\nbegin item 0\r\n  id 1\r\n  type_id 500\r\n  position 0 0 0\r\nend item\r\n"
    "\r\nbegin item 1\r\n  id 2\r\n  type_id 500\r\n  position 25600 -25600 0\r\nend item\r\n"
    "\r\nbegin item 2\r\n  id 3\r\n  type_id 500\r\n  position -12800 12800 0\r\nend item\r\n";

std::vector<MapPoint> Positions(const QByteArray& mission) {
  std::stringbuf buffer(mission.toStdString());
  return ReadItemPositions(buffer).value_or(std::vector<MapPoint>{});
}

QPoint ToWidget(const MapViewport& viewport, MapPoint point) {
  const PixelPoint pixel = viewport.ToPixel(point);
  return {qRound(pixel.x), qRound(pixel.y)};
}

}  // namespace

class MapWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup();

  void viewMenuOpensAndClosesTheMap();
  void f2OpensTheMapOnTheOpenedMission();
  void everyWayOfClosingTellsTheLogic_data();
  void everyWayOfClosingTellsTheLogic();
  void f2BringsBackAMinimizedMap();
  void aBoxFromTheMapStandsInFrontOfItAndBlocksBothWindows();
  void dragOnThePictureSetsTheArea_data();
  void dragOnThePictureSetsTheArea();
  void rightDragPansWithoutChangingTheArea();
  void aDragEndsUnfinishedWhenTheMapGoesToTheBackground();
  void keysOnThePicture_data();
  void keysOnThePicture();
  void wheelZoomsAboutThePointer();
  void editsReachTheMap();
  void addObjectsWritesThePreviewedObjects();
  void editorKeysAndDoubleClickReachTheRecipe();
  void everyControlHasANameAndTakesTheFocus();
  void sidePanelEditsReachTheRecipeAndUndoShowsThemAgain();
  void recipeMenuPlacesTheBackgroundUnderTheObjects();
  void recipeMenuEndsWithTakingARunBack();
  void recipeFileAndToolItemsReachTheLogic();
  void f6GoesBetweenTheMainWindowAndTheMap();

 private:
  void openMap();
  QWidget* picture() const;
  QLineEdit* text(const char* name) const { return form_->findChild<QLineEdit*>(name); }

  std::unique_ptr<QTemporaryDir> directory_;
  std::unique_ptr<CurrentDirectoryGuard> guard_;
  QString mission_;
  MessageLog log_;
  std::uint32_t nextSeed_ = 0;
  std::unique_ptr<Form1> form_;
};

void MapWindowTest::init() {
  directory_ = std::make_unique<QTemporaryDir>();
  QVERIFY(directory_->isValid());
  mission_ = QDir(directory_->path()).filePath("forest.mis");
  QVERIFY(WriteFile(mission_, kMission));
  guard_ = std::make_unique<CurrentDirectoryGuard>(directory_->path());

  log_ = MessageLog();
  nextSeed_ = 1000;
  form_ =
      std::make_unique<Form1>(log_.presenter(), nullptr, nullptr, [this] { return nextSeed_++; });
  form_->show();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QTRY_VERIFY(form_->listsFilled());
  form_->openNamedFile(mission_);
  PickFromList(form_->findChild<QComboBox*>("Combo1"), 0);  // "Jungel"
}

void MapWindowTest::cleanup() {
  form_.reset();
  guard_.reset();
  directory_.reset();
}

void MapWindowTest::openMap() {
  QTest::keyClick(form_.get(), Qt::Key_F2);
  QVERIFY(form_->mapWindow());
  QVERIFY(QTest::qWaitForWindowActive(form_->mapWindow()));
  // Painted once, the picture has its size: pixels and map points correspond from now on.
  picture()->grab();
  QCOMPARE(form_->mapLogic().Viewport().Width(), picture()->width());
}

QWidget* MapWindowTest::picture() const {
  return form_->mapWindow()->findChild<QWidget*>("MapPicture");
}

void MapWindowTest::viewMenuOpensAndClosesTheMap() {
  auto* view = form_->menuBar()->findChild<QMenu*>("view");
  QVERIFY(view);
  QCOMPARE(view->title(), QStringLiteral("&View"));
  QCOMPARE(view->actions().size(), 1);
  QAction* map = view->actions().first();
  QCOMPARE(map->objectName(), QStringLiteral("map"));
  QCOMPARE(map->text(), QStringLiteral("&Map"));
  QCOMPARE(map->shortcut(), QKeySequence(Qt::Key_F2));

  // Built only when first opened.
  QCOMPARE(form_->mapWindow(), nullptr);
  QVERIFY(!form_->mapLogic().IsOpen());
  map->trigger();
  QVERIFY(form_->mapWindow() && form_->mapWindow()->isVisible());
  QVERIFY(form_->mapLogic().IsOpen());
  // Chosen again, the open map stays open.
  map->trigger();
  QVERIFY(form_->mapWindow()->isVisible());
  QVERIFY(form_->mapLogic().IsOpen());
}

void MapWindowTest::f2OpensTheMapOnTheOpenedMission() {
  openMap();
  QWidget* map = form_->mapWindow();
  QCOMPARE(map->windowTitle(), QStringLiteral("Bosquell map"));
  QVERIFY(map->isVisible());
  QVERIFY(map->isWindow());
  QVERIFY(HasFocus(picture()));
  const MapLogic& logic = form_->mapLogic();
  QCOMPARE(logic.Seed(), 1000u);
  QCOMPARE(logic.Preview().objects.size(), std::size_t{20});
  QVERIFY(logic.Problem().empty());
  const QString status = map->findChild<QLabel*>("MapStatus")->text();
  QVERIFY2(status.contains("Existing objects: 3") && status.contains("New objects: 20") &&
               status.contains("Seed: 1000"),
           qPrintable(status));

  // The picture shows the mission's objects, grey on the white ground, where they are.
  const QImage shown = picture()->grab().toImage();
  const QPoint object = ToWidget(logic.Viewport(), {25600, -25600});
  bool grey = false;
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      const QRgb pixel = shown.pixel(object + QPoint(dx, dy));
      grey |= qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel) && qRed(pixel) < 200;
    }
  }
  QVERIFY(grey);
}

void MapWindowTest::everyWayOfClosingTellsTheLogic_data() {
  QTest::addColumn<QString>("way");
  for (const char* way :
       {"F2 on the map", "F2 in a field", "Esc on the map", "Esc in a field", "close button"}) {
    QTest::newRow(way) << QString::fromLatin1(way);
  }
}

void MapWindowTest::everyWayOfClosingTellsTheLogic() {
  QFETCH(QString, way);
  openMap();
  QWidget* map = form_->mapWindow();
  if (way == "F2 on the map") {
    QTest::keyClick(picture(), Qt::Key_F2);
  } else if (way == "Esc on the map") {
    QTest::keyClick(picture(), Qt::Key_Escape);
  } else if (way.endsWith("in a field")) {
    auto* field = map->findChild<QLineEdit*>("Spacing");
    field->setFocus();
    QTest::keyClick(field, way.startsWith("F2") ? Qt::Key_F2 : Qt::Key_Escape);
  } else {
    map->close();
  }
  QVERIFY(!map->isVisible());
  QVERIFY(!form_->mapLogic().IsOpen());
  QVERIFY(!form_->mapLogic().RunSeed());

  // It opens again, the same window, on the same preview.
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  openMap();
  QCOMPARE(form_->mapWindow(), map);
  QCOMPARE(form_->mapLogic().Seed(), 1000u);
}

void MapWindowTest::f2BringsBackAMinimizedMap() {
  openMap();
  QWidget* map = form_->mapWindow();
  map->showMinimized();
  QVERIFY(map->isMinimized());
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QTest::keyClick(form_.get(), Qt::Key_F2);
  QVERIFY(map->isVisible());
  QVERIFY(!map->isMinimized());
  QVERIFY(form_->mapLogic().IsOpen());
  QCOMPARE(form_->mapLogic().Seed(), 1000u);
}

void MapWindowTest::aBoxFromTheMapStandsInFrontOfItAndBlocksBothWindows() {
  // With the real message boxes.
  form_ = std::make_unique<Form1>(ShowMessageBox, nullptr, nullptr, [this] { return nextSeed_++; });
  form_->show();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  openMap();
  QWidget* map = form_->mapWindow();
  QWidget* parent = nullptr;
  bool modal = false;
  QTimer::singleShot(0, map, [&] {
    QWidget* box = QApplication::activeModalWidget();
    QVERIFY(box);
    parent = box->parentWidget();
    modal = box->windowModality() == Qt::ApplicationModal;
    // Modal to the program: the map's keys go nowhere while the box shows.
    QTest::keyClick(map->windowHandle(), Qt::Key_R);
    box->close();
  });
  QTest::keyClick(map->windowHandle(), Qt::Key_F1);  // About
  QCOMPARE(parent, map);
  QVERIFY(modal);
  QCOMPARE(form_->mapLogic().Seed(), 1000u);
  QVERIFY(map->isVisible());
}

void MapWindowTest::dragOnThePictureSetsTheArea_data() {
  QTest::addColumn<MapPoint>("from");
  QTest::addColumn<MapPoint>("to");
  QTest::addColumn<QStringList>("area");  // Text1, Text3, Text4, Text2

  QTest::newRow("down right") << MapPoint{-10 * kUnit, 15 * kUnit}
                              << MapPoint{30 * kUnit, -5 * kUnit}
                              << QStringList{"10", "5", "20", "10"};
  QTest::newRow("up left") << MapPoint{30 * kUnit, -5 * kUnit} << MapPoint{-10 * kUnit, 15 * kUnit}
                           << QStringList{"10", "5", "20", "10"};
  QTest::newRow("a click sets nothing")
      << MapPoint{12 * kUnit, 12 * kUnit} << MapPoint{12 * kUnit, 12 * kUnit}
      << QStringList{"0", "0", "1024", "1024"};
}

void MapWindowTest::dragOnThePictureSetsTheArea() {
  QFETCH(MapPoint, from);
  QFETCH(MapPoint, to);
  QFETCH(QStringList, area);
  openMap();
  // Zoomed in, so that a pixel is well under a user unit.
  const MapViewport& viewport = form_->mapLogic().Viewport();
  form_->mapLogic().Wheel({viewport.Width() / 2.0, viewport.Height() / 2.0}, 16);
  QVERIFY(viewport.UnitsPerPixel() < kUnit / 4);

  QTest::mousePress(picture(), Qt::LeftButton, {}, ToWidget(viewport, from));
  QTest::mouseMove(picture(), ToWidget(viewport, to));
  QTest::mouseRelease(picture(), Qt::LeftButton, {}, ToWidget(viewport, to));

  QCOMPARE((QStringList{text("Text1")->text(), text("Text3")->text(), text("Text4")->text(),
                        text("Text2")->text()}),
           area);
  // The preview follows the new area.
  for (const DrawnObject& object : form_->mapLogic().Preview().objects) {
    QVERIFY(std::abs(object.x - area[0].toDouble() * kUnit) <= area[2].toDouble() * kUnit);
    QVERIFY(std::abs(object.y - area[1].toDouble() * kUnit) <= area[3].toDouble() * kUnit);
  }
}

void MapWindowTest::rightDragPansWithoutChangingTheArea() {
  openMap();
  const MapViewport& viewport = form_->mapLogic().Viewport();
  const QPoint start(100, 100);
  const MapPoint under = viewport.ToMap({100, 100});
  QTest::mousePress(picture(), Qt::RightButton, {}, start);
  QTest::mouseMove(picture(), start + QPoint(40, -30));
  QTest::mouseRelease(picture(), Qt::RightButton, {}, start + QPoint(40, -30));

  // The map point that was under the pointer moved along with it.
  const MapPoint moved = viewport.ToMap({140, 70});
  QVERIFY(std::abs(moved.x - under.x) < 1e-6 && std::abs(moved.y - under.y) < 1e-6);
  QCOMPARE(text("Text1")->text(), QStringLiteral("0"));
  QCOMPARE(text("Text4")->text(), QStringLiteral("1024"));
}

void MapWindowTest::aDragEndsUnfinishedWhenTheMapGoesToTheBackground() {
  openMap();
  QTest::mousePress(picture(), Qt::LeftButton, {}, QPoint(50, 50));
  QTest::mouseMove(picture(), QPoint(150, 120));
  QVERIFY(form_->mapLogic().Dragging());
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QVERIFY(!form_->mapLogic().Dragging());
  QCOMPARE(text("Text4")->text(), QStringLiteral("1024"));
}

void MapWindowTest::keysOnThePicture_data() {
  QTest::addColumn<Qt::Key>("key");
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
  QTest::addColumn<QStringList>("area");  // Text1, Text3, Text4, Text2 afterwards
  QTest::addColumn<std::uint32_t>("seed");
  QTest::addColumn<int>("zoom");  // -1 out, 0 the same, 1 in

  const QStringList unchanged{"0", "0", "1024", "1024"};
  QTest::newRow("R rerolls") << Qt::Key_R << Qt::KeyboardModifiers() << unchanged << 1001u << 0;
  QTest::newRow("Ctrl+R is no reroll")
      << Qt::Key_R << Qt::KeyboardModifiers(Qt::ControlModifier) << unchanged << 1000u << 0;
  QTest::newRow("Shift+Right moves the area")
      << Qt::Key_Right << Qt::KeyboardModifiers(Qt::ShiftModifier)
      << QStringList{"1", "0", "1024", "1024"} << 1000u << 0;
  QTest::newRow("Shift+Down moves the area")
      << Qt::Key_Down << Qt::KeyboardModifiers(Qt::ShiftModifier)
      << QStringList{"0", "-1", "1024", "1024"} << 1000u << 0;
  QTest::newRow("Ctrl+Shift+Up grows the area")
      << Qt::Key_Up << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier)
      << QStringList{"0", "0", "1024", "1025"} << 1000u << 0;
  QTest::newRow("Ctrl+Shift+Left shrinks the area")
      << Qt::Key_Left << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier)
      << QStringList{"0", "0", "1023", "1024"} << 1000u << 0;
  QTest::newRow("plus zooms in") << Qt::Key_Plus << Qt::KeyboardModifiers() << unchanged << 1000u
                                 << 1;
  QTest::newRow("= zooms in") << Qt::Key_Equal << Qt::KeyboardModifiers() << unchanged << 1000u
                              << 1;
  QTest::newRow("minus zooms out")
      << Qt::Key_Minus << Qt::KeyboardModifiers() << unchanged << 1000u << -1;
  QTest::newRow("an arrow pans") << Qt::Key_Left << Qt::KeyboardModifiers() << unchanged << 1000u
                                 << 0;
}

void MapWindowTest::keysOnThePicture() {
  QFETCH(Qt::Key, key);
  QFETCH(Qt::KeyboardModifiers, modifiers);
  QFETCH(QStringList, area);
  QFETCH(std::uint32_t, seed);
  QFETCH(int, zoom);
  const QStringList unchanged{"0", "0", "1024", "1024"};
  openMap();
  MapLogic& logic = form_->mapLogic();
  const double fitted = logic.Viewport().UnitsPerPixel();
  // Zoomed in, a Shift+arrow's step is one user unit.
  logic.Wheel({logic.Viewport().Width() / 2.0, logic.Viewport().Height() / 2.0}, 24);
  const double unitsPerPixel = logic.Viewport().UnitsPerPixel();

  QTest::keyClick(picture(), key, modifiers);

  QCOMPARE((QStringList{text("Text1")->text(), text("Text3")->text(), text("Text4")->text(),
                        text("Text2")->text()}),
           area);
  QCOMPARE(logic.Seed(), seed);
  const double after = logic.Viewport().UnitsPerPixel();
  QCOMPARE(after < unitsPerPixel ? 1 : after > unitsPerPixel ? -1 : 0, zoom);
  QVERIFY(form_->mapWindow()->isVisible());

  // Home brings back the whole picture, as long as the area is the same.
  QTest::keyClick(picture(), Qt::Key_Home);
  if (area == unchanged) QCOMPARE(logic.Viewport().UnitsPerPixel(), fitted);
}

void MapWindowTest::wheelZoomsAboutThePointer() {
  openMap();
  const MapViewport& viewport = form_->mapLogic().Viewport();
  const double before = viewport.UnitsPerPixel();
  const QPoint at(90, 60);
  const MapPoint under = viewport.ToMap({90, 60});
  QWheelEvent wheel(at, picture()->mapToGlobal(at), {}, {0, 240}, Qt::NoButton, {},
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(picture(), &wheel);

  QVERIFY(viewport.UnitsPerPixel() < before);
  const MapPoint still = viewport.ToMap({90, 60});
  QVERIFY(std::abs(still.x - under.x) < 1e-6 && std::abs(still.y - under.y) < 1e-6);
}

void MapWindowTest::editsReachTheMap() {
  openMap();
  const MapLogic& logic = form_->mapLogic();
  // Typing in the main window.
  text("Text5")->selectAll();
  QTest::keyClicks(text("Text5"), "7");
  QCOMPARE(logic.Preview().objects.size(), std::size_t{7});
  text("Text4")->selectAll();
  QTest::keyClicks(text("Text4"), "x");
  QVERIFY(logic.Preview().objects.empty());
  QVERIFY(!logic.Problem().empty());
  QTest::keyClick(text("Text4"), Qt::Key_Backspace);
  QTest::keyClicks(text("Text4"), "50");
  QCOMPARE(logic.Preview().objects.size(), std::size_t{7});

  // The rule fields of the map.
  QWidget* map = form_->mapWindow();
  QTest::keyClicks(map->findChild<QLineEdit*>("KeepClear"), "2");
  QTest::keyClicks(map->findChild<QLineEdit*>("Spacing"), "3");
  QCOMPARE(logic.KeepClearField(), std::string("2"));
  QCOMPARE(logic.SpacingField(), std::string("3"));
  QCOMPARE(logic.KeepClearText(), std::string("2"));

  // The button.
  QTest::mouseClick(map->findChild<QPushButton*>("Reroll"), Qt::LeftButton);
  QCOMPARE(logic.Seed(), 1001u);
}

void MapWindowTest::f6GoesBetweenTheMainWindowAndTheMap() {
  openMap();
  QTest::keyClick(picture(), Qt::Key_F6);
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
  QVERIFY(QTest::qWaitForWindowActive(form_->mapWindow()));
}

void MapWindowTest::addObjectsWritesThePreviewedObjects() {
  // As the program has it: the preview comes from its thread through the event loop.
  form_->drawPreviewsOnAThread();
  openMap();
  QTest::keyClick(picture(), Qt::Key_R);
  QTRY_VERIFY(form_->mapLogic().PreviewCurrent());
  const std::vector<DrawnObject> previewed = form_->mapLogic().Preview().objects;
  QCOMPARE(previewed.size(), std::size_t{20});

  QTest::mouseClick(form_->findChild<QPushButton*>("Command1"), Qt::LeftButton);

  QCOMPARE(log_.messages.size(), 1);
  QVERIFY2(log_.messages[0].startsWith("20 Object have been added"), qPrintable(log_.messages[0]));
  const std::vector<MapPoint> written = Positions(ReadFile(form_->outputPath()));
  QCOMPARE(written.size(), std::size_t{23});
  for (std::size_t i = 0; i < previewed.size(); ++i) {
    QCOMPARE(written[3 + i].x, previewed[i].x);
    QCOMPARE(written[3 + i].y, previewed[i].y);
  }
  QCOMPARE(ReadFile(mission_), kMission);
}

void MapWindowTest::editorKeysAndDoubleClickReachTheRecipe() {
  openMap();
  MapLogic& logic = form_->mapLogic();
  const MapViewport& viewport = logic.Viewport();
  const auto areas = [&] { return logic.Document().Current().layers.at(0).areas.size(); };
  logic.SetTool(ShapeTool::kPolygon);
  // Esc drops the shape being drawn and leaves the map open.
  QTest::mouseClick(picture(), Qt::LeftButton, {}, ToWidget(viewport, {0, 0}));
  QVERIFY(logic.Document().Editor().Unfinished());
  QTest::keyClick(picture(), Qt::Key_Escape);
  QVERIFY(logic.IsOpen() && !logic.Document().Editor().Unfinished());

  QTest::mouseClick(picture(), Qt::LeftButton, {}, ToWidget(viewport, {0, 0}));
  QTest::mouseClick(picture(), Qt::LeftButton, {}, ToWidget(viewport, {400 * kUnit, 0}));
  QTest::mouseDClick(picture(), Qt::LeftButton, {}, ToWidget(viewport, {200 * kUnit, 400 * kUnit}));
  QCOMPARE(areas(), std::size_t{2});
  QTest::keyClick(picture(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(areas(), std::size_t{1});
  QTest::keyClick(picture(), Qt::Key_Y, Qt::ControlModifier);
  QCOMPARE(areas(), std::size_t{2});
}

void MapWindowTest::everyControlHasANameAndTakesTheFocus() {
  openMap();
  QWidget* map = form_->mapWindow();
  // The side panel's controls in turn, less those the boxes' one uniform layer leaves off; its
  // area selected, the area's include or exclude toggle takes part.
  form_->mapLogic().EditRecipe([](RecipeEditor& editor) { editor.Select(0); });
  QList<QWidget*> controls = {picture()};
  for (const char* name :
       {"Layers",  "AddLayer",    "RemoveLayer", "LayerUp",   "LayerDown",    "Mix",
        "MixRows", "NewTypeId",   "NewWeight",   "AddMixRow", "RemoveMixRow", "Pattern",
        "Count",   "Fill",        "KeepClear",   "Spacing",   "Clumps",       "ClumpRadius",
        "Shapes",  "ExcludeArea", "Reroll",      "Opacity"}) {
    QWidget* control = map->findChild<QWidget*>(name);
    QVERIFY2(control, name);
    QVERIFY2(!control->accessibleName().isEmpty(), name);
    QVERIFY2(!control->toolTip().isEmpty(), name);
    if (control->isEnabled()) controls.append(control);
  }
  QCOMPARE(controls.size(), 16);
  QVERIFY(!map->findChild<QLabel*>("MapStatus")->accessibleName().isEmpty());
  // Tab visits them in turn and comes back to the picture.
  for (int i = 1; i <= controls.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY2(HasFocus(controls[i % controls.size()]), qPrintable(QString::number(i)));
  }
  // Space on the focused button rerolls.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  QCOMPARE(form_->mapLogic().Seed(), 1001u);
}

void MapWindowTest::sidePanelEditsReachTheRecipeAndUndoShowsThemAgain() {
  openMap();
  QWidget* map = form_->mapWindow();
  const MapLogic& logic = form_->mapLogic();
  const auto layer = [&] { return logic.Document().Current().layers.at(0); };
  QTest::keyClick(map->findChild<QComboBox*>("Pattern"), Qt::Key_End);
  QCOMPARE(layer().pattern, Pattern::kClumped);
  auto* radius = map->findChild<QLineEdit*>("ClumpRadius");
  radius->setFocus();
  radius->selectAll();
  QTest::keyClicks(radius, "12.5");
  QTest::keyClick(radius, Qt::Key_Return);
  QCOMPARE(layer().clumpRadius, 12.5);
  // A refused text says why, and gives way to the recipe's value when the field is left.
  auto* count = map->findChild<QLineEdit*>("Count");
  count->setFocus();
  count->selectAll();
  QTest::keyClicks(count, "x");
  QVERIFY(map->findChild<QLabel*>("MapStatus")->text().contains("The count must be a whole"));
  QTest::keyClick(count, Qt::Key_Return);
  QCOMPARE(count->text(), QStringLiteral("20"));
  // What was typed is one step back.
  QTest::keyClick(picture(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(radius->text(), QStringLiteral("50"));
}

// "&Recipe" > "&Background…" lays the chosen picture under the objects, the slider sets its
// opacity, "&Align by Two Points" asks the position of each clicked point and "Background
// corners…" both corners.
void MapWindowTest::recipeMenuPlacesTheBackgroundUnderTheObjects() {
  QImage terrain(8, 4, QImage::Format_RGB32);
  terrain.fill(QColor(0x33, 0x66, 0xcc));
  const QString file = QDir(directory_->path()).filePath(QString::fromUtf8("T\u00e4ler.png"));
  QVERIFY(terrain.save(file));
  QStringList positions = {QStringLiteral("0, 0"), QStringLiteral("100, -100")};
  form_->mapView().setDialogs(
      {[&](QWidget*) { return file; },
       [&](QWidget*, const QString&) { return std::optional<QString>(positions.takeFirst()); }});
  openMap();
  QWidget* map = form_->mapWindow();
  auto* recipe = map->findChild<QMenu*>("RecipeMenu");
  QVERIFY(recipe);
  QCOMPARE(recipe->title(), QStringLiteral("&Recipe"));
  map->findChild<QAction*>("ChooseBackground")->trigger();
  const MapLogic& logic = form_->mapLogic();
  QVERIFY2(logic.Background().HasPicture(), logic.Background().Problem().c_str());
  // Painted under the objects, it fills the view it was fitted to across, half of it down; the
  // area's fill tints it, so blue is counted as blue that outweighs the other two.
  const QImage shown = picture()->grab().toImage();
  int blue = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      const QRgb pixel = shown.pixel(x, y);
      blue += qBlue(pixel) > qRed(pixel) + 60 && qBlue(pixel) > qGreen(pixel) + 30;
    }
  }
  QVERIFY2(blue > shown.width() * shown.height() / 4, qPrintable(QString::number(blue)));
  map->findChild<QSlider*>("Opacity")->setValue(40);
  QCOMPARE(logic.Background().Opacity(), 0.4);

  for (const PixelPoint onPicture : {PixelPoint{2, 1}, PixelPoint{6, 3}}) {
    map->findChild<QAction*>("AlignBackground")->trigger();
    const MapPoint at = MapPosition(*logic.Background().ForMap(), onPicture);
    QTest::mouseClick(picture(), Qt::LeftButton, {}, ToWidget(logic.Viewport(), at));
    QTRY_VERIFY(!logic.AlignmentSpot());
  }
  QVERIFY(positions.isEmpty());
  // The clicks landed on whole pixels of the screen: the corners are near those of the points.
  const BackgroundCorners& corners = logic.Background().Corners();
  QVERIFY2(
      std::abs(corners.topLeft.x + 12800) < 2000 && std::abs(corners.bottomRight.y + 38400) < 4000,
      qPrintable(QString::number(corners.topLeft.x)));
  // "Background corners…" asks both corners; the slider follows an undone opacity.
  positions = {QStringLiteral("-10, 5"), QStringLiteral("10, -5")};
  map->findChild<QAction*>("BackgroundCorners")->trigger();
  QCOMPARE(corners.topLeft.x, -2560.0);
  QCOMPARE(corners.bottomRight.y, -1280.0);
  for (int undo = 0; undo < 4; ++undo) form_->mapLogic().KeyPressed(MapKey::kUndo, false, true);
  QCOMPARE(map->findChild<QSlider*>("Opacity")->value(), 100);
}

// The recipe's file items, the tools and the close of the map reach the logic through the
// window's dialogs.
void MapWindowTest::recipeFileAndToolItemsReachTheLogic() {
  const QString saved = QDir(directory_->path()).filePath("drawn.toml");
  const QString broken = QDir(directory_->path()).filePath("broken.toml");
  QVERIFY(WriteFile(broken, "[[layer]]\ncount = many\n"));
  QString toOpen = broken;
  QStringList problems;
  int unsavedAsked = 0;
  form_->mapView().setRecipeDialogs(
      {[&](QWidget*) { return toOpen; }, [&](QWidget*) { return saved; },
       [&](QWidget*, const QString&) {
         return ++unsavedAsked == 1 ? UnsavedAnswer::kCancel : UnsavedAnswer::kDiscard;
       },
       [](QWidget*, const QString&) { return false; },
       [&](QWidget*, const QString& text) { problems << text; }});
  openMap();
  QWidget* map = form_->mapWindow();
  MapLogic& logic = form_->mapLogic();
  map->findChild<QAction*>("CircleTool")->trigger();
  QCOMPARE(logic.Tool(), ShapeTool::kCircle);
  const MapViewport& viewport = logic.Viewport();
  QTest::mousePress(picture(), Qt::LeftButton, {}, ToWidget(viewport, {0, 0}));
  QTest::mouseMove(picture(), ToWidget(viewport, {30 * kUnit, 0}));
  QTest::mouseRelease(picture(), Qt::LeftButton, {}, ToWidget(viewport, {30 * kUnit, 0}));
  QCOMPARE(map->windowTitle(), QStringLiteral("Untitled* - Bosquell map"));
  map->findChild<QAction*>("Exclude")->trigger();
  QVERIFY(logic.Document().Current().layers.at(0).areas.back().exclude);
  map->findChild<QAction*>("Undo")->trigger();
  QVERIFY(!logic.Document().Current().layers.at(0).areas.back().exclude);

  // "Cancel" keeps the map open; the next close is answered "Discard".
  map->close();
  QVERIFY(logic.IsOpen() && map->isVisible());
  QAction* save = map->findChild<QAction*>("SaveRecipe");
  QCOMPARE(save->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
  save->trigger();
  QCOMPARE(map->windowTitle(), QStringLiteral("drawn.toml - Bosquell map"));
  QVERIFY(QFileInfo::exists(saved));
  QAction* open = map->findChild<QAction*>("OpenRecipe");
  QCOMPARE(open->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  open->trigger();
  QCOMPARE(problems.size(), 1);
  QVERIFY2(problems[0].contains("broken.toml"), qPrintable(problems[0]));
  toOpen = saved;
  map->findChild<QAction*>("NewRecipe")->trigger();
  open->trigger();
  QCOMPARE(logic.Document().Path(), saved.toStdString());
  QCOMPARE(unsavedAsked, 1);
}

// "&Recipe" ends with "&Take back a run…", which asks through the window's boxes.
void MapWindowTest::recipeMenuEndsWithTakingARunBack() {
  QStringList messages;
  form_->mapView().setTakeBackDialogs(
      {[](QWidget*) { return std::optional<QString>(QStringLiteral("12a")); },
       [](QWidget*, const QString&) { return false; },
       [&](QWidget*, const QString& text) { messages.append(text); }});
  openMap();
  QAction* takeBack = form_->mapWindow()->findChild<QMenu*>("RecipeMenu")->actions().last();
  QCOMPARE(takeBack->text(), QString::fromUtf8("&Take back a run\u2026"));
  takeBack->trigger();
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages[0].startsWith(QStringLiteral("The seed must be a whole number")),
           qPrintable(messages[0]));
}

QTEST_MAIN(MapWindowTest)
#include "map_window_test.moc"
