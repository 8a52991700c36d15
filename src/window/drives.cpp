#include "window/drives.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace bosquell {
namespace {

// Windows names match without regard to letter case; elsewhere they do not.
constexpr Qt::CaseSensitivity kPathCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

bool PathLiesUnder(const QString& path, const QString& root) {
  if (path.compare(root, kPathCase) == 0) return true;
  const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
  return path.startsWith(prefix, kPathCase);
}

QStringList MachineDrives() {
  QStringList roots;
#ifdef Q_OS_WIN
  // Every drive letter, ready or not: an empty drive is reported when it is chosen.
  for (const QFileInfo& drive : QDir::drives()) roots << drive.absoluteFilePath();
#else
  roots << QDir::rootPath();
  QStringList volumes;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    const QString root = volume.rootPath();
    // Bind mounts of single files show up as volumes too; only directories can be browsed.
    if (!volume.isValid() || !volume.isReady() || !QFileInfo(root).isDir()) continue;
    if (!roots.contains(root) && !volumes.contains(root)) volumes << root;
  }
  std::sort(volumes.begin(), volumes.end());
  roots << volumes;
#endif
  return roots;
}

}  // namespace

QStringList AvailableDrives() {
  QStringList roots = MachineDrives();
  const QString current = QDir::currentPath();
  if (DriveOfPath(roots, current).isEmpty()) roots << QStorageInfo(current).rootPath();
  return roots;
}

QString DriveOfPath(const QStringList& drives, const QString& path) {
  QString best;
  for (const QString& root : drives) {
    if (root.size() > best.size() && PathLiesUnder(path, root)) best = root;
  }
  return best;
}

QString StartDirectoryOn(const QString& drive, const QStringList& drives) {
  const QString current = QDir::currentPath();
  if (DriveOfPath(drives, current).compare(drive, kPathCase) == 0) return current;
  return drive;
}

bool DriveIsReadable(const QString& drive) {
  const QStorageInfo volume(drive);
  return volume.isValid() && volume.isReady() && QFileInfo(drive).isDir() &&
         QDir(drive).isReadable();
}

}  // namespace bosquell
