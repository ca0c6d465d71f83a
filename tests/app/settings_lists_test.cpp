// The eleven function and scan lists: their labels and entries, the byte each choice writes, and
// what showing the image selects, including fields no entry can show.

#include "app/channel_view.h"
#include "support/widget_driver.h"
#include "support/window_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QtTest>

using korvane::test::chooseEntry;
using korvane::test::named;
using korvane::test::WindowFixture;

class SettingsListsTest : public QObject {
    Q_OBJECT
private slots:
    void labelsAndEntries_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QStringList>("entries");
        const auto range = [](int first, int last, int step, const QString& format) {
            QStringList out;
            for (int v = first; v <= last; v += step)
                out << format.arg(v / 10).arg(v % 10);
            return out;
        };
        QStringList priority { "关闭" };
        for (int ch = 1; ch <= 15; ++ch)
            priority << "信道 " + QString::number(ch);
        QTest::newRow("monitor") << "cboFuncMoni"
                                 << "lblFuncMoni"
                                 << "监听："
                                 << "fraFunction"
                                 << QStringList { "关闭监听功能", "暂态无条件监听", "稳态无条件监听",
                                        "暂态有条件监听" };
        QTest::newRow("time-out") << "cboFuncTOT"
                                  << "lblFuncTOT"
                                  << "发射限时："
                                  << "fraFunction"
                                  << QStringList { "关闭", "30s", "60s", "90s", "120s", "150s", "180s", "210s", "240s",
                                         "270s", "300s" };
        QTest::newRow("squelch") << "cboFuncSQL"
                                 << "lblFuncSQL"
                                 << "静噪等级："
                                 << "fraFunction" << QStringList { "1", "2", "3", "4", "5", "6", "7", "8", "9" };
        QTest::newRow("beep") << "cboFuncBeep"
                              << "lblFuncBeep"
                              << "提示音："
                              << "fraFunction" << QStringList { "无效", "有效" };
        QTest::newRow("save") << "cboFuncSave"
                              << "lblFuncSave"
                              << "省电功能："
                              << "fraFunction" << QStringList { "无效", "有效" };
        QTest::newRow("spacing") << "cboFuncBand"
                                 << "lblFuncBand"
                                 << "信道宽度："
                                 << "fraFunction" << QStringList { "25.0kHz", "12.5kHz" };
        QTest::newRow("scan mode") << "cboScanOption"
                                   << "lblScanOption"
                                   << "扫描模式："
                                   << "fraScan" << QStringList { "关闭扫描功能", "载波控制扫描", "时间控制扫描" };
        QTest::newRow("priority") << "cboScanPriority"
                                  << "lblScanPriority"
                                  << "优先信道："
                                  << "fraScan" << priority;
        QTest::newRow("scan-back") << "cboScanBack"
                                   << "lblScanBack"
                                   << "回扫周期："
                                   << "fraScan" << range(3, 50, 1, "%1.%2s");
        QTest::newRow("revert") << "cboScanRevert"
                                << "lblScanRevert"
                                << "恢复信道："
                                << "fraScan"
                                << QStringList { "最近接收呼叫信道", "最近使用信道", "第一扫描信道", "优先信道" };
        QTest::newRow("dwell") << "cboScanDelay"
                               << "lblScanDelay"
                               << "扫描停留时间："
                               << "fraScan" << range(5, 50, 5, "%1.%2s");
    }

    void labelsAndEntries()
    {
        QFETCH(QString, list);
        QFETCH(QString, label);
        QFETCH(QString, caption);
        QFETCH(QString, frame);
        QFETCH(QStringList, entries);
        WindowFixture f;
        auto& w = f.start();
        auto* box = named<QGroupBox>(&w, frame);
        auto* combo = named<QComboBox>(box, list);
        QVERIFY2(combo, qPrintable(list + " is not in " + frame));
        QCOMPARE(named<QLabel>(box, label)->text(), caption);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        QCOMPARE(shown, entries);
    }

    void choiceWritesItsField_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("time-out 300s") << "cboFuncTOT" << 10 << 7 << 0x06 << 0x30;
        QTest::newRow("time-out off") << "cboFuncTOT" << 0 << 7 << 0x06 << 0x00;
        QTest::newRow("time-out 90s") << "cboFuncTOT" << 3 << 7 << 0x06 << 0x09;
        QTest::newRow("priority channel 12") << "cboScanPriority" << 12 << 2 << 0x00 << 0x12;
        QTest::newRow("priority off") << "cboScanPriority" << 0 << 2 << 0x15 << 0x00;
        QTest::newRow("scan-back 5.0s") << "cboScanBack" << 47 << 3 << 0x05 << 0x50;
        QTest::newRow("scan-back 0.3s") << "cboScanBack" << 0 << 3 << 0x05 << 0x03;
        QTest::newRow("dwell 5.0s") << "cboScanDelay" << 9 << 6 << 0x30 << 0x50;
        QTest::newRow("dwell 0.5s") << "cboScanDelay" << 0 << 6 << 0x30 << 0x05;
        QTest::newRow("squelch 9 keeps bits 4-7") << "cboFuncSQL" << 8 << 11 << 0xA5 << 0xA9;
        QTest::newRow("squelch 1") << "cboFuncSQL" << 0 << 11 << 0x05 << 0x01;
        QTest::newRow("monitor off keeps bits 0-5") << "cboFuncMoni" << 0 << 0 << 0xC5 << 0x05;
        QTest::newRow("monitor latched") << "cboFuncMoni" << 2 << 0 << 0xC5 << 0x85;
        QTest::newRow("scan time-operated") << "cboScanOption" << 2 << 0 << 0xC5 << 0xE5;
        QTest::newRow("revert last received keeps bits 3-7") << "cboScanRevert" << 0 << 1 << 0xFB << 0xF9;
        QTest::newRow("revert priority") << "cboScanRevert" << 3 << 1 << 0x03 << 0x04;
        QTest::newRow("beep off") << "cboFuncBeep" << 0 << 12 << 0x28 << 0x08;
        QTest::newRow("battery save off") << "cboFuncSave" << 0 << 12 << 0x28 << 0x20;
        QTest::newRow("12.5 kHz") << "cboFuncBand" << 1 << 12 << 0x28 << 0x2A;
        QTest::newRow("25.0 kHz") << "cboFuncBand" << 0 << 12 << 0xFF << 0xFD;
    }

    void choiceWritesItsField()
    {
        QFETCH(QString, list);
        QFETCH(int, position);
        QFETCH(int, byte);
        QFETCH(int, before);
        QFETCH(int, after);
        WindowFixture f;
        auto& w = f.start();
        auto* combo = named<QComboBox>(&w, list);
        auto settings = w.image().settings;
        w.image().settings[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(before);
        settings[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(after);
        chooseEntry(combo, position);
        QCOMPARE(int { w.image().settings[static_cast<std::size_t>(byte)] }, after);
        QCOMPARE(w.image().settings, settings); // no other byte changes
        QCOMPARE(combo->currentIndex(), position);
        QCOMPARE(combo->toolTip(), combo->itemText(position));
    }

    void choosingTheShownEntryWritesItAgain()
    {
        WindowFixture f;
        auto& w = f.start();
        // The list shows "60s"; a byte that shows as 60s but is not its encoding is rewritten.
        w.image().settings[7] = 0x07;
        chooseEntry(named<QComboBox>(&w, "cboFuncTOT"), 2);
        QCOMPARE(int { w.image().settings[7] }, 0x06);
    }

    void refreshNormalisesBetweenEntries_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("rewritten");
        QTest::newRow("dwell 0x07") << "cboScanDelay" << 6 << 0x07 << "0.5s" << 0x05;
        QTest::newRow("dwell 0x08 rounds up") << "cboScanDelay" << 6 << 0x08 << "1.0s" << 0x10;
        QTest::newRow("time-out 0x10") << "cboFuncTOT" << 7 << 0x10 << "90s" << 0x09;
        QTest::newRow("time-out 0x01") << "cboFuncTOT" << 7 << 0x01 << "关闭" << 0x00;
    }

    void refreshNormalisesBetweenEntries()
    {
        QFETCH(QString, list);
        QFETCH(int, byte);
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QFETCH(int, rewritten);
        WindowFixture f;
        auto& w = f.start();
        w.image().settings[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(stored);
        w.refreshFromImage();
        auto* combo = named<QComboBox>(&w, list);
        QCOMPARE(combo->currentText(), shown);
        QCOMPARE(combo->toolTip(), shown);
        QCOMPARE(int { w.image().settings[static_cast<std::size_t>(byte)] }, rewritten);
    }

    void fieldNoEntryCanShow_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("stored");
        QTest::newRow("squelch nibble 0") << "cboFuncSQL" << 11 << 0x30;
        QTest::newRow("squelch nibble 10") << "cboFuncSQL" << 11 << 0x0A;
        QTest::newRow("scan mode 3") << "cboScanOption" << 0 << 0xF0;
        QTest::newRow("revert 0") << "cboScanRevert" << 1 << 0x08;
        QTest::newRow("revert 5") << "cboScanRevert" << 1 << 0x05;
        QTest::newRow("priority 16") << "cboScanPriority" << 2 << 0x16;
        QTest::newRow("priority not BCD") << "cboScanPriority" << 2 << 0x1A;
        QTest::newRow("scan-back 0.2s") << "cboScanBack" << 3 << 0x02;
        QTest::newRow("scan-back not BCD") << "cboScanBack" << 3 << 0xA5;
        QTest::newRow("dwell 6.0s") << "cboScanDelay" << 6 << 0x60;
        QTest::newRow("time-out 33") << "cboFuncTOT" << 7 << 0x33;
        QTest::newRow("time-out not BCD") << "cboFuncTOT" << 7 << 0x0F;
    }

    void fieldNoEntryCanShow()
    {
        QFETCH(QString, list);
        QFETCH(int, byte);
        QFETCH(int, stored);
        WindowFixture f;
        auto& w = f.start();
        w.image().settings[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(stored);
        const auto before = w.image().settings;
        w.refreshFromImage();
        auto* combo = named<QComboBox>(&w, list);
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(combo->toolTip(), QString());
        QCOMPARE(w.image().settings, before); // the byte stays as it is
        QVERIFY(f.dialogs.messages.empty());
        // Until the user chooses an entry, which writes its field.
        chooseEntry(combo, 1);
        QCOMPARE(combo->currentIndex(), 1);
        QVERIFY(w.image().settings != before);
        w.refreshFromImage();
        QCOMPARE(combo->currentIndex(), 1);
    }

    void spacingMarksEveryChannelNarrow()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* grid = named<korvane::app::RecordGrid>(&w, "gridChan");
        // Channels 1 and 2 open, the rest closed.
        for (int i : { 0, 1 })
            QTest::mouseClick(korvane::test::indexed<QCheckBox>(&w, "chkRecChan", i), Qt::LeftButton);
        chooseEntry(named<QComboBox>(&w, "cboFuncBand"), 1);
        for (int row = 1; row <= 16; ++row) {
            QCOMPARE(grid->text(row, 10), QString("Narrow"));
            QCOMPARE(w.image().channels[static_cast<std::size_t>(row - 1)][10] & 1, 1);
            const QColor expected = row <= 2 ? QColor(220, 220, 255) : QColor(255, 255, 255);
            QCOMPARE(grid->background(row, 10), expected);
        }
        // Back to 25.0 kHz: the channels stay Narrow.
        chooseEntry(named<QComboBox>(&w, "cboFuncBand"), 0);
        QCOMPARE(int { w.image().settings[12] } & 2, 0);
        for (int row = 1; row <= 16; ++row) {
            QCOMPARE(grid->text(row, 10), QString("Narrow"));
            QCOMPARE(w.image().channels[static_cast<std::size_t>(row - 1)][10] & 1, 1);
        }
    }

    void refreshRunsTheSpacingActionEvenUnchanged()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* grid = named<korvane::app::RecordGrid>(&w, "gridChan");
        chooseEntry(named<QComboBox>(&w, "cboFuncBand"), 1);
        // The list already shows 12.5 kHz; an image whose channels are Wide is shown anew.
        for (auto& record : w.image().channels)
            record[10] = 0x00;
        w.refreshFromImage();
        for (int row = 1; row <= 16; ++row) {
            QCOMPARE(grid->text(row, 10), QString("Narrow"));
            QCOMPARE(w.image().channels[static_cast<std::size_t>(row - 1)][10], std::uint8_t { 0x01 });
        }
    }

    void refreshSelectsInItsOrder()
    {
        WindowFixture f;
        auto& w = f.start();
        // Every list notes when showing the image selects its entry: the model list first, then
        // the settings lists in their order.
        QStringList order;
        const QStringList names { "cboRadiomodel", "cboFuncMoni", "cboFuncTOT", "cboFuncSQL", "cboFuncBeep",
            "cboFuncSave", "cboFuncBand", "cboScanOption", "cboScanDelay", "cboScanPriority", "cboScanBack",
            "cboScanRevert" };
        for (const QString& name : names) {
            auto* combo = named<QComboBox>(&w, name);
            connect(combo, &QComboBox::currentIndexChanged, &w, [&order, name] { order << name; });
            combo->setCurrentIndex(-1);
        }
        order.clear();
        w.refreshFromImage();
        QCOMPARE(order, names);
    }
};

QTEST_MAIN(SettingsListsTest)
#include "settings_lists_test.moc"
