// The signalling dialog opened from the channel grid's signalling cells: how it opens on each
// kind of cell, its controls, key filtering, the checks of its fields and their messages, the
// tone lists, and the bytes and cell texts that OK and Cancel leave.

#include "app/channel_view.h"
#include "app/click_signal.h"
#include "app/grid_colours.h"
#include "app/signal_dialog.h"
#include "core/model/record_layout.h"
#include "core/model/signalling_cell.h"
#include "support/window_fixture.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvane;
using korvane::test::WindowFixture;
using Dialog = app::SignalDialog;

namespace {

// Press and release over the centre of one cell.
void clickCell(app::RecordGrid* grid, int row, int column)
{
    const QPoint centre = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
}

template <class T> T* named(const QObject* root, const QString& name) { return root->findChild<T*>(name); }

// The member of a control array with this index.
template <class T> T* indexed(const QObject* root, const QString& name, int index)
{
    for (T* child : root->findChildren<T*>(name))
        if (child->property("index").toInt() == index) return child;
    return nullptr;
}

constexpr int kRow = 4;

app::RecordGrid* gridOf(app::MainWindow& w) { return w.channelView()->grid(); }

app::MainWindow& startWindow(WindowFixture& f)
{
    auto& w = f.start();
    for (model::Record& r : w.image().channels) {
        model::setBit(r[model::flagByte(model::Side::Receive)], model::kOpenBit, true);
        model::setBit(r[model::flagByte(model::Side::Transmit)], model::kOpenBit, true);
    }
    w.refreshFromImage();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) qWarning("the window did not become active");
    return w;
}

model::Record& recordOf(app::MainWindow& w, int row) { return w.image().channels[static_cast<std::size_t>(row - 1)]; }

int columnOf(model::Side side) { return side == model::Side::Receive ? 3 : 6; }

// Puts a signalling into the record as a radio or a file would, and shows the image.
void putSignalling(app::MainWindow& w, int row, model::Side side, const char* cellText)
{
    QVERIFY(model::applySignallingChoice(model::parseSignallingCell(cellText), recordOf(w, row), side));
    w.refreshFromImage();
    QCOMPARE(gridOf(w)->text(row, columnOf(side)), QString(cellText));
}

// Plays the user's part once the dialog is up.
void whenOpen(WindowFixture& f, std::function<void(Dialog&)> play)
{
    f.dialogs.modalScripts.push_back([play = std::move(play)](QDialog& shown) {
        auto* dialog = qobject_cast<Dialog*>(&shown);
        QVERIFY(dialog);
        // Shown without a window manager, the dialog is not made active by itself.
        dialog->activateWindow();
        QTRY_VERIFY(dialog->isActiveWindow());
        play(*dialog);
    });
}

// Clicks the cell, which runs the dialog with the scripts queued before.
void clickSignalling(app::MainWindow& w, int row, model::Side side) { clickCell(gridOf(w), row, columnOf(side)); }

void typeInto(QComboBox* list, const QString& text)
{
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClick(list, Qt::Key_Backspace);
    QTest::keyClicks(list, text);
}

util::Message message(const char* text, const char* title)
{
    return { text, title, util::MessageIcon::Exclamation, {} };
}

const util::Message kCtcssError = message("CTCSS 数据错误!", "CTCSS信令错误");
const util::Message kCdcssEmpty = message("RX CDCSS data error!", "Error CDCSS Signaling");
const util::Message kCdcssError = message("CDCSS 数据错误!", "CDCSS信令错误");

// A data folder of the test's own, with the given files.
struct DataFolder {
    QTemporaryDir dir;
    QByteArray previous = qgetenv("KORVANE_DATA_DIR");

    explicit DataFolder(const std::vector<std::pair<QString, QByteArray>>& files = {})
    {
        for (const auto& [name, bytes] : files) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        }
        qputenv("KORVANE_DATA_DIR", dir.path().toLocal8Bit());
    }
    ~DataFolder() { qputenv("KORVANE_DATA_DIR", previous); }
};

QStringList entriesOf(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

} // namespace

class SignalDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANE_DATA_DIR")) qputenv("KORVANE_DATA_DIR", KORVANE_SOURCE_DIR "/data");
    }

    void everyControlCarriesItsNameAndCaption()
    {
        test::RecordingDialogs dialogs;
        Dialog dialog(dialogs, QString());
        QCOMPARE(dialog.objectName(), QString("frmSignal"));
        QCOMPARE(dialog.windowTitle(), QString("信令设置"));
        auto* frame = named<QGroupBox>(&dialog, "fraChRxdec");
        QVERIFY(frame);
        QCOMPARE(frame->title(), QString("信令"));
        const char* const captions[] = { "2-Tone", "CTCSS", "CDCSS", "OFF" };
        for (int i = 0; i < 4; ++i) {
            auto* option = indexed<QRadioButton>(&dialog, "optChSignaling", i);
            QVERIFY(option);
            QCOMPARE(option, dialog.option(i));
            QCOMPARE(option->text(), QString(captions[i]));
            QCOMPARE(option->parentWidget(), frame);
        }
        auto* qt = named<QComboBox>(&dialog, "cboChQT");
        auto* dqt = named<QComboBox>(&dialog, "cboChDQT");
        auto* inverted = named<QCheckBox>(&dialog, "chkChIvDQT");
        auto* twoTone = named<QComboBox>(&dialog, "cboChTwoTone");
        auto* ok = named<QPushButton>(&dialog, "cmdOK");
        auto* cancel = named<QPushButton>(&dialog, "cmdCancel");
        QVERIFY(qt && dqt && inverted && twoTone && ok && cancel);
        QVERIFY(qt->isEditable() && dqt->isEditable() && !twoTone->isEditable());
        QCOMPARE(qt->currentText(), QString("67.0"));
        QCOMPARE(dqt->currentText(), QString("023"));
        QCOMPARE(qt->count(), 0); // the lists are read when they first drop down
        QCOMPARE(dqt->count(), 0);
        QCOMPARE(inverted->text(), QString("CDCSS反向"));
        QCOMPARE(entriesOf(twoTone), QStringList({ "0", "1", "2", "3", "4", "5", "6", "7", "8", "9" }));
        QCOMPARE(ok->text(), QString("确定"));
        QVERIFY(ok->isDefault());
        QCOMPARE(cancel->text(), QString("取消"));
        QVERIFY(dialog.cancelPressed());
        dialog.show();
        QVERIFY(!dialog.option(Dialog::TwoTone)->isVisible());
        QVERIFY(!twoTone->isVisible());
        for (int i : { 1, 2, 3 })
            QVERIFY(dialog.option(i)->isVisible());
        QVERIFY(qt->isVisible() && dqt->isVisible() && inverted->isVisible());
    }

    void theKindPropertyIsKeptInRange()
    {
        test::RecordingDialogs dialogs;
        Dialog dialog(dialogs, QString());
        dialog.setMSignal(-3);
        QCOMPARE(dialog.mSignal(), 0);
        dialog.setMSignal(12);
        QCOMPARE(dialog.mSignal(), 8);
        dialog.setMSignal(5);
        QCOMPARE(dialog.mSignal(), 5);
    }

    void opensOnEveryKindOfCell_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("option"); // the option selected
        QTest::addColumn<QString>("tone");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("inverted");
        QTest::addColumn<int>("twoTone");
        QTest::newRow("off") << "OFF" << 3 << "67.0"
                             << "023" << false << 0;
        QTest::newRow("ctcss") << "CTCSS: 100.0" << 1 << "100.0"
                               << "023" << false << 0;
        QTest::newRow("ctcss low") << "CTCSS: 67.0" << 1 << "67.0"
                                   << "023" << false << 0;
        QTest::newRow("cdcss") << "CDCSS: 023" << 2 << "67.0"
                               << "023" << false << 0;
        QTest::newRow("inverted cdcss") << "--CDCSS: 754" << 2 << "67.0"
                                        << "754" << true << 0;
        QTest::newRow("2-tone") << "2-Tone: 5" << 0 << "67.0"
                                << "023" << false << 5;
        QTest::newRow("2-tone above 9") << "2-Tone: 12" << 0 << "67.0"
                                        << "023" << false << 0;
        QTest::newRow("empty") << "" << 3 << "67.0"
                               << "023" << false << 0;
        QTest::newRow("no kind") << "xyz" << 3 << "67.0"
                                 << "023" << false << 0;
    }

    void opensOnEveryKindOfCell()
    {
        QFETCH(QString, cell);
        QFETCH(int, option);
        QFETCH(QString, tone);
        QFETCH(QString, code);
        QFETCH(bool, inverted);
        QFETCH(int, twoTone);
        WindowFixture f;
        auto& w = startWindow(f);
        for (model::Side side : { model::Side::Receive, model::Side::Transmit }) {
            const int column = columnOf(side);
            gridOf(w)->setText(kRow, column, cell);
            bool played = false;
            whenOpen(f, [&](Dialog& d) {
                played = true;
                QCOMPARE(gridOf(w)->background(kRow, column), app::colours::kYellow);
                for (int i = 0; i < 4; ++i)
                    QCOMPARE(d.option(i)->isChecked(), i == option);
                QCOMPARE(d.toneList()->currentText(), tone);
                QCOMPARE(d.codeList()->currentText(), code);
                QCOMPARE(d.invertedBox()->isChecked(), inverted);
                QCOMPARE(d.twoToneList()->currentIndex(), twoTone);
                QCOMPARE(d.toneList()->isEnabled(), option == Dialog::Ctcss);
                QCOMPARE(d.codeList()->isEnabled(), option == Dialog::Cdcss);
                QCOMPARE(d.invertedBox()->isEnabled(), option == Dialog::Cdcss);
                QCOMPARE(d.twoToneList()->isEnabled(), option == Dialog::TwoTone);
                QVERIFY(d.cancelPressed());
                if (option == Dialog::TwoTone) // nothing the user can see is selected
                    QVERIFY(!d.option(1)->isChecked() && !d.option(2)->isChecked() && !d.option(3)->isChecked());
                d.reject();
            });
            const model::Record before = recordOf(w, kRow);
            clickSignalling(w, kRow, side);
            QVERIFY(played);
            QCOMPARE(f.dialogs.modalNames.back(), QString("frmSignal"));
            QCOMPARE(gridOf(w)->text(kRow, column), cell);
            QVERIFY(recordOf(w, kRow) == before);
            QCOMPARE(gridOf(w)->background(kRow, column), cell == "OFF" ? app::colours::kRed : app::colours::kGreen);
        }
    }

    void optionClicksEnableTheirControls()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Receive, "2-Tone: 3");
        whenOpen(f, [&](Dialog& d) {
            QVERIFY(d.twoToneList()->isEnabled());
            d.toneList()->setEditText("88.5");
            d.codeList()->setEditText("754");
            struct Row {
                int option;
                bool tone, code, inverted;
            } rows[] = {
                { Dialog::Ctcss, true, false, false },
                { Dialog::Cdcss, false, true, true },
                { Dialog::Off, false, false, false },
                { Dialog::Ctcss, true, false, false },
                { Dialog::Off, false, false, false },
                { Dialog::Cdcss, false, true, true },
            };
            for (const Row& row : rows) {
                QTest::mouseClick(d.option(row.option), Qt::LeftButton);
                QVERIFY(d.option(row.option)->isChecked());
                QVERIFY(!d.option(Dialog::TwoTone)->isChecked());
                QCOMPARE(d.toneList()->isEnabled(), row.tone);
                QCOMPARE(d.codeList()->isEnabled(), row.code);
                QCOMPARE(d.invertedBox()->isEnabled(), row.inverted);
                QVERIFY(!d.twoToneList()->isEnabled());
                // The texts of disabled controls stay as they are.
                QCOMPARE(d.toneList()->currentText(), QString("88.5"));
                QCOMPARE(d.codeList()->currentText(), QString("754"));
            }
            d.reject();
        });
        clickSignalling(w, kRow, model::Side::Receive);
        QVERIFY(f.dialogs.messages.empty());
    }

    void theFieldsTakeOnlyTheirCharacters()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Receive, "CTCSS: 88.5");
        whenOpen(f, [&](Dialog& d) {
            QComboBox* tone = d.toneList();
            typeInto(tone, "1a2-3 ,");
            QCOMPARE(tone->currentText(), QString("123"));
            QTest::keyClicks(tone, ".45");
            QCOMPARE(tone->currentText(), QString("123.4")); // five characters at most
            QTest::keyClick(tone, Qt::Key_Backspace);
            QTest::keyClicks(tone, "9");
            QCOMPARE(tone->currentText(), QString("123.9"));
            tone->lineEdit()->setSelection(0, 3);
            QTest::keyClicks(tone, "7");
            QCOMPARE(tone->currentText(), QString("7.9")); // a selection makes room

            QTest::mouseClick(d.option(Dialog::Cdcss), Qt::LeftButton);
            QComboBox* code = d.codeList();
            typeInto(code, "8");
            QCOMPARE(code->currentText(), QString());
            QTest::keyClicks(code, "a9.1-7");
            QCOMPARE(code->currentText(), QString("17"));
            QTest::keyClicks(code, "46");
            QCOMPARE(code->currentText(), QString("174")); // three characters at most
            QTest::keyClick(code, Qt::Key_Home);
            QTest::keyClick(code, Qt::Key_Delete);
            QCOMPARE(code->currentText(), QString("74"));
            QTest::keyClicks(code, "3");
            QCOMPARE(code->currentText(), QString("374"));
            d.reject();
        });
        clickSignalling(w, kRow, model::Side::Receive);
        QVERIFY(f.dialogs.messages.empty());
    }

    void leavingTheToneFieldCorrectsIt_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("reported");
        QTest::newRow("above") << "300"
                               << "254.1" << false;
        QTest::newRow("below") << "50"
                               << "67.0" << false;
        QTest::newRow("whole") << "100"
                               << "100.0" << false;
        QTest::newRow("two decimals") << "88.55"
                                      << "88.6" << false;
        QTest::newRow("empty") << ""
                               << "67.0" << true;
        QTest::newRow("points") << "1..2"
                                << "67.0" << true;
        QTest::newRow("only a point") << "."
                                      << "67.0" << true;
    }

    void leavingTheToneFieldCorrectsIt()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, reported);
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Receive, "CTCSS: 88.5");
        whenOpen(f, [&](Dialog& d) {
            typeInto(d.toneList(), typed);
            QTest::keyClick(d.toneList(), Qt::Key_Tab);
            QCOMPARE(d.toneList()->currentText(), shown);
            QCOMPARE(f.dialogs.messages.size(), reported ? 1u : 0u);
            if (reported) QVERIFY(f.dialogs.messages.back() == kCtcssError);
            QVERIFY(!d.toneList()->hasFocus()); // the focus may leave
            d.reject();
        });
        clickSignalling(w, kRow, model::Side::Receive);
    }

    void leavingTheCodeFieldCorrectsIt()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Transmit, "CDCSS: 023");
        whenOpen(f, [&](Dialog& d) {
            QComboBox* code = d.codeList();
            typeInto(code, "7");
            QTest::keyClick(code, Qt::Key_Tab);
            QCOMPARE(code->currentText(), QString("007"));
            QVERIFY(f.dialogs.messages.empty());

            // An empty code is reported and the focus stays in the field.
            typeInto(code, "");
            QTest::keyClick(code, Qt::Key_Tab);
            QCOMPARE(f.dialogs.messages.size(), 1u);
            QVERIFY(f.dialogs.messages.back() == kCdcssEmpty);
            QCOMPARE(code->currentText(), QString("023"));
            QVERIFY(code->hasFocus());

            // Also when the user clicks elsewhere: that click does nothing.
            typeInto(code, "");
            QTest::mouseClick(d.invertedBox(), Qt::LeftButton);
            QCOMPARE(f.dialogs.messages.size(), 2u);
            QVERIFY(f.dialogs.messages.back() == kCdcssEmpty);
            QVERIFY(code->hasFocus());
            QVERIFY(!d.invertedBox()->isChecked());
            typeInto(code, "");
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
            QCOMPARE(f.dialogs.messages.size(), 3u);
            QVERIFY(d.isVisible());
            QVERIFY(code->hasFocus());

            // Once corrected, the click goes through.
            QTest::mouseClick(d.invertedBox(), Qt::LeftButton);
            QVERIFY(d.invertedBox()->isChecked());

            // Not a number: another message, 023, and the focus may go.
            code->setEditText("abc");
            code->setFocus();
            QTest::keyClick(code, Qt::Key_Tab);
            QCOMPARE(f.dialogs.messages.size(), 4u);
            QVERIFY(f.dialogs.messages.back() == kCdcssError);
            QCOMPARE(code->currentText(), QString("023"));
            QVERIFY(!code->hasFocus());
            d.reject();
        });
        clickSignalling(w, kRow, model::Side::Transmit);
    }

    void cancelNeverChecksAField()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Receive, "CDCSS: 023");
        const model::Record before = recordOf(w, kRow);
        whenOpen(f, [&](Dialog& d) {
            typeInto(d.codeList(), "");
            QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
            QVERIFY(!d.isVisible());
            QVERIFY(d.cancelPressed());
        });
        clickSignalling(w, kRow, model::Side::Receive);
        whenOpen(f, [&](Dialog& d) {
            QTest::mouseClick(d.option(Dialog::Ctcss), Qt::LeftButton);
            typeInto(d.toneList(), "");
            QTest::keyClick(d.toneList(), Qt::Key_Escape);
            QVERIFY(!d.isVisible());
        });
        clickSignalling(w, kRow, model::Side::Receive);
        whenOpen(f, [&](Dialog& d) {
            typeInto(d.codeList(), "");
            d.close(); // the window's close box
            QVERIFY(!d.isVisible());
        });
        clickSignalling(w, kRow, model::Side::Receive);
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(recordOf(w, kRow) == before);
        QCOMPARE(gridOf(w)->text(kRow, 3), QString("CDCSS: 023"));
        QCOMPARE(gridOf(w)->background(kRow, 3), app::colours::kGreen);
    }

    void cancelLeavesTheRecordAndTheCellAsTheyWere_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("side");
        QTest::newRow("cdcss rx") << "CDCSS: 023" << 0;
        QTest::newRow("off tx") << "OFF" << 1;
        QTest::newRow("ctcss tx") << "CTCSS: 254.1" << 1;
        QTest::newRow("inverted rx") << "--CDCSS: 754" << 0;
        QTest::newRow("2-tone 12 tx") << "2-Tone: 12" << 1;
        QTest::newRow("2-tone 200 rx") << "2-Tone: 200" << 0;
    }

    void cancelLeavesTheRecordAndTheCellAsTheyWere()
    {
        QFETCH(QString, cell);
        QFETCH(int, side);
        WindowFixture f;
        auto& w = startWindow(f);
        const auto s = static_cast<model::Side>(side);
        putSignalling(w, kRow, s, cell.toUtf8().constData());
        // Bytes a radio may hold beside the signalling: codes under OFF, a 2-Tone number.
        model::Record& r = recordOf(w, kRow);
        r[static_cast<std::size_t>(model::codeLowByte(s))] ^= 0x40;
        r[static_cast<std::size_t>(model::twoToneByte(s))] ^= 0x10;
        if (cell.startsWith("2-")) r[static_cast<std::size_t>(model::twoToneByte(s))] ^= 0x10;
        const model::Record before = r;
        whenOpen(f, [&](Dialog& d) {
            QTest::mouseClick(d.option(Dialog::Ctcss), Qt::LeftButton);
            typeInto(d.toneList(), "100");
            QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
        });
        clickSignalling(w, kRow, s);
        QVERIFY(recordOf(w, kRow) == before);
        QCOMPARE(gridOf(w)->text(kRow, columnOf(s)), cell);
        QCOMPARE(gridOf(w)->background(kRow, columnOf(s)), cell == "OFF" ? app::colours::kRed : app::colours::kGreen);
        QVERIFY(f.dialogs.messages.empty());
    }

    void okOnCtcssWritesTheBcdTone()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Receive, "OFF");
        model::Record& r = recordOf(w, kRow);
        r[2] = static_cast<std::uint8_t>(r[2] | 0x07); // low nibble: count bits, step, open
        const std::uint8_t lowNibble = r[2] & 0x0F;
        const std::uint8_t twoTone = r[11];
        whenOpen(f, [&](Dialog& d) {
            QTest::mouseClick(d.option(Dialog::Ctcss), Qt::LeftButton);
            QCOMPARE(d.toneList()->currentText(), QString("67.0"));
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
            QVERIFY(!d.cancelPressed());
            QCOMPARE(d.mSignal(), 3);
            QCOMPARE(d.sSignal(), QString("CTCSS"));
            QCOMPARE(d.dSignal(), std::int64_t(670));
        });
        clickSignalling(w, kRow, model::Side::Receive);
        QCOMPARE(r[2] >> 4, 3);
        QCOMPARE(r[2] & 0x0F, int(lowNibble));
        QCOMPARE(r[3], std::uint8_t(0x70));
        QCOMPARE(r[4], std::uint8_t(0x06));
        QCOMPARE(r[11], twoTone);
        QCOMPARE(gridOf(w)->text(kRow, 3), QString("CTCSS: 67.0"));
        QCOMPARE(gridOf(w)->background(kRow, 3), app::colours::kGreen);
        QVERIFY(f.dialogs.messages.empty());
    }

    void okOnInvertedCdcssWritesTheOctalCode()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Transmit, "CTCSS: 88.5");
        model::Record& r = recordOf(w, kRow);
        const std::uint8_t lowNibble = r[7] & 0x0F;
        whenOpen(f, [&](Dialog& d) {
            QTest::mouseClick(d.option(Dialog::Cdcss), Qt::LeftButton);
            typeInto(d.codeList(), "754");
            QTest::mouseClick(d.invertedBox(), Qt::LeftButton);
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
        });
        clickSignalling(w, kRow, model::Side::Transmit);
        QCOMPARE(r[7] >> 4, 7);
        QCOMPARE(r[7] & 0x0F, int(lowNibble));
        QCOMPARE(r[8], std::uint8_t(0xEC));
        QCOMPARE(r[9], std::uint8_t(0x01));
        QCOMPARE(gridOf(w)->text(kRow, 6), QString("--CDCSS: 754"));
        QCOMPARE(gridOf(w)->background(kRow, 6), app::colours::kGreen);
        // And back to normal CDCSS 023 with the keyboard: Enter presses OK.
        whenOpen(f, [&](Dialog& d) {
            QVERIFY(d.invertedBox()->isChecked());
            QTest::mouseClick(d.invertedBox(), Qt::LeftButton);
            typeInto(d.codeList(), "23");
            QTest::keyClick(d.codeList(), Qt::Key_Return);
            QVERIFY(!d.isVisible());
        });
        clickSignalling(w, kRow, model::Side::Transmit);
        QCOMPARE(r[7] >> 4, 5);
        QCOMPARE(r[8], std::uint8_t(0x13));
        QCOMPARE(r[9], std::uint8_t(0x00));
        QCOMPARE(gridOf(w)->text(kRow, 6), QString("CDCSS: 023"));
        QVERIFY(f.dialogs.messages.empty());
    }

    void aTwoToneSignallingSurvivesOk_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("number");
        QTest::newRow("5") << "2-Tone: 5" << 5;
        QTest::newRow("0") << "2-Tone: 0" << 0;
        QTest::newRow("12") << "2-Tone: 12" << 12;
        QTest::newRow("255") << "2-Tone: 255" << 255;
    }

    void aTwoToneSignallingSurvivesOk()
    {
        QFETCH(QString, cell);
        QFETCH(int, number);
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Transmit, cell.toUtf8().constData());
        model::Record& r = recordOf(w, kRow);
        r[8] = 0x5A;
        r[9] = 0x01;
        const model::Record before = r;
        whenOpen(f, [&](Dialog& d) { QTest::mouseClick(d.okButton(), Qt::LeftButton); });
        clickSignalling(w, kRow, model::Side::Transmit);
        QCOMPARE(r[7] >> 4, 8);
        QCOMPARE(int(r[12]), number);
        QVERIFY(r == before);
        QCOMPARE(gridOf(w)->text(kRow, 6), cell);
        QCOMPARE(gridOf(w)->background(kRow, 6), app::colours::kGreen);

        // Choosing CTCSS replaces the 2-Tone signalling; the 2-Tone byte stays.
        whenOpen(f, [&](Dialog& d) {
            QTest::mouseClick(d.option(Dialog::Ctcss), Qt::LeftButton);
            typeInto(d.toneList(), "88.5");
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
        });
        clickSignalling(w, kRow, model::Side::Transmit);
        QCOMPARE(r[7] >> 4, 3);
        QCOMPARE(r[8], std::uint8_t(0x85));
        QCOMPARE(r[9], std::uint8_t(0x08));
        QCOMPARE(int(r[12]), number);
        QCOMPARE(gridOf(w)->text(kRow, 6), QString("CTCSS: 88.5"));
    }

    void okOnOffClearsOnlyTheKind()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Receive, "CTCSS: 100.0");
        model::Record& r = recordOf(w, kRow);
        const model::Record before = r;
        whenOpen(f, [&](Dialog& d) {
            QVERIFY(d.option(Dialog::Ctcss)->isChecked());
            QCOMPARE(d.toneList()->currentText(), QString("100.0"));
            QTest::mouseClick(d.option(Dialog::Off), Qt::LeftButton);
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
        });
        clickSignalling(w, kRow, model::Side::Receive);
        QCOMPARE(r[2] >> 4, 0);
        QCOMPARE(r[2] & 0x0F, before[2] & 0x0F);
        QCOMPARE(r[3], before[3]);
        QCOMPARE(r[4], before[4]);
        QCOMPARE(r[11], before[11]);
        QCOMPARE(gridOf(w)->text(kRow, 3), QString("OFF"));
        QCOMPARE(gridOf(w)->background(kRow, 3), app::colours::kRed);
    }

    void okChecksTheFieldAndGoesOn_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("messages");
        QTest::newRow("tone above") << int(Dialog::Ctcss) << "300"
                                    << "CTCSS: 254.1" << 0;
        QTest::newRow("tone below") << int(Dialog::Ctcss) << "5"
                                    << "CTCSS: 67.0" << 0;
        QTest::newRow("tone empty") << int(Dialog::Ctcss) << ""
                                    << "CTCSS: 67.0" << 1;
        QTest::newRow("tone points") << int(Dialog::Ctcss) << "7..1"
                                     << "CTCSS: 67.0" << 1;
        QTest::newRow("code empty") << int(Dialog::Cdcss) << ""
                                    << "CDCSS: 023" << 1;
        QTest::newRow("code short") << int(Dialog::Cdcss) << "7"
                                    << "CDCSS: 007" << 0;
        QTest::newRow("code zero") << int(Dialog::Cdcss) << "0"
                                   << "CDCSS: 000" << 0;
    }

    void okChecksTheFieldAndGoesOn()
    {
        QFETCH(int, option);
        QFETCH(QString, typed);
        QFETCH(QString, cell);
        QFETCH(int, messages);
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Receive, "OFF");
        whenOpen(f, [&](Dialog& d) {
            QTest::mouseClick(d.option(option), Qt::LeftButton);
            QComboBox* field = option == Dialog::Ctcss ? d.toneList() : d.codeList();
            typeInto(field, typed);
            QTest::keyClick(field, Qt::Key_Return); // OK is the default button
            QVERIFY(!d.isVisible());
            QVERIFY(!d.cancelPressed());
        });
        clickSignalling(w, kRow, model::Side::Receive);
        QCOMPARE(gridOf(w)->text(kRow, 3), cell);
        QCOMPARE(int(f.dialogs.messages.size()), messages);
        if (messages > 0) QVERIFY(f.dialogs.messages.back() == (option == Dialog::Ctcss ? kCtcssError : kCdcssEmpty));
        QCOMPARE(QString::fromStdString(model::formatSignalling(recordOf(w, kRow), model::Side::Receive)), cell);
    }

    void theToneListsLoadOnTheirFirstDropDown()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Receive, "CTCSS: 100.0");
        for (int round = 0; round < 2; ++round) {
            whenOpen(f, [&](Dialog& d) {
                QCOMPARE(d.toneList()->count(), 0); // each dialog starts with empty lists
                QCOMPARE(d.codeList()->count(), 0);
                d.toneList()->showPopup();
                QCOMPARE(d.toneList()->count(), 50);
                QCOMPARE(d.toneList()->itemText(0), QString("67.0"));
                QCOMPARE(d.toneList()->itemText(12), QString("100.0"));
                QCOMPARE(d.toneList()->itemText(49), QString("254.1"));
                QCOMPARE(d.toneList()->currentText(), QString("100.0")); // the field keeps its text
                // Choosing an entry puts it into the field.
                QAbstractItemView* view = d.toneList()->view();
                view->setCurrentIndex(view->model()->index(8, 0));
                QTest::keyClick(view, Qt::Key_Return);
                QCOMPARE(d.toneList()->currentText(), QString("88.5"));
                d.toneList()->showPopup(); // a second drop-down reads nothing more
                QCOMPARE(d.toneList()->count(), 50);
                d.toneList()->hidePopup();

                QTest::mouseClick(d.option(Dialog::Cdcss), Qt::LeftButton);
                d.codeList()->showPopup();
                QCOMPARE(d.codeList()->count(), 104);
                QCOMPARE(d.codeList()->itemText(0), QString("023"));
                QCOMPARE(d.codeList()->itemText(103), QString("754"));
                QCOMPARE(d.codeList()->currentText(), QString("023"));
                d.codeList()->hidePopup();
                d.reject();
            });
            clickSignalling(w, kRow, model::Side::Receive);
        }
        QVERIFY(f.dialogs.messages.empty());
    }

    void aMissingToneListIsReportedAndTypingStillWorks()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Receive, "OFF");
        DataFolder folder;
        whenOpen(f, [&](Dialog& d) {
            QTest::mouseClick(d.option(Dialog::Ctcss), Qt::LeftButton);
            d.toneList()->showPopup();
            QCOMPARE(f.dialogs.messages.size(), 1u);
            QVERIFY(f.dialogs.messages.back() == message("数据文件被破坏! 请重新安装 Korvane PC编程软件.", "错误"));
            QCOMPARE(d.toneList()->count(), 0);
            d.toneList()->hidePopup();
            typeInto(d.toneList(), "88.5");
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
        });
        clickSignalling(w, kRow, model::Side::Receive);
        QCOMPARE(gridOf(w)->text(kRow, 3), QString("CTCSS: 88.5"));
        QCOMPARE(recordOf(w, kRow)[3], std::uint8_t(0x85));

        whenOpen(f, [&](Dialog& d) {
            QTest::mouseClick(d.option(Dialog::Cdcss), Qt::LeftButton);
            d.codeList()->showPopup();
            QCOMPARE(f.dialogs.messages.size(), 2u);
            QVERIFY(f.dialogs.messages.back()
                == message("Data file is damaged! Please reinstall Korvane PC编程软件.", "Error"));
            d.codeList()->hidePopup();
            d.reject();
        });
        clickSignalling(w, kRow, model::Side::Receive);
    }

    void aCodeWithTheDigitEightOrNineIsRefused()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        putSignalling(w, kRow, model::Side::Transmit, "CDCSS: 754");
        DataFolder folder({ { "dqt.dat", QByteArray("023\r\n028\r\n091\r\n754\r\n") } });
        whenOpen(f, [&](Dialog& d) {
            d.codeList()->showPopup();
            QCOMPARE(entriesOf(d.codeList()), QStringList({ "023", "028", "091", "754" }));
            QAbstractItemView* view = d.codeList()->view();
            view->setCurrentIndex(view->model()->index(1, 0));
            QTest::keyClick(view, Qt::Key_Return);
            QCOMPARE(d.codeList()->currentText(), QString("028"));
            QTest::keyClick(d.codeList(), Qt::Key_Tab);
            QCOMPARE(f.dialogs.messages.size(), 1u);
            QVERIFY(f.dialogs.messages.back() == kCdcssError);
            QCOMPARE(d.codeList()->currentText(), QString("023"));

            d.codeList()->showPopup();
            view->setCurrentIndex(view->model()->index(2, 0));
            QTest::keyClick(view, Qt::Key_Return);
            QCOMPARE(d.codeList()->currentText(), QString("091"));
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
        });
        clickSignalling(w, kRow, model::Side::Transmit);
        QCOMPARE(f.dialogs.messages.size(), 2u);
        QVERIFY(f.dialogs.messages.back() == kCdcssError);
        QCOMPARE(gridOf(w)->text(kRow, 6), QString("CDCSS: 023"));
        QCOMPARE(recordOf(w, kRow)[8], std::uint8_t(0x13));
        QCOMPARE(recordOf(w, kRow)[9], std::uint8_t(0x00));
    }

    void theDialogOpensBesideTheCellOnTheScreen()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        w.move(0, 0);
        app::RecordGrid* grid = gridOf(w);
        QPoint seen;
        whenOpen(f, [&](Dialog& d) {
            seen = d.pos();
            d.reject();
        });
        clickSignalling(w, 2, model::Side::Receive);
        const QPoint cellCorner = grid->viewport()->mapToGlobal(QPoint(
            grid->columnViewportPosition(3) + grid->columnWidth(3), grid->rowViewportPosition(2) + grid->rowHeight(2)));
        QVERIFY2((seen - cellCorner).manhattanLength() <= 6,
            qPrintable(QString("dialog at %1,%2, cell corner at %3,%4")
                           .arg(seen.x())
                           .arg(seen.y())
                           .arg(cellCorner.x())
                           .arg(cellCorner.y())));
    }

    void theDialogIsKeptOnTheScreen_data()
    {
        QTest::addColumn<QPoint>("corner");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("room") << QPoint(100, 100) << QPoint(100, 100);
        QTest::newRow("right edge") << QPoint(900, 100) << QPoint(1024 - 300, 100);
        QTest::newRow("bottom: above the cell") << QPoint(100, 700) << QPoint(100, 700 - 20 - 200);
        QTest::newRow("bottom right") << QPoint(1000, 760) << QPoint(1024 - 300, 760 - 20 - 200);
        QTest::newRow("off to the left") << QPoint(-50, 100) << QPoint(0, 100);
    }

    void theDialogIsKeptOnTheScreen()
    {
        QFETCH(QPoint, corner);
        QFETCH(QPoint, expected);
        const QRect screen(0, 0, 1024, 768);
        const QPoint at = app::signalDialogPosition(corner, 20, QSize(300, 200), screen);
        QCOMPARE(at, expected);
        QVERIFY(screen.contains(QRect(at, QSize(300, 200))));
    }

    void aDialogOpenedLowOnTheScreenStaysOnIt()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        const QRect area = w.screen()->availableGeometry();
        w.move(area.right() - 200, area.bottom() - 200);
        QRect seen;
        whenOpen(f, [&](Dialog& d) {
            seen = d.frameGeometry();
            d.reject();
        });
        w.channelView()->grid()->setCurrentCell(16, 6);
        w.channelView()->editChannelCell();
        QVERIFY2(area.contains(seen),
            qPrintable(QString("%1,%2 %3x%4").arg(seen.x()).arg(seen.y()).arg(seen.width()).arg(seen.height())));
    }

    void inhibitedTransmitColumnsOpenNoDialog()
    {
        WindowFixture f;
        auto& w = startWindow(f);
        w.channelView()->txChan(kRow - 1)->click();
        clickSignalling(w, kRow, model::Side::Transmit);
        QVERIFY(f.dialogs.modalNames.empty());
        whenOpen(f, [&](Dialog& d) { d.reject(); });
        clickSignalling(w, kRow, model::Side::Receive);
        QCOMPARE(f.dialogs.modalNames.size(), 1u);
    }
};

QTEST_MAIN(SignalDialogTest)
#include "signal_dialog_test.moc"
