// The frequency entry boxes of the channel grid, driven through the real widgets: opening over a
// cell, the keys they take, stepping, the commits by Enter, Esc and leaving the box, and the
// window commands that commit or drop an open edit.

#include "app/channel_view.h"
#include "app/content_scroller.h"
#include "app/frequency_box.h"
#include "app/settings_lists.h"
#include "app/twips.h"
#include "core/model/frequency_codec.h"
#include "core/model/frequency_entry.h"
#include "core/model/record_layout.h"
#include "support/window_fixture.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QMenu>
#include <QtTest>

using namespace korvane;
using korvane::test::WindowFixture;

namespace {

// Press and release over the centre of one cell.
void clickCell(app::RecordGrid* grid, int row, int column)
{
    const QPoint centre = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
}

// Makes a cell the grid's current one, as the arrow keys would, and presses a key there.
void pressKeyAt(app::RecordGrid* grid, int row, int column, Qt::Key key)
{
    grid->setFocus();
    grid->setCurrentCell(row, column);
    QTest::keyClick(grid, key);
}

constexpr int kRow = 3; // channel 3

// Opens every channel and lets it transmit, with the given model and steps, and shows the image.
void prepare(app::MainWindow& w, int modelIndex = 0, bool rx625 = false, bool tx625 = false)
{
    w.image().modelIndex = static_cast<std::int16_t>(modelIndex);
    for (model::Record& r : w.image().channels) {
        model::setBit(r[model::flagByte(model::Side::Receive)], model::kOpenBit, true);
        model::setBit(r[model::flagByte(model::Side::Transmit)], model::kOpenBit, true);
        model::setBit(r[model::flagByte(model::Side::Receive)], model::kStepBit, rx625);
        model::setBit(r[model::flagByte(model::Side::Transmit)], model::kStepBit, tx625);
    }
    w.refreshFromImage();
}

app::RecordGrid* gridOf(app::MainWindow& w) { return w.channelView()->grid(); }

app::MainWindow& startWindow(WindowFixture& f)
{
    auto& w = f.start();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) qWarning("the window did not become active");
    return w;
}

// Clicks a frequency cell and waits for its box to take the focus.
app::FrequencyBox* openBox(app::MainWindow& w, int row, int column)
{
    clickCell(gridOf(w), row, column);
    app::FrequencyBox* box = column == 1 ? w.txtRecFreq() : w.txtTxFreq();
    if (!QTest::qWaitFor([box] { return box->hasFocus(); }, 2000)) qWarning("the box did not take the focus");
    return box;
}

// Replaces the box's text by typing, as a user does over the selected frequency.
void typeInto(app::FrequencyBox* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

std::uint32_t countOf(app::MainWindow& w, int row, model::Side side)
{
    return model::frequencyCount(w.image().channels[static_cast<std::size_t>(row - 1)], side);
}

} // namespace

class FrequencyBoxTest : public QObject {
    Q_OBJECT
private slots:
    void opensOverTheCellWithTheWholeFrequencySelected()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        app::RecordGrid* grid = gridOf(w);
        for (int column : { 1, 4 }) {
            app::FrequencyBox* box = openBox(w, kRow, column);
            QCOMPARE(box->objectName(), QString(column == 1 ? "txtRecFreq" : "txtTxFreq"));
            QVERIFY(box->isVisible());
            QVERIFY(box->hasFocus());
            QCOMPARE(box->parentWidget(), grid->viewport());
            QCOMPARE(box->text(), QString("140.00000"));
            QCOMPARE(box->selectedText(), QString("140.00000"));
            QCOMPARE(box->selectionStart(), 0);
            QCOMPARE(box->x(), grid->columnViewportPosition(column) + app::pxX(grid, 50));
            QCOMPARE(box->width(), grid->columnWidth(column) + app::pxX(grid, -20));
            QCOMPARE(box->y(), grid->rowViewportPosition(kRow) + app::pxY(grid, 30));
            QCOMPARE(w.channelView()->currentRow(), kRow);
            QCOMPARE(w.channelView()->currentColumn(), column);
            QTest::keyClick(box, Qt::Key_Escape);
            QVERIFY(!box->isVisible());
        }
        // Space on a frequency cell opens the box too.
        pressKeyAt(grid, 7, 4, Qt::Key_Space);
        QTRY_VERIFY(w.txtTxFreq()->hasFocus());
        QCOMPARE(w.txtTxFreq()->y(), grid->rowViewportPosition(7) + app::pxY(grid, 30));
    }

    void closedAndInhibitedChannelsOpenNoBox()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        w.channelView()->recChan(1)->click(); // close channel 2
        w.channelView()->txChan(4)->click(); // inhibit channel 5
        clickCell(gridOf(w), 2, 1);
        QVERIFY(w.txtRecFreq()->isHidden());
        clickCell(gridOf(w), 5, 4);
        QVERIFY(w.txtTxFreq()->isHidden());
        openBox(w, 5, 1);
        QVERIFY(w.txtRecFreq()->isVisible());
    }

    void takesDigitsThePointAndBackspaceOnly()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        app::FrequencyBox* box = openBox(w, kRow, 1);
        typeInto(box, "14a5-. ,+0e3x");
        QCOMPARE(box->text(), QString("145.03"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QString("145.0"));
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QString("45.0"));
        QTest::keyClick(box, Qt::Key_Right);
        QTest::keyClick(box, Qt::Key_9);
        QCOMPARE(box->text(), QString("495.0"));
        // Nothing reaches the box by pasting or with other control characters.
        QGuiApplication::clipboard()->setText("abc");
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(box->text(), QString("495.0"));
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(box->text(), QString("495.0"));
        QVERIFY(box->hasFocus());
        QCOMPARE(box->contextMenuPolicy(), Qt::NoContextMenu);
        QVERIFY(!box->acceptDrops());
        // Typing never changes the image.
        QCOMPARE(countOf(w, kRow, model::Side::Receive), 56000u);
    }

    void stepsAtTheRangeEdgesOfEveryModelFamily_data()
    {
        QTest::addColumn<int>("modelIndex");
        QTest::addColumn<bool>("step625");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, int m, bool s, const char* typed, bool up, const char* shown) {
            QTest::newRow(name) << m << s << QString(typed) << up << QString(shown);
        };
        row("0 top 2.50", 0, false, "189.99750", true, "189.99750");
        row("0 top 6.25", 0, true, "189.99375", true, "189.99375");
        row("0 below top 2.50", 0, false, "189.995", true, "189.99750");
        row("0 below top 6.25", 0, true, "189.9875", true, "189.99375");
        row("0 bottom 2.50", 0, false, "120.00000", false, "120.00000");
        row("0 bottom 6.25", 0, true, "120.00000", false, "120.00000");
        row("0 above bottom 6.25", 0, true, "120.00625", false, "120.00000");
        row("0 rounds first", 0, false, "145.001", true, "145.00250");
        row("0 down 6.25", 0, true, "145.00000", false, "144.99375");
        row("0 far below", 0, false, "50", true, "120.00000");
        row("1 top 2.50", 1, false, "189.99750", true, "189.99750");
        row("1 bottom 6.25", 1, true, "120", false, "120.00000");
        row("2 top 2.50", 2, false, "509.99750", true, "509.99750");
        row("2 top 6.25", 2, true, "509.99375", true, "509.99375");
        row("2 bottom 2.50", 2, false, "380.00000", false, "380.00000");
        row("2 bottom 6.25", 2, true, "380.00000", false, "380.00000");
        row("3 far above", 3, false, "999", false, "509.99750");
        row("4 up 6.25", 4, true, "450.00000", true, "450.00625");
        row("5 top 2.50", 5, false, "409.99750", true, "409.99750");
        row("5 top 6.25", 5, true, "409.99375", true, "409.99375");
        row("5 bottom 2.50", 5, false, "330.00000", false, "330.00000");
        row("5 bottom 6.25", 5, true, "330.00000", false, "330.00000");
        row("6 far above 6.25", 6, true, "500", true, "409.99375");
        row("6 up 2.50", 6, false, "400.00000", true, "400.00250");
    }

    void stepsAtTheRangeEdgesOfEveryModelFamily()
    {
        QFETCH(int, modelIndex);
        QFETCH(bool, step625);
        QFETCH(QString, typed);
        QFETCH(bool, up);
        QFETCH(QString, shown);
        WindowFixture f;
        auto& w = startWindow(f);
        for (model::Side side : { model::Side::Receive, model::Side::Transmit }) {
            prepare(w, modelIndex, step625, step625);
            const model::RadioImage before = w.image();
            const int column = side == model::Side::Receive ? 1 : 4;
            app::FrequencyBox* box = openBox(w, kRow, column);
            typeInto(box, typed);
            QTest::keyClick(box, up ? Qt::Key_Up : Qt::Key_Down);
            QCOMPARE(box->text(), shown);
            QVERIFY(box->hasFocus());
            QVERIFY(box->isVisible());
            QVERIFY(w.image() == before); // stepping changes only the box
            QVERIFY(f.dialogs.messages.empty());
            box->drop();
        }
    }

    void steppingANonNumberShowsTheMessageAndEmptiesTheBox()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        const model::RadioImage before = w.image();
        app::FrequencyBox* box = openBox(w, kRow, 1);
        typeInto(box, "");
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(f.dialogs.messages.size(), 1u);
        const util::Message expected { "频率数据错误！", "数据错误", util::MessageIcon::Question, {} };
        QVERIFY(f.dialogs.messages.back() == expected);
        QCOMPARE(box->text(), QString());
        QVERIFY(box->hasFocus());

        typeInto(box, "1..2");
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(f.dialogs.messages.size(), 2u);
        QCOMPARE(box->text(), QString());

        // A step cell that holds no number fails the same way.
        gridOf(w)->setText(kRow, 2, "x");
        typeInto(box, "145.00000");
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(f.dialogs.messages.size(), 3u);
        QCOMPARE(box->text(), QString());
        QVERIFY(box->isVisible());
        QVERIFY(w.image() == before);
    }

    void commitsByEnter_data()
    {
        QTest::addColumn<int>("modelIndex");
        QTest::addColumn<bool>("step625");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char* name, int m, bool s, const char* typed, const char* stored) {
            QTest::newRow(name) << m << s << QString(typed) << QString(stored);
        };
        row("above range 2.50", 0, false, "200", "189.99750");
        row("above range 6.25", 0, true, "200", "189.99375");
        row("upper limit itself", 0, false, "190", "189.99750");
        row("below range", 0, false, "100", "120.00000");
        row("empty model 0", 0, false, "", "120.00000");
        row("empty model 2", 2, false, "", "380.00000");
        row("empty model 5", 5, true, "", "330.00000");
        row("not a number", 0, false, "1..2", "120.00000");
        row("only a point", 3, false, ".", "380.00000");
        row("between steps down", 0, true, "145.003", "145.00000");
        row("between steps up", 0, true, "145.00313", "145.00625");
        row("half step to even", 0, false, "145.00125", "145.00000");
        row("half step to even up", 0, false, "145.00375", "145.00500");
        row("in range", 2, false, "438.5", "438.50000");
        row("above range model 4", 4, true, "600", "509.99375");
        row("above range model 6", 6, false, "420", "409.99750");
    }

    void commitsByEnter()
    {
        QFETCH(int, modelIndex);
        QFETCH(bool, step625);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        WindowFixture f;
        auto& w = startWindow(f);
        for (model::Side side : { model::Side::Receive, model::Side::Transmit }) {
            prepare(w, modelIndex, step625, step625);
            const int column = side == model::Side::Receive ? 1 : 4;
            app::FrequencyBox* box = openBox(w, kRow, column);
            typeInto(box, typed);
            QTest::keyClick(box, Qt::Key_Return);
            app::RecordGrid* grid = gridOf(w);
            QCOMPARE(grid->text(kRow, column), stored);
            const auto hz = util::parseDecimal(stored.toStdString(), 6);
            QVERIFY(hz);
            QCOMPARE(static_cast<std::int64_t>(countOf(w, kRow, side)), hz->value / model::stepHz(step625));
            QVERIFY(!box->isVisible());
            QVERIFY(grid->hasFocus());
            QCOMPARE(grid->currentRow(), kRow);
            QCOMPARE(grid->currentColumn(), column + 1);
            QCOMPARE(w.channelView()->currentColumn(), column + 1);
            QVERIFY(f.dialogs.messages.empty());
        }
    }

    void enterOnTheKeypadCommitsToo()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        app::FrequencyBox* box = openBox(w, kRow, 1);
        typeInto(box, "150");
        QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(gridOf(w)->text(kRow, 1), QString("150.00000"));
        QVERIFY(!box->isVisible());
    }

    void aCommitKeepsTheOtherBitsOfTheFlagByte()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        for (model::Side side : { model::Side::Receive, model::Side::Transmit }) {
            for (std::uint8_t high :
                { std::uint8_t(0xFC), std::uint8_t(0x3C), std::uint8_t(0x58), std::uint8_t(0x88) }) {
                model::Record& r = w.image().channels[kRow - 1];
                const int flags = model::flagByte(side);
                r[static_cast<std::size_t>(flags)] = static_cast<std::uint8_t>(high | 0x03);
                w.refreshFromImage();
                const int column = side == model::Side::Receive ? 1 : 4;
                app::FrequencyBox* box = openBox(w, kRow, column);
                typeInto(box, "150");
                QTest::keyClick(box, Qt::Key_Return);
                const bool step625 = (high & 0x04) != 0;
                QCOMPARE(r[static_cast<std::size_t>(flags)] & 0xFC, int(high));
                QCOMPARE(model::frequencyCount(r, side), std::uint32_t(150'000'000 / model::stepHz(step625)));
            }
        }
    }

    void commitsWhenTheFocusMovesToTheFocusSink()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        app::FrequencyBox* box = openBox(w, kRow, 4);
        typeInto(box, "200");
        w.focusSink();
        QVERIFY(w.command1()->hasFocus());
        QCOMPARE(gridOf(w)->text(kRow, 4), QString("189.99750"));
        QCOMPARE(countOf(w, kRow, model::Side::Transmit), 75999u);
        QVERIFY(!box->isVisible());
        // Leaving with Tab, or for another cell of the grid, commits the same way.
        box = openBox(w, 4, 1);
        typeInto(box, "145.00125");
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(gridOf(w)->text(4, 1), QString("145.00000"));
        box = openBox(w, 5, 1);
        typeInto(box, "150");
        app::FrequencyBox* other = openBox(w, 6, 4);
        QCOMPARE(gridOf(w)->text(5, 1), QString("150.00000"));
        QVERIFY(!box->isVisible());
        QVERIFY(other->isVisible());
        // The current cell of the grid is the one clicked last, not the committed one.
        QCOMPARE(gridOf(w)->currentRow(), 6);
        QCOMPARE(gridOf(w)->currentColumn(), 4);
    }

    void aClickOnTheBackgroundAFrameOrTheToolbarCommits()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        QWidget* frame1 = w.contentArea()->frame();
        QWidget* fraChan = w.channelView();
        QWidget* fraFunction = w.settingsLists()->functionFrame();
        QWidget* fraScan = w.settingsLists()->scanFrame();
        QWidget* toolbar = w.toolBar();
        struct Place {
            QWidget* widget;
            QPoint at;
        } places[] = {
            { frame1, QPoint(frame1->width() - 3, frame1->height() - 3) },
            { fraChan, QPoint(4, 4) },
            { fraFunction, QPoint(4, fraFunction->height() - 4) },
            { fraScan, QPoint(fraScan->width() - 4, fraScan->height() - 4) },
            { toolbar, QPoint(toolbar->width() - 4, toolbar->height() / 2) },
        };
        int row = 1;
        for (const Place& place : places) {
            QVERIFY2(place.widget->childAt(place.at) == nullptr, qPrintable(place.widget->objectName()));
            app::FrequencyBox* box = openBox(w, row, 1);
            typeInto(box, "200");
            QTest::mouseClick(place.widget, Qt::LeftButton, {}, place.at);
            QVERIFY2(w.command1()->hasFocus(), qPrintable(place.widget->objectName()));
            QCOMPARE(gridOf(w)->text(row, 1), QString("189.99750"));
            QVERIFY(!box->isVisible());
            ++row;
        }
    }

    void menusPopupsAndOtherWindowsLeaveTheEditOpen()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        app::FrequencyBox* box = openBox(w, kRow, 1);
        typeInto(box, "150");
        for (Qt::FocusReason reason : { Qt::PopupFocusReason, Qt::MenuBarFocusReason, Qt::ActiveWindowFocusReason }) {
            QFocusEvent out(QEvent::FocusOut, reason);
            QApplication::sendEvent(box, &out);
        }
        QVERIFY(box->isVisible());
        QVERIFY(box->pending());

        // A real drop-down menu.
        auto* menu = w.findChild<QMenu*>("mnuFile");
        QVERIFY(menu);
        menu->popup(w.mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        QVERIFY(box->pending());

        // Another window of another program.
        QWidget elsewhere;
        elsewhere.resize(200, 100);
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        QVERIFY(box->pending());
        QCOMPARE(gridOf(w)->text(kRow, 1), QString("140.00000"));
        QCOMPARE(countOf(w, kRow, model::Side::Receive), 56000u);
        elsewhere.hide();

        // Back in the window, the edit commits as usual when the user leaves it.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QCOMPARE(box->text(), QString("150"));
        w.focusSink();
        QCOMPARE(gridOf(w)->text(kRow, 1), QString("150.00000"));
        QCOMPARE(countOf(w, kRow, model::Side::Receive), 60000u);
    }

    void escapeHidesThenCommits()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w, 0, false, true);
        app::FrequencyBox* box = openBox(w, kRow, 4);
        typeInto(box, "145.00313");
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        QCOMPARE(gridOf(w)->text(kRow, 4), QString("145.00625"));
        QCOMPARE(countOf(w, kRow, model::Side::Transmit), 23201u);
        QVERIFY(!box->pending());
        QVERIFY(gridOf(w)->hasFocus());
        // Esc does not move the current cell.
        QCOMPARE(gridOf(w)->currentColumn(), 4);
        // Escape on an empty box stores the lower limit.
        box = openBox(w, 9, 4);
        typeInto(box, "");
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(gridOf(w)->text(9, 4), QString("120.00000"));
        QVERIFY(f.dialogs.messages.empty());
    }

    void nothingIsStoredWhileTheRadioIsRead()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        const model::RadioImage before = w.image();
        app::FrequencyBox* box = openBox(w, kRow, 1);
        typeInto(box, "150");
        w.state().readBusy = true;
        w.focusSink();
        QVERIFY(w.image() == before);
        QCOMPARE(gridOf(w)->text(kRow, 1), QString("140.00000"));
        box->commitOnLeaving();
        QVERIFY(w.image() == before);
        w.state().readBusy = false;
    }

    void aDroppedBoxStoresNothingLater()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        const model::RadioImage before = w.image();
        app::FrequencyBox* box = openBox(w, kRow, 1);
        typeInto(box, "150");
        // Opening a file drops the open edit before anything else, even when the open fails.
        w.openFile(f.path("missing.rdw"), -1);
        QVERIFY(!box->isVisible());
        QVERIFY(!box->pending());
        QVERIFY(w.command1()->hasFocus());
        QCOMPARE(box->text(), QString("140.00000"));
        QFocusEvent late(QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(box, &late);
        box->commitOnLeaving();
        QVERIFY(w.image() == before);
        QCOMPARE(gridOf(w)->text(kRow, 1), QString("140.00000"));
    }

    void showingTheImageClosesTheTransmitBox()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        app::FrequencyBox* box = openBox(w, kRow, 4);
        typeInto(box, "150");
        box->clearFocus(); // the focus went nowhere in the window: the edit is still open
        QVERIFY(box->pending());
        w.refreshFromImage();
        QVERIFY(!box->isVisible());
        QVERIFY(!box->pending());
        QCOMPARE(countOf(w, kRow, model::Side::Transmit), 56000u);
    }

    void savingCommitsTheOpenEdit()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        prepare(w);
        for (int column : { 1, 4 }) {
            const model::Side side = column == 1 ? model::Side::Receive : model::Side::Transmit;
            app::FrequencyBox* box = openBox(w, kRow, column);
            typeInto(box, column == 1 ? "150" : "160");
            f.dialogs.saveChoices.push_back(app::FileChoice { f.path(QString("saved%1.rdw").arg(column)), 1 });
            w.save();
            QVERIFY(!box->isVisible());
            QCOMPARE(countOf(w, kRow, side), column == 1 ? 60000u : 64000u);
            QCOMPARE(gridOf(w)->text(kRow, column), QString(column == 1 ? "150.00000" : "160.00000"));
        }
        QVERIFY(f.dialogs.messages.empty());
    }

    void aRelayoutPlacesTheBoxesWithItsOwnInsets()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        app::RecordGrid* grid = gridOf(w);
        QCOMPARE(w.txtRecFreq()->x(), grid->columnViewportPosition(1) + app::pxX(grid, 50));
        QCOMPARE(w.txtTxFreq()->x(), grid->columnViewportPosition(4) + app::pxX(grid, 50));
        w.txtRecFreq()->placeOverColumn(30, 20);
        QCOMPARE(w.txtRecFreq()->x(), grid->columnViewportPosition(1) + app::pxX(grid, 30));
        QCOMPARE(w.txtRecFreq()->width(), grid->columnWidth(1) + app::pxX(grid, 20));
    }
};

QTEST_MAIN(FrequencyBoxTest)
#include "frequency_box_test.moc"
