#pragma once

#include <vector>

#include <QString>
#include <QTreeWidget>

#include "window_logic/window_view.h"

namespace bosquell {

// A directory list: the current path's ancestors from the root down, each indented below the
// one before, then the current directory's subdirectories. Opening an entry (double-click, or
// Enter on the current entry) is announced; where the list goes is up to the window logic.
class DirectoryList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit DirectoryList(QWidget* parent = nullptr);

  // The directory the list shows, in the platform's own form.
  QString path() const { return path_; }

  // Shows the entries, with entry `current` as the current directory.
  void showEntries(const std::vector<DirectoryEntry>& entries, int current);

 Q_SIGNALS:
  void entryOpened(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Every entry is always open, so there are no branch arrows to draw.
  void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

 private:
  void openItem(QTreeWidgetItem* item);

  QString path_;
};

}  // namespace bosquell
