#include "window/directory_list.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace bosquell {
namespace {

constexpr int kPathRole = Qt::UserRole;

// The directory and its ancestors, root first.
QStringList PathChain(const QString& directory) {
  QStringList chain{directory};
  QDir dir(directory);
  while (!dir.isRoot() && dir.cdUp()) {
    const QString parent = dir.absolutePath();
    if (parent == chain.first()) break;
    chain.prepend(parent);
  }
  return chain;
}

QString EntryName(const QString& directory) {
  if (QDir(directory).isRoot()) return QDir::toNativeSeparators(directory);
  return QFileInfo(directory).fileName();
}

}  // namespace

DirectoryList::DirectoryList(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setUniformRowHeights(true);
  setIndentation(10);
  // Long names scroll sideways instead of being cut.
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  connect(this, &QTreeWidget::itemDoubleClicked, this, &DirectoryList::openItem);
}

void DirectoryList::setPath(const QString& directory) {
  const QString cleaned = QDir::cleanPath(QDir(directory).absolutePath());
  if (cleaned == path_) return;
  path_ = cleaned;
  showPath();
  Q_EMIT pathChanged(path_);
}

void DirectoryList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    openItem(currentItem());
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void DirectoryList::drawBranches(QPainter*, const QRect&, const QModelIndex&) const {}

void DirectoryList::openItem(QTreeWidgetItem* item) {
  if (item) setPath(item->data(0, kPathRole).toString());
}

void DirectoryList::showPath() {
  clear();
  const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

  QTreeWidgetItem* current = nullptr;
  for (const QString& directory : PathChain(path_)) {
    auto* item = current ? new QTreeWidgetItem(current) : new QTreeWidgetItem(this);
    item->setText(0, EntryName(directory));
    item->setIcon(0, openIcon);
    item->setData(0, kPathRole, directory);
    current = item;
  }

  const QDir dir(path_);
  const QStringList subdirectories =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : subdirectories) {
    auto* item = new QTreeWidgetItem(current);
    item->setText(0, name);
    item->setIcon(0, closedIcon);
    item->setData(0, kPathRole, QDir::cleanPath(dir.filePath(name)));
  }

  expandAll();
  setCurrentItem(current);
  scrollToItem(current);
}

}  // namespace bosquell
