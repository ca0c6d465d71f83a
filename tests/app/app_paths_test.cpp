#include "app/app_paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class AppPathsTest : public QObject {
    Q_OBJECT
private slots:
    void dataDirectoryFollowsTheLayout_data()
    {
        QTest::addColumn<QStringList>("files"); // made under a scratch root
        QTest::addColumn<QString>("exeDir");
        QTest::addColumn<QString>("overridden");
        QTest::addColumn<QString>("expected");
        QTest::newRow("build tree") << QStringList { "build/app/data/qt.dat", "build/app/data/manual/index.html" }
                                    << "build/app"
                                    << ""
                                    << "build/app/data";
        QTest::newRow("build tree, manual only") << QStringList { "build/app/data/manual/index.html" } << "build/app"
                                                 << ""
                                                 << "build/app/data";
        QTest::newRow("installed") << QStringList { "usr/bin/korvane", "usr/share/korvane/qt.dat",
            "usr/share/korvane/manual/index.html" }
                                   << "usr/bin"
                                   << ""
                                   << "usr/share/korvane";
        QTest::newRow("installed, nothing there yet") << QStringList {} << "opt/k/bin"
                                                      << ""
                                                      << "opt/k/share/korvane";
        QTest::newRow("an empty data folder beside it is not the build's")
            << QStringList { "usr/bin/data/readme" } << "usr/bin"
            << ""
            << "usr/share/korvane";
        QTest::newRow("override wins") << QStringList { "build/app/data/qt.dat" } << "build/app"
                                       << "elsewhere"
                                       << "elsewhere";
    }

    void dataDirectoryFollowsTheLayout()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, exeDir);
        QFETCH(QString, overridden);
        QFETCH(QString, expected);
        QTemporaryDir root;
        for (const QString& file : files)
            touch(root.filePath(file));
        const QString override = overridden.isEmpty() ? QString() : root.filePath(overridden);
        QCOMPARE(korvane::app::dataDirectoryFor(root.filePath(exeDir), override), root.filePath(expected));
    }

    void theManualLivesInTheDataFolder()
    {
        const QByteArray old = qgetenv("KORVANE_DATA_DIR");
        qputenv("KORVANE_DATA_DIR", "/somewhere/data");
        QCOMPARE(korvane::app::manualDirectory(), QString("/somewhere/data/manual"));
        qputenv("KORVANE_DATA_DIR", old);
    }
};

QTEST_MAIN(AppPathsTest)
#include "app_paths_test.moc"
