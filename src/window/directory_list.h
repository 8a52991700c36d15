#pragma once

#include <QString>
#include <QTreeWidget>

namespace bosquell {

// A directory list: the current path's ancestors from the root down, each indented below the
// one before, then the current directory's subdirectories. Opening an entry (double-click, or
// Enter on the current entry) makes it the path.
class DirectoryList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit DirectoryList(QWidget* parent = nullptr);

  // The current directory, absolute, with forward slashes.
  QString path() const { return path_; }

  // Moves the list to the directory; announces pathChanged when the path is a different one.
  void setPath(const QString& directory);

 Q_SIGNALS:
  void pathChanged(const QString& path);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Every entry is always open, so there are no branch arrows to draw.
  void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

 private:
  void openItem(QTreeWidgetItem* item);
  void showPath();

  QString path_;
};

}  // namespace bosquell
