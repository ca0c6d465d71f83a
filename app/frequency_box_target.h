#pragma once
// What a frequency box edits: the grid it lies over, the records behind the grid's rows and how a
// changed record is kept. Both the channel grid and the alignment grid edit a table of the
// document's image, so one function builds the target over either table.

#include "app/app_state.h"
#include "app/image_document.h"
#include "app/record_grid.h"
#include "core/model/radio_image.h"
#include "core/model/record_layout.h"

#include <functional>
#include <span>
#include <utility>

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

// The target over one table of the document's image (`&model::RadioImage::channels` or
// `&model::RadioImage::alignment`): each value entered is one step of the document.
template <class Table>
FrequencyBoxTarget imageTableTarget(RecordGrid* grid, ImageDocument& document, Table model::RadioImage::*table,
    const AppState& state, model::Side side, int column, std::function<void(int row, int column)> currentCellMoved)
{
    FrequencyBoxTarget t;
    t.grid = grid;
    t.records = std::span<const model::Record>(document.image().*table);
    t.storeRecord = [&document, table](int index, const model::Record& record) {
        document.edit([&](model::RadioImage& image) { (image.*table)[static_cast<std::size_t>(index)] = record; });
    };
    t.side = side;
    t.frequencyColumn = column;
    t.modelIndex = [&document] { return static_cast<int>(document.image().modelIndex); };
    t.readBusy = [&state] { return state.readBusy; };
    t.currentCellMoved = std::move(currentCellMoved);
    return t;
}

} // namespace korvane::app
