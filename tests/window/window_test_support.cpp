#include "window_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace bosquell::testing {

MessagePresenter MessageLog::presenter() {
  return [this](QWidget* parent, const QString& text) {
    messages << text;
    windowEnabled << (parent && parent->isEnabled());
  };
}

float ScriptedRandom::RandomUnit() {
  const float unit = units_[next_];
  next_ = (next_ + 1) % units_.size();
  return unit;
}

ExtraDrives::ExtraDrives(const QStringList& roots) {
  for (const QString& root : roots) extra_.push_back(QDir::toNativeSeparators(root).toStdString());
}

std::vector<std::string> ExtraDrives::Drives() {
  std::vector<std::string> drives = machine_.Drives();
  drives.insert(drives.end(), extra_.begin(), extra_.end());
  return drives;
}

QByteArray SampleMission(int itemCount) {
  QByteArray text = "begin header\r\n  title Test clearing\r\nend header\r\n\r\n";
  text += "begin objects\r\n  num_items " + QByteArray::number(itemCount) + "\r\nend objects\r\n";
  for (int i = 0; i < itemCount; ++i) {
    text += "\r\nbegin item " + QByteArray::number(i) + "\r\n";
    text += "  id " + QByteArray::number(i + 1) + "\r\n";
    text += "  type_id 500\r\n  position 0 0 0\r\nend item\r\n";
  }
  return text;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList EntryTexts(const QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

QStringList EntryTexts(const QTreeWidget* tree) {
  QStringList texts;
  for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it) {
    texts << (*it)->text(0);
  }
  return texts;
}

void ClickEntry(QListWidget* list, int row) {
  const QPoint centre = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
}

void DoubleClickEntry(QListWidget* list, int row) {
  const QPoint centre = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, centre);
}

void DoubleClickEntry(QTreeWidget* tree, const QString& text) {
  const QList<QTreeWidgetItem*> found =
      tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  if (found.isEmpty()) return;
  const QPoint centre = tree->visualItemRect(found.first()).center();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, centre);
}

void PickFromList(QComboBox* combo, int row) {
  combo->showPopup();
  QAbstractItemView* view = combo->view();
  const QPoint centre = view->visualRect(view->model()->index(row, 0)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
}

bool HasFocus(const QWidget* widget) {
  const QWidget* focus = QApplication::focusWidget();
  return focus &&
         (focus == widget || focus->focusProxy() == widget || widget->focusProxy() == focus);
}

CurrentDirectoryGuard::CurrentDirectoryGuard(const QString& directory)
    : previous_(QDir::currentPath()) {
  QDir::setCurrent(directory);
}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
  QDir::setCurrent(previous_);
}

}  // namespace bosquell::testing
