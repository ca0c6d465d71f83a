#pragma once
// The channel table editor: the grid `gridChan` with one row per channel, the check boxes that
// close a channel (`chkRecChan`) or inhibit its transmitter (`chkTxChan`), and every edit of a
// cell, written into the channel record at once together with the cell's text.

#include "app/image_document.h"
#include "app/record_grid.h"
#include "core/model/radio_image.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include <array>
#include <functional>
#include <span>
#include <vector>

namespace korvane::app {

class ChannelView : public QGroupBox {
    Q_OBJECT
public:
    ChannelView(ImageDocument& document, QWidget* parent = nullptr);

    RecordGrid* grid() const { return m_grid; }
    QCheckBox* recChan(int i) const { return m_recChan[i]; }
    QCheckBox* txChan(int i) const { return m_txChan[i]; }

    // Sizes the grid from the window's outer size (twips); the first layout writes the header
    // and label texts too, a later one uses its own factors.
    void layoutChannelGrid(long windowWidthTwips, long windowHeightTwips);
    void relayoutChannelGrid(long windowWidthTwips, long windowHeightTwips);

    // Fills every row from the channel table, sets the boxes from the record bits and paints; the
    // grid's current cell stays where it was.
    void showChannels();

    void editChannelCell();
    void onRecChanClick(int index);
    void onTxChanClick(int index);
    void paintChannelRow(int row, bool transmitOnly, bool hide, bool closedOrInhibited);
    void colourChannelRow(int row, bool transmitInhibited);
    void applyNarrowToAll();

    // The current cell: the row and column last acted on.
    int currentRow() const { return m_currentRow; }
    int currentColumn() const { return m_currentColumn; }
    void setCurrentCell(int row, int column);

    // The channels chosen by their row labels (from 0, in order), or else the current row's.
    std::vector<int> chosenChannels() const;
    void chooseChannels(const std::vector<int>& channels);

    // True while the spacing list shows "25.0kHz" (only then can a channel be made Wide).
    std::function<bool()> spacingIs25;
    // Columns 1 and 4 (frequency boxes) and 3 and 6 (signalling dialog).
    std::function<void(int row, int column)> onEditFrequency;
    std::function<void(int row, int column)> onEditSignalling;

private:
    // The grid's sizes in twips, from the window's outer size.
    struct GridSize {
        long width = 0;
        long height = 0;
        long firstColumn = 0;
        long header = 0;
    };
    // Sets the column widths and row heights; the grid's own size is the caller's.
    GridSize sizeGrid(std::span<const double> columnFactors, long windowWidthTwips, long windowHeightTwips);
    // Beside the grid, level with the rows; the frame is sized to hold them.
    void placeCheckBoxes();
    void writeRow(int row);
    void onEnterKey();
    void toggleStep(int row, int column);
    void toggleFlag(int row, int column);
    void toggleFlag(std::uint8_t& flags, int row, int column);
    // A click on a row label chooses that channel; Ctrl adds or removes it, Shift a run.
    void labelPressed(int row, Qt::KeyboardModifiers keys);
    void showChosen();

    ImageDocument& m_document;
    const model::RadioImage& m_image;
    RecordGrid* m_grid;
    QLabel* m_recLabel;
    QLabel* m_txLabel;
    std::array<QCheckBox*, model::kChannelCount> m_recChan {};
    std::array<QCheckBox*, model::kChannelCount> m_txChan {};
    std::array<bool, model::kChannelCount> m_chosen {};
    int m_chosenAnchor = 0;
    int m_currentRow = 1;
    int m_currentColumn = 1;
};

} // namespace korvane::app
