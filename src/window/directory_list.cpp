#include "window/directory_list.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace bosquell {
namespace {

constexpr int kIndexRole = Qt::UserRole;

}  // namespace

DirectoryList::DirectoryList(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setUniformRowHeights(true);
  setIndentation(10);
  header()->setStretchLastSection(false);
  connect(this, &QTreeWidget::itemDoubleClicked, this, &DirectoryList::openItem);
}

void DirectoryList::showEntries(const std::vector<DirectoryEntry>& entries, int current) {
  // Long names scroll sideways instead of being cut. Set with the first entries: sizing the
  // column of an empty list would only measure the hidden header's caption, in a bold font
  // loaded for nothing else, before the window's first frame.
  if (header()->sectionResizeMode(0) != QHeaderView::ResizeToContents) {
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  }
  clear();
  const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

  // The last item at each depth: the parent of the next one a level deeper.
  std::vector<QTreeWidgetItem*> lastAtDepth;
  QTreeWidgetItem* currentItem = nullptr;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const DirectoryEntry& entry = entries[i];
    const auto depth = static_cast<std::size_t>(entry.depth);
    QTreeWidgetItem* parent =
        depth > 0 && depth <= lastAtDepth.size() ? lastAtDepth[depth - 1] : nullptr;
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, QString::fromStdString(entry.name));
    item->setIcon(0, entry.onPath ? openIcon : closedIcon);
    item->setData(0, kIndexRole, static_cast<int>(i));
    lastAtDepth.resize(depth + 1);
    lastAtDepth[depth] = item;
    if (static_cast<int>(i) == current) {
      currentItem = item;
      path_ = QString::fromStdString(entry.path);
    }
  }

  expandAll();
  setCurrentItem(currentItem);
  if (currentItem) scrollToItem(currentItem);
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
  if (item) Q_EMIT entryOpened(item->data(0, kIndexRole).toInt());
}

}  // namespace bosquell
