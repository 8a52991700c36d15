#include "window/mission_path.h"

#include <QDir>

namespace bosquell {

QString JoinMissionPath(const QString& directory, const QString& fileName, QChar separator) {
  return directory + separator + fileName;
}

QString NativeMissionPath(const QString& directory, const QString& fileName) {
  return JoinMissionPath(QDir::toNativeSeparators(directory), fileName, QDir::separator());
}

}  // namespace bosquell
