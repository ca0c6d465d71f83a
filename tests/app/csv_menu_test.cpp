// "导出CSV..." and "导入CSV..." of the File menu, through the dialog seam: the exported file,
// the question before an import replaces the channels, and refusals that change nothing.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "support/test_files.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QtTest>

using korvane::app::FileChoice;
using korvane::test::openedImage;
using korvane::test::readFile;
using korvane::test::WindowFixture;
using korvane::test::writeFile;
namespace files = korvane::files;
namespace model = korvane::model;
using korvane::util::MessageIcon;

namespace {

const QString kCsvData = QStringLiteral(KORVANE_TEST_DATA "/csv/");

void importThroughDialog(WindowFixture& f, const QString& path, bool answer)
{
    f.dialogs.openChoices.push_back(FileChoice { path, 1 });
    f.dialogs.answers.push_back(answer);
    f.window->action("mnuImportCsv")->trigger();
}

} // namespace

class CsvMenuTest : public QObject {
    Q_OBJECT
private slots:
    void exportWritesTheChannelSheet()
    {
        WindowFixture f;
        auto& w = f.start();
        w.openFile(kCsvData + "varied_model3.rdw", -1);
        f.dialogs.saveChoices.push_back(FileChoice { f.path("out.csv"), 1 });
        w.action("mnuExportCsv")->trigger();
        const auto& request = f.dialogs.fileRequests.back();
        QCOMPARE(request.title, QString("导出CSV"));
        QCOMPARE(request.filters, QStringList({ "CSV文件(*.csv)" }));
        QCOMPARE(request.defaultSuffix, QString("csv"));
        QCOMPARE(readFile(f.path("out.csv")), readFile(kCsvData + "varied_model3.csv"));
        QVERIFY(f.dialogs.messages.empty());
        // Exporting is not saving: the window's file stays the data file it opened.
        QCOMPARE(w.state().currentFile, kCsvData + "varied_model3.rdw");
    }

    void cancelledExportWritesNothing()
    {
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuExportCsv")->trigger();
        QCOMPARE(QDir(f.dir.path()).entryList({ "*.csv" }, QDir::Files), QStringList());
        QVERIFY(f.dialogs.messages.empty());
    }

    void exportFailureIsShown()
    {
        WindowFixture f;
        auto& w = f.start();
        f.dialogs.saveChoices.push_back(FileChoice { f.path("no/such/folder/out.csv"), 1 });
        w.action("mnuExportCsv")->trigger();
        QCOMPARE(f.dialogs.messages.size(), std::size_t { 1 });
        QCOMPARE(f.dialogs.messages.front().text, std::string("保存文件出错"));
    }

    void importAsksThenReplacesTheChannels()
    {
        WindowFixture f;
        auto& w = f.start();
        const model::RadioImage before = w.image();
        importThroughDialog(f, kCsvData + "varied_model0.csv", true);
        QCOMPARE(f.dialogs.fileRequests.back().title, QString("导入CSV"));
        QCOMPARE(f.dialogs.questions.size(), std::size_t { 1 });
        QCOMPARE(f.dialogs.questions.front().text, std::string("导入CSV文件将替换当前的全部信道数据，是否继续？"));
        QCOMPARE(f.dialogs.questions.front().icon, MessageIcon::Question);
        QVERIFY(f.dialogs.messages.empty());
        const model::RadioImage expected = openedImage(kCsvData + "varied_model0.rdw");
        QVERIFY(w.image().channels == expected.channels);
        // Only the channel table changes.
        QVERIFY(w.image().settings == before.settings);
        QVERIFY(w.image().parameters == before.parameters);
        QCOMPARE(w.image().modelIndex, before.modelIndex);
    }

    void importAnsweredNoChangesNothing()
    {
        WindowFixture f;
        auto& w = f.start();
        const model::RadioImage before = w.image();
        importThroughDialog(f, kCsvData + "varied_model0.csv", false);
        QCOMPARE(f.dialogs.questions.size(), std::size_t { 1 });
        QVERIFY(w.image() == before);
    }

    void refusedImportShowsWhyAndAsksNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray header = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                                  "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip\n";
        QTest::newRow("location twice") << header + "1,,145.000000,,0,,,,,,,,FM,,\n1,,146.000000,,0,,,,,,,,FM,,\n";
        QTest::newRow("outside the limits") << header + "1,,500.000000,,0,,,,,,,,FM,,\n";
    }

    void refusedImportShowsWhyAndAsksNothing()
    {
        QFETCH(QByteArray, content);
        WindowFixture f;
        auto& w = f.start();
        const model::RadioImage before = w.image();
        writeFile(f.path("bad.csv"), content);
        importThroughDialog(f, f.path("bad.csv"), true);
        QVERIFY(f.dialogs.questions.empty());
        QCOMPARE(f.dialogs.messages.size(), std::size_t { 1 });
        QCOMPARE(f.dialogs.messages.front().title, std::string("CSV错误"));
        QCOMPARE(f.dialogs.messages.front().icon, MessageIcon::Exclamation);
        QVERIFY(w.image() == before);
    }

    void missingFileIsShown()
    {
        WindowFixture f;
        auto& w = f.start();
        const model::RadioImage before = w.image();
        importThroughDialog(f, f.path("gone.csv"), true);
        QVERIFY(f.dialogs.questions.empty());
        QCOMPARE(f.dialogs.messages.size(), std::size_t { 1 });
        QCOMPARE(f.dialogs.messages.front().text, std::string("无法打开该文件，请检查文件是否存在！"));
        QVERIFY(w.image() == before);
    }
};

QTEST_MAIN(CsvMenuTest)
#include "csv_menu_test.moc"
