#include "app/click_signal.h"

#include "app/grid_colours.h"
#include "app/signal_dialog.h"
#include "core/model/signalling_cell.h"

#include <QGuiApplication>
#include <QScreen>

namespace korvane::app {

void clickSignal(const QString& text, const SignalCell& cell, UserDialogs& dialogs, const QString& dataFolder)
{
    RecordGrid* grid = cell.grid;
    const int row = grid->currentRow();
    const int column = grid->currentColumn();
    if (row < 1 || column < 0 || static_cast<std::size_t>(row) > cell.records.size()) return;

    SignalDialog dialog(dialogs, dataFolder, grid->window());
    grid->setBackground(row, column, colours::kYellow);

    const model::SignallingChoice parsed = model::parseSignallingCell(text.toStdString());
    dialog.setMSignal(static_cast<int>(parsed.kind));
    dialog.setSSignal(QString::fromUtf8(model::kindWord(parsed.kind).data()));
    dialog.setDSignal(parsed.value);

    // Beside the cell: right of its column and below its row, as seen on the screen.
    const QPoint gridCorner = cell.origin + grid->pos();
    const QPoint cellCorner = gridCorner + QPoint(grid->columnLeft(column + 1), grid->rowTop(row + 1));
    const QScreen* screen = grid->screen() ? grid->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), QSize(1024, 768));
    dialog.placeBeside(cellCorner, grid->rowHeight(row), area);
    dialogs.runModal(dialog);

    model::Record& record = cell.records[static_cast<std::size_t>(row - 1)];
    if (!dialog.cancelPressed()) {
        // A choice the record cannot hold (a code that is not octal) leaves it as it was.
        if (const auto written = model::applySignallingChoice(dialog.choice(), record, cell.side))
            grid->setText(row, column, QString::fromStdString(*written));
    }
    grid->setBackground(row, column, colours::onOffBackground(grid->text(row, column)));
}

} // namespace korvane::app
