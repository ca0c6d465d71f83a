#pragma once
// Plays the user's part on the real widgets of a window: finds controls by their names (and the
// index of a control array), chooses list entries through the drop-down, clicks grid cells and
// presses keys.

#include "app/record_grid.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QObject>
#include <QTest>
#include <QVariant>

namespace korvane::test {

// The first child of `root` with this objectName, or null.
template <class T> T* named(const QObject* root, const QString& name) { return root->findChild<T*>(name); }

// The member `index` of a control array: the child with this objectName whose "index" property
// is `index`, or null.
template <class T> T* indexed(const QObject* root, const QString& name, int index)
{
    for (T* child : root->findChildren<T*>(name))
        if (child->property("index").toInt() == index) return child;
    return nullptr;
}

// Opens the list's drop-down, moves to the entry and presses Enter, as a user choosing with the
// keyboard does. The list's choice action runs even when the entry was already selected.
inline void chooseEntry(QComboBox* list, int position)
{
    list->showPopup();
    QAbstractItemView* view = list->view();
    view->setCurrentIndex(view->model()->index(position, list->modelColumn(), list->rootModelIndex()));
    QTest::keyClick(view, Qt::Key_Return);
}

inline QPoint cellCentre(const app::RecordGrid* grid, int row, int column)
{
    return grid->visualRect(grid->model()->index(row, column)).center();
}

// Press and release over one cell.
inline void clickCell(app::RecordGrid* grid, int row, int column, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(grid->viewport(), button, {}, cellCentre(grid, row, column));
}

// Makes a cell the grid's current one, as the arrow keys would, and presses a key there.
inline void pressKeyAt(app::RecordGrid* grid, int row, int column, Qt::Key key)
{
    grid->setFocus();
    grid->setCurrentCell(row, column);
    QTest::keyClick(grid, key);
}

} // namespace korvane::test
