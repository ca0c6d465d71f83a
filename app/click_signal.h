#pragma once
// Editing a signalling cell of a record grid with the signalling dialog: the cell shows yellow
// while the dialog is open beside it; OK writes the chosen signalling into the record and the
// cell, Cancel leaves both exactly as they were.

#include "app/record_grid.h"
#include "app/user_dialogs.h"
#include "core/model/radio_image.h"
#include "core/model/record_layout.h"

#include <QPoint>
#include <QString>

#include <span>

namespace korvane::app {

struct SignalCell {
    RecordGrid* grid = nullptr; // its current cell is the signalling cell
    std::span<model::Record> records; // grid row r shows record r - 1
    model::Side side = model::Side::Receive;
    // The screen point the grid's own position is measured from (the origin of its parent).
    QPoint origin;
};

// Runs the dialog modally for the grid's current cell, whose text is `text`. The tone lists are
// read from `dataFolder`.
void clickSignal(const QString& text, const SignalCell& cell, UserDialogs& dialogs, const QString& dataFolder);

} // namespace korvane::app
