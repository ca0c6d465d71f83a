#include "app/about_dialog.h"
#include "app/help_commands.h"
#include "app/system_info.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using korvane::app::AboutDialog;
using korvane::app::SystemInfoLauncher;
using korvane::test::RecordingDialogs;
using korvane::test::WindowFixture;

namespace {

// Runs one test with PATH set to the given folders only.
class PathScope {
public:
    explicit PathScope(const QString& path)
        : m_old(qgetenv("PATH"))
    {
        qputenv("PATH", path.toLocal8Bit());
    }
    ~PathScope() { qputenv("PATH", m_old); }

private:
    QByteArray m_old;
};

// A stand-in for a system-information tool that leaves a mark when it runs.
QString writeFakeTool(const QString& dir, const QString& name, const QString& marker)
{
    const QString path = dir + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(QStringLiteral("#!/bin/sh\necho started > '%1'\n").arg(marker).toLocal8Bit());
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void aboutShowsItsTextsModally()
    {
        WindowFixture f;
        auto& w = f.start();
        bool ran = false;
        f.dialogs.modalScripts.push_back([&](QDialog& dialog) {
            ran = true;
            QCOMPARE(dialog.windowTitle(), QStringLiteral("关于 Korvane PC编程软件"));
            QCOMPARE(dialog.parentWidget(), static_cast<QWidget*>(&w));
            QCOMPARE(dialog.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Korvane PC编程软件"));
            QCOMPARE(dialog.findChild<QLabel*>("lblDescription")->text(),
                QStringLiteral("MX-310/310S/320/320S/330/330S VHF/UHF无线对讲机  电脑编程软件"));
            QCOMPARE(dialog.findChild<QPushButton*>("cmdSysInfo")->text(), QString("&System Info..."));
            auto* ok = dialog.findChild<QPushButton*>("cmdOK");
            QVERIFY(ok->isDefault());
            ok->click();
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        });
        w.action("mnuAbout")->trigger();
        QVERIFY(ran);
        QCOMPARE(f.dialogs.modalNames, std::vector<QString> { "frmAbout" });
        QVERIFY(f.dialogs.messages.empty());
    }

    void sysInfoWithoutAToolSaysSo()
    {
        QTemporaryDir nothing;
        PathScope path(nothing.path());
        WindowFixture f;
        auto& w = f.start();
        f.dialogs.modalScripts.push_back([&](QDialog& dialog) {
            dialog.findChild<QPushButton*>("cmdSysInfo")->click();
            QVERIFY(dialog.isVisible()); // the box stays open after the message
            dialog.findChild<QPushButton*>("cmdOK")->click();
        });
        w.action("mnuAbout")->trigger();
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages.front().text, std::string("System Infomation cann't be used."));
        QCOMPARE(f.dialogs.messages.front().title, std::string("System Info"));
    }

    void sysInfoStartsAnInstalledTool()
    {
        QTemporaryDir bin;
        const QString marker = bin.filePath("started");
        QVERIFY(!writeFakeTool(bin.path(), "hardinfo", marker).isEmpty());
        PathScope path(bin.path());
        RecordingDialogs dialogs;
        AboutDialog about(dialogs);
        about.sysInfoButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
        QVERIFY(dialogs.messages.empty());
    }

    void aToolThatWillNotStartSaysSo()
    {
        RecordingDialogs dialogs;
        QString started;
        AboutDialog about(dialogs,
            SystemInfoLauncher { [] { return QString("/opt/tool"); },
                [&](const QString& p) {
                    started = p;
                    return false;
                } });
        about.sysInfoButton()->click();
        QCOMPARE(started, QString("/opt/tool"));
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages.front().title, std::string("System Info"));
    }

    void theKnownToolsAreTriedInOrder()
    {
        QTemporaryDir bin;
        const QString marker = bin.filePath("unused");
        writeFakeTool(bin.path(), "hardinfo", marker);
        QCOMPARE(korvane::app::findSystemInfoTool({ bin.path() }), bin.filePath("hardinfo"));
        writeFakeTool(bin.path(), "kinfocenter", marker);
        QCOMPARE(korvane::app::findSystemInfoTool({ bin.path() }), bin.filePath("kinfocenter"));
        QTemporaryDir empty;
        QVERIFY(korvane::app::findSystemInfoTool({ empty.path() }).isEmpty());
    }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
