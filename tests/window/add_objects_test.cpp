// "Add Objects" from the window: what the run reads from the controls, what it writes, how the
// window shows its messages, and the whole road with the keyboard alone.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "placement/tree_themes.h"
#include "window/file_list.h"
#include "window/form1.h"
#include "window_test_support.h"

using namespace bosquell;
using namespace bosquell::testing;

namespace {

const QString kNoFile = QStringLiteral("First Open a file!, Thank You");
const QString kSaved = QStringLiteral("File has been saved with the ending _rnd.mis!");

// The type ids written into the new item records, in file order.
QStringList NewTypeIds(const QByteArray& output, int firstNewItem) {
  QStringList ids;
  const QString text = QString::fromLatin1(output);
  const QRegularExpression block(
      QStringLiteral("begin item (\\d+)\\r\\n  id \\d+\\r\\n  type_id ([^\\r]*)\\r\\n"));
  for (auto it = block.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    if (match.captured(1).toInt() >= firstNewItem) ids << match.captured(2);
  }
  return ids;
}

// Presses a key `times` times where the focus is.
void Press(Qt::Key key, int times = 1) {
  for (int i = 0; i < times; ++i) QTest::keyClick(QApplication::focusWidget(), key);
}

}  // namespace

class AddObjectsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup();

  void runWritesTheOutputAndReportsIt();
  void runUsesTheTypedOwnId();
  void runWithoutThemeOrIdAsksForOne();
  void messageBoxTakesMouseAndKeysWhileTheWindowIsDisabled();
  void anyMoveKeySelectsTheOnlyFileAndEnterOpensIt_data();
  void anyMoveKeySelectsTheOnlyFileAndEnterOpensIt();
  void keyboardAloneMakesAWholeRun();

 private:
  void openMissionFile();
  void pressAddObjects();

  std::unique_ptr<QTemporaryDir> directory_;
  std::unique_ptr<CurrentDirectoryGuard> guard_;
  QString mission_;
  MessageLog log_;
  std::unique_ptr<Form1> form_;
};

void AddObjectsTest::init() {
  directory_ = std::make_unique<QTemporaryDir>();
  QVERIFY(directory_->isValid());
  mission_ = QDir(directory_->path()).filePath("field.mis");
  QVERIFY(WriteFile(mission_, SampleMission(3)));
  guard_ = std::make_unique<CurrentDirectoryGuard>(directory_->path());

  log_ = MessageLog();
  form_ = std::make_unique<Form1>(
      log_.presenter(),
      std::make_unique<ScriptedRandom>(std::vector<float>{0.1f, 0.5f, 0.9f, 0.3f}));
  form_->show();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QTRY_VERIFY(form_->listsFilled());
}

void AddObjectsTest::cleanup() {
  form_.reset();
  guard_.reset();
  directory_.reset();
}

void AddObjectsTest::openMissionFile() {
  DoubleClickEntry(form_->findChild<QListWidget*>("File1"), 0);
}

void AddObjectsTest::pressAddObjects() {
  QTest::mouseClick(form_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
}

void AddObjectsTest::runWritesTheOutputAndReportsIt() {
  openMissionFile();
  PickFromList(form_->findChild<QComboBox*>("Combo1"), 0);
  auto* text5 = form_->findChild<QLineEdit*>("Text5");
  text5->selectAll();
  QTest::keyClicks(text5, "5");
  const QString output = form_->outputPath();
  QCOMPARE(output,
           QDir::toNativeSeparators(directory_->path()) + QDir::separator() + "field_rnd.mis");

  pressAddObjects();

  const QByteArray written = ReadFile(output);
  QVERIFY(written.contains("\r\n  num_items 8\r\n"));
  const QStringList types = NewTypeIds(written, 3);
  QCOMPARE(types.size(), 5);
  QStringList jungel;
  for (std::int16_t id : FindTreeTheme("Jungel")->typeIds) jungel << QString::number(id);
  for (const QString& type : types) QVERIFY2(jungel.contains(type), qPrintable(type));
  QCOMPARE(ReadFile(mission_), SampleMission(3));

  QCOMPARE(log_.messages,
           QStringList{"5 Object have been added and the file has been saved to \r\n" + output});
  QCOMPARE(form_->findChild<QLabel*>("Label1")->text(), kSaved);
  QVERIFY(form_->missionPath().isEmpty());
  QCOMPARE(form_->outputPath(), output);
  QVERIFY(form_->isEnabled());
  auto* file1 = form_->findChild<QListWidget*>("File1");
  QCOMPARE(file1->count(), 2);
  QCOMPARE(file1->item(1)->text(), QStringLiteral("field_rnd.mis"));
  QCOMPARE(file1->selectedItems(), QList<QListWidgetItem*>{file1->item(0)});

  // The file has been used up: the next press asks for a new one, while the window is disabled.
  pressAddObjects();
  QCOMPARE(log_.messages.size(), 2);
  QCOMPARE(log_.messages[1], kNoFile);
  QCOMPARE(log_.windowEnabled[1], false);
  QVERIFY(form_->isEnabled());
  QCOMPARE(form_->findChild<QLabel*>("Label1")->text(), kSaved);
}

void AddObjectsTest::runUsesTheTypedOwnId() {
  openMissionFile();
  QTest::keyClicks(form_->findChild<QLineEdit*>("Text6"), "1234");
  pressAddObjects();

  QCOMPARE(log_.messages.size(), 2);  // the id warning, then the report
  QVERIFY(log_.messages[1].startsWith("20 Object have been added"));
  const QStringList types = NewTypeIds(ReadFile(form_->outputPath()), 3);
  QCOMPARE(types, QStringList(20, QStringLiteral("1234")));
}

void AddObjectsTest::runWithoutThemeOrIdAsksForOne() {
  auto* command1 = form_->findChild<QPushButton*>("Command1");
  pressAddObjects();

  QCOMPARE(
      log_.messages,
      QStringList{"You have to select a Tree Theme or enter you own Object ID First!, Thank You"});
  QCOMPARE(log_.windowEnabled, QList<bool>{false});
  QVERIFY(form_->isEnabled());
  QVERIFY(HasFocus(command1));
  QCOMPARE(form_->findChild<QLabel*>("Label1")->text(), QStringLiteral("Please Open a File!"));
}

void AddObjectsTest::messageBoxTakesMouseAndKeysWhileTheWindowIsDisabled() {
  Form1 form;  // with the real message boxes
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  form.SetWindowEnabled(false);

  struct Seen {
    bool found = false;
    bool enabled = false;
    bool closed = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Information;
    qsizetype buttons = 0;
  };
  // Looks at the box once it is up, then closes it as a user would.
  auto inspectAndClose = [](Seen& seen, bool withKeyboard) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen.found = true;
    seen.enabled = box->isEnabled() && box->button(QMessageBox::Ok)->isEnabled();
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.buttons = box->buttons().size();
    if (withKeyboard) {
      QTest::keyClick(box, Qt::Key_Return);
    } else {
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    }
    seen.closed = !box->isVisible();
    if (!seen.closed) box->done(QMessageBox::Ok);  // never leave the test blocked
  };

  Seen byMouse;
  QTimer::singleShot(0, &form, [&] { inspectAndClose(byMouse, false); });
  form.ShowMessage("Line one\r\nLine two");
  Seen byKeys;
  QTimer::singleShot(0, &form, [&] { inspectAndClose(byKeys, true); });
  form.ShowMessage("Second");
  form.SetWindowEnabled(true);

  QVERIFY(byMouse.found);
  QVERIFY(byMouse.enabled);
  QVERIFY(byMouse.closed);
  QCOMPARE(byMouse.title, QStringLiteral("Bosquell"));
  QCOMPARE(byMouse.text, QStringLiteral("Line one\nLine two"));
  QCOMPARE(byMouse.icon, QMessageBox::NoIcon);
  QCOMPARE(byMouse.buttons, 1);
  QVERIFY(byKeys.found);
  QVERIFY(byKeys.closed);
}

void AddObjectsTest::anyMoveKeySelectsTheOnlyFileAndEnterOpensIt_data() {
  QTest::addColumn<Qt::Key>("key");
  for (Qt::Key key : {Qt::Key_Home, Qt::Key_End, Qt::Key_Up, Qt::Key_Down}) {
    QTest::newRow(qPrintable(QKeySequence(key).toString())) << key;
  }
}

void AddObjectsTest::anyMoveKeySelectsTheOnlyFileAndEnterOpensIt() {
  QFETCH(Qt::Key, key);
  auto* file1 = form_->findChild<FileList*>("File1");
  Press(Qt::Key_Tab);  // from Drive1; focus alone selects nothing
  QCOMPARE(file1->selectedRow(), -1);
  Press(key);
  QCOMPARE(file1->selectedRow(), 0);
  Press(Qt::Key_Return);
  QVERIFY(form_->missionPath().endsWith(QStringLiteral("field.mis")));
}

void AddObjectsTest::keyboardAloneMakesAWholeRun() {
  Press(Qt::Key_Tab);  // File1
  Press(Qt::Key_Home);
  Press(Qt::Key_Tab, 7);  // Dir1, Command1, Text1, Text3, Text4, Text2, "Open"
  Press(Qt::Key_Space);
  Press(Qt::Key_Tab);  // Text5
  QTest::keyClicks(QApplication::focusWidget(), "5");
  Press(Qt::Key_Tab);  // Combo1
  QTest::keyClicks(QApplication::focusWidget(), "Peru");
  Press(Qt::Key_Tab, 5);  // Text6, Drive1, File1, Dir1, "Add Objects"
  Press(Qt::Key_Space);

  const QString output = QDir(directory_->path()).filePath("field_rnd.mis");
  QCOMPARE(log_.messages,
           QStringList{"5 Object have been added and the file has been saved to \r\n" +
                       QDir::toNativeSeparators(output)});
  const QStringList types = NewTypeIds(ReadFile(output), 3);
  QCOMPARE(types.size(), 5);
  for (const QString& type : types)
    QVERIFY2(QStringList({"1053", "1054", "1059", "1060", "4075"}).contains(type),
             qPrintable(type));
}

QTEST_MAIN(AddObjectsTest)
#include "add_objects_test.moc"
