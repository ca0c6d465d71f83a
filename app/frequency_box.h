#pragma once
// An in-place frequency entry box laid over a frequency cell of a record grid. It takes digits,
// the decimal point and Backspace, steps with Up and Down, and stores its value in the record
// behind the grid when the user presses Enter or Esc or moves the focus elsewhere in the window.
// Undo, copy, cut, paste and select-all act on its text; a paste must pass the typing rule.
// The channel grid has one per side; the alignment grid reuses the same box.

#include "app/frequency_box_target.h"
#include "app/user_dialogs.h"

#include <QLineEdit>

namespace korvane::app {

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
