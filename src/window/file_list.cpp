#include "window/file_list.h"

#include <QDir>

namespace bosquell {

FileList::FileList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileList::setPath(const QString& directory) {
  path_ = directory;
  clear();
  // Name filters match without regard to case unless told otherwise.
  addItems(QDir(directory).entryList({QStringLiteral("*.mis")}, QDir::Files,
                                     QDir::Name | QDir::IgnoreCase));
}

int FileList::selectedRow() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.first());
}

}  // namespace bosquell
