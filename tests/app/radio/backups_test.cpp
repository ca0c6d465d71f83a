// The window keeps every read-out and every image about to be written as a backup file, and
// says once when it cannot.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "support/sim_radio.h"
#include "support/test_files.h"
#include "support/window_fixture.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using korvane::test::openedImage;
using korvane::test::SimRadio;
using korvane::test::WindowFixture;
namespace model = korvane::model;
namespace files = korvane::files;

namespace {

const char* const kReadDone = "读频完成，按“确定”继续 ...";
const char* const kWriteDone = "写频完成，按“确定”继续 ...";

QStringList backups(const WindowFixture& f) { return QDir(f.backupFolder()).entryList(QDir::Files, QDir::Name); }

} // namespace

class BackupsTest : public QObject {
    Q_OBJECT
private slots:
    void readAndWriteAreKept()
    {
        SimRadio sim({ "--no-pace", "--newer", "--model", "3" });
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuRead")->trigger();
        QCOMPARE(f.dialogs.texts(), std::vector<std::string> { kReadDone });
        QStringList kept = backups(f);
        QCOMPARE(kept.size(), 1);
        QVERIFY2(kept.front().endsWith("read.rdw"), qPrintable(kept.front()));
        const model::RadioImage read = openedImage(QDir(f.backupFolder()).filePath(kept.front()));
        QVERIFY(read.channels == w.image().channels);
        QVERIFY(read.settings == w.image().settings);
        QCOMPARE(read.modelIndex, 3);

        // The image about to be written, as it was before the radio was touched; one channel
        // changed so the two backups differ.
        w.image().channels[0][10] ^= 0x01;
        const model::RadioImage toWrite = w.image();
        w.action("mnuWrite")->trigger();
        QCOMPARE(f.dialogs.texts(), (std::vector<std::string> { kReadDone, kWriteDone }));
        kept = backups(f);
        QCOMPARE(kept.size(), 2);
        const QStringList written = kept.filter("write.rdw");
        QCOMPARE(written.size(), 1);
        QVERIFY(openedImage(QDir(f.backupFolder()).filePath(written.front())).channels == toWrite.channels);
    }

    void aFailedReadKeepsNothing()
    {
        SimRadio sim({ "--no-pace", "--silent" });
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuRead")->trigger();
        QCOMPARE(f.dialogs.messages.size(), std::size_t { 1 });
        QVERIFY(backups(f).isEmpty());
    }

    void aBackupThatCannotBeMadeIsMentionedOnceAndStopsNothing()
    {
        SimRadio sim({ "--no-pace", "--newer", "--model", "2" });
        WindowFixture f;
        {
            QFile blocker(f.backupFolder()); // a file where the folder should be
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        auto& w = f.start();
        w.action("mnuRead")->trigger();
        QCOMPARE(w.image().modelIndex, 2);
        QCOMPARE(f.dialogs.messages.size(), std::size_t { 2 });
        QCOMPARE(f.dialogs.messages[0].text, std::string(kReadDone));
        const korvane::util::Message failure = f.dialogs.messages[1];
        QCOMPARE(failure.title, std::string("自动备份"));
        QCOMPARE(failure.icon, korvane::util::MessageIcon::Exclamation);
        const std::string start = "自动备份失败：无法在文件夹“" + f.backupFolder().toStdString() + "”中保存备份（";
        QVERIFY2(failure.text.rfind(start, 0) == 0, failure.text.c_str());
        w.action("mnuWrite")->trigger();
        w.action("mnuRead")->trigger();
        QCOMPARE(f.dialogs.texts(), (std::vector<std::string> { kReadDone, failure.text, kWriteDone, kReadDone }));
    }
};

QTEST_MAIN(BackupsTest)
#include "backups_test.moc"
