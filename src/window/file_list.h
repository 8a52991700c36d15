#pragma once

#include <QListWidget>
#include <QStringList>

namespace bosquell {

// The mission files of one directory, as the window logic lists them. A key that moves the
// cursor (arrows, Home, End, Page Up and Down) selects the name it lands on, also when that is
// the name the cursor already stood on; Enter asks to open the selected name.
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

 Q_SIGNALS:
  void openRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace bosquell
