// The window with the keyboard alone: a list of one mission file, and the whole road from
// choosing the file to a written output.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "window/file_list.h"
#include "window/form1.h"
#include "window_test_support.h"

using namespace bosquell;
using namespace bosquell::testing;

class KeyboardTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup();

  void anyMoveKeySelectsTheOnlyFile_data();
  void anyMoveKeySelectsTheOnlyFile();
  void tabSpaceAndTypingMakeAWholeRun();

 private:
  // Presses Tab `times` times where the focus is.
  static void tab(int times);
  static void press(int key);

  std::unique_ptr<QTemporaryDir> directory_;
  std::unique_ptr<CurrentDirectoryGuard> guard_;
  MessageLog log_;
  std::unique_ptr<Form1> form_;
};

void KeyboardTest::init() {
  directory_ = std::make_unique<QTemporaryDir>();
  QVERIFY(WriteFile(QDir(directory_->path()).filePath("field.mis"), SampleMission(3)));
  guard_ = std::make_unique<CurrentDirectoryGuard>(directory_->path());
  log_ = MessageLog();
  form_ = std::make_unique<Form1>(
      log_.presenter(), std::make_unique<ScriptedRandom>(std::vector<float>{0.2f, 0.7f, 0.4f}));
  form_->show();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void KeyboardTest::cleanup() {
  form_.reset();
  guard_.reset();
  directory_.reset();
}

void KeyboardTest::tab(int times) {
  for (int i = 0; i < times; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

void KeyboardTest::press(int key) {
  QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
}

void KeyboardTest::anyMoveKeySelectsTheOnlyFile_data() {
  QTest::addColumn<int>("key");
  QTest::newRow("Home") << int(Qt::Key_Home);
  QTest::newRow("End") << int(Qt::Key_End);
  QTest::newRow("Up") << int(Qt::Key_Up);
  QTest::newRow("Down") << int(Qt::Key_Down);
}

void KeyboardTest::anyMoveKeySelectsTheOnlyFile() {
  QFETCH(int, key);
  auto* file1 = form_->findChild<FileList*>("File1");
  tab(1);
  QVERIFY(HasFocus(file1));
  QCOMPARE(file1->selectedRow(), -1);  // focus alone selects nothing

  press(key);
  QCOMPARE(file1->selectedRow(), 0);
  press(Qt::Key_Return);
  QVERIFY(form_->missionPath().endsWith(QStringLiteral("field.mis")));
}

void KeyboardTest::tabSpaceAndTypingMakeAWholeRun() {
  tab(1);  // Drive1 -> File1
  press(Qt::Key_Home);
  tab(7);  // Dir1, Command1, Text1, Text3, Text4, Text2, Command2
  press(Qt::Key_Space);
  QVERIFY(!form_->missionPath().isEmpty());

  tab(1);  // Text5
  QTest::keyClicks(QApplication::focusWidget(), "5");
  tab(1);  // Combo1
  QTest::keyClicks(QApplication::focusWidget(), "Peru");
  QCOMPARE(form_->findChild<QComboBox*>("Combo1")->currentText(), QStringLiteral("Peru"));
  tab(5);  // Text6, Drive1, File1, Dir1, Command1
  press(Qt::Key_Space);

  const QString output = QDir(directory_->path()).filePath("field_rnd.mis");
  QCOMPARE(log_.messages,
           QStringList{"5 Object have been added and the file has been saved to \r\n" +
                       QDir::toNativeSeparators(output)});
  const QByteArray written = ReadFile(output);
  QVERIFY(written.startsWith(SampleMission(3).replace("num_items 3", "num_items 8")));
  QCOMPARE(written.count("begin item"), 8);
  int peruTypes = 0;
  for (const char* id : {"1053", "1054", "1059", "1060", "4075"}) {
    peruTypes += int(written.count(QByteArray("  type_id ") + id + "\r\n"));
  }
  QCOMPARE(peruTypes, 5);
  QCOMPARE(form_->findChild<QLabel*>("Label1")->text(),
           QStringLiteral("File has been saved with the ending _rnd.mis!"));
}

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
