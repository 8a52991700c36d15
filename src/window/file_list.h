#pragma once

#include <QListWidget>
#include <QString>

namespace bosquell {

// The mission files of one directory: the names of the files there that match "*.mis" in any
// letter case, sorted. Directories are never listed, whatever their name.
class FileList : public QListWidget {
  Q_OBJECT

 public:
  explicit FileList(QWidget* parent = nullptr);

  QString path() const { return path_; }
  // Lists the mission files of the directory; nothing is selected afterwards.
  void setPath(const QString& directory);

  // The row of the selected name, or -1 when none is selected. Keyboard focus alone does not
  // select a name.
  int selectedRow() const;

 private:
  QString path_;
};

}  // namespace bosquell
