#include "app/record_grid.h"

#include "app/grid_colours.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace korvane::app {

RecordGrid::RecordGrid(int rows, int columns, QWidget* parent) : QTableWidget(rows, columns, parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setWordWrap(true);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            auto* item = new QTableWidgetItem;
            if (r == 0 || c == 0) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(colours::kFixedCell);
            }
            setItem(r, c, item);
        }
    }
}

QTableWidgetItem* RecordGrid::itemAt(int row, int column) const { return item(row, column); }

QString RecordGrid::text(int row, int column) const { return itemAt(row, column)->text(); }

void RecordGrid::setText(int row, int column, const QString& text) { itemAt(row, column)->setText(text); }

QColor RecordGrid::foreground(int row, int column) const
{
    const QBrush brush = itemAt(row, column)->foreground();
    return brush.style() == Qt::NoBrush ? QColor(0, 0, 0) : brush.color();
}

QColor RecordGrid::background(int row, int column) const
{
    const QBrush brush = itemAt(row, column)->background();
    return brush.style() == Qt::NoBrush ? QColor(255, 255, 255) : brush.color();
}

void RecordGrid::setForeground(int row, int column, const QColor& colour) { itemAt(row, column)->setForeground(colour); }

void RecordGrid::setBackground(int row, int column, const QColor& colour) { itemAt(row, column)->setBackground(colour); }

void RecordGrid::setEmphasis(int row, int column, bool on)
{
    QFont f = font();
    f.setBold(on);
    itemAt(row, column)->setFont(f);
}

bool RecordGrid::emphasis(int row, int column) const { return itemAt(row, column)->font().bold(); }

void RecordGrid::setColumnAlignment(int column, Qt::Alignment alignment)
{
    for (int r = 1; r < rowCount(); ++r)
        itemAt(r, column)->setTextAlignment(alignment);
}

int RecordGrid::rowTop(int row) const
{
    int top = 0;
    for (int r = 0; r < row; ++r)
        top += rowHeight(r);
    return top;
}

int RecordGrid::columnLeft(int column) const
{
    int left = 0;
    for (int c = 0; c < column; ++c)
        left += columnWidth(c);
    return left;
}

void RecordGrid::fitTo(int extraWidth, int extraHeight)
{
    setFixedSize(columnLeft(columnCount()) + extraWidth, rowTop(rowCount()) + extraHeight);
}

void RecordGrid::moveToNextCell()
{
    int row = currentRow();
    int column = currentColumn();
    if (column < columnCount() - 1) {
        ++column;
    } else if (row < rowCount() - 1) {
        ++row;
        column = 1;
    }
    setCurrentCell(row, column);
}

void RecordGrid::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (onEnter)
            onEnter();
        return;
    case Qt::Key_Space:
        if (onSpace)
            onSpace();
        return;
    case Qt::Key_Escape:
        event->ignore();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QTableWidget::keyPressEvent(event);
        return;
    default:
        event->accept(); // typed characters never reach a cell
    }
}

void RecordGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept(); // only the left button chooses a cell
        return;
    }
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (cell.isValid() && (cell.row() == 0 || cell.column() == 0)) {
        event->accept(); // the header row and the label column never become current
        if (cell.row() > 0 && onLabelPress) onLabelPress(cell.row(), event->modifiers());
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void RecordGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !onDataCellRelease) return;
    // Only a release over a data cell counts, and it counts for the cell it is over.
    const QPoint at = event->position().toPoint();
    const QModelIndex cell = indexAt(at);
    if (!cell.isValid() || at.x() < columnWidth(0) || at.y() < rowHeight(0)) return;
    if (cell.row() < 1 || cell.column() < 1) return;
    setCurrentCell(cell.row(), cell.column());
    onDataCellRelease();
}

QModelIndex RecordGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = QTableWidget::moveCursor(action, modifiers);
    if (!next.isValid())
        return next;
    // The header row and the label column are never current.
    return model()->index(std::max(1, next.row()), std::max(1, next.column()));
}

} // namespace korvane::app
