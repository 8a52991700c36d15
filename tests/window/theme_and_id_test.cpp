// The theme box and the own id box: the theme list, the one-time warning and how each input
// discards the other.

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "window/form1.h"
#include "window_test_support.h"

using namespace bosquell;
using namespace bosquell::testing;

namespace {

const QString kPrompt = QStringLiteral("Select Tree a Tree Theme:");
const QString kWarning = QStringLiteral(
    "WARNING!\r\nIf you enter the wrong Object ID, DF2 Mission Editor will not be able to load "
    "the output file!");

}  // namespace

class ThemeAndIdTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init();
  void cleanup();

  void themeListIsFilledInOrderBehindThePrompt();
  void firstChangeOfTheIdWarnsOnceAndEveryChangeResetsTheTheme();
  void pickingAThemeEmptiesTheIdWithoutASecondWarning();
  void firstPickBeforeAnyIdShowsNoWarning();
  void pickingWithTheKeyboardCountsToo();
  void deletingTheIdResetsTheTheme();
  void typingInTheThemeFieldRunsNoReaction();

 private:
  MessageLog log_;
  std::unique_ptr<Form1> form_;
  QComboBox* combo1_ = nullptr;
  QLineEdit* text6_ = nullptr;
};

void ThemeAndIdTest::init() {
  log_ = MessageLog();
  form_ = std::make_unique<Form1>(log_.presenter());
  form_->show();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  combo1_ = form_->findChild<QComboBox*>("Combo1");
  text6_ = form_->findChild<QLineEdit*>("Text6");
}

void ThemeAndIdTest::cleanup() {
  form_.reset();
}

void ThemeAndIdTest::themeListIsFilledInOrderBehindThePrompt() {
  QStringList entries;
  for (int i = 0; i < combo1_->count(); ++i) entries << combo1_->itemText(i);
  QCOMPARE(entries, (QStringList{"Jungel", "Zaire", "Georgia", "Desert", "Niger", "Kazhazkstan",
                                 "Peru", "Snow"}));
  QVERIFY(combo1_->isEditable());
  QCOMPARE(combo1_->currentText(), kPrompt);
  QCOMPARE(combo1_->currentIndex(), -1);
  QVERIFY(text6_->text().isEmpty());
  QVERIFY(!form_->idWarningShown());
}

void ThemeAndIdTest::firstChangeOfTheIdWarnsOnceAndEveryChangeResetsTheTheme() {
  QTest::keyClick(text6_, Qt::Key_1);
  QCOMPARE(log_.messages, QStringList{kWarning});
  QVERIFY(form_->idWarningShown());
  QCOMPARE(combo1_->currentText(), kPrompt);

  // A theme typed into the field stands until the next change of the id.
  combo1_->setEditText(QStringLiteral("Snow"));
  QTest::keyClick(text6_, Qt::Key_2);
  QCOMPARE(text6_->text(), QStringLiteral("12"));
  QCOMPARE(combo1_->currentText(), kPrompt);
  QCOMPARE(combo1_->currentIndex(), -1);
  QCOMPARE(log_.messages.size(), 1);
}

void ThemeAndIdTest::pickingAThemeEmptiesTheIdWithoutASecondWarning() {
  QTest::keyClicks(text6_, "1023");
  QCOMPARE(log_.messages.size(), 1);

  PickFromList(combo1_, 6);

  QVERIFY(text6_->text().isEmpty());
  QCOMPARE(combo1_->currentText(), QStringLiteral("Peru"));
  QCOMPARE(combo1_->currentIndex(), 6);
  QCOMPARE(log_.messages.size(), 1);
}

void ThemeAndIdTest::firstPickBeforeAnyIdShowsNoWarning() {
  PickFromList(combo1_, 7);
  QCOMPARE(combo1_->currentText(), QStringLiteral("Snow"));
  QCOMPARE(combo1_->currentIndex(), 7);
  QVERIFY(log_.messages.isEmpty());
  QVERIFY(!form_->idWarningShown());

  // Typing an id then discards the theme, with the warning now.
  QTest::keyClick(text6_, Qt::Key_9);
  QCOMPARE(combo1_->currentText(), kPrompt);
  QCOMPARE(log_.messages, QStringList{kWarning});
}

void ThemeAndIdTest::pickingWithTheKeyboardCountsToo() {
  QTest::keyClicks(text6_, "55");
  combo1_->setFocus();
  QTest::keyClick(combo1_, Qt::Key_Down);

  QVERIFY(text6_->text().isEmpty());
  QCOMPARE(combo1_->currentText(), QStringLiteral("Jungel"));
  QCOMPARE(combo1_->currentIndex(), 0);
}

void ThemeAndIdTest::deletingTheIdResetsTheTheme() {
  QTest::keyClick(text6_, Qt::Key_7);
  combo1_->setEditText(QStringLiteral("Zaire"));
  QTest::keyClick(text6_, Qt::Key_Backspace);

  QVERIFY(text6_->text().isEmpty());
  QCOMPARE(combo1_->currentText(), kPrompt);
}

void ThemeAndIdTest::typingInTheThemeFieldRunsNoReaction() {
  QTest::keyClicks(text6_, "42");
  const QSignalSpy picks(combo1_, &QComboBox::activated);

  // A text that names an entry exactly is still only typed, on Enter and on leaving the field.
  combo1_->setFocus();
  combo1_->lineEdit()->selectAll();
  QTest::keyClicks(combo1_->lineEdit(), "Peru");
  QTest::keyClick(combo1_->lineEdit(), Qt::Key_Return);
  text6_->setFocus();
  QCOMPARE(combo1_->currentText(), QStringLiteral("Peru"));
  QCOMPARE(combo1_->currentIndex(), -1);

  combo1_->setFocus();
  QTest::keyClicks(combo1_->lineEdit(), "x");
  QTest::keyClick(combo1_->lineEdit(), Qt::Key_Enter);
  QCOMPARE(combo1_->currentText(), QStringLiteral("Perux"));

  QCOMPARE(picks.count(), 0);
  QCOMPARE(combo1_->count(), 8);
  QCOMPARE(text6_->text(), QStringLiteral("42"));
}

QTEST_MAIN(ThemeAndIdTest)
#include "theme_and_id_test.moc"
