// The port choice `frmOption1`: which options it enables and selects, and what OK, Cancel and
// the close box leave in the configured port number.

#include "app/port_dialog.h"
#include "support/widget_driver.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using korvane::app::PortDialog;
using korvane::test::indexed;
using korvane::test::named;
using korvane::test::WindowFixture;

namespace {

struct Seen {
    bool shown = false;
    int checked = 0; // the option that was selected, 0 for none
    QList<bool> enabled;
};

// Notes what the dialog shows, then clicks the option `click` (0: none) and the button `button`
// ("cmdOK", "cmdCancel", or "" for the close box).
std::function<void(QDialog&)> script(Seen& seen, int click, const QString& button)
{
    return [&seen, click, button](QDialog& dialog) {
        seen.shown = true;
        for (int port = 1; port <= 4; ++port) {
            auto* option = indexed<QRadioButton>(&dialog, "optCOMM", port);
            seen.enabled << option->isEnabled();
            if (option->isChecked()) seen.checked = port;
        }
        if (click > 0) QTest::mouseClick(indexed<QRadioButton>(&dialog, "optCOMM", click), Qt::LeftButton);
        if (button.isEmpty())
            dialog.close();
        else
            QTest::mouseClick(named<QPushButton>(&dialog, button), Qt::LeftButton);
    };
}

void writeSettings(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class PortDialogTest : public QObject {
    Q_OBJECT
private slots:
    void captionsAndButtons()
    {
        PortDialog dialog;
        QCOMPARE(dialog.objectName(), QString("frmOption1"));
        QCOMPARE(dialog.windowTitle(), QString("通讯端口选择"));
        QCOMPARE(named<QGroupBox>(&dialog, "fraCOMoption")->title(), QString("端口选择"));
        for (int port = 1; port <= 4; ++port) {
            auto* option = indexed<QRadioButton>(&dialog, "optCOMM", port);
            QVERIFY(option);
            QCOMPARE(option->text(), "COM" + QString::number(port));
            QVERIFY(!option->isEnabled()); // until the dialog shows
        }
        auto* ok = named<QPushButton>(&dialog, "cmdOK");
        auto* cancel = named<QPushButton>(&dialog, "cmdCancel");
        QCOMPARE(ok->text(), QString("确定"));
        QCOMPARE(ok->toolTip(), QString("按此键保存改变"));
        QVERIFY(ok->isDefault());
        QCOMPARE(cancel->text(), QString("取消"));
        QCOMPARE(cancel->toolTip(), QString("按此键取消改变"));
        QVERIFY(dialog.cancelPressed());
    }

    void propertiesClamp_data()
    {
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("read");
        QTest::newRow("-3") << -3 << 1;
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("3") << 3 << 3;
        QTest::newRow("4") << 4 << 4;
        QTest::newRow("5") << 5 << 4;
        QTest::newRow("100") << 100 << 4;
    }

    void propertiesClamp()
    {
        QFETCH(int, written);
        QFETCH(int, read);
        PortDialog dialog;
        dialog.setComi(written);
        dialog.setXComi(written);
        QCOMPARE(dialog.comi(), read);
        QCOMPARE(dialog.xComi(), read);
    }

    void enablesThePortsFound_data()
    {
        QTest::addColumn<int>("portCount");
        QTest::addColumn<QList<bool>>("enabled");
        QTest::newRow("no ports: COM1 still") << 0 << QList<bool> { true, false, false, false };
        QTest::newRow("COM1 and COM2") << 2 << QList<bool> { true, true, false, false };
        QTest::newRow("all four") << 4 << QList<bool> { true, true, true, true };
    }

    void enablesThePortsFound()
    {
        QFETCH(int, portCount);
        QFETCH(QList<bool>, enabled);
        WindowFixture f;
        auto& w = f.start([portCount] { return portCount; });
        QCOMPARE(w.state().portCount, portCount);
        Seen seen;
        f.dialogs.modalScripts.push_back(script(seen, 0, "cmdCancel"));
        w.action("mnuPort")->trigger();
        QVERIFY(seen.shown);
        QCOMPARE(f.dialogs.modalNames, std::vector<QString> { "frmOption1" });
        QCOMPARE(seen.enabled, enabled);
        QCOMPARE(seen.checked, 1);
    }

    void selectsTheConfiguredPort()
    {
        WindowFixture f;
        writeSettings(f.settingsPath(), "comport=3\r\n");
        auto& w = f.start([] { return 2; });
        Seen seen;
        f.dialogs.modalScripts.push_back(script(seen, 0, "cmdOK"));
        w.action("mnuPort")->trigger();
        // Selected even though only COM1 and COM2 exist.
        QCOMPARE(seen.checked, 3);
        QCOMPARE(w.state().portNumber, 3);
    }

    void okTakesTheChosenPort()
    {
        WindowFixture f;
        auto& w = f.start([] { return 4; });
        Seen seen;
        f.dialogs.modalScripts.push_back(script(seen, 2, "cmdOK"));
        w.action("mnuPort")->trigger();
        QCOMPARE(w.state().portNumber, 2);
        // The choice is written at exit.
        w.close();
        QFile file(f.settingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("comport=2\r\n"));
    }

    void cancelAndCloseBoxChangeNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Cancel") << "cmdCancel";
        QTest::newRow("close box") << "";
    }

    void cancelAndCloseBoxChangeNothing()
    {
        QFETCH(QString, button);
        WindowFixture f;
        auto& w = f.start([] { return 4; });
        Seen seen;
        f.dialogs.modalScripts.push_back(script(seen, 4, button));
        w.action("mnuPort")->trigger();
        QVERIFY(seen.shown);
        QCOMPARE(w.state().portNumber, 1);
    }

    void disabledOptionsCannotBeChosen()
    {
        WindowFixture f;
        auto& w = f.start([] { return 1; });
        Seen seen;
        f.dialogs.modalScripts.push_back(script(seen, 3, "cmdOK"));
        w.action("mnuPort")->trigger();
        QCOMPARE(w.state().portNumber, 1);
    }

    void eachShowingStartsCancelled()
    {
        PortDialog dialog;
        dialog.setXComi(2);
        dialog.show();
        QTest::mouseClick(named<QPushButton>(&dialog, "cmdOK"), Qt::LeftButton);
        QVERIFY(!dialog.cancelPressed());
        dialog.show();
        QVERIFY(dialog.cancelPressed());
        dialog.reject();
    }
};

QTEST_MAIN(PortDialogTest)
#include "port_dialog_test.moc"
