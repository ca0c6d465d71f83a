#pragma once
// The alignment screen's item tree `TreeView2`: a mouse click on a node, or Enter or Space on the
// current one, acts on it; moving through the tree with the arrow keys only moves.

#include <QTreeWidget>

#include <functional>

namespace korvane::app {

class ItemTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit ItemTree(QWidget* parent = nullptr);

    // The node with this key.
    QTreeWidgetItem* node(const QString& key) const;
    static QString keyOf(const QTreeWidgetItem* item);

    std::function<void(const QString& key)> onNodeClick;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace korvane::app
