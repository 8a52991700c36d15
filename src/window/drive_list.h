#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>

namespace bosquell {

// A drop-down list of drives. Each entry shows a drive's root in the platform's own form and
// carries it with forward slashes. A change of the selected entry is announced by
// currentIndexChanged, whether the user or the program made it.
class DriveList : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveList(QWidget* parent = nullptr);

  // Replaces the entries; announces no change.
  void setDrives(const QStringList& roots);
  QStringList drives() const;

  // The root of the selected drive; "" when none is selected.
  QString drive() const;

  // Selects the drive that holds the path, if it is listed; announces no change.
  void selectDriveOf(const QString& path);
};

}  // namespace bosquell
