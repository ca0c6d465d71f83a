// What a transcript cannot show: boxes during an exchange, the port choice following a cable, the settings file.

#include "app/app_paths.h"
#include "app/application_setup.h"
#include "app/link_runner.h"
#include "app/port_dialog.h"
#include "app/qt_user_dialogs.h"
#include "core/link/link_messages.h"
#include "core/serial/port_map.h"
#include "support/window_fixture.h"

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

using namespace korvane;

namespace {

void clickOnWindow(QWidget& target)
{
    QWidget* top = target.window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, target.mapTo(top, target.rect().center()));
}

ino_t inodeOf(const QString& path)
{
    struct stat st { };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class MiscTest : public QObject {
    Q_OBJECT
private slots:
    void boxesDuringAnExchangeTakeWindowSystemInput_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("yes");
        for (const auto& [how, yes] : { std::pair { "Return", true }, { "Space", true }, { "click", true },
                 { "Escape", false }, { "clickNo", false } })
            QTest::newRow(how) << QString(how) << yes;
    }
    void boxesDuringAnExchangeTakeWindowSystemInput()
    {
        QFETCH(QString, how);
        QFETCH(bool, yes);
        QVERIFY(app::loadQtChineseTexts());
        QWidget owner;
        auto* button = new QPushButton("x", &owner);
        int ownerClicks = 0;
        connect(button, &QPushButton::clicked, [&] { ++ownerClicks; });
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        // Plays the user on each box through its window; a box that stays up is closed by force.
        int played = 0, waited = 0;
        QStringList buttons;
        QPointer<QMessageBox> seen;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || (box == seen && ++waited < 100)) return;
            if (box == seen) return box->done(QMessageBox::No), void(played = -99);
            seen = box, waited = 0, ++played;
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            clickOnWindow(*button); // deaf while the exchange runs
            if (how.startsWith("click"))
                clickOnWindow(*box->button(box->button(QMessageBox::Ok) ? QMessageBox::Ok
                        : how == "click"                                ? QMessageBox::Yes
                                                                        : QMessageBox::No));
            else
                QTest::keyClick(box->windowHandle(),
                    how == "Return"      ? Qt::Key_Return
                        : how == "Space" ? Qt::Key_Space
                                         : Qt::Key_Escape);
        });
        timer.start(20);
        app::QtUserDialogs dialogs;
        app::LinkRunner runner(&owner, dialogs);
        bool answer = !yes;
        runner.run([&](link::LinkUi& ui) {
            if (how != "Escape" && how != "clickNo") ui.showMessage(link::readComplete());
            answer = ui.askYesNo(link::roundingQuestion());
        });
        QCOMPARE(played, how == "Escape" || how == "clickNo" ? 1 : 2);
        QCOMPARE(buttons.join('|').remove('&'), QString(played == 1 ? "是(Y)|否(N)" : "确定|是(Y)|否(N)"));
        QCOMPARE(answer, yes);
        QCOMPARE(ownerClicks, 0);
        clickOnWindow(*button); // and hears again afterwards
        QCOMPARE(ownerClicks, 1);
    }

    // A device node coming (with a fake sysfs entry) or going relabels its option; a named path is watched too.
    void portChoiceFollowsDevicesComingAndGoing()
    {
        QTemporaryDir dir;
        const auto at = [&](const QString& name) { return dir.filePath(name).toStdString(); };
        const serial::PortMapSource source { at("dev"), at("sys"), [&](const std::string& name) {
                                              return name == "KORVANE_COM3" ? std::optional(at("other/com3"))
                                                                            : std::optional<std::string>();
                                          } };
        std::filesystem::create_directories(at("other"));
        const std::filesystem::path adapter = at("sys/devices/usb1/1-1");
        std::filesystem::create_directories(adapter / "1-1:1.0/ttyUSB0");
        std::filesystem::create_directories(at("sys/class/tty/ttyUSB0"));
        std::filesystem::create_directory_symlink(adapter / "1-1:1.0/ttyUSB0", at("sys/class/tty/ttyUSB0/device"));
        std::ofstream(adapter / "product") << "FT232R USB UART\n";
        std::ofstream(adapter / "manufacturer") << "FTDI\n";
        std::filesystem::create_directories(at("dev"));
        test::RecordingDialogs dialogs;
        app::PortDialog dialog(
            dialogs, app::defaultPortFactory(), source, [&] { return int(serial::serialDevices(source).size()); });
        dialog.setComi(2);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.deviceLabel(1)->text(), QString("未连接"));
        QCOMPARE(dialog.deviceLabel(3)->text(), dir.filePath("other/com3") + "  （设备不存在）");
        std::ofstream(at("other/com3")) << "";
        QTRY_COMPARE(dialog.deviceLabel(3)->text(), dir.filePath("other/com3"));
        QVERIFY(dialog.option(1)->isEnabled() && !dialog.option(2)->isEnabled());
        std::ofstream(at("dev/ttyUSB0")) << "";
        std::ofstream(at("dev/ttyUSB1")) << "";
        QTRY_COMPARE(dialog.deviceLabel(1)->text(), dir.filePath("dev/ttyUSB0") + "  FT232R USB UART (FTDI)");
        QTRY_COMPARE(dialog.deviceLabel(2)->text(), dir.filePath("dev/ttyUSB1"));
        QVERIFY(dialog.option(2)->isEnabled() && dialog.option(2)->isChecked());
        std::filesystem::remove(at("dev/ttyUSB0"));
        QTRY_COMPARE(dialog.deviceLabel(2)->text(), QString("未连接"));
        QCOMPARE(dialog.deviceLabel(1)->text(), dir.filePath("dev/ttyUSB1"));
        QVERIFY(!dialog.option(2)->isEnabled());
    }

    void settingsFileLivesInTheUsersConfigFolderAndIsReplacedWhole()
    {
        QTemporaryDir dir;
        const QByteArray home = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("cfg")));
        QCOMPARE(app::settingsFilePath(), dir.filePath("cfg") + "/korvane/korvane.ini");
        qunsetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(dir.path()));
        QCOMPARE(app::settingsFilePath(), dir.path() + "/.config/korvane/korvane.ini");
        qputenv("HOME", home);
        // Its folder is made when missing; an existing file is replaced by a rename, not rewritten.
        test::RecordingDialogs dialogs;
        const QString path = dir.filePath("config/korvane/korvane.ini");
        for (int run = 0; run < 2; ++run) {
            const ino_t before = inodeOf(path);
            app::MainWindow w(dialogs, { path, [] { return 0; } });
            w.show();
            w.close();
            QVERIFY(QFile::exists(path));
            QVERIFY(inodeOf(path) != before);
        }
    }

    // The data folder beside a build's executable, else the installed share folder, unless overridden.
    void dataDirectoryFollowsTheLayout()
    {
        const char* const rows[][4] = {
            { "build/app/data/qt.dat", "build/app", "", "build/app/data" },
            { "build/app/data/manual/index.html", "build/app", "", "build/app/data" },
            { "usr/bin/data/readme", "usr/bin", "", "usr/share/korvane" },
            { "build/app/data/qt.dat", "build/app", "elsewhere", "elsewhere" },
        };
        for (const auto& [files, exeDir, overridden, expected] : rows) {
            QTemporaryDir root;
            for (const QString& file : QString(files).split(' ', Qt::SkipEmptyParts)) {
                QDir().mkpath(QFileInfo(root.filePath(file)).path());
                QFile(root.filePath(file)).open(QIODevice::WriteOnly);
            }
            const QString override = *overridden ? root.filePath(overridden) : QString();
            QCOMPARE(app::dataDirectoryFor(root.filePath(exeDir), override), root.filePath(expected));
        }
        qputenv("KORVANE_DATA_DIR", "/somewhere/data");
        QCOMPARE(app::manualDirectory(), QString("/somewhere/data/manual"));
    }
};

QTEST_MAIN(MiscTest)
#include "misc_test.moc"
