// The settings file: read once when the main window loads, written when it closes, kept where a
// Linux user's settings live.

#include "app/app_paths.h"
#include "app/main_window.h"
#include "support/test_files.h"
#include "support/widget_driver.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QtTest>

#include <sys/stat.h>

using korvane::test::readFile;
using korvane::test::WindowFixture;
using korvane::test::writeFile;

namespace {

ino_t inodeOf(const QString& path)
{
    struct stat st { };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT
private slots:
    void readAtLoad_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("password");
        QTest::newRow("as written") << QByteArray("comport=2\r\nfilename=/x/a.rdw\r\npassword=abc\r\n") << 2 << "abc";
        QTest::newRow("keys in any case")
            << QByteArray("COMPORT=3\r\nsomething else\r\nPASSWORD=Secret\r\n") << 3 << "Secret";
        QTest::newRow("port 0") << QByteArray("comport=0\r\nfilename=\r\npassword=p\r\n") << 1 << "p";
        QTest::newRow("port 7") << QByteArray("comport=7\r\nfilename=\r\npassword=p\r\n") << 1 << "p";
        QTest::newRow("port 4") << QByteArray("comport=4\r\n") << 4 << "";
        QTest::newRow("port in letters ends the reading") << QByteArray("comport=abc\r\npassword=p\r\n") << 1 << "";
        QTest::newRow("no port line") << QByteArray("hello\r\nfilename=\r\npassword=p\r\n") << 1 << "p";
        QTest::newRow("password only line") << QByteArray("password=solo\r\n") << 1 << "solo";
        QTest::newRow("password on line 2")
            << QByteArray("comport=2\r\npassword=two\r\npassword=three\r\n") << 2 << "two";
        QTest::newRow("password on line 3")
            << QByteArray("comport=2\r\nfilename=\r\npassword=three\r\n") << 2 << "three";
        QTest::newRow("line 4 is never read")
            << QByteArray("comport=2\r\nfilename=\r\nother\r\npassword=four\r\n") << 2 << "";
        QTest::newRow("empty password") << QByteArray("comport=1\r\nfilename=\r\npassword=\r\n") << 1 << "";
        QTest::newRow("a space belongs to the password")
            << QByteArray("comport=1\r\nfilename=\r\npassword= x \r\n") << 1 << " x ";
        QTest::newRow("values keep their case")
            << QByteArray("comport=1\r\nfilename=\r\nPassword=MiXeD\r\n") << 1 << "MiXeD";
        QTest::newRow("LF line ends") << QByteArray("comport=3\nfilename=\npassword=lf\n") << 3 << "lf";
        QTest::newRow("CR line ends") << QByteArray("comport=3\rfilename=\rpassword=cr\r") << 3 << "cr";
        QTest::newRow("leading BOM") << QByteArray("\xEF\xBB\xBF"
                                                   "comport=2\r\nfilename=\r\npassword=b\r\n")
                                     << 2 << "b";
        QTest::newRow("UTF-8 password") << QByteArray("comport=1\r\nfilename=\r\npassword=密码\r\n") << 1
                                        << QString("密码");
        QTest::newRow("blanks around the port") << QByteArray("comport= 2 \r\n") << 2 << "";
        QTest::newRow("empty file") << QByteArray() << 1 << "";
    }

    void readAtLoad()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, port);
        QFETCH(QString, password);
        WindowFixture f;
        writeFile(f.settingsPath(), content);
        auto& w = f.start();
        QCOMPARE(w.state().portNumber, port);
        QCOMPARE(w.state().password, password);
        // Line 2 is written but never read.
        QCOMPARE(w.state().currentFile, QString());
        QVERIFY(f.dialogs.messages.empty());
    }

    void missingFileGivesTheDefaults()
    {
        WindowFixture f;
        auto& w = f.start();
        QCOMPARE(w.state().portNumber, 1);
        QCOMPARE(w.state().password, QString());
        QVERIFY(f.dialogs.messages.empty());
    }

    void writtenAtExitEvenWithoutAFileAtStart()
    {
        WindowFixture f;
        auto& w = f.start();
        QVERIFY(!QFile::exists(f.settingsPath()));
        w.close();
        QCOMPARE(readFile(f.settingsPath()), QByteArray("comport=1\r\nfilename=\r\npassword=\r\n"));
    }

    void exitEntryWritesTheRunsState()
    {
        WindowFixture f;
        writeFile(f.settingsPath(), "COMPORT=3\r\nfilename=old\r\nPassword=Secret\r\n");
        auto& w = f.start([] { return 4; });
        f.dialogs.saveChoices.push_back(korvane::app::FileChoice { f.path("a.rdw"), 1 });
        w.action("mnuSave")->trigger();
        w.action("mnuExit")->trigger();
        QVERIFY(!w.isVisible());
        const QByteArray expected = "comport=3\r\nfilename=" + f.path("a.rdw").toUtf8() + "\r\npassword=Secret\r\n";
        QCOMPARE(readFile(f.settingsPath()), expected);
    }

    void writtenThroughATemporaryFileAndARename()
    {
        WindowFixture f;
        writeFile(f.settingsPath(), "comport=2\r\n");
        const ino_t before = inodeOf(f.settingsPath());
        QVERIFY(before != 0);
        auto& w = f.start();
        w.close();
        // A rename puts a new file in place; rewriting in place would keep the old one.
        QVERIFY(inodeOf(f.settingsPath()) != before);
        QCOMPARE(readFile(f.settingsPath()), QByteArray("comport=2\r\nfilename=\r\npassword=\r\n"));
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "korvane.ini" });
    }

    void folderCreatedWhenMissing()
    {
        QTemporaryDir dir;
        korvane::test::RecordingDialogs dialogs;
        const QString path = dir.filePath("config/korvane/korvane.ini");
        {
            korvane::app::MainWindow w(dialogs, { path, [] { return 0; } });
            w.show();
            w.close();
        }
        QCOMPARE(readFile(path), QByteArray("comport=1\r\nfilename=\r\npassword=\r\n"));
    }

    void unwritableFileIsIgnored()
    {
        WindowFixture f;
        // A folder where the file should be: writing fails without a message.
        QVERIFY(QDir(f.dir.path()).mkdir("korvane.ini"));
        auto& w = f.start();
        w.close();
        QVERIFY(!w.isVisible());
        QVERIFY(f.dialogs.messages.empty());
    }

    void livesInTheUsersConfigFolder()
    {
        QTemporaryDir dir;
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("cfg")));
        QCOMPARE(korvane::app::settingsFilePath(), dir.filePath("cfg") + "/korvane/korvane.ini");
        qunsetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(dir.path()));
        QCOMPARE(korvane::app::settingsFilePath(), dir.path() + "/.config/korvane/korvane.ini");
        qputenv("HOME", oldHome);
        if (oldConfig.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
    }
};

QTEST_MAIN(SettingsFileTest)
#include "settings_file_test.moc"
