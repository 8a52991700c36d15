#include "window/file_list.h"

#include <QKeyEvent>

namespace bosquell {
namespace {

bool MovesTheCursor(const QKeyEvent* event) {
  if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier) {
    return false;
  }
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

}  // namespace

FileList::FileList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::setNames(const QStringList& names) {
  clear();
  addItems(names);
}

int FileList::selectedRow() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.first());
}

void FileList::selectRow(int row) {
  if (row < 0) {
    clearSelection();
    return;
  }
  setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void FileList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (selectedRow() >= 0) Q_EMIT openRequested();
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
  // Focus gives the list a current row without selecting it, and a key that keeps the cursor
  // on that row (Home with one name, or on the first) selects nothing by itself.
  if (MovesTheCursor(event) && currentItem() && !currentItem()->isSelected()) {
    setCurrentItem(currentItem(), QItemSelectionModel::ClearAndSelect);
  }
}

}  // namespace bosquell
