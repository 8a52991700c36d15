// A forest drawn in the Qt map window from start to end, as a user makes it: a polygon with an
// excluded corridor and an excluded circular clearing, drawn with the mouse and the keys from the
// Tools menu, saved with Ctrl+S, written with "Add Objects", and written again by bosquell-cli
// from the saved recipe and the seed in the map's status line.

#include <sstream>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "../cli/run_redirected.h"
#include "mission/item_positions.h"
#include "window/form1.h"
#include "window/map_window.h"
#include "window_logic/map_logic.h"
#include "window_test_support.h"

using namespace bosquell;
using namespace bosquell::testing;

namespace {

const QByteArray kMission =
    "begin objects\r\n  num_items 2\r\nend objects\r\n"
    "\r\nbegin item 0\r\n  id 1\r\n  type_id 500\r\n  position 1536 -2048 0\r\nend item\r\n"
    "\r\nbegin item 1\r\n  id 2\r\n  type_id 500\r\n  position -768 512 0\r\nend item\r\n";

}  // namespace

class DrawnForestTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void theSavedRecipeRunByTheCommandLineWritesTheWindowsBytes();

 private:
  QWidget* picture() const { return form_->mapWindow()->findChild<QWidget*>("MapPicture"); }
  void type(const char* box, const char* text) {
    auto* field = form_->findChild<QLineEdit*>(box);
    field->selectAll();
    QTest::keyClicks(field, text);
  }
  // The picture's pixel at a point in user units; it must lie on the picture.
  QPoint at(double x, double y) const {
    const PixelPoint pixel =
        form_->mapLogic().Viewport().ToPixel({x * kMapUnitsPerUserUnit, y * kMapUnitsPerUserUnit});
    const QPoint point(qRound(pixel.x), qRound(pixel.y));
    if (!picture()->rect().contains(point)) qWarning("%g, %g is off the picture", x, y);
    return point;
  }
  void tool(const char* name) { form_->mapWindow()->findChild<QAction*>(name)->trigger(); }

  std::unique_ptr<Form1> form_;
};

void DrawnForestTest::theSavedRecipeRunByTheCommandLineWritesTheWindowsBytes() {
  QTest::failOnWarning(QRegularExpression("off the picture"));
  QTemporaryDir directory;
  QVERIFY(directory.isValid());
  const QDir folder(directory.path());
  const QString mission = folder.filePath("forest.mis");
  const QString recipe = folder.filePath(QString::fromUtf8("gezeichnet 森.toml"));
  QVERIFY(WriteFile(mission, kMission));
  CurrentDirectoryGuard guard(directory.path());
  MessageLog log;
  std::uint32_t nextSeed = 2026;
  QStringList problems;
  form_ = std::make_unique<Form1>(log.presenter(), nullptr, nullptr, [&] { return nextSeed++; });
  form_->mapView().setRecipeDialogs(
      {[](QWidget*) { return QString(); }, [&](QWidget*) { return recipe; },
       [](QWidget*, const QString&) { return UnsavedAnswer::kDiscard; },
       [](QWidget*, const QString&) { return false; },
       [&](QWidget*, const QString& text) { problems << text; }});
  form_->show();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QTRY_VERIFY(form_->listsFilled());
  form_->openNamedFile(mission);
  PickFromList(form_->findChild<QComboBox*>("Combo1"), 0);
  // Boxes for a small square well away from where the forest goes.
  type("Text1", "150");
  type("Text3", "150");
  type("Text4", "10");
  type("Text2", "10");
  type("Text5", "200");
  QTest::keyClick(form_.get(), Qt::Key_F2);
  QVERIFY(QTest::qWaitForWindowActive(form_->mapWindow()));
  picture()->grab();

  // The forest: four corners, the last one double-clicked.
  tool("PolygonTool");
  for (const auto& [x, y] : {std::pair{0, 20}, {120, 10}, {130, 130}}) {
    QTest::mouseClick(picture(), Qt::LeftButton, {}, at(x, y));
  }
  QTest::mouseClick(picture(), Qt::LeftButton, {}, at(10, 120));
  QTest::mouseDClick(picture(), Qt::LeftButton, {}, at(10, 120));
  // The road: three points, Enter, and Enter again for the offered width.
  tool("CorridorTool");
  for (const auto& [x, y] : {std::pair{0, 50}, {70, 40}, {135, 80}}) {
    QTest::mouseClick(picture(), Qt::LeftButton, {}, at(x, y));
  }
  QTest::keyClick(picture(), Qt::Key_Return);
  QTest::keyClick(picture(), Qt::Key_Return);
  tool("Exclude");
  // The clearing: dragged out from its centre.
  tool("CircleTool");
  QTest::mousePress(picture(), Qt::LeftButton, {}, at(60, 90));
  QTest::mouseMove(picture(), at(70, 90));
  QTest::mouseMove(picture(), at(80, 90));
  QTest::mouseRelease(picture(), Qt::LeftButton, {}, at(80, 90));
  tool("Exclude");
  // The boxes' square goes: clicked with the select tool, then Del.
  tool("SelectTool");
  QTest::mouseClick(picture(), Qt::LeftButton, {}, at(150, 150));
  QTest::keyClick(picture(), Qt::Key_Delete);

  MapLogic& logic = form_->mapLogic();
  const std::vector<Layer>& layers = logic.Document().Current().layers;
  QCOMPARE(layers.size(), std::size_t{1});
  QCOMPARE(layers[0].areas.size(), std::size_t{3});
  QVERIFY(layers[0].areas[0] ==
          (Area{PolygonArea{{{0, 20}, {120, 10}, {130, 130}, {10, 120}}}, false}));
  QVERIFY(layers[0].areas[1] == (Area{CorridorArea{{{0, 50}, {70, 40}, {135, 80}}, 10}, true}));
  QVERIFY(layers[0].areas[2] == (Area{CircleArea{{60, 90}, 20}, true}));
  QCOMPARE(logic.Problem(), std::string());
  const std::vector<DrawnObject> previewed = logic.Preview().objects;
  QCOMPARE(previewed.size(), std::size_t{200});

  QTest::keyClick(picture(), Qt::Key_S, Qt::ControlModifier);
  QVERIFY2(QFile::exists(recipe), qPrintable(problems.join('\n')));
  QCOMPARE(form_->mapWindow()->windowTitle(),
           QString::fromUtf8("gezeichnet 森.toml - Bosquell map"));
  // The user reads the seed off the map's status line.
  const QString status = form_->mapWindow()->findChild<QLabel*>("MapStatus")->text();
  const QString seed = QRegularExpression("Seed: (\\d+)").match(status).captured(1);
  QCOMPARE(seed, QStringLiteral("2026"));

  QTest::mouseClick(form_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
  QCOMPARE(log.messages.size(), 1);
  QVERIFY2(log.messages[0].startsWith("200 Object have been added"), qPrintable(log.messages[0]));
  const QByteArray written = ReadFile(form_->outputPath());
  std::stringbuf writtenBuffer(written.toStdString());
  const std::vector<MapPoint> positions = ReadItemPositions(writtenBuffer).value();
  QCOMPARE(positions.size(), 2 + previewed.size());
  for (std::size_t i = 0; i < previewed.size(); ++i) {
    QCOMPARE(positions[2 + i].x, previewed[i].x);
    QCOMPARE(positions[2 + i].y, previewed[i].y);
  }

  const QString fromCli = folder.filePath("from_cli.mis");
  const int exitCode = bosquell::test::RunRedirected(
      BOSQUELL_CLI_PROGRAM,
      {"--recipe", recipe.toStdString(), "--seed", seed.toStdString(), "-o", fromCli.toStdString(),
       mission.toStdString()},
      folder.filePath("out.txt").toStdString(), folder.filePath("err.txt").toStdString());
  QVERIFY2(exitCode == 0, ReadFile(folder.filePath("err.txt")).constData());
  QVERIFY(ReadFile(fromCli) == written);
  form_.reset();
}

QTEST_MAIN(DrawnForestTest)
#include "drawn_forest_test.moc"
