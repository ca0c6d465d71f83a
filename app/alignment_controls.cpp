#include "app/alignment_controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <cstdlib>

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

TuneScrollBar::TuneScrollBar(QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent)
{
    setTracking(false);
    // The right arrow key raises the value, as the right arrow button does.
    setInvertedControls(false);
    // Its menu would jump to either end or anywhere in one go, with no change sent for it.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

bool TuneScrollBar::takePress(QPoint at)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    switch (style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, at, this)) {
    case QStyle::SC_ScrollBarSubLine:
        onSteps(SliderSingleStepSub, 1);
        return true;
    case QStyle::SC_ScrollBarAddLine:
        onSteps(SliderSingleStepAdd, 1);
        return true;
    case QStyle::SC_ScrollBarSubPage:
        onSteps(SliderPageStepSub, 1);
        return true;
    case QStyle::SC_ScrollBarAddPage:
        onSteps(SliderPageStepAdd, 1);
        return true;
    default:
        return false;
    }
}

bool TuneScrollBar::takeKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        onSteps(SliderSingleStepSub, 1);
        return true;
    case Qt::Key_Right:
    case Qt::Key_Up:
        onSteps(SliderSingleStepAdd, 1);
        return true;
    case Qt::Key_PageDown:
        onSteps(SliderPageStepSub, 1);
        return true;
    case Qt::Key_PageUp:
        onSteps(SliderPageStepAdd, 1);
        return true;
    case Qt::Key_Home:
        onSteps(SliderToMinimum, 1);
        return true;
    case Qt::Key_End:
        onSteps(SliderToMaximum, 1);
        return true;
    default:
        return false;
    }
}

bool TuneScrollBar::takeWheel(QPoint angleDelta)
{
    constexpr int kNotch = 120; // eighths of a degree
    m_wheelRest += angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
    // The rest is settled before the steps go out: sending them takes further notches meanwhile.
    const int notches = m_wheelRest / kNotch;
    m_wheelRest -= notches * kNotch;
    if (notches != 0) onSteps(notches > 0 ? SliderSingleStepAdd : SliderSingleStepSub, std::abs(notches));
    return true;
}

void TuneScrollBar::mousePressEvent(QMouseEvent* event)
{
    // Arrows and trough step without the base class, which would repeat while the button is held.
    if (event->button() == Qt::LeftButton && onSteps && takePress(event->position().toPoint())) {
        event->accept();
        return;
    }
    QScrollBar::mousePressEvent(event); // a drag: its one change comes on release
}

void TuneScrollBar::keyPressEvent(QKeyEvent* event)
{
    if (onSteps && takeKey(event->key())) {
        event->accept();
        return;
    }
    QScrollBar::keyPressEvent(event);
}

void TuneScrollBar::wheelEvent(QWheelEvent* event)
{
    if (onSteps && takeWheel(event->angleDelta())) {
        event->accept();
        return;
    }
    QScrollBar::wheelEvent(event);
}

} // namespace korvane::app
