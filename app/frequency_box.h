#pragma once
// An in-place frequency entry box laid over a frequency cell of a record grid. It takes digits,
// the decimal point and Backspace, steps with Up and Down, and stores its value in the record
// behind the grid when the user presses Enter or Esc or moves the focus elsewhere in the window.
// Undo, copy, cut, paste and select-all act on its text; a paste must pass the typing rule.
// The channel grid has one per side; the alignment grid reuses the same box.

#include "app/record_grid.h"
#include "app/user_dialogs.h"
#include "core/model/radio_image.h"
#include "core/model/record_layout.h"

#include <QLineEdit>

#include <functional>
#include <span>

namespace korvane::app {

struct FrequencyBoxTarget {
    RecordGrid* grid = nullptr;
    std::span<const model::Record> records; // grid row r shows record r - 1
    // Keeps record `index` as changed by the value entered.
    std::function<void(int index, const model::Record&)> storeRecord;
    model::Side side = model::Side::Receive;
    int frequencyColumn = 1; // the step column is the next one
    std::function<int()> modelIndex;
    std::function<bool()> readBusy; // while the radio is read, leaving the box stores nothing
    // Tells the grid's editor that Enter moved its current cell.
    std::function<void(int row, int column)> currentCellMoved;
};

class FrequencyBox : public QLineEdit {
    Q_OBJECT
public:
    FrequencyBox(const QString& name, FrequencyBoxTarget target, UserDialogs& dialogs);

    // The horizontal place over the frequency column: its left edge plus an inset, and its width
    // plus a change (both in twips). The grid's layouts set it; the top is set on each opening.
    void placeOverColumn(long insetTwips, long widthChangeTwips);

    // Lays the box over the frequency cell of a row, fills it with the cell's text, selects the
    // whole frequency and gives it the focus.
    void open(int row);

    // Stores the typed value as leaving the box does (nothing while the radio is read) and hides
    // the box. Nothing when no edit is open.
    void commitOnLeaving();

    // Hides the box and forgets the typed text: a late focus event stores nothing.
    void drop();

    bool pending() const { return m_pending; }
    int row() const { return m_row; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void step(bool up);
    void commitByEnter();
    std::int64_t store();
    QString stepText() const;

    FrequencyBoxTarget m_target;
    UserDialogs& m_dialogs;
    long m_insetTwips = 0;
    long m_widthChangeTwips = 0;
    int m_row = 1;
    bool m_pending = false;
};

} // namespace korvane::app
