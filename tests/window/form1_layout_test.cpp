// The window's controls: names, places, captions, fonts, limits, tab order, menu and icon.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QtEndian>

#include "form/form1_layout.h"
#include "window/app_icon.h"
#include "window/form1.h"
#include "window/ico_images.h"
#include "window/overflow_free_style.h"
#include "window_test_support.h"

using namespace bosquell;
using namespace bosquell::testing;

namespace {

QString CaptionOf(const QWidget* control) {
  if (auto* frame = qobject_cast<const QGroupBox*>(control)) return frame->title();
  if (auto* button = qobject_cast<const QPushButton*>(control)) return button->text();
  if (auto* box = qobject_cast<const QLineEdit*>(control)) return box->text();
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (auto* combo = qobject_cast<const QComboBox*>(control)) return combo->currentText();
  return {};
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What kind of control the widget shows itself as.
ControlKind KindOf(const QWidget* control) {
  if (qobject_cast<const QGroupBox*>(control)) return ControlKind::kFrame;
  if (qobject_cast<const QPushButton*>(control)) return ControlKind::kCommandButton;
  if (qobject_cast<const QLineEdit*>(control)) return ControlKind::kTextBox;
  if (qobject_cast<const QLabel*>(control)) return ControlKind::kLabel;
  if (qobject_cast<const QListWidget*>(control)) return ControlKind::kFileList;
  if (qobject_cast<const QTreeWidget*>(control)) return ControlKind::kDirectoryList;
  if (auto* combo = qobject_cast<const QComboBox*>(control)) {
    return combo->isEditable() ? ControlKind::kComboBox : ControlKind::kDriveList;
  }
  return static_cast<ControlKind>(-1);  // none of the table's kinds
}

}  // namespace

class Form1LayoutTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void controlsStandWhereTheyBelong_data();
  void controlsStandWhereTheyBelong();
  void controlsMatchTheSharedLayoutTable();
  void windowIsFixedAroundItsClientArea();
  void focusStartsOnDrivesAndTabVisitsTheInputsInOrder();
  void screenReadersHearWhatEachControlIs();
  void textBoxesCutTypingAndPastingAtTheirLimit_data();
  void textBoxesCutTypingAndPastingAtTheirLimit();
  void programMenuHoldsAboutAndExit();
  void aboutShowsTheNoticeAndChangesNothing();
  void iconHoldsFourImages();
  void savesAPictureOfTheWindow();
  void theProgramsStyleShowsTheSameWindow();  // last: it changes the application's style

 private:
  MessageLog log_;
};

void Form1LayoutTest::controlsStandWhereTheyBelong_data() {
  QTest::addColumn<QString>("container");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<QString>("caption");

  // Pixels at 96 dpi: the twips of each control divided by 15.
  QTest::newRow("S") << "" << QRect(232, 0, 345, 353) << "Select Mission File:";
  QTest::newRow("Command2") << "S" << QRect(8, 16, 153, 25) << "Open";
  // The lists show the machine's drives and directories: no fixed text to compare.
  QTest::newRow("Drive1") << "S" << QRect(168, 16, 169, 21) << QString();
  QTest::newRow("File1") << "S" << QRect(8, 40, 153, 305) << QString();
  QTest::newRow("Dir1") << "S" << QRect(168, 40, 169, 306) << QString();
  QTest::newRow("Frame2") << "" << QRect(8, 0, 217, 65) << "Center Offset:";
  QTest::newRow("Frame3") << "Frame2" << QRect(8, 16, 97, 41) << "X";
  QTest::newRow("Text1") << "Frame3" << QRect(8, 16, 81, 19) << "0";
  QTest::newRow("Frame4") << "Frame2" << QRect(112, 16, 97, 41) << "Y";
  QTest::newRow("Text3") << "Frame4" << QRect(8, 16, 81, 19) << "0";
  QTest::newRow("Frame5") << "" << QRect(8, 72, 217, 65) << "Range:";
  QTest::newRow("Frame6") << "Frame5" << QRect(8, 16, 97, 41) << "X";
  QTest::newRow("Text4") << "Frame6" << QRect(8, 16, 81, 19) << "1024";
  QTest::newRow("Frame7") << "Frame5" << QRect(112, 16, 97, 41) << "Y";
  QTest::newRow("Text2") << "Frame7" << QRect(8, 16, 81, 19) << "1024";
  QTest::newRow("Frame1") << "" << QRect(8, 144, 217, 41) << "Number of objects to add:";
  QTest::newRow("Text5") << "Frame1" << QRect(8, 16, 201, 19) << "20";
  QTest::newRow("Frame8") << "" << QRect(8, 192, 217, 41) << "Select Tree order:";
  QTest::newRow("Combo1") << "Frame8" << QRect(8, 16, 201, 21) << "Select Tree a Tree Theme:";
  QTest::newRow("Frame9") << "" << QRect(8, 240, 217, 41) << "Advanced: Enter own object id:";
  QTest::newRow("Text6") << "Frame9" << QRect(8, 16, 201, 19) << "";
  QTest::newRow("Command1") << "" << QRect(8, 288, 217, 65) << "Add Objects";
  QTest::newRow("Label1") << "" << QRect(8, 360, 569, 25) << "Please Open a File!";
}

void Form1LayoutTest::controlsStandWhereTheyBelong() {
  QFETCH(QString, container);
  QFETCH(QRect, geometry);
  QFETCH(QString, caption);
  Form1 form(log_.presenter());

  const QString name = QString::fromLatin1(QTest::currentDataTag());
  auto* control = form.findChild<QWidget*>(name);
  QVERIFY2(control, qPrintable(name));
  QWidget* expectedParent =
      container.isEmpty() ? form.centralWidget() : form.findChild<QWidget*>(container);
  QCOMPARE(control->parentWidget(), expectedParent);
  QCOMPARE(control->geometry(), geometry);
  if (!caption.isNull()) QCOMPARE(CaptionOf(control), caption);
}

// The table the Windows window is built from too: kind, container, place, caption, limit,
// screen-reader name, font and tab order of every control.
void Form1LayoutTest::controlsMatchTheSharedLayoutTable() {
  Form1 form(log_.presenter());
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  for (const ControlLayout& layout : kForm1Layout) {
    const QString name = ToQString(layout.name);
    auto* control = form.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(KindOf(control), layout.kind);
    QWidget* container = layout.container
                             ? form.findChild<QWidget*>(ToQString(LayoutOf(*layout.container).name))
                             : form.centralWidget();
    QCOMPARE(control->parentWidget(), container);
    const TwipsRect& twips = layout.place;
    QCOMPARE(control->geometry(),
             QRect(twips.left / 15, twips.top / 15, twips.width / 15, twips.height / 15));
    const bool isList = layout.kind == ControlKind::kDriveList ||
                        layout.kind == ControlKind::kFileList ||
                        layout.kind == ControlKind::kDirectoryList;
    if (!isList) QCOMPARE(CaptionOf(control), ToQString(layout.caption));
    if (auto* box = qobject_cast<QLineEdit*>(control)) QCOMPARE(box->maxLength(), layout.textLimit);
    QCOMPARE(control->accessibleName(), ToQString(layout.accessibleName));
    QCOMPARE(control->font().pointSizeF(), layout.pointSize);
    QCOMPARE(control->focusPolicy() != Qt::NoFocus, TakesFocus(layout.kind));
  }

  // Tab goes round the controls that take the focus in the table's order.
  const std::vector<const ControlLayout*> order = TabOrder();
  QCOMPARE(order.size(), 12u);
  QVERIFY(HasFocus(form.findChild<QWidget*>(ToQString(order.front()->name))));
  for (std::size_t i = 1; i <= order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    const QString next = ToQString(order[i % order.size()]->name);
    QVERIFY2(HasFocus(form.findChild<QWidget*>(next)), qPrintable(next));
  }
}

void Form1LayoutTest::windowIsFixedAroundItsClientArea() {
  Form1 form(log_.presenter());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));

  QCOMPARE(form.objectName(), QStringLiteral("Form1"));
  QCOMPARE(form.windowTitle(), QStringLiteral("Bosquell"));
  QCOMPARE(form.centralWidget()->size(), QSize(582, 391));
  QCOMPARE(form.centralWidget()->y(), form.menuBar()->height());
  QCOMPARE(form.height(), 391 + form.menuBar()->height());
  QCOMPARE(form.minimumSize(), form.maximumSize());
  QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
  QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void Form1LayoutTest::focusStartsOnDrivesAndTabVisitsTheInputsInOrder() {
  Form1 form(log_.presenter());
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));

  const char* order[] = {"Drive1", "File1",    "Dir1",  "Command1", "Text1", "Text3", "Text4",
                         "Text2",  "Command2", "Text5", "Combo1",   "Text6", "Drive1"};
  QVERIFY(HasFocus(form.findChild<QWidget*>("Drive1")));
  for (std::size_t i = 1; i < std::size(order); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY2(HasFocus(form.findChild<QWidget*>(order[i])), order[i]);
  }
}

void Form1LayoutTest::screenReadersHearWhatEachControlIs() {
  Form1 form(log_.presenter());
  const std::pair<const char*, const char*> names[] = {
      {"Text1", "Center offset X"}, {"Text3", "Center offset Y"},   {"Text4", "Range X"},
      {"Text2", "Range Y"},         {"Text5", "Number of objects"}, {"Combo1", "Tree theme"},
      {"Text6", "Own object id"},   {"File1", "Mission files"},     {"Dir1", "Folders"},
      {"Drive1", "Drive"},          {"Command2", "Open"},           {"Command1", "Add Objects"},
      {"Label1", "Status"}};
  for (const auto& [control, name] : names) {
    QCOMPARE(form.findChild<QWidget*>(control)->accessibleName(), QString::fromUtf8(name));
  }
}

void Form1LayoutTest::textBoxesCutTypingAndPastingAtTheirLimit_data() {
  QTest::addColumn<int>("limit");
  for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text6"}) {
    QTest::newRow(name) << 6;
  }
  QTest::newRow("Text5") << 3;
}

void Form1LayoutTest::textBoxesCutTypingAndPastingAtTheirLimit() {
  QFETCH(int, limit);
  Form1 form(log_.presenter());
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  auto* box = form.findChild<QLineEdit*>(QString::fromLatin1(QTest::currentDataTag()));

  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, "123456789");
  QCOMPARE(box->text(), QStringLiteral("123456789").left(limit));

  QGuiApplication::clipboard()->setText(QStringLiteral("987654321"));
  box->selectAll();
  QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(box->text(), QStringLiteral("987654321").left(limit));
}

void Form1LayoutTest::programMenuHoldsAboutAndExit() {
  Form1 form(log_.presenter());
  auto* prgm = form.menuBar()->findChild<QMenu*>("prgm");
  QVERIFY(prgm);
  QCOMPARE(prgm->title(), QStringLiteral("&Program"));
  // "&View" follows it; the map's own tests look into it.
  auto* view = form.menuBar()->findChild<QMenu*>("view");
  QVERIFY(view);
  QCOMPARE(form.menuBar()->actions(), (QList<QAction*>{prgm->menuAction(), view->menuAction()}));

  const QList<QAction*> items = prgm->actions();
  QCOMPARE(items.size(), 3);
  QCOMPARE(items[0]->objectName(), QStringLiteral("aboutas"));
  QCOMPARE(items[0]->text(), QStringLiteral("&About"));
  QCOMPARE(items[0]->shortcut(), QKeySequence(Qt::Key_F1));
  QCOMPARE(items[1]->objectName(), QStringLiteral("minln"));
  QVERIFY(items[1]->isSeparator());
  QCOMPARE(items[2]->objectName(), QStringLiteral("ext"));
  QCOMPARE(items[2]->text(), QStringLiteral("&Exit"));
  QVERIFY(items[2]->shortcut().isEmpty());
}

void Form1LayoutTest::aboutShowsTheNoticeAndChangesNothing() {
  QTemporaryDir directory;
  QVERIFY(WriteFile(directory.filePath("a.mis"), SampleMission(1)));
  const CurrentDirectoryGuard guard(directory.path());
  MessageLog log;
  Form1 form(log.presenter());
  form.show();
  QVERIFY(QTest::qWaitForWindowActive(&form));
  QTRY_VERIFY(form.listsFilled());

  // Some state worth keeping: an open file, a typed id (which warns once) and a combo text.
  auto* file1 = form.findChild<QListWidget*>("File1");
  DoubleClickEntry(file1, 0);
  auto* text6 = form.findChild<QLineEdit*>("Text6");
  QTest::keyClicks(text6, "77");
  auto* combo1 = form.findChild<QComboBox*>("Combo1");
  combo1->setEditText(QStringLiteral("Snow"));
  const QString missionPath = form.missionPath();
  const QString status = form.findChild<QLabel*>("Label1")->text();
  QCOMPARE(log.messages.size(), 1);

  QTest::keyClick(&form, Qt::Key_F1);
  form.findChild<QAction*>("aboutas")->trigger();

  QCOMPARE(log.messages.size(), 3);
  for (const QString& about : {log.messages[1], log.messages[2]}) {
    const QStringList lines = about.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].contains(QStringLiteral("Bosquell")));
    QVERIFY(lines[1].contains(QStringLiteral("issue tracker")));
  }
  QVERIFY(!missionPath.isEmpty());
  QCOMPARE(form.missionPath(), missionPath);
  QCOMPARE(form.findChild<QLabel*>("Label1")->text(), status);
  QCOMPARE(text6->text(), QStringLiteral("77"));
  QCOMPARE(combo1->currentText(), QStringLiteral("Snow"));
  QVERIFY(form.idWarningShown());
}

void Form1LayoutTest::iconHoldsFourImages() {
  BosquellIcon();  // registers the resources
  QFile file(QStringLiteral(":/bosquell/bosquell.ico"));
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();

  // The icon directory: reserved 0, type 1, then one 16-byte entry per image.
  QVERIFY(bytes.size() > 6);
  const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
  QCOMPARE(qFromLittleEndian<quint16>(data + 2), quint16(1));
  QCOMPARE(qFromLittleEndian<quint16>(data + 4), quint16(4));
  struct Expected {
    int size;
    int colours;  // 0 means 256
    int bits;
  };
  const Expected expected[] = {{32, 16, 4}, {32, 0, 8}, {16, 0, 8}, {16, 16, 4}};
  for (int i = 0; i < 4; ++i) {
    const uchar* entry = data + 6 + 16 * i;
    QCOMPARE(int(entry[0]), expected[i].size);
    QCOMPARE(int(entry[1]), expected[i].size);
    QCOMPARE(int(entry[2]), expected[i].colours);
    QCOMPARE(int(qFromLittleEndian<quint16>(entry + 6)), expected[i].bits);
    const quint32 length = qFromLittleEndian<quint32>(entry + 8);
    const quint32 offset = qFromLittleEndian<quint32>(entry + 12);
    QVERIFY(offset + length <= quint32(bytes.size()));
  }

  // Qt reads every image, and the window carries both sizes.
  QImageReader reader(QStringLiteral(":/bosquell/bosquell.ico"));
  QCOMPARE(reader.imageCount(), 4);

  // The window's own reading of the four images, pixel for pixel as Qt's .ico plugin reads them.
  const QList<IcoImage> images = ReadIcoImages(bytes);
  QCOMPARE(images.size(), 4);
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(images[i].image.width(), expected[i].size);
    QCOMPARE(images[i].image.height(), expected[i].size);
    QCOMPARE(images[i].bitsPerPixel, expected[i].bits);
    QVERIFY(reader.jumpToImage(i));
    QCOMPARE(images[i].image, reader.read().convertToFormat(QImage::Format_ARGB32));
  }
  QVERIFY(ReadIcoImages(bytes.left(60)).isEmpty());  // cut short: no image half read
  QVERIFY(ReadIcoImages(QByteArray("\x89PNG\r\n")).isEmpty());

  // Which image shows: the nearest size, then the deepest the screen can show.
  struct Pick {
    int size;
    int screenDepth;
    qsizetype image;  // index in the .ico
  };
  const Pick picks[] = {
      {32, 32, 1}, {32, 8, 1}, {32, 4, 0},  {16, 24, 2},
      {16, 4, 3},  {16, 1, 3}, {24, 32, 1},  // the next larger size, scaled down
      {48, 32, 1},                           // the largest there is, scaled up
      {8, 4, 3},
  };
  for (const auto& [size, screenDepth, image] : picks) {
    QCOMPARE(PickIcoImage(images, QSize(size, size), screenDepth), image);
  }
  QCOMPARE(PickIcoImage({}, QSize(16, 16), 32), qsizetype(-1));
  Form1 form(log_.presenter());
  const QList<QSize> sizes = form.windowIcon().availableSizes();
  QCOMPARE(sizes, (QList<QSize>{QSize(32, 32), QSize(16, 16)}));
  // Read once, and the .ico's 256-colour images pixel for pixel.
  QCOMPARE(form.windowIcon().cacheKey(), BosquellIcon().cacheKey());
  const auto argb = [](const QIcon& icon, QSize size) {
    return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
  };
  for (const QSize size : {QSize(16, 16), QSize(32, 32)}) {
    QCOMPARE(argb(form.windowIcon(), size), argb(QIcon(":/bosquell/bosquell.ico"), size));
  }
}

void Form1LayoutTest::savesAPictureOfTheWindow() {
  QTemporaryDir directory;
  QVERIFY(WriteFile(directory.filePath("clearing.mis"), SampleMission(2)));
  QVERIFY(WriteFile(directory.filePath("ridge.mis"), SampleMission(2)));
  QVERIFY(QDir(directory.path()).mkdir(QStringLiteral("campaign")));
  const CurrentDirectoryGuard guard(directory.path());
  Form1 form(log_.presenter());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QTRY_VERIFY(form.listsFilled());

  const QImage picture = form.grab().toImage();
  QCOMPARE(picture.size(), form.size() * picture.devicePixelRatio());
  QVERIFY(picture.save(QStringLiteral(BOSQUELL_WINDOW_PICTURE)));
}

// The program wraps the style to spare the menu bar's overflow icon at start; the window must
// look exactly the same.
void Form1LayoutTest::theProgramsStyleShowsTheSameWindow() {
  QTemporaryDir directory;
  QVERIFY(WriteFile(directory.filePath("clearing.mis"), SampleMission(2)));
  const CurrentDirectoryGuard guard(directory.path());
  const auto picture = [this] {
    Form1 form(log_.presenter());
    form.show();
    const bool shown = QTest::qWaitForWindowExposed(&form);
    return shown && QTest::qWaitFor([&] { return form.listsFilled(); }) ? form.grab().toImage()
                                                                        : QImage();
  };
  const QImage plain = picture();
  UseOverflowFreeStyle();
  const QImage program = picture();
  QVERIFY(!plain.isNull());
  QCOMPARE(program, plain);
}

QTEST_MAIN(Form1LayoutTest)
#include "form1_layout_test.moc"
