#pragma once
// A grid of records with a fixed header row and label column: per-cell text, text colour,
// background and emphasis, and the keys and clicks the record editors act on. Typing never
// changes a cell directly; Enter, Space and a left-button release are handed to the owner.

#include <QColor>
#include <QTableWidget>

#include <functional>

namespace korvane::app {

class RecordGrid : public QTableWidget {
    Q_OBJECT
public:
    RecordGrid(int rows, int columns, QWidget* parent = nullptr);

    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    QColor foreground(int row, int column) const;
    QColor background(int row, int column) const;
    void setForeground(int row, int column, const QColor& colour);
    void setBackground(int row, int column, const QColor& colour);
    void setEmphasis(int row, int column, bool on);
    bool emphasis(int row, int column) const;
    void setColumnAlignment(int column, Qt::Alignment alignment);

    // Top edge of a row and left edge of a column, in pixels from the grid's top-left corner.
    int rowTop(int row) const;
    int columnLeft(int column) const;
    // Fits the widget to its rows and columns plus the given margins (no scrolling inside).
    void fitTo(int extraWidth, int extraHeight);

    // Enter's move: to the next cell along the row, from a row's last cell to the first data cell
    // of the next row; the grid's last cell stays.
    void moveToNextCell();

    std::function<void()> onEnter;
    std::function<void()> onSpace;
    // A left-button release over a data cell, which has just become the current cell.
    std::function<void()> onDataCellRelease;
    // A left-button press on the label of a row (1..), with the keys held.
    std::function<void(int row, Qt::KeyboardModifiers keys)> onLabelPress;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    QTableWidgetItem* itemAt(int row, int column) const;
};

} // namespace korvane::app
