// The main window as the program starts it: the image's defaults on every control, the menus,
// the toolbar, the status bar and the frames.

#include "app/channel_view.h"
#include "app/settings_lists.h"
#include "app/splash_window.h"
#include "core/model/defaults.h"
#include "support/widget_driver.h"
#include "support/window_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

using korvane::test::indexed;
using korvane::test::named;
using korvane::test::WindowFixture;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void everyChannelStartsClosed()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* grid = named<korvane::app::RecordGrid>(&w, "gridChan");
        QVERIFY(grid);
        for (int i = 0; i < 16; ++i) {
            auto* rec = indexed<QCheckBox>(&w, "chkRecChan", i);
            auto* tx = indexed<QCheckBox>(&w, "chkTxChan", i);
            QVERIFY(rec && tx);
            QVERIFY(rec->isChecked());
            QVERIFY(!tx->isChecked());
            QVERIFY(!tx->isEnabled());
            QCOMPARE(grid->text(i + 1, 1), QString("140.00000"));
            QCOMPARE(grid->text(i + 1, 2), QString("2.50"));
            QCOMPARE(grid->text(i + 1, 3), QString("OFF"));
            QCOMPARE(grid->text(i + 1, 10), QString("Wide"));
            // A closed channel is written white on white.
            QCOMPARE(grid->foreground(i + 1, 1), QColor(255, 255, 255));
            for (int c = 2; c <= 10; ++c) {
                QCOMPARE(grid->foreground(i + 1, c), QColor(255, 255, 255));
                QCOMPARE(grid->background(i + 1, c), QColor(255, 255, 255));
            }
        }
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(f.dialogs.questions.empty());
    }

    void imageHoldsTheFirstModelsDefaults()
    {
        WindowFixture f;
        auto& w = f.start();
        QCOMPARE(w.image(), korvane::model::defaultImage(0));
        QCOMPARE(w.state().portNumber, 1);
        QCOMPARE(w.state().portCount, 0);
        QCOMPARE(w.state().password, QString());
        QCOMPARE(w.state().currentFile, QString());
        QCOMPARE(w.state().recent.newest(), -1);
        QVERIFY(!w.state().fiveKhzForm);
        QVERIFY(!w.state().readBusy);
        QVERIFY(w.state().loadComplete);
    }

    void modelListAndBand()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* list = named<QComboBox>(&w, "cboRadiomodel");
        QVERIFY(list);
        const QStringList entries { "MX-310(1)/MX-310S(1)", "MX-310(2)/MX-310S(2)", "MX-320(1)/MX-320S(1)",
            "MX-320(2)/MX-320S(2)", "MX-320(3)/MX-320S(3)", "MX-330(1)/MX-330S(1)", "MX-330(2)/MX-330S(2)" };
        QCOMPARE(list->count(), entries.size());
        for (int i = 0; i < entries.size(); ++i)
            QCOMPARE(list->itemText(i), entries[i]);
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(list->toolTip(), entries[0]);
        QCOMPARE(named<QLabel>(&w, "lblBandvalue")->text(), QString("136～150MHz"));
        QCOMPARE(named<QLabel>(&w, "lblRadiomodel")->text(), QString("机型："));
        QCOMPARE(named<QGroupBox>(&w, "fraModel")->title(), QString("机型选择"));
    }

    void defaultsInEveryList_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("text");
        QTest::newRow("monitor") << "cboFuncMoni"
                                 << "暂态有条件监听";
        QTest::newRow("time-out") << "cboFuncTOT"
                                  << "60s";
        QTest::newRow("squelch") << "cboFuncSQL"
                                 << "5";
        QTest::newRow("key beep") << "cboFuncBeep"
                                  << "有效";
        QTest::newRow("battery save") << "cboFuncSave"
                                      << "有效";
        QTest::newRow("spacing") << "cboFuncBand"
                                 << "25.0kHz";
        QTest::newRow("scan mode") << "cboScanOption"
                                   << "关闭扫描功能";
        QTest::newRow("dwell") << "cboScanDelay"
                               << "3.0s";
        QTest::newRow("priority") << "cboScanPriority"
                                  << "关闭";
        QTest::newRow("scan-back") << "cboScanBack"
                                   << "0.5s";
        QTest::newRow("revert") << "cboScanRevert"
                                << "第一扫描信道";
    }

    void defaultsInEveryList()
    {
        QFETCH(QString, list);
        QFETCH(QString, text);
        WindowFixture f;
        auto& w = f.start();
        auto* combo = named<QComboBox>(&w, list);
        QVERIFY(combo);
        QCOMPARE(combo->currentText(), text);
        QCOMPARE(combo->toolTip(), text);
    }

    void frames()
    {
        WindowFixture f;
        auto& w = f.start();
        QCOMPARE(w.objectName(), QString("mainFrm"));
        QCOMPARE(w.windowTitle(), QString("Korvane PC编程软件"));
        QCOMPARE(w.size(), QSize(800, 600));
        QVERIFY(named<QWidget>(&w, "Frame1"));
        QVERIFY(named<QWidget>(&w, "fraChanFunc")->isVisible());
        QCOMPARE(named<QGroupBox>(&w, "fraChan")->title(), QString("信道数据设置"));
        QCOMPARE(named<QGroupBox>(&w, "fraFunction")->title(), QString("功能设置"));
        QCOMPARE(named<QGroupBox>(&w, "fraScan")->title(), QString("扫描参数设置"));
        // The focus sink takes the focus but never shows to the user.
        auto* sink = named<QPushButton>(&w, "Command1");
        QVERIFY(sink);
        QVERIFY(sink->focusPolicy() & Qt::TabFocus);
        QVERIFY(!sink->geometry().intersects(sink->parentWidget()->rect()));
    }

    void menus_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("menu");
        QTest::newRow("open") << "mnuOpen"
                              << "打开(&O)"
                              << "mnuFile";
        QTest::newRow("save") << "mnuSave"
                              << "另存(&S)"
                              << "mnuFile";
        QTest::newRow("export csv") << "mnuExportCsv"
                                    << "导出CSV..."
                                    << "mnuFile";
        QTest::newRow("import csv") << "mnuImportCsv"
                                    << "导入CSV..."
                                    << "mnuFile";
        QTest::newRow("print") << "mnuPrint"
                               << "打印(&P)"
                               << "mnuFile";
        QTest::newRow("exit") << "mnuExit"
                              << "退出(&X)"
                              << "mnuFile";
        QTest::newRow("read") << "mnuRead"
                              << "读频(&R)"
                              << "mnuProgram";
        QTest::newRow("write") << "mnuWrite"
                               << "写频(&W)"
                               << "mnuProgram";
        QTest::newRow("channels") << "mnuChan"
                                  << "信道数据(&H)"
                                  << "mnuEditor";
        QTest::newRow("alignment") << "mnuTune"
                                   << "调整模式(&T)"
                                   << "mnuEditor";
        QTest::newRow("password") << "mnuPass"
                                  << "调整模式密码(&D)"
                                  << "mnuEditor";
        QTest::newRow("port") << "mnuPort"
                              << "选择端口(&P)"
                              << "mnuCom";
        QTest::newRow("contents") << "mnuContent"
                                  << "目录(&C)..."
                                  << "mnuHelp";
        QTest::newRow("index") << "mnuIndex"
                               << "索引(&I)..."
                               << "mnuHelp";
        QTest::newRow("about") << "mnuAbout"
                               << "关于(&A)"
                               << "mnuHelp";
    }

    void menus()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, menu);
        WindowFixture f;
        auto& w = f.start();
        auto* m = named<QMenu>(&w, menu);
        QVERIFY(m);
        QAction* entry = nullptr;
        for (QAction* a : m->actions())
            if (a->objectName() == name) entry = a;
        QVERIFY2(entry, qPrintable(name + " is not in " + menu));
        QCOMPARE(entry->text(), caption);
        // Only the password entry starts hidden: it belongs to alignment mode.
        QCOMPARE(entry->isVisible(), name != "mnuPass");
    }

    void menuBarOrderAndSeparators()
    {
        WindowFixture f;
        auto& w = f.start();
        QStringList titles;
        for (QAction* a : w.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, QStringList({ "文件(&F)", "编程(&P)", "编辑(&E)", "端口选择(&C)", "帮助(&H)" }));
        QStringList fileEntries;
        for (QAction* a : named<QMenu>(&w, "mnuFile")->actions())
            fileEntries << a->objectName();
        QCOMPARE(fileEntries,
            QStringList({ "mnuOpen", "mnuSave", "mnuExportCsv", "mnuImportCsv", "null0", "mnuPrint", "mnuNULL", "mnuFileMRU", "mnuFileMRU",
                "mnuFileMRU", "mnuFileMRU", "null2", "mnuExit" }));
        // No recent file yet: the four entries and their separator are hidden.
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!w.recentEntry(i)->isVisible());
            QCOMPARE(w.recentEntry(i)->property("index").toInt(), i);
        }
        QVERIFY(!w.action("mnuNULL")->isVisible());
    }

    void toolBar()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* bar = named<QToolBar>(&w, "tbToolBar");
        QVERIFY(bar);
        const QList<QAction*> buttons = bar->actions();
        QCOMPARE(buttons.size(), 9);
        QStringList keys;
        QStringList captions;
        int separators = 0;
        for (QAction* a : buttons) {
            if (a->isSeparator()) {
                ++separators;
                continue;
            }
            keys << a->data().toString();
            captions << a->text();
            QVERIFY(!a->icon().isNull());
        }
        QCOMPARE(separators, 4);
        QCOMPARE(keys, QStringList({ "Open", "Save", "Print", "Read", "Write" }));
        QCOMPARE(captions, QStringList({ "打开", "另存", "打印", "读频", "写频" }));
        // Print is the fifth button counting the separators.
        QCOMPARE(buttons.at(4)->data().toString(), QString("Print"));
    }

    void toolBarButtonsRunTheMenuHandlers()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* bar = named<QToolBar>(&w, "tbToolBar");
        // Open: the same open dialog as the menu entry.
        for (QAction* a : bar->actions())
            if (a->data().toString() == "Open") a->trigger();
        QCOMPARE(f.dialogs.fileRequests.size(), std::size_t { 1 });
        QCOMPARE(f.dialogs.fileRequests.back().title, QString("打开"));
        for (QAction* a : bar->actions())
            if (a->data().toString() == "Save") a->trigger();
        QCOMPARE(f.dialogs.fileRequests.size(), std::size_t { 2 });
        QCOMPARE(f.dialogs.fileRequests.back().title, QString("Save As"));
    }

    void statusBar()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* bar = named<QStatusBar>(&w, "sbStatusBar");
        QVERIFY(bar);
        QStringList texts;
        for (QLabel* panel : bar->findChildren<QLabel*>())
            texts << panel->text();
        QVERIFY(texts.contains("Korvane PC编程软件"));
        QCOMPARE(named<QLabel>(bar, "sbDate")->text(), QDate::currentDate().toString("yyyy-MM-dd"));
        QVERIFY(!named<QLabel>(bar, "sbTime")->text().isEmpty());
    }

    void splashCarriesTheTitle()
    {
        korvane::app::SplashWindow splash;
        QCOMPARE(splash.objectName(), QString("frmSplash"));
        QCOMPARE(named<QLabel>(&splash, "lblProductName")->text(), QString("Korvane PC编程软件"));
    }

    void clickOnAFrameMovesTheFocusToTheSink_data()
    {
        QTest::addColumn<QString>("frame");
        for (const char* name :
            { "Frame1", "fraChanFunc", "fraModel", "fraChan", "fraFunction", "fraScan", "tbToolBar" })
            QTest::newRow(name) << name;
    }

    void clickOnAFrameMovesTheFocusToTheSink()
    {
        QFETCH(QString, frame);
        WindowFixture f;
        auto& w = f.start();
        w.resize(1100, 900); // every frame shows somewhere
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* grid = named<korvane::app::RecordGrid>(&w, "gridChan");
        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
        auto* target = named<QWidget>(&w, frame);
        QVERIFY(target);
        // A point of the frame itself, not of a control inside it.
        QPoint at(-1, -1);
        for (int y = 2; y < target->height() && at.x() < 0; y += 3)
            for (int x = target->width() - 2; x > 0 && at.x() < 0; x -= 3)
                if (!target->childAt(x, y)) at = QPoint(x, y);
        QVERIFY2(at.x() >= 0, qPrintable(frame + " has no empty spot"));
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
        QTRY_VERIFY(named<QPushButton>(&w, "Command1")->hasFocus());
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
