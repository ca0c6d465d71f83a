// The channel grid's in-place editors: the two frequency boxes and the signalling dialog.

#include "app/main_window.h"

#include "app/alignment_view.h"
#include "app/app_paths.h"
#include "app/channel_view.h"
#include "app/click_signal.h"
#include "app/frequency_box.h"

namespace korvane::app {

namespace {

// Where the boxes sit over their columns, in twips: the first layout and a relayout differ.
constexpr long kFirstInset = 50;
constexpr long kFirstWidthChange = -20;
constexpr long kRelayoutInset = 30;
constexpr long kRelayoutWidthChange = 20;

} // namespace

void MainWindow::buildEditors()
{
    RecordGrid* grid = m_channelView->grid();
    const auto target = [this, grid](model::Side side, int column) {
        return imageTableTarget(grid, m_document, &model::RadioImage::channels, m_state, side, column,
            [this](int row, int c) { m_channelView->setCurrentCell(row, c); });
    };
    m_txtRecFreq = new FrequencyBox("txtRecFreq", target(model::Side::Receive, 1), m_dialogs);
    m_txtTxFreq = new FrequencyBox("txtTxFreq", target(model::Side::Transmit, 4), m_dialogs);

    m_channelView->onEditFrequency
        = [this](int row, int column) { (column == 1 ? m_txtRecFreq : m_txtTxFreq)->open(row); };
    m_channelView->onEditSignalling = [this](int row, int column) {
        RecordGrid* g = m_channelView->grid();
        const model::Side side = column == 3 ? model::Side::Receive : model::Side::Transmit;
        m_document.edit([&](model::RadioImage& image) {
            clickSignal(g->text(row, column), side, *g, image.channels, g->parentWidget()->mapToGlobal(QPoint(0, 0)));
        });
    };
}

void MainWindow::placeEntryBoxes(bool relayout)
{
    for (FrequencyBox* box : { m_txtRecFreq, m_txtTxFreq }) {
        if (relayout)
            box->placeOverColumn(kRelayoutInset, kRelayoutWidthChange);
        else
            box->placeOverColumn(kFirstInset, kFirstWidthChange);
    }
}

void MainWindow::hideTransmitBox() { m_txtTxFreq->drop(); }

void MainWindow::clickSignal(
    const QString& text, model::Side side, RecordGrid& grid, std::span<model::Record> records, QPoint origin)
{
    app::clickSignal(text, SignalCell { &grid, records, side, origin }, m_dialogs, dataDirectory());
}

void MainWindow::commitPendingEntry()
{
    if (!m_txtRecFreq->isHidden())
        m_txtRecFreq->commitOnLeaving();
    else if (!m_txtTxFreq->isHidden())
        m_txtTxFreq->commitOnLeaving();
}

void MainWindow::commitOpenEntry() { commitPendingEntry(); }

void MainWindow::dropOpenEdits()
{
    m_txtRecFreq->drop();
    m_txtTxFreq->drop();
    m_alignmentView->dropEdits();
}

} // namespace korvane::app
