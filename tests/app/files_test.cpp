// Save, Open and the recent-file entries of the File menu, through the dialog seam; the
// failure messages of Open; the real file dialog's filters, suffix and chosen kind.

#include "app/channel_view.h"
#include "app/qt_user_dialogs.h"
#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"
#include "support/test_files.h"
#include "support/widget_driver.h"
#include "support/window_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

using korvane::app::FileChoice;
using korvane::test::chooseEntry;
using korvane::test::clickCell;
using korvane::test::named;
using korvane::test::readFile;
using korvane::test::WindowFixture;
using korvane::test::writeFile;
namespace model = korvane::model;
namespace files = korvane::files;
using korvane::util::MessageIcon;

namespace {

const QString kTitle = QStringLiteral("Korvane PC编程软件");

void saveAs(WindowFixture& f, const QString& name, int kind = 1)
{
    f.dialogs.saveChoices.push_back(FileChoice { f.path(name), kind });
    f.window->action("mnuSave")->trigger();
}

void openThroughDialog(WindowFixture& f, const QString& name)
{
    f.dialogs.openChoices.push_back(FileChoice { f.path(name), 1 });
    f.window->action("mnuOpen")->trigger();
}

QStringList recentCaptions(const korvane::app::MainWindow& w)
{
    QStringList out;
    for (int i = 0; i < 4; ++i)
        if (w.recentEntry(i)->isVisible()) out << w.recentEntry(i)->text();
    return out;
}

int checkedEntry(const korvane::app::MainWindow& w)
{
    int checked = -1;
    for (int i = 0; i < 4; ++i)
        if (w.recentEntry(i)->isChecked()) {
            if (checked >= 0) return -2; // more than one
            checked = i;
        }
    return checked;
}

// A file saved by the program itself from an image of the given model.
QString writeDataFile(
    WindowFixture& f, const QString& name, model::RadioImage image, files::FileKind kind = files::FileKind::Rdw)
{
    const QString path = f.path(name);
    const auto failure = files::saveDataFile(path.toStdString(), image, kind);
    return failure ? QString() : path;
}

} // namespace

class FilesTest : public QObject {
    Q_OBJECT
private slots:
    void saveAsksWithTheDialogsSettings()
    {
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuSave")->trigger(); // cancelled
        QCOMPARE(f.dialogs.fileRequests.size(), std::size_t { 1 });
        const auto& request = f.dialogs.fileRequests.front();
        QCOMPARE(request.title, QString("Save As"));
        QCOMPARE(request.fileName, QString());
        QCOMPARE(request.filters, QStringList({ "rdw文件(*.rdw)", "rdh文件(*.rdh)", "rdha文件(*.rdhax)" }));
        QCOMPARE(request.filterIndex, 1);
        QCOMPARE(request.defaultSuffix, QString("rdw"));
        // Cancelling changes nothing and writes nothing.
        QCOMPARE(w.windowTitle(), kTitle);
        QCOMPARE(w.state().currentFile, QString());
        QVERIFY(recentCaptions(w).isEmpty());
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), QStringList());
    }

    void saveWritesTheChosenKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("rdw") << 1 << 643 << QByteArray("RDW41 ORV file.");
        QTest::newRow("rdh") << 2 << 431 << QByteArray("This is ORV format file (*.rdh)");
        QTest::newRow("rdhax") << 3 << 613 << QByteArray("This is ORV format file (*.rdhax)");
    }

    void saveWritesTheChosenKind()
    {
        QFETCH(int, kind);
        QFETCH(int, size);
        QFETCH(QByteArray, header);
        WindowFixture f;
        auto& w = f.start();
        // The name's extension does not decide the kind; the chosen file type does.
        saveAs(f, "chosen.rdw", kind);
        const QByteArray bytes = readFile(f.path("chosen.rdw"));
        QCOMPARE(bytes.size(), size);
        QCOMPARE(bytes.mid(4, header.size()), header);
        QCOMPARE(bytes,
            QByteArray(reinterpret_cast<const char*>(
                           files::encodeDataFile(w.image(), static_cast<files::FileKind>(kind)).data()),
                size));
        QCOMPARE(w.windowTitle(), "chosen.rdw - " + kTitle);
        QCOMPARE(w.state().currentFile, f.path("chosen.rdw"));
        QVERIFY(f.dialogs.messages.empty());
    }

    void savingDoesNotChangeTheImage()
    {
        WindowFixture f;
        auto& w = f.start();
        w.image().channels[0][2] |= 0x08;
        model::setFrequencyCount(w.image().channels[0], model::Side::Receive, 58405); // 146.0125 MHz
        w.refreshFromImage();
        const model::RadioImage before = w.image();
        saveAs(f, "old.rdh", 2);
        QCOMPARE(w.image(), before);
        // Opened again, the 5 kHz form loses the odd 2.5 kHz step: 146.0100 MHz.
        openThroughDialog(f, "old.rdh");
        QCOMPARE(named<korvane::app::RecordGrid>(&w, "gridChan")->text(1, 1), QString("146.01000"));
        QVERIFY(w.state().fiveKhzForm);
    }

    void saveFailureChangesNothing()
    {
        WindowFixture f;
        auto& w = f.start();
        saveAs(f, "good.rdw");
        // A folder that does not exist: the file cannot be created.
        saveAs(f, "missing/bad.rdw");
        QCOMPARE(f.dialogs.messages.size(), std::size_t { 1 });
        const auto& m = f.dialogs.messages.front();
        QCOMPARE(m.text, std::string("保存文件出错"));
        QCOMPARE(m.title, std::string("文件错误"));
        QCOMPARE(m.icon, MessageIcon::Exclamation);
        QCOMPARE(w.windowTitle(), "good.rdw - " + kTitle);
        QCOMPARE(w.state().currentFile, f.path("good.rdw"));
        QCOMPARE(recentCaptions(w), QStringList { "&1 good.rdw" });
        QCOMPARE(checkedEntry(w), 0);
        QVERIFY(w.chanFuncFrame()->isVisible());
    }

    void openAsksWithTheCurrentFile()
    {
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuOpen")->trigger();
        QCOMPARE(f.dialogs.fileRequests.back().title, QString("打开"));
        QCOMPARE(f.dialogs.fileRequests.back().fileName, QString());
        QCOMPARE(f.dialogs.fileRequests.back().filters.size(), 3);
        QCOMPARE(f.dialogs.fileRequests.back().filterIndex, 1);
        QCOMPARE(f.dialogs.fileRequests.back().defaultSuffix, QString("rdw"));
        saveAs(f, "a.rdw");
        w.action("mnuOpen")->trigger();
        QCOMPARE(f.dialogs.fileRequests.back().fileName, f.path("a.rdw"));
        QCOMPARE(w.windowTitle(), "a.rdw - " + kTitle);
    }

    void openShowsTheFile_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("rdw") << 1;
        QTest::newRow("rdh") << 2;
        QTest::newRow("rdhax") << 3;
    }

    void openShowsTheFile()
    {
        QFETCH(int, kind);
        WindowFixture f;
        auto& w = f.start();
        model::RadioImage image = model::defaultImage(3);
        image.channels[4][2] |= 0x08; // channel 5 open
        image.channels[4][10] = 0x10; // skipped by the scan
        image.settings[7] = 0x30;
        const QString path = writeDataFile(f, "radio.rdx", image, static_cast<files::FileKind>(kind));
        QVERIFY(!path.isEmpty());
        openThroughDialog(f, "radio.rdx");
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(f.dialogs.questions.empty());
        QCOMPARE(w.image().channels, image.channels);
        QCOMPARE(w.image().settings, image.settings);
        QCOMPARE(w.image().modelIndex, std::int16_t { 3 });
        QCOMPARE(w.state().fiveKhzForm, kind == 2);
        QCOMPARE(w.windowTitle(), "radio.rdx - " + kTitle);
        QCOMPARE(w.state().currentFile, path);
        auto* grid = named<korvane::app::RecordGrid>(&w, "gridChan");
        QCOMPARE(grid->text(5, 1), QString("450.00000"));
        QCOMPARE(grid->text(5, 7), QString("DEL"));
        QVERIFY(!korvane::test::indexed<QCheckBox>(&w, "chkRecChan", 4)->isChecked());
        QCOMPARE(named<QComboBox>(&w, "cboRadiomodel")->currentIndex(), 3);
        QCOMPARE(named<QComboBox>(&w, "cboFuncTOT")->currentText(), QString("300s"));
        QVERIFY(w.chanFuncFrame()->isVisible());
        QVERIFY(w.action("mnuNULL")->isVisible());
        QCOMPARE(recentCaptions(w), QStringList { "&1 radio.rdx" });
    }

    void openCancelledChangesNothing()
    {
        WindowFixture f;
        auto& w = f.start();
        const model::RadioImage before = w.image();
        w.action("mnuOpen")->trigger();
        f.dialogs.openChoices.push_back(FileChoice { QString(), 1 });
        w.action("mnuOpen")->trigger();
        QCOMPARE(w.image(), before);
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(w.windowTitle(), kTitle);
    }

    void openFailures_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::newRow("missing") << QByteArray() << "无法打开该文件，请检查文件是否存在！"
                                 << "文件错误" << int(MessageIcon::Information);
        QTest::newRow("unknown header") << QByteArray("\x08\x00\x03\x00"
                                                      "ABC",
            7) << "文件格式错误！本软件不支持该文件格式！"
                                        << "打开文件出错" << int(MessageIcon::Exclamation);
        // A kind 1 file cut short after its channel table.
        QByteArray shortFile = QByteArray(
            reinterpret_cast<const char*>(files::encodeDataFile(model::defaultImage(0), files::FileKind::Rdw).data()),
            643)
                                   .left(350);
        QTest::newRow("short file") << shortFile << "打开文件时出现错误"
                                    << "打开文件错误" << int(MessageIcon::Exclamation);
        // Model code 20 in the last-but-one item of a kind 1 file.
        QByteArray code20 = QByteArray(
            reinterpret_cast<const char*>(files::encodeDataFile(model::defaultImage(0), files::FileKind::Rdw).data()),
            643);
        code20[643 - 6] = 20;
        code20[643 - 5] = 0;
        QTest::newRow("model code 20") << code20 << "机型错误！本软件不支持该机型！"
                                       << "机型错误" << int(MessageIcon::Information);
    }

    void openFailures()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(int, icon);
        WindowFixture f;
        auto& w = f.start();
        f.dialogs.answers.push_back(true);
        chooseEntry(named<QComboBox>(&w, "cboRadiomodel"), 2);
        saveAs(f, "before.rdw");
        // An unsaved edit the failure must not throw away.
        w.image().channels[0][13] = 0x5A;
        const model::RadioImage before = w.image();
        const bool fiveKhz = w.state().fiveKhzForm;
        if (!content.isEmpty()) writeFile(f.path("bad.rdw"), content);
        openThroughDialog(f, "bad.rdw");
        QCOMPARE(f.dialogs.messages.size(), std::size_t { 1 });
        const auto& m = f.dialogs.messages.front();
        QCOMPARE(QString::fromStdString(m.text), text);
        QCOMPARE(QString::fromStdString(m.title), title);
        QCOMPARE(int(m.icon), icon);
        QCOMPARE(w.image(), before);
        QCOMPARE(w.state().fiveKhzForm, fiveKhz);
        QCOMPARE(w.state().currentFile, f.path("before.rdw"));
        QCOMPARE(w.windowTitle(), "before.rdw - " + kTitle);
        QCOMPARE(recentCaptions(w), QStringList { "&1 before.rdw" });
        QCOMPARE(checkedEntry(w), 0);
        QCOMPARE(named<korvane::app::RecordGrid>(&w, "gridChan")->text(1, 1), QString("410.00000"));
    }

    void fiveFilesLeaveTheLastFour()
    {
        WindowFixture f;
        auto& w = f.start();
        for (int i = 1; i <= 5; ++i)
            saveAs(f, QString("f%1.rdw").arg(i));
        QCOMPARE(recentCaptions(w), QStringList({ "&1 f2.rdw", "&2 f3.rdw", "&3 f4.rdw", "&4 f5.rdw" }));
        QCOMPARE(checkedEntry(w), 3);
        QCOMPARE(w.state().recent.path(0), f.path("f2.rdw"));
        QCOMPARE(w.state().recent.path(3), f.path("f5.rdw"));
        QVERIFY(w.action("mnuNULL")->isVisible());
    }

    void savingTheSamePathTwiceKeepsOneEntry()
    {
        WindowFixture f;
        auto& w = f.start();
        saveAs(f, "a.rdw");
        saveAs(f, "b.rdw");
        saveAs(f, "a.rdw");
        QCOMPARE(recentCaptions(w), QStringList({ "&1 b.rdw", "&2 a.rdw" }));
        QCOMPARE(checkedEntry(w), 1);
        saveAs(f, "a.rdw");
        QCOMPARE(recentCaptions(w), QStringList({ "&1 b.rdw", "&2 a.rdw" }));
        QCOMPARE(checkedEntry(w), 1);
    }

    void reopeningMovesAnEntry()
    {
        WindowFixture f;
        auto& w = f.start();
        for (int i = 1; i <= 4; ++i)
            saveAs(f, QString("f%1.rdw").arg(i));
        // Through the open dialog: the entry moves to the newest place, no second entry.
        openThroughDialog(f, "f2.rdw");
        QCOMPARE(recentCaptions(w), QStringList({ "&1 f1.rdw", "&2 f3.rdw", "&3 f4.rdw", "&4 f2.rdw" }));
        QCOMPARE(checkedEntry(w), 3);
        QCOMPARE(w.windowTitle(), "f2.rdw - " + kTitle);
        // Through the entry itself.
        w.recentEntry(0)->trigger();
        QCOMPARE(recentCaptions(w), QStringList({ "&1 f3.rdw", "&2 f4.rdw", "&3 f2.rdw", "&4 f1.rdw" }));
        QCOMPARE(checkedEntry(w), 3);
        QCOMPARE(w.state().currentFile, f.path("f1.rdw"));
        // The newest entry clicked again keeps its place and its check mark.
        w.recentEntry(3)->trigger();
        QCOMPARE(recentCaptions(w), QStringList({ "&1 f3.rdw", "&2 f4.rdw", "&3 f2.rdw", "&4 f1.rdw" }));
        QCOMPARE(checkedEntry(w), 3);
        QCOMPARE(w.state().recent.path(0), f.path("f3.rdw"));
        QCOMPARE(w.state().recent.path(3), f.path("f1.rdw"));
    }

    void recentEntryOfAVanishedFile()
    {
        WindowFixture f;
        auto& w = f.start();
        saveAs(f, "gone.rdw");
        saveAs(f, "kept.rdw");
        QVERIFY(QFile::remove(f.path("gone.rdw")));
        w.recentEntry(0)->trigger();
        QCOMPARE(f.dialogs.texts(), std::vector<std::string> { "无法打开该文件，请检查文件是否存在！" });
        QCOMPARE(recentCaptions(w), QStringList({ "&1 gone.rdw", "&2 kept.rdw" }));
        QCOMPARE(checkedEntry(w), 1);
        QCOMPARE(w.state().currentFile, f.path("kept.rdw"));
    }

    void ampersandsAreDoubledInMenuCaptions()
    {
        WindowFixture f;
        auto& w = f.start();
        saveAs(f, "R&D.rdw");
        saveAs(f, "x.rdw");
        QCOMPARE(recentCaptions(w), QStringList({ "&1 R&&D.rdw", "&2 x.rdw" }));
        openThroughDialog(f, "R&D.rdw");
        QCOMPARE(w.windowTitle(), "R&D.rdw - " + kTitle);
        QCOMPARE(recentCaptions(w), QStringList({ "&1 x.rdw", "&2 R&&D.rdw" }));
    }

    void realSaveDialogTakesTheKindFromTheFilter()
    {
        QTemporaryDir dir;
        korvane::app::QtUserDialogs dialogs;
        korvane::app::FileDialogRequest request { "Save As", QString(),
            { "rdw文件(*.rdw)", "rdh文件(*.rdh)", "rdha文件(*.rdhax)" }, 1, "rdw" };
        QStringList shownFilters;
        QString shownSuffix;
        bool confirmsOverwrite = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            shownFilters = dialog->nameFilters();
            shownSuffix = dialog->defaultSuffix();
            confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            dialog->setDirectory(dir.path());
            // The user picks the second kind and types a bare name, through the dialog's window.
            QWindow* window = dialog->windowHandle();
            dialog->findChild<QComboBox*>("fileTypeCombo")->setFocus();
            QTest::keyClick(window, Qt::Key_Down);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setFocus();
            for (const char c : QByteArray("radio"))
                QTest::keyClick(window, c);
            QTest::keyClick(window, Qt::Key_Return);
        });
        const auto choice = dialogs.chooseSaveFile(nullptr, request);
        QCOMPARE(shownFilters, request.filters);
        QCOMPARE(shownSuffix, QString("rdw"));
        QVERIFY(confirmsOverwrite);
        QVERIFY(choice.has_value());
        QCOMPARE(choice->filterIndex, 2);
        QCOMPARE(choice->path, dir.filePath("radio.rdh"));
    }

    void realOpenDialogCancelled()
    {
        korvane::app::QtUserDialogs dialogs;
        korvane::app::FileDialogRequest request { "打开", QString(),
            { "rdw文件(*.rdw)", "rdh文件(*.rdh)", "rdha文件(*.rdhax)" }, 1, "rdw" };
        QString title;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            title = dialog->windowTitle();
            QVERIFY(dialog->fileMode() == QFileDialog::ExistingFile);
            dialog->reject();
        });
        QVERIFY(!dialogs.chooseOpenFile(nullptr, request).has_value());
        QCOMPARE(title, QString("打开"));
    }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"
