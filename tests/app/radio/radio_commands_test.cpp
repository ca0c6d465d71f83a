// Reading and programming a simulated radio from the window, end to end over a pseudo-terminal.

#include "app/channel_view.h"
#include "app/frequency_box.h"
#include "app/progress_window.h"
#include "app/settings_lists.h"
#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"
#include "core/model/record_layout.h"
#include "support/sim_radio.h"
#include "support/test_files.h"
#include "support/window_fixture.h"

#include <QtTest>

using korvane::test::openedImage;
using korvane::test::SimRadio;
using korvane::test::WindowFixture;
namespace model = korvane::model;
namespace files = korvane::files;

namespace {

const char* const kReadDone = "读频完成，按“确定”继续 ...";
const char* const kWriteDone = "写频完成，按“确定”继续 ...";

// Records the progress bar's values while an exchange runs, and what else the event loop did.
class ExchangeWatcher : public QObject {
public:
    explicit ExchangeWatcher(QWidget* window) : m_window(window)
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        m_timer.start();
    }
    std::vector<int> values;
    int ticks = 0;
    int paints = 0;
    std::function<void()> duringExchange;

private:
    void tick()
    {
        ++ticks;
        if (auto* progress = m_window->findChild<korvane::app::ProgressWindow*>()) {
            const int v = progress->bar()->value();
            if (values.empty() || values.back() != v)
                values.push_back(v);
            // The window still paints: grabbing it renders every widget now.
            if (!m_window->grab().isNull())
                ++paints;
            if (duringExchange) {
                auto once = std::move(duringExchange);
                duringExchange = nullptr;
                once();
            }
        }
    }
    QWidget* m_window;
    QTimer m_timer;
};

} // namespace

class RadioCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void readsANewerRadioOfAnotherModel()
    {
        SimRadio sim({ "--no-pace", "--newer", "--model", "3" });
        WindowFixture f;
        auto& w = f.start();
        ExchangeWatcher watch(&w);
        w.action("mnuRead")->trigger();
        QCOMPARE(f.dialogs.texts(), std::vector<std::string> { kReadDone });
        QCOMPARE(f.dialogs.messages.front().title, std::string("读频完成"));
        QCOMPARE(w.windowTitle(), QString("读频完成 - Korvane PC编程软件"));
        QCOMPARE(w.image().modelIndex, 3);
        QCOMPARE(w.modelList()->currentIndex(), 3);
        QCOMPARE(w.bandLabel()->text(), QString("450～470MHz"));
        QCOMPARE(w.channelView()->grid()->text(1, 1), QString("450.00000"));
        QCOMPARE(w.channelView()->grid()->text(16, 5), QString("6.25"));
        QVERIFY(w.image().alignment == model::defaultAlignmentTable(3));
        QVERIFY(!w.state().fiveKhzForm);
        QVERIFY(!w.state().readBusy);
        QVERIFY(!watch.values.empty());
        QVERIFY(watch.values.back() <= 594);
        QVERIFY(w.findChild<korvane::app::ProgressWindow*>() == nullptr);
    }

    void readsAnOlderRadio()
    {
        SimRadio sim({ "--no-pace", "--older", "--model", "5" });
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuRead")->trigger();
        QCOMPARE(f.dialogs.texts(), std::vector<std::string> { kReadDone });
        QCOMPARE(w.image().modelIndex, 5);
        QCOMPARE(w.bandLabel()->text(), QString("350～370MHz"));
        QCOMPARE(w.channelView()->grid()->text(3, 4), QString("360.00000"));
        QVERIFY(w.state().fiveKhzForm);
        QVERIFY(w.image().alignment == model::defaultAlignmentTable(5));
    }

    // A radio whose squelch field no list entry stands for: the read succeeds, the list shows
    // nothing, the byte is kept, and a data-error message follows the success message.
    void readOfAFieldNoListCanShow()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("odd.rdw");
        model::RadioImage odd = model::defaultImage(1);
        odd.settings[11] = 0x30; // squelch nibble 0
        QVERIFY(!files::saveDataFile(file.toStdString(), odd, files::FileKind::Rdw));
        SimRadio sim({ "--no-pace", "--newer", "--file", file });
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuRead")->trigger();
        QCOMPARE(f.dialogs.texts(), (std::vector<std::string> { kReadDone, "机器内部出现数据错误！" }));
        QCOMPARE(f.dialogs.messages.back().title, std::string("数据错误"));
        QCOMPARE(w.image().settings[11], std::uint8_t(0x30));
        QCOMPARE(w.settingsLists()->list(model::SettingsList::Squelch)->currentIndex(), -1);
        QCOMPARE(w.image().modelIndex, 1);
    }

    // A frequency typed but not committed when Read is chosen is dropped; when Write is chosen
    // it is stored and sent.
    void anOpenFrequencyEditIsDroppedByReadAndSentByWrite()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath("radio.rdw");
        SimRadio sim({ "--no-pace", "--newer", "--model", "0", "--save", saved });
        WindowFixture f;
        auto& w = f.start();
        auto* grid = w.channelView()->grid();
        w.channelView()->recChan(0)->click();

        grid->setCurrentCell(1, 1);
        w.channelView()->editChannelCell();
        QVERIFY(w.txtRecFreq()->isVisible());
        w.txtRecFreq()->setText("145.5");
        w.action("mnuRead")->trigger();
        QCOMPARE(f.dialogs.texts(), std::vector<std::string> { kReadDone });
        QVERIFY(!w.txtRecFreq()->isVisible());
        QCOMPARE(grid->text(1, 1), QString("140.00000"));
        QCOMPARE(model::formatFrequency(w.image().channels[0], model::Side::Receive), std::string("140.00000"));

        w.channelView()->recChan(0)->click(); // the radio's channel 1 is closed
        grid->setCurrentCell(1, 1);
        w.channelView()->editChannelCell();
        w.txtRecFreq()->setText("145.5");
        w.action("mnuWrite")->trigger();
        QCOMPARE(f.dialogs.texts().back(), std::string(kWriteDone));
        QCOMPARE(grid->text(1, 1), QString("145.50000"));
        sim.stop();
        QCOMPARE(model::formatFrequency(openedImage(saved).channels[0], model::Side::Receive), std::string("145.50000"));
    }

    void readFailuresLeaveTheImage()
    {
        struct Case {
            QStringList options;
            std::string text;
        };
        const Case cases[] = {
            { { "--no-pace", "--silent" }, "COM1 端口没有响应，请确保连接正确或机器电源是否打开！" },
            { { "--no-pace", "--older", "--short", "419" }, "读频错误，请重新读频！" },
            { { "--no-pace", "--newer", "--garbage" }, "读频错误，请重新读频！" },
            { { "--no-pace", "--newer", "--code", "9" }, "读频错误，请重新读频！" },
        };
        for (const Case& c : cases) {
            SimRadio sim(c.options);
            WindowFixture f;
            auto& w = f.start();
            // An edit of the user's that a failed read must not throw away.
            w.channelView()->recChan(2)->click();
            const model::RadioImage before = w.image();
            w.action("mnuRead")->trigger();
            QCOMPARE(f.dialogs.texts(), std::vector<std::string> { c.text });
            QVERIFY(w.image() == before);
            QCOMPARE(w.windowTitle(), QString("Korvane PC编程软件"));
            QVERIFY(!w.state().readBusy);
        }
    }

    void writesANewerRadioAndReadsItBack()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath("radio.rdw");
        SimRadio sim({ "--no-pace", "--newer", "--model", "0", "--save", saved });
        WindowFixture f;
        auto& w = f.start();
        w.channelView()->recChan(0)->click(); // open channel 1
        w.channelView()->grid()->setCurrentCell(1, 8);
        w.channelView()->editChannelCell(); // busy lock on
        ExchangeWatcher watch(&w);
        w.action("mnuWrite")->trigger();
        QCOMPARE(f.dialogs.texts(), std::vector<std::string> { kWriteDone });
        QCOMPARE(f.dialogs.messages.front().title, std::string("写频完成"));
        QVERIFY(f.dialogs.questions.empty());
        QCOMPARE(w.windowTitle(), QString("写频完成 - Korvane PC编程软件"));
        QCOMPARE(watch.values.back(), 600);
        sim.stop();
        const model::RadioImage radio = openedImage(saved);
        QVERIFY(radio.channels == w.image().channels);
        QVERIFY(radio.parameters == w.image().parameters);
        QVERIFY(std::equal(radio.settings.begin(), radio.settings.begin() + 16, w.image().settings.begin()));
    }

    void modelMismatchAsksBeforeWriting()
    {
        for (bool yes : { false, true }) {
            QTemporaryDir dir;
            const QString saved = dir.filePath("radio.rdw");
            SimRadio sim({ "--no-pace", "--newer", "--model", "2", "--save", saved });
            WindowFixture f;
            auto& w = f.start();
            f.dialogs.answers = { yes };
            w.action("mnuWrite")->trigger();
            QCOMPARE(f.dialogs.questions.size(), size_t(1));
            QCOMPARE(f.dialogs.questions[0].text, std::string("要写入的机型与当前连接的机型不符，是否强制写入？"));
            QCOMPARE(f.dialogs.questions[0].title, std::string("机型改变"));
            sim.stop();
            if (yes) {
                QCOMPARE(f.dialogs.texts(), std::vector<std::string> { kWriteDone });
                QCOMPARE(openedImage(saved).modelIndex, 0); // the radio takes the image's model
            } else {
                QVERIFY(f.dialogs.messages.empty());
                QVERIFY(!QFile::exists(saved) || openedImage(saved).modelIndex == 2);
            }
        }
    }

    void roundingForAnOlderRadio()
    {
        for (bool yes : { false, true }) {
            QTemporaryDir dir;
            const QString saved = dir.filePath("radio.rdw");
            SimRadio sim({ "--no-pace", "--older", "--model", "0", "--save", saved });
            WindowFixture f;
            auto& w = f.start();
            // Channel 2 on 146.0125 MHz: an odd count of 2.5 kHz units.
            model::encodeFrequency(146'012'500, w.image().channels[1], model::Side::Receive);
            w.refreshFromImage();
            QCOMPARE(w.channelView()->grid()->text(2, 1), QString("146.01250"));
            f.dialogs.answers = { yes };
            QString shownWithTheEnd; // the cell while "写频完成" is on the screen
            f.dialogs.onMessage = [&](const korvane::util::Message&) { shownWithTheEnd = w.channelView()->grid()->text(2, 1); };
            w.action("mnuWrite")->trigger();
            QCOMPARE(f.dialogs.questions.size(), size_t(1));
            QCOMPARE(f.dialogs.questions[0].title, std::string("旧对讲机"));
            sim.stop();
            if (yes) {
                QCOMPARE(shownWithTheEnd, QString("146.01000"));
                QCOMPARE(w.channelView()->grid()->text(2, 1), QString("146.01000"));
                QCOMPARE(model::formatFrequency(w.image().channels[1], model::Side::Receive), std::string("146.01000"));
                QCOMPARE(model::formatFrequency(openedImage(saved).channels[1], model::Side::Receive),
                         std::string("146.01000"));
                QVERIFY(w.state().fiveKhzForm);
            } else {
                QCOMPARE(w.channelView()->grid()->text(2, 1), QString("146.01250"));
                // Nothing was sent: the radio still holds its defaults.
                QVERIFY(openedImage(saved).channels == model::defaultImage(0).channels);
                QVERIFY(f.dialogs.messages.empty());
            }
        }
    }

    // During the write (about 6 s of the radio's own pauses) the window repaints and the event
    // loop runs, but keys, clicks and closing the window do nothing.
    void theWindowPaintsButTakesNoInputDuringAnExchange()
    {
        SimRadio sim({ "--newer", "--model", "0" });
        WindowFixture f;
        auto& w = f.start();
        auto* grid = w.channelView()->grid();
        w.channelView()->recChan(0)->click();
        const model::RadioImage before = w.image();
        ExchangeWatcher watch(&w);
        bool closedDuringExchange = true;
        watch.duringExchange = [&] {
            grid->setFocus();
            grid->setCurrentCell(1, 7);
            QTest::keyClick(grid, Qt::Key_Space);
            QTest::mouseClick(w.channelView()->recChan(5), Qt::LeftButton);
            QTest::keyClick(&w, Qt::Key_F, Qt::AltModifier);
            closedDuringExchange = w.close();
        };
        QElapsedTimer timer;
        timer.start();
        w.action("mnuWrite")->trigger();
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(elapsed > 5000, qPrintable(QString::number(elapsed)));
        QCOMPARE(f.dialogs.texts(), std::vector<std::string> { kWriteDone });
        QVERIFY(w.image() == before);
        QCOMPARE(grid->text(1, 7), QString("ADD"));
        QVERIFY(w.channelView()->recChan(5)->isChecked());
        QVERIFY(!closedDuringExchange);
        QVERIFY(w.isVisible());
        // Timers fired all along (every 20 ms, slower on a busy machine) and each grab painted
        // the whole window.
        QVERIFY2(watch.ticks > elapsed / 250, qPrintable(QString::number(watch.ticks)));
        QVERIFY2(watch.paints > elapsed / 250, qPrintable(QString::number(watch.paints)));
        QCOMPARE(watch.values.back(), 600);
    }
};

QTEST_MAIN(RadioCommandsTest)
#include "radio_commands_test.moc"
