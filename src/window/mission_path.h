#pragma once

#include <QChar>
#include <QString>

namespace bosquell {

// The path of a file in a directory: the directory, the separator, the name. The separator is
// always inserted, also after a root that already ends in one ("C:\" and "a.mis" give
// "C:\\a.mis"); the path is kept in that form.
QString JoinMissionPath(const QString& directory, const QString& fileName, QChar separator);

// The same with the platform's own separators: backslashes on Windows, '/' elsewhere.
QString NativeMissionPath(const QString& directory, const QString& fileName);

}  // namespace bosquell
