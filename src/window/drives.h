#pragma once

#include <QString>
#include <QStringList>

namespace bosquell {

// Root paths of the drives the user can choose from, with forward slashes: the drive letters
// on Windows ("C:/"), elsewhere the file-system root and the mounted volumes that are ready.
// The drive holding the process's current directory is always among them.
QStringList AvailableDrives();

// The drive among `drives` that holds the path (the longest root the path lies under), or ""
// when it lies under none.
QString DriveOfPath(const QStringList& drives, const QString& path);

// Where the directory list goes when a drive is chosen: the process's current directory when it
// lies on that drive, else the drive's root.
QString StartDirectoryOn(const QString& drive, const QStringList& drives);

// True when the drive is there and its root can be listed; false for an empty disc drive, a
// volume that has gone away, or a root without read permission.
bool DriveIsReadable(const QString& drive);

}  // namespace bosquell
