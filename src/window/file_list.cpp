#include "window/file_list.h"

namespace bosquell {
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

}  // namespace bosquell
