#include "app/channel_view.h"

#include "app/grid_colours.h"
#include "app/twips.h"
#include "core/model/channel_view.h"
#include "core/model/frequency_entry.h"
#include "core/model/record_layout.h"
#include "core/model/settings_fields.h"

#include <algorithm>

namespace korvane::app {

namespace {

using namespace colours;

constexpr int kRows = model::kChannelCount + 1;
constexpr int kColumns = 11;
constexpr int kGridLeft = 8; // pixels inside the frame
constexpr int kGridTop = 22;
constexpr int kCheckGap = 8; // from the grid's right edge to the first box column
constexpr int kCheckPitch = 32; // between the two box columns, wide enough for a two-character label

const char* const kHeaders[kColumns] = {
    "信道", "  接收频率         (MHz)", "步进 (kHz)", "   接收信令", "  发射频率         (MHz)",
    "步进 (kHz)", "  发射信令", " 扫描  选择", " 繁忙  锁定", " 时钟  偏移", "频率宽度",
};

// The column widths in twelfths of the grid's width: the first layout and a relayout differ.
constexpr std::array<double, kColumns> kFirstColumns
    = { 0.9, 1.25, 0.8, 1.5, 1.25, 0.8, 1.5, 0.85, 0.85, 0.85, 1.03 };
constexpr std::array<double, kColumns> kRelayoutColumns
    = { 0.9, 1.35, 0.8, 1.49, 1.35, 0.8, 1.49, 0.88, 0.88, 0.88, 1.03 };

template <class Image> auto& recordOf(Image& image, int row)
{
    return image.channels[static_cast<std::size_t>(row - 1)];
}

bool isFrequencyColumn(int column) { return column == 1 || column == 4; }
bool isSignallingColumn(int column) { return column == 3 || column == 6; }

} // namespace

ChannelView::ChannelView(ImageDocument& document, QWidget* parent)
    : QGroupBox(QStringLiteral("信道数据设置"), parent)
    , m_document(document)
    , m_image(document.image())
    , m_grid(new RecordGrid(kRows, kColumns, this))
{
    setObjectName("fraChan");
    m_grid->setObjectName("gridChan");
    m_grid->move(kGridLeft, kGridTop);
    // Two short lines each, so both columns fit beside the grid.
    m_recLabel = new QLabel(QStringLiteral("关闭\n信道"), this);
    m_txLabel = new QLabel(QStringLiteral("禁止\n发射"), this);
    m_recLabel->setAlignment(Qt::AlignCenter);
    m_txLabel->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < model::kChannelCount; ++i) {
        m_recChan[i] = new QCheckBox(this);
        m_recChan[i]->setObjectName("chkRecChan");
        m_recChan[i]->setProperty("index", i);
        m_txChan[i] = new QCheckBox(this);
        m_txChan[i]->setObjectName("chkTxChan");
        m_txChan[i]->setProperty("index", i);
        connect(m_recChan[i], &QCheckBox::clicked, this, [this, i] { onRecChanClick(i); });
        connect(m_txChan[i], &QCheckBox::clicked, this, [this, i] { onTxChanClick(i); });
    }
    m_grid->onEnter = [this] { onEnterKey(); };
    m_grid->onSpace = [this] {
        setCurrentCell(m_grid->currentRow(), m_grid->currentColumn());
        editChannelCell();
    };
    m_grid->onLabelPress = [this](int row, Qt::KeyboardModifiers keys) { labelPressed(row, keys); };
    m_grid->onDataCellRelease = [this] { editChannelCell(); };
}

ChannelView::GridSize ChannelView::sizeGrid(
    std::span<const double> factors, long windowWidthTwips, long windowHeightTwips)
{
    GridSize size;
    size.height = roundHalfEven(0.55 * static_cast<double>(windowHeightTwips));
    size.width = roundHalfEven(0.886 * static_cast<double>(windowWidthTwips));
    const long h = roundHalfEven(static_cast<double>(size.height) / 18);
    const long u = roundHalfEven(static_cast<double>(size.width) / 12);
    size.firstColumn = roundHalfEven(factors[0] * static_cast<double>(u));
    for (int c = 0; c < kColumns; ++c)
        m_grid->setColumnWidth(c, pxX(this, roundHalfEven(factors[static_cast<std::size_t>(c)] * static_cast<double>(u))));
    size.header = roundHalfEven(1.9 * static_cast<double>(h));
    m_grid->setRowHeight(0, pxY(this, size.header));
    for (int r = 1; r < kRows; ++r)
        m_grid->setRowHeight(r, pxY(this, h));
    return size;
}

void ChannelView::layoutChannelGrid(long windowWidthTwips, long windowHeightTwips)
{
    const GridSize size = sizeGrid(kFirstColumns, windowWidthTwips, windowHeightTwips);
    for (int c = 0; c < kColumns; ++c) {
        m_grid->setText(0, c, QString::fromUtf8(kHeaders[c]));
        m_grid->setEmphasis(0, c, true);
        const bool left = c == 1 || c == 3 || c == 4 || c == 6;
        m_grid->setColumnAlignment(c, (left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
    }
    for (int r = 1; r < kRows; ++r) {
        m_grid->setText(r, 0, "Ch " + QString::number(r));
        m_grid->setEmphasis(r, 0, true);
    }
    for (int c = 0; c < kColumns; ++c)
        if (auto* item = m_grid->item(0, c))
            item->setTextAlignment(Qt::AlignCenter);

    // All rows and columns show without scrolling inside the grid.
    m_grid->fitTo(pxX(this, roundHalfEven(static_cast<double>(size.firstColumn) / 6)),
                  pxY(this, roundHalfEven(static_cast<double>(size.header) / 4)));

    placeCheckBoxes();
}

void ChannelView::placeCheckBoxes()
{
    // Each box level with its channel's row as the grid draws it, so that pixel rounding of the
    // row heights never lets the boxes drift away from their rows.
    const int gridTop = kGridTop + m_grid->frameWidth();
    const int recLeft = kGridLeft + m_grid->width() + kCheckGap;
    const int txLeft = recLeft + kCheckPitch;
    const int boxWidth = m_recChan[0]->sizeHint().width();
    const int boxHeight = m_recChan[0]->sizeHint().height();
    m_recLabel->setGeometry(recLeft + boxWidth / 2 - kCheckPitch / 2, gridTop, kCheckPitch, m_grid->rowHeight(0));
    m_txLabel->setGeometry(txLeft + boxWidth / 2 - kCheckPitch / 2, gridTop, kCheckPitch, m_grid->rowHeight(0));
    for (int i = 0; i < model::kChannelCount; ++i) {
        const int top = gridTop + m_grid->rowTop(i + 1) + (m_grid->rowHeight(i + 1) - boxHeight) / 2;
        m_recChan[i]->move(recLeft, top);
        m_txChan[i]->move(txLeft, top);
    }
    setFixedSize(txLeft + kCheckPitch, kGridTop + m_grid->height() + 8);
}

void ChannelView::relayoutChannelGrid(long windowWidthTwips, long windowHeightTwips)
{
    const GridSize size = sizeGrid(kRelayoutColumns, windowWidthTwips, windowHeightTwips);
    m_grid->setFixedSize(pxX(this, size.width), pxY(this, size.height));
    placeCheckBoxes();
}

void ChannelView::labelPressed(int row, Qt::KeyboardModifiers keys)
{
    const int channel = row - 1;
    if (keys & Qt::ShiftModifier) {
        const auto [from, to] = std::minmax(m_chosenAnchor, channel);
        if (!(keys & Qt::ControlModifier)) m_chosen.fill(false);
        for (int c = from; c <= to; ++c)
            m_chosen[static_cast<std::size_t>(c)] = true;
    } else if (keys & Qt::ControlModifier) {
        m_chosen[static_cast<std::size_t>(channel)] = !m_chosen[static_cast<std::size_t>(channel)];
        m_chosenAnchor = channel;
    } else {
        m_chosen.fill(false);
        m_chosen[static_cast<std::size_t>(channel)] = true;
        m_chosenAnchor = channel;
    }
    showChosen();
}

std::vector<int> ChannelView::chosenChannels() const
{
    std::vector<int> chosen;
    for (int c = 0; c < model::kChannelCount; ++c)
        if (m_chosen[static_cast<std::size_t>(c)]) chosen.push_back(c);
    // With none chosen, the channel under the grid's cursor, wherever the arrow keys took it.
    const int row = m_grid->currentRow() >= 1 ? m_grid->currentRow() : m_currentRow;
    if (chosen.empty()) chosen.push_back(row - 1);
    return chosen;
}

void ChannelView::chooseChannels(const std::vector<int>& channels)
{
    m_chosen.fill(false);
    for (int c : channels)
        m_chosen[static_cast<std::size_t>(c)] = true;
    if (!channels.empty()) m_chosenAnchor = channels.front();
    showChosen();
}

void ChannelView::showChosen()
{
    for (int c = 0; c < model::kChannelCount; ++c)
        m_grid->setBackground(c + 1, 0, m_chosen[static_cast<std::size_t>(c)] ? kChosen : kFixedCell);
}

void ChannelView::setCurrentCell(int row, int column)
{
    m_currentRow = row;
    m_currentColumn = column;
}

void ChannelView::writeRow(int row)
{
    const auto texts = model::channelCellTexts(recordOf(m_image, row));
    for (int c = 1; c < kColumns; ++c)
        m_grid->setText(row, c, QString::fromStdString(texts[c - 1]));
    for (int c : { 2, 5 })
        m_grid->setBackground(row, c, stepBackground(m_grid->text(row, c)));
    for (int c : { 3, 6, 8, 9 }) {
        m_grid->setForeground(row, c, kBlue);
        m_grid->setBackground(row, c, onOffBackground(m_grid->text(row, c)));
    }
    m_grid->setForeground(row, 7, m_grid->text(row, 7) == "DEL" ? kScanRed : kScanGreen);
    m_grid->setBackground(row, 10, m_grid->text(row, 10) == "Narrow" ? kPaleLavender : kLavender);
}

void ChannelView::showChannels()
{
    // Each box's action makes its row current, as a click on it does; showing keeps the cell.
    const int currentRow = std::max(m_grid->currentRow(), 1);
    const int currentColumn = std::max(m_grid->currentColumn(), 1);
    for (int row = 1; row < kRows; ++row) {
        writeRow(row);
        const int i = row - 1;
        const model::Record& r = m_image.channels[i];
        // Setting a box runs its click action, which writes the same bit back and paints.
        m_txChan[i]->setChecked(!model::isTransmitAllowed(r));
        onTxChanClick(i);
        m_recChan[i]->setChecked(!model::isChannelOpen(r));
        onRecChanClick(i);
    }
    m_grid->setCurrentCell(currentRow, currentColumn);
}

void ChannelView::onRecChanClick(int i)
{
    const int row = i + 1;
    const bool closed = m_recChan[i]->isChecked();
    m_txChan[i]->setEnabled(!closed);
    if (closed)
        paintChannelRow(row, false, true, false);
    else
        paintChannelRow(row, false, false, m_txChan[i]->isChecked());
    m_document.edit([i, closed](model::RadioImage& image) {
        model::setBit(image.channels[i][model::flagByte(model::Side::Receive)], model::kOpenBit, !closed);
    });
    m_grid->setCurrentCell(row, 1);
}

void ChannelView::onTxChanClick(int i)
{
    const int row = i + 1;
    const bool inhibited = m_txChan[i]->isChecked();
    paintChannelRow(row, true, inhibited, inhibited ? false : m_recChan[i]->isChecked());
    m_document.edit([i, inhibited](model::RadioImage& image) {
        model::setBit(image.channels[i][model::flagByte(model::Side::Transmit)], model::kOpenBit, !inhibited);
    });
    m_grid->setCurrentCell(row, 1);
}

void ChannelView::paintChannelRow(int row, bool transmitOnly, bool hide, bool closedOrInhibited)
{
    if (!transmitOnly) {
        if (!hide) {
            colourChannelRow(row, closedOrInhibited);
            return;
        }
        m_grid->setForeground(row, 1, kWhite);
        for (int c = 2; c < kColumns; ++c) {
            m_grid->setForeground(row, c, kWhite);
            m_grid->setBackground(row, c, kWhite);
        }
        return;
    }
    if (closedOrInhibited)
        return;
    if (hide) {
        m_grid->setForeground(row, 4, kWhite);
        for (int c : { 5, 6 }) {
            m_grid->setForeground(row, c, kWhite);
            m_grid->setBackground(row, c, kWhite);
        }
        return;
    }
    m_grid->setForeground(row, 4, kBlack);
    m_grid->setForeground(row, 5, kBlack);
    m_grid->setBackground(row, 5, stepBackground(m_grid->text(row, 5)));
    m_grid->setForeground(row, 6, kBlue);
    m_grid->setBackground(row, 6, onOffBackground(m_grid->text(row, 6)));
}

void ChannelView::colourChannelRow(int row, bool transmitInhibited)
{
    std::vector<int> frequencyColumns { 1 };
    std::vector<int> stepColumns { 2 };
    std::vector<int> signalColumns { 3, 8, 9 };
    if (!transmitInhibited) {
        frequencyColumns.push_back(4);
        stepColumns.push_back(5);
        signalColumns.push_back(6);
    }
    for (int c : frequencyColumns)
        m_grid->setForeground(row, c, kBlack);
    for (int c : stepColumns) {
        m_grid->setForeground(row, c, kBlack);
        m_grid->setBackground(row, c, stepBackground(m_grid->text(row, c)));
    }
    for (int c : signalColumns) {
        m_grid->setForeground(row, c, kBlue);
        m_grid->setBackground(row, c, onOffBackground(m_grid->text(row, c)));
    }
    m_grid->setForeground(row, 7, m_grid->text(row, 7) == "ADD" ? kScanGreen : kScanRed);
    m_grid->setForeground(row, 10, kBlack);
    m_grid->setBackground(row, 10, m_grid->text(row, 10) == "Wide" ? kLavender : kPaleLavender);
}

void ChannelView::onEnterKey()
{
    // The cell Enter leaves is the one last acted on.
    setCurrentCell(m_grid->currentRow(), m_grid->currentColumn());
    m_grid->moveToNextCell();
}

void ChannelView::editChannelCell()
{
    const int row = m_grid->currentRow();
    const int column = m_grid->currentColumn();
    if (row < 1 || column < 1)
        return;
    const int i = row - 1;
    if (m_recChan[i]->isChecked())
        return;
    if (m_txChan[i]->isChecked() && column >= 4 && column <= 6)
        return;
    setCurrentCell(row, column);
    if (isFrequencyColumn(column)) {
        if (onEditFrequency)
            onEditFrequency(row, column);
    } else if (isSignallingColumn(column)) {
        if (onEditSignalling)
            onEditSignalling(row, column);
    } else if (column == 2 || column == 5) {
        toggleStep(row, column);
    } else {
        toggleFlag(row, column);
    }
}

void ChannelView::toggleStep(int row, int column)
{
    const model::Side side = column == 2 ? model::Side::Receive : model::Side::Transmit;
    m_document.edit([&](model::RadioImage& image) {
        model::Record& record = recordOf(image, row);
        const bool to625 = m_grid->text(row, column) != "6.25";
        model::setBit(record[model::flagByte(side)], model::kStepBit, to625);
        m_grid->setText(row, column, to625 ? "6.25" : "2.50");
        m_grid->setBackground(row, column, to625 ? kLavender : kPaleLavender);
        const std::string shown = m_grid->text(row, column - 1).toStdString();
        const std::string snapped = model::snapFrequencyToStep(shown, record, side, image.modelIndex);
        m_grid->setText(row, column - 1, QString::fromStdString(snapped));
    });
}

void ChannelView::toggleFlag(int row, int column)
{
    m_document.edit(
        [&](model::RadioImage& image) { toggleFlag(recordOf(image, row)[model::kFlagsByte], row, column); });
}

void ChannelView::toggleFlag(std::uint8_t& flags, int row, int column)
{
    const QString text = m_grid->text(row, column);
    if (column == 7) {
        const bool del = text == "ADD";
        model::setBit(flags, model::kScanDelBit, del);
        m_grid->setText(row, column, del ? "DEL" : "ADD");
        m_grid->setForeground(row, column, del ? kScanRed : kScanGreen);
    } else if (column == 8 || column == 9) {
        const bool on = text == "OFF";
        model::setBit(flags, column == 8 ? model::kBusyLockBit : model::kClockShiftBit, on);
        m_grid->setText(row, column, on ? "ON" : "OFF");
        m_grid->setBackground(row, column, on ? kGreen : kRed);
    } else if (column == 10) {
        const bool narrow = !(spacingIs25 && spacingIs25()) || text == "Wide";
        model::setBit(flags, model::kNarrowBit, narrow);
        m_grid->setText(row, column, narrow ? "Narrow" : "Wide");
        m_grid->setBackground(row, column, narrow ? kPaleLavender : kLavender);
    }
}

void ChannelView::applyNarrowToAll()
{
    const int row = m_grid->currentRow();
    const int column = m_grid->currentColumn();
    for (int r = 1; r < kRows; ++r) {
        m_grid->setText(r, 10, "Narrow");
        if (!m_recChan[r - 1]->isChecked())
            m_grid->setBackground(r, 10, kPaleLavender);
    }
    m_document.edit([](model::RadioImage& image) { model::applyNarrowToAll(image.channels); });
    m_grid->setCurrentCell(row, column);
}

} // namespace korvane::app
