#include "window/drives.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include "window_logic/window_paths.h"

namespace bosquell {
namespace {

// Root paths with forward slashes.
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

std::string Native(const QString& path) {
  return QDir::toNativeSeparators(path).toStdString();
}

}  // namespace

std::vector<std::string> QtDriveSource::Drives() {
  std::vector<std::string> roots;
  for (const QString& root : MachineDrives()) roots.push_back(Native(root));
  // The drive of the current directory is always among them.
  if (DriveOfPath(roots, CurrentDirectory()) < 0) {
    roots.push_back(Native(QStorageInfo(QDir::currentPath()).rootPath()));
  }
  return roots;
}

bool QtDriveSource::IsReadable(const std::string& root) {
  const QString drive = QDir::fromNativeSeparators(QString::fromStdString(root));
  const QStorageInfo volume(drive);
  return volume.isValid() && volume.isReady() && QFileInfo(drive).isDir() &&
         QDir(drive).isReadable();
}

std::string QtDriveSource::CurrentDirectory() {
  return Native(QDir::currentPath());
}

std::string QtDriveSource::CurrentDirectoryOn(const std::string& root) {
#ifdef Q_OS_WIN
  const QString drive = QString::fromStdString(root);
  if (drive.size() >= 2 && drive[1] == u':') {
    // Qt resolves a drive-relative path as the system does, in that drive's current directory.
    return Native(QFileInfo(drive.left(2)).absoluteFilePath());
  }
#else
  Q_UNUSED(root);
#endif
  return CurrentDirectory();
}

}  // namespace bosquell
