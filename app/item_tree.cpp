#include "app/item_tree.h"

#include <QKeyEvent>

namespace korvane::app {

ItemTree::ItemTree(QWidget* parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (item && onNodeClick) onNodeClick(keyOf(item));
    });
}

QString ItemTree::keyOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

QTreeWidgetItem* ItemTree::node(const QString& key) const
{
    for (QTreeWidgetItemIterator it(const_cast<ItemTree*>(this)); *it; ++it)
        if (keyOf(*it) == key) return *it;
    return nullptr;
}

void ItemTree::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (currentItem() && onNodeClick) onNodeClick(keyOf(currentItem()));
        event->accept();
        return;
    default:
        QTreeWidget::keyPressEvent(event);
    }
}

} // namespace korvane::app
