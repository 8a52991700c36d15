#include "window/drive_list.h"

#include <QDir>
#include <QSignalBlocker>

#include "window/drives.h"

namespace bosquell {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {}

void DriveList::setDrives(const QStringList& roots) {
  const QSignalBlocker blocker(this);
  clear();
  for (const QString& root : roots) addItem(QDir::toNativeSeparators(root), root);
}

QStringList DriveList::drives() const {
  QStringList roots;
  for (int i = 0; i < count(); ++i) roots << itemData(i).toString();
  return roots;
}

QString DriveList::drive() const {
  return currentData().toString();
}

void DriveList::selectDriveOf(const QString& path) {
  const int index = findData(DriveOfPath(drives(), path));
  if (index < 0) return;
  const QSignalBlocker blocker(this);
  setCurrentIndex(index);
}

}  // namespace bosquell
