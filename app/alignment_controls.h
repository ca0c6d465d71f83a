#pragma once
// The alignment screen's own controls: the item tree, which acts on a node only when the user
// means it, and the adjustment scroll bar, whose every piece of input is one change.

#include <QPoint>
#include <QScrollBar>
#include <QTreeWidget>

#include <functional>

namespace korvane::app {

// The item tree: a mouse click on a node, or Enter or Space on the current one, acts on it;
// moving through the tree with the arrow keys only moves.
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

// The adjustment scroll bar. A click on an arrow or in the trough, an arrow, page, Home or End
// key and a notch of the mouse wheel are each one step, handed to onSteps rather than applied;
// a held button does not repeat. Dragging the thumb changes the value once, on release. It has
// no context menu.
class TuneScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit TuneScrollBar(QWidget* parent = nullptr);

    // Each takes one piece of input (positions in the bar's own coordinates) and hands its steps
    // to onSteps; false when the input is no step, such as a press on the thumb.
    bool takePress(QPoint at);
    bool takeKey(int key);
    bool takeWheel(QPoint angleDelta);

    std::function<void(QAbstractSlider::SliderAction step, int count)> onSteps;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int m_wheelRest = 0; // part of a notch left over from fine-grained wheels
};
} // namespace korvane::app
