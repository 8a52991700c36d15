#pragma once

#include <QListWidget>
#include <QStringList>

namespace bosquell {

// The mission files of one directory, as the window logic lists them.
class FileList : public QListWidget {
  Q_OBJECT

 public:
  explicit FileList(QWidget* parent = nullptr);

  // Replaces the names; nothing is selected afterwards.
  void setNames(const QStringList& names);

  // The row of the selected name, or -1 when none is selected. Keyboard focus alone does not
  // select a name.
  int selectedRow() const;
  // Selects the row (-1: none).
  void selectRow(int row);
};

}  // namespace bosquell
