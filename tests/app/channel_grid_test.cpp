// The channel grid `gridChan` with its check boxes: layout, the colours a refresh paints, the
// keys and mouse clicks that edit cells, closed and transmit-inhibited channels, and the Narrow
// marking of 12.5 kHz spacing.

#include "app/channel_view.h"
#include "core/model/frequency_codec.h"
#include "core/model/record_layout.h"
#include "core/model/signalling_codec.h"
#include "support/widget_driver.h"
#include "support/window_fixture.h"

#include <QScrollBar>
#include <QtTest>

using korvane::app::RecordGrid;
using korvane::test::cellCentre;
using korvane::test::chooseEntry;
using korvane::test::clickCell;
using korvane::test::indexed;
using korvane::test::named;
using korvane::test::pressKeyAt;
using korvane::test::WindowFixture;
namespace model = korvane::model;

namespace {

const QColor kBlack(0, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kPaleLavender(220, 220, 255);
const QColor kLavender(128, 128, 255);
const QColor kScanGreen(0, 120, 100);
const QColor kScanRed(120, 0, 40);

struct Paint {
    QColor text;
    QColor back;
};

// What a channel's row must look like after the image is shown, column by column (1..10),
// worked out from the record alone.
std::array<Paint, 11> expectedRow(const model::Record& r)
{
    std::array<Paint, 11> row;
    row.fill({ kWhite, kWhite });
    if (!model::isChannelOpen(r)) return row;
    const bool inhibited = !model::isTransmitAllowed(r);
    const auto step = [&](model::Side s) { return model::isStep625(r, s) ? kLavender : kPaleLavender; };
    const auto signalling = [&](model::Side s) { return model::signallingNibble(r, s) == 0 ? kRed : kGreen; };
    const std::uint8_t flags = r[model::kFlagsByte];
    row[1] = { kBlack, kWhite };
    row[2] = { kBlack, step(model::Side::Receive) };
    row[3] = { kBlue, signalling(model::Side::Receive) };
    if (inhibited) {
        row[4] = { kWhite, kWhite };
        row[5] = { kWhite, kWhite };
        row[6] = { kWhite, kWhite };
    } else {
        row[4] = { kBlack, kWhite };
        row[5] = { kBlack, step(model::Side::Transmit) };
        row[6] = { kBlue, signalling(model::Side::Transmit) };
    }
    row[7] = { model::testBit(flags, model::kScanDelBit) ? kScanRed : kScanGreen, kWhite };
    row[8] = { kBlue, model::testBit(flags, model::kBusyLockBit) ? kGreen : kRed };
    row[9] = { kBlue, model::testBit(flags, model::kClockShiftBit) ? kGreen : kRed };
    row[10] = { kBlack, model::testBit(flags, model::kNarrowBit) ? kPaleLavender : kLavender };
    return row;
}

void open(model::Record& r) { model::setBit(r[2], model::kOpenBit, true); }
void inhibit(model::Record& r) { model::setBit(r[7], model::kOpenBit, false); }

// Channel 1 open with every option set, 2 open and transmit-inhibited, 3 closed, 4 open with the
// defaults, 5 closed and inhibited, 6 open with signalling on both sides.
model::RadioImage mixedImage(const model::RadioImage& base)
{
    model::RadioImage image = base;
    auto& c = image.channels;
    open(c[0]);
    model::setBit(c[0][2], model::kStepBit, true);
    model::encodeSignalling(c[0], model::Side::Receive, model::SignallingKind::Ctcss, model::encodeCtcss(885));
    c[0][10] = 0x17; // DEL, busy lock, clock shift, Narrow
    open(c[1]);
    inhibit(c[1]);
    model::encodeSignalling(c[1], model::Side::Transmit, model::SignallingKind::Cdcss, *model::encodeCdcss(23));
    c[1][10] = 0x02;
    open(c[3]);
    inhibit(c[4]);
    open(c[5]);
    model::setBit(c[5][7], model::kStepBit, true);
    model::encodeSignalling(c[5], model::Side::Receive, model::SignallingKind::InvertedCdcss, *model::encodeCdcss(754));
    model::encodeTwoTone(c[5], model::Side::Transmit, 3);
    return image;
}

void compareRow(const RecordGrid* grid, const model::Record& record, int row)
{
    const auto expected = expectedRow(record);
    for (int c = 1; c <= 10; ++c) {
        const QString where = QString("row %1 column %2").arg(row).arg(c);
        QVERIFY2(grid->foreground(row, c) == expected[c].text,
            qPrintable(where + " text " + grid->foreground(row, c).name()));
        QVERIFY2(grid->background(row, c) == expected[c].back,
            qPrintable(where + " background " + grid->background(row, c).name()));
    }
}

struct Window {
    WindowFixture f;
    korvane::app::MainWindow* w = nullptr;
    RecordGrid* grid = nullptr;

    Window()
    {
        w = &f.start();
        grid = named<RecordGrid>(w, "gridChan");
    }
    void show(const model::RadioImage& image)
    {
        w->image() = image;
        w->refreshFromImage();
    }
    model::Record& record(int row) { return w->image().channels[static_cast<std::size_t>(row - 1)]; }
    QCheckBox* rec(int i) const { return indexed<QCheckBox>(w, "chkRecChan", i); }
    QCheckBox* tx(int i) const { return indexed<QCheckBox>(w, "chkTxChan", i); }
};

std::uint32_t rxCount(const model::Record& r) { return model::frequencyCount(r, model::Side::Receive); }

} // namespace

class ChannelGridTest : public QObject {
    Q_OBJECT
private slots:
    void layout()
    {
        Window t;
        const QStringList headers { "信道", "  接收频率         (MHz)", "步进 (kHz)", "   接收信令",
            "  发射频率         (MHz)", "步进 (kHz)", "  发射信令", " 扫描  选择", " 繁忙  锁定", " 时钟  偏移",
            "频率宽度" };
        QCOMPARE(t.grid->rowCount(), 17);
        QCOMPARE(t.grid->columnCount(), 11);
        for (int c = 0; c < 11; ++c) {
            QCOMPARE(t.grid->text(0, c), headers[c]);
            QVERIFY(t.grid->emphasis(0, c));
        }
        for (int r = 1; r <= 16; ++r) {
            QCOMPARE(t.grid->text(r, 0), "Ch " + QString::number(r));
            QVERIFY(t.grid->emphasis(r, 0));
            for (int c = 1; c <= 10; ++c)
                QVERIFY(!t.grid->emphasis(r, c));
            for (int c : { 1, 3, 4, 6 })
                QCOMPARE(t.grid->item(r, c)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
            for (int c : { 0, 2, 5, 7, 8, 9, 10 })
                QCOMPARE(t.grid->item(r, c)->textAlignment(), int(Qt::AlignHCenter | Qt::AlignVCenter));
        }
        // The header row is 1.9 data rows tall; every row and column shows without scrolling.
        const int h = t.grid->rowHeight(1);
        QVERIFY(std::abs(t.grid->rowHeight(0) - 1.9 * h) <= 1.0);
        QVERIFY(t.grid->viewport()->height() >= t.grid->rowTop(17));
        QVERIFY(t.grid->viewport()->width() >= t.grid->columnLeft(11));
        QCOMPARE(t.grid->verticalScrollBar()->maximum(), 0);
        QCOMPARE(t.grid->horizontalScrollBar()->maximum(), 0);
        // Each check box sits level with its channel's row.
        for (int i = 0; i < 16; ++i) {
            const int rowMiddle = t.grid->mapTo(t.w, QPoint(0, t.grid->rowTop(i + 1) + h / 2)).y();
            for (QCheckBox* box : { t.rec(i), t.tx(i) }) {
                const int boxMiddle = box->mapTo(t.w, box->rect().center()).y();
                QVERIFY2(std::abs(boxMiddle - rowMiddle) <= h / 2, qPrintable(QString("box %1").arg(i)));
            }
            QVERIFY(t.rec(i)->x() > t.grid->x() + t.grid->width());
            QVERIFY(t.tx(i)->x() > t.rec(i)->x() + t.rec(i)->width() / 2);
        }
    }

    void refreshPaintsEveryColour()
    {
        Window t;
        const model::RadioImage image = mixedImage(t.w->image());
        t.show(image);
        for (int row = 1; row <= 16; ++row)
            compareRow(t.grid, image.channels[static_cast<std::size_t>(row - 1)], row);
        QCOMPARE(t.grid->text(1, 2), QString("6.25"));
        QCOMPARE(t.grid->text(1, 3), QString("CTCSS: 88.5"));
        QCOMPARE(t.grid->text(1, 7), QString("DEL"));
        QCOMPARE(t.grid->text(1, 8), QString("ON"));
        QCOMPARE(t.grid->text(1, 9), QString("ON"));
        QCOMPARE(t.grid->text(1, 10), QString("Narrow"));
        QCOMPARE(t.grid->text(2, 6), QString("CDCSS: 023"));
        QCOMPARE(t.grid->text(6, 3), QString("--CDCSS: 754"));
        QCOMPARE(t.grid->text(6, 6), QString("2-Tone: 3"));
        // Boxes follow the bits, and a closed channel's transmit box is disabled.
        const std::array<std::pair<bool, bool>, 6> ticks { { { false, false }, { false, true }, { true, false },
            { false, false }, { true, true }, { false, false } } };
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(t.rec(i)->isChecked(), ticks[i].first);
            QCOMPARE(t.tx(i)->isChecked(), ticks[i].second);
            QCOMPARE(t.tx(i)->isEnabled(), !ticks[i].first);
        }
        // The refresh writes the same bits back.
        QCOMPARE(t.w->image(), image);

        // Shown again with every channel closed, then every channel open: nothing of the earlier
        // painting is left.
        model::RadioImage closed = image;
        for (auto& r : closed.channels)
            model::setBit(r[2], model::kOpenBit, false);
        t.show(closed);
        for (int row = 1; row <= 16; ++row)
            compareRow(t.grid, closed.channels[static_cast<std::size_t>(row - 1)], row);
        model::RadioImage opened = image;
        for (auto& r : opened.channels)
            open(r);
        t.show(opened);
        for (int row = 1; row <= 16; ++row)
            compareRow(t.grid, opened.channels[static_cast<std::size_t>(row - 1)], row);
    }

    void enterMovesWithoutEditing_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("nextRow");
        QTest::addColumn<int>("nextColumn");
        QTest::newRow("next column") << 3 << 4 << 3 << 5;
        QTest::newRow("row 5 column 10") << 5 << 10 << 6 << 1;
        QTest::newRow("last cell stays") << 16 << 10 << 16 << 10;
        QTest::newRow("column 9") << 16 << 9 << 16 << 10;
    }

    void enterMovesWithoutEditing()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, nextRow);
        QFETCH(int, nextColumn);
        Window t;
        t.show(mixedImage(t.w->image()));
        const model::RadioImage before = t.w->image();
        pressKeyAt(t.grid, row, column, Qt::Key_Return);
        QCOMPARE(t.grid->currentRow(), nextRow);
        QCOMPARE(t.grid->currentColumn(), nextColumn);
        QCOMPARE(t.w->channelView()->currentRow(), row);
        QCOMPARE(t.w->channelView()->currentColumn(), column);
        QCOMPARE(t.w->image(), before);
        pressKeyAt(t.grid, row, column, Qt::Key_Enter); // the keypad's Enter too
        QCOMPARE(t.grid->currentRow(), nextRow);
        QCOMPARE(t.grid->currentColumn(), nextColumn);
    }

    void otherCharactersAreDiscarded()
    {
        Window t;
        t.show(mixedImage(t.w->image()));
        const model::RadioImage before = t.w->image();
        t.grid->setFocus();
        for (int c = 1; c <= 10; ++c) {
            t.grid->setCurrentCell(1, c);
            QTest::keyClicks(t.grid, "aZ9-.#");
            QTest::keyClick(t.grid, Qt::Key_Escape);
            QCOMPARE(t.grid->currentRow(), 1);
            QCOMPARE(t.grid->currentColumn(), c);
        }
        QCOMPARE(t.w->image(), before);
        QCOMPARE(t.grid->text(1, 1), QString("350.00000"));
        QCOMPARE(t.grid->text(1, 7), QString("DEL"));
    }

    void arrowsMoveButNeverIntoTheHeaders()
    {
        Window t;
        pressKeyAt(t.grid, 1, 1, Qt::Key_Left);
        QCOMPARE(t.grid->currentColumn(), 1);
        QTest::keyClick(t.grid, Qt::Key_Up);
        QCOMPARE(t.grid->currentRow(), 1);
        QTest::keyClick(t.grid, Qt::Key_Right);
        QTest::keyClick(t.grid, Qt::Key_Down);
        QCOMPARE(t.grid->currentRow(), 2);
        QCOMPARE(t.grid->currentColumn(), 2);
    }

    void spaceToggles_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("bit");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QColor>("toText");
        QTest::addColumn<QColor>("toBack");
        QTest::newRow("scan DEL to ADD") << 7 << model::kScanDelBit << "DEL"
                                         << "ADD" << kScanGreen << kWhite;
        QTest::newRow("busy lock ON to OFF") << 8 << model::kBusyLockBit << "ON"
                                             << "OFF" << kBlue << kRed;
        QTest::newRow("clock shift ON to OFF") << 9 << model::kClockShiftBit << "ON"
                                               << "OFF" << kBlue << kRed;
        QTest::newRow("Narrow to Wide") << 10 << model::kNarrowBit << "Narrow"
                                        << "Wide" << kBlack << kLavender;
    }

    void spaceToggles()
    {
        QFETCH(int, column);
        QFETCH(int, bit);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QColor, toText);
        QFETCH(QColor, toBack);
        Window t;
        model::RadioImage image = mixedImage(t.w->image());
        image.channels[0][10] = 0xFF; // every flag set, the meaningless bits too
        t.show(image);
        QCOMPARE(t.grid->text(1, column), from);
        pressKeyAt(t.grid, 1, column, Qt::Key_Space);
        QCOMPARE(t.grid->text(1, column), to);
        QCOMPARE(t.grid->foreground(1, column), toText);
        QCOMPARE(t.grid->background(1, column), toBack);
        QCOMPARE(int { t.record(1)[10] }, 0xFF & ~(1 << bit));
        QCOMPARE(t.w->channelView()->currentRow(), 1);
        QCOMPARE(t.w->channelView()->currentColumn(), column);
        // And back.
        QTest::keyClick(t.grid, Qt::Key_Space);
        QCOMPARE(t.grid->text(1, column), from);
        QCOMPARE(int { t.record(1)[10] }, 0xFF);
        compareRow(t.grid, t.record(1), 1);
    }

    void stepToggleSnapsTheFrequency_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("step625");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<int>("countAfter");
        QTest::newRow("140.00250 to 6.25") << 2 << 56001 << false << "140.00000" << 22400;
        QTest::newRow("145.00625 to 2.50") << 2 << 23201 << true << "145.00500" << 58002;
        QTest::newRow("145.01875 to 2.50 (exact halves)") << 5 << 23203 << true << "145.02000" << 58008;
        QTest::newRow("189.99750 to 6.25 stays in range") << 5 << 75999 << false << "189.99375" << 30399;
    }

    void stepToggleSnapsTheFrequency()
    {
        QFETCH(int, column);
        QFETCH(int, count);
        QFETCH(bool, step625);
        QFETCH(QString, shownAfter);
        QFETCH(int, countAfter);
        Window t;
        const model::Side side = column == 2 ? model::Side::Receive : model::Side::Transmit;
        model::RadioImage image = t.w->image();
        open(image.channels[0]);
        model::setBit(image.channels[0][model::flagByte(side)], model::kStepBit, step625);
        model::setFrequencyCount(image.channels[0], side, static_cast<std::uint32_t>(count));
        t.show(image);
        const std::uint8_t flagsBefore = t.record(1)[model::flagByte(side)];
        clickCell(t.grid, 1, column);
        QCOMPARE(t.grid->text(1, column), step625 ? QString("2.50") : QString("6.25"));
        QCOMPARE(t.grid->background(1, column), step625 ? kPaleLavender : kLavender);
        QCOMPARE(t.grid->text(1, column - 1), shownAfter);
        QCOMPARE(int(model::frequencyCount(t.record(1), side)), countAfter);
        QCOMPARE(model::isStep625(t.record(1), side), !step625);
        // Only the step bit and the count's top bits of the flag byte may change.
        QCOMPARE(t.record(1)[model::flagByte(side)] & 0xF8, (flagsBefore ^ 0x04) & 0xF8);
    }

    void stepToggleAndBack()
    {
        Window t;
        model::RadioImage image = t.w->image();
        open(image.channels[0]);
        model::setFrequencyCount(image.channels[0], model::Side::Receive, 56001);
        t.show(image);
        clickCell(t.grid, 1, 2);
        QCOMPARE(rxCount(t.record(1)), 22400u);
        clickCell(t.grid, 1, 2);
        QCOMPARE(t.grid->text(1, 2), QString("2.50"));
        QCOMPARE(t.grid->text(1, 1), QString("140.00000"));
        QCOMPARE(rxCount(t.record(1)), 56000u);
        QVERIFY(!model::isStep625(t.record(1), model::Side::Receive));
    }

    void bandwidthFollowsTheSpacing()
    {
        Window t;
        model::RadioImage image = t.w->image();
        open(image.channels[0]);
        t.show(image);
        clickCell(t.grid, 1, 10);
        QCOMPARE(t.grid->text(1, 10), QString("Narrow"));
        QCOMPARE(t.grid->background(1, 10), kPaleLavender);
        QCOMPARE(t.record(1)[10] & 1, 1);
        clickCell(t.grid, 1, 10);
        QCOMPARE(t.grid->text(1, 10), QString("Wide"));
        QCOMPARE(t.grid->background(1, 10), kLavender);
        QCOMPARE(t.record(1)[10] & 1, 0);
        // With 12.5 kHz spacing a channel can no longer be made Wide.
        chooseEntry(named<QComboBox>(t.w, "cboFuncBand"), 1);
        clickCell(t.grid, 1, 10);
        QCOMPARE(t.grid->text(1, 10), QString("Narrow"));
        QCOMPARE(t.record(1)[10] & 1, 1);
        clickCell(t.grid, 1, 10);
        QCOMPARE(t.grid->text(1, 10), QString("Narrow"));
        QCOMPARE(t.grid->background(1, 10), kPaleLavender);
    }

    void mouseEditsOnlyOnALeftReleaseOverADataCell()
    {
        Window t;
        model::RadioImage image = t.w->image();
        open(image.channels[0]);
        open(image.channels[1]);
        t.show(image);
        const model::RadioImage before = t.w->image();
        // Header row, label column, right and middle buttons: nothing.
        clickCell(t.grid, 0, 8);
        clickCell(t.grid, 1, 0);
        clickCell(t.grid, 1, 8, Qt::RightButton);
        clickCell(t.grid, 1, 8, Qt::MiddleButton);
        QCOMPARE(t.w->image(), before);
        QCOMPARE(t.grid->text(1, 8), QString("OFF"));
        QVERIFY(t.grid->currentRow() != 0 && t.grid->currentColumn() != 0);

        // Pressed over a cell, released over the empty strip below the last row: nothing.
        const QPoint strip(cellCentre(t.grid, 16, 8).x(), t.grid->rowViewportPosition(16) + t.grid->rowHeight(16) + 2);
        QVERIFY(strip.y() < t.grid->viewport()->height());
        QVERIFY(!t.grid->indexAt(strip).isValid());
        QTest::mousePress(t.grid->viewport(), Qt::LeftButton, {}, cellCentre(t.grid, 1, 8));
        QTest::mouseRelease(t.grid->viewport(), Qt::LeftButton, {}, strip);
        QCOMPARE(t.w->image(), before);
        // And to the right of the last column.
        const QPoint right(
            t.grid->columnViewportPosition(10) + t.grid->columnWidth(10) + 2, cellCentre(t.grid, 1, 8).y());
        QVERIFY(right.x() < t.grid->viewport()->width());
        QTest::mousePress(t.grid->viewport(), Qt::LeftButton, {}, cellCentre(t.grid, 1, 8));
        QTest::mouseRelease(t.grid->viewport(), Qt::LeftButton, {}, right);
        QCOMPARE(t.w->image(), before);

        // A left click on a data cell edits it.
        clickCell(t.grid, 1, 8);
        QCOMPARE(t.grid->text(1, 8), QString("ON"));
        QCOMPARE(t.grid->background(1, 8), kGreen);
        QCOMPARE(t.record(1)[10] & 0x04, 0x04);
        QCOMPARE(t.w->channelView()->currentRow(), 1);
        QCOMPARE(t.w->channelView()->currentColumn(), 8);

        // Pressed over one cell and released over another: the cell under the release.
        QTest::mousePress(t.grid->viewport(), Qt::LeftButton, {}, cellCentre(t.grid, 1, 9));
        QTest::mouseRelease(t.grid->viewport(), Qt::LeftButton, {}, cellCentre(t.grid, 2, 9));
        QCOMPARE(t.grid->text(1, 9), QString("OFF"));
        QCOMPARE(t.grid->text(2, 9), QString("ON"));
        QCOMPARE(t.w->channelView()->currentRow(), 2);
    }

    void closedChannelIgnoresEdits()
    {
        Window t;
        t.show(mixedImage(t.w->image()));
        const model::RadioImage before = t.w->image();
        for (int c = 1; c <= 10; ++c) {
            clickCell(t.grid, 3, c);
            pressKeyAt(t.grid, 3, c, Qt::Key_Space);
        }
        QCOMPARE(t.w->image(), before);
        compareRow(t.grid, before.channels[2], 3);
    }

    void inhibitedChannelIgnoresTheTransmitColumns()
    {
        Window t;
        t.show(mixedImage(t.w->image()));
        const model::RadioImage before = t.w->image();
        for (int c : { 4, 5, 6 }) {
            clickCell(t.grid, 2, c);
            pressKeyAt(t.grid, 2, c, Qt::Key_Space);
        }
        QCOMPARE(t.w->image(), before);
        clickCell(t.grid, 2, 2);
        QCOMPARE(t.grid->text(2, 2), QString("6.25"));
        for (int c : { 7, 8, 9, 10 })
            clickCell(t.grid, 2, c);
        QCOMPARE(t.grid->text(2, 7), QString("DEL"));
        QCOMPARE(t.grid->text(2, 8), QString("ON"));
        QCOMPARE(t.grid->text(2, 9), QString("OFF"));
        QCOMPARE(t.grid->text(2, 10), QString("Narrow"));
        compareRow(t.grid, t.record(2), 2);
    }

    void closeBoxHidesTheRow()
    {
        Window t; // every channel closed, as at start
        // Open channel 5 and inhibit its transmitter, with the mouse.
        QTest::mouseClick(t.rec(4), Qt::LeftButton);
        QVERIFY(!t.rec(4)->isChecked());
        QVERIFY(t.tx(4)->isEnabled());
        QVERIFY(model::isChannelOpen(t.record(5)));
        compareRow(t.grid, t.record(5), 5);
        QCOMPARE(t.grid->currentRow(), 5);
        QCOMPARE(t.grid->currentColumn(), 1);
        QTest::mouseClick(t.tx(4), Qt::LeftButton);
        QVERIFY(!model::isTransmitAllowed(t.record(5)));
        compareRow(t.grid, t.record(5), 5);
        QCOMPARE(t.grid->foreground(5, 4), kWhite);

        // Ticking "close channel" hides the row and disables the transmit box.
        t.grid->setCurrentCell(9, 9);
        QTest::mouseClick(t.rec(4), Qt::LeftButton);
        QVERIFY(t.rec(4)->isChecked());
        QVERIFY(!t.tx(4)->isEnabled());
        QVERIFY(!model::isChannelOpen(t.record(5)));
        compareRow(t.grid, t.record(5), 5);
        QCOMPARE(t.grid->currentRow(), 5);
        QCOMPARE(t.grid->currentColumn(), 1);

        // Unticking shows it again, the transmit columns still hidden.
        QTest::mouseClick(t.rec(4), Qt::LeftButton);
        QVERIFY(t.tx(4)->isEnabled());
        QVERIFY(t.tx(4)->isChecked());
        compareRow(t.grid, t.record(5), 5);
        QCOMPARE(t.grid->foreground(5, 1), kBlack);
        QCOMPARE(t.grid->background(5, 5), kWhite);

        // Allowing transmit colours the transmit columns again.
        QTest::mouseClick(t.tx(4), Qt::LeftButton);
        QVERIFY(model::isTransmitAllowed(t.record(5)));
        compareRow(t.grid, t.record(5), 5);
        QCOMPARE(t.grid->background(5, 6), kRed);
        // Back where it started but open: only the open bit differs from the default record.
        model::Record expected = t.w->image().channels[0];
        open(expected);
        QCOMPARE(t.record(5), expected);
    }

    void narrowForAllLeavesClosedChannelsWhite()
    {
        Window t;
        model::RadioImage image = t.w->image();
        for (int i = 0; i < 16; ++i)
            if (i != 2) open(image.channels[static_cast<std::size_t>(i)]);
        t.show(image);
        t.grid->setCurrentCell(7, 3);
        chooseEntry(named<QComboBox>(t.w, "cboFuncBand"), 1);
        for (int row = 1; row <= 16; ++row) {
            QCOMPARE(t.grid->text(row, 10), QString("Narrow"));
            QCOMPARE(t.record(row)[10] & 1, 1);
            QCOMPARE(t.grid->background(row, 10), row == 3 ? kWhite : kPaleLavender);
        }
        QCOMPARE(t.grid->foreground(3, 10), kWhite);
        // The grid's current cell is given back.
        QCOMPARE(t.grid->currentRow(), 7);
        QCOMPARE(t.grid->currentColumn(), 3);
        QVERIFY(t.w->chanFuncFrame()->isVisible());
    }
};

QTEST_MAIN(ChannelGridTest)
#include "channel_grid_test.moc"
