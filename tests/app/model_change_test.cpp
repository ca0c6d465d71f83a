// Choosing another model in `cboRadiomodel`: the question, Yes and No, and a file whose model
// code names no model.

#include "app/channel_view.h"
#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "support/widget_driver.h"
#include "support/window_fixture.h"

#include <QLabel>
#include <QtTest>

using korvane::test::chooseEntry;
using korvane::test::indexed;
using korvane::test::named;
using korvane::test::WindowFixture;
namespace model = korvane::model;

class ModelChangeTest : public QObject {
    Q_OBJECT
private slots:
    void sameEntryAsksNothing()
    {
        WindowFixture f;
        auto& w = f.start();
        w.image().settings[20] = 0x77; // would be kept by a reset too; the point is nothing runs
        w.image().channels[0][13] = 0x42;
        const model::RadioImage before = w.image();
        chooseEntry(named<QComboBox>(&w, "cboRadiomodel"), 0);
        QVERIFY(f.dialogs.questions.empty());
        QCOMPARE(w.image(), before);
    }

    void noKeepsEverything()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* list = named<QComboBox>(&w, "cboRadiomodel");
        w.image().channels[3][10] = 0x07;
        const model::RadioImage before = w.image();
        f.dialogs.answers.push_back(false);
        chooseEntry(list, 2);
        QCOMPARE(f.dialogs.questions.size(), std::size_t { 1 });
        const auto& q = f.dialogs.questions.front();
        QCOMPARE(q.text, std::string("选择不同的机型将改变目前设置的所有数据，是否真的改变机型？"));
        QCOMPARE(q.title, std::string("选择不同机型"));
        QCOMPARE(q.icon, korvane::util::MessageIcon::Exclamation);
        QCOMPARE(w.image(), before);
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(list->toolTip(), list->itemText(0));
        QCOMPARE(named<QLabel>(&w, "lblBandvalue")->text(), QString("136～150MHz"));
    }

    void yesResetsToTheNewModel()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* list = named<QComboBox>(&w, "cboRadiomodel");
        auto* grid = named<korvane::app::RecordGrid>(&w, "gridChan");
        // An opened file's name in the caption, edits in every table, and bytes no reset writes.
        f.dialogs.saveChoices.push_back(korvane::app::FileChoice { f.path("a.rdw"), 1 });
        w.action("mnuSave")->trigger();
        QCOMPARE(w.windowTitle(), QString("a.rdw - Korvane PC编程软件"));
        w.image().channels[5][10] = 0x16;
        w.image().parameters[2][3] = 0x99;
        w.image().alignment[1][0] = 0x01;
        w.image().settings[7] = 0x30;
        w.image().settings[13] = 0xAB;
        w.image().settings[31] = 0xCD;

        f.dialogs.answers.push_back(true);
        chooseEntry(list, 2);
        QCOMPARE(f.dialogs.questions.size(), std::size_t { 1 });
        model::RadioImage expected = model::defaultImage(2);
        expected.settings[13] = 0xAB;
        expected.settings[31] = 0xCD;
        QCOMPARE(w.image(), expected);
        QCOMPARE(w.image().modelIndex, std::int16_t { 2 });
        QCOMPARE(list->currentIndex(), 2);
        QCOMPARE(list->toolTip(), QString("MX-320(1)/MX-320S(1)"));
        QCOMPARE(named<QLabel>(&w, "lblBandvalue")->text(), QString("400～420MHz"));
        QCOMPARE(w.windowTitle(), QString("Korvane PC编程软件"));
        for (int row = 1; row <= 16; ++row) {
            QCOMPARE(grid->text(row, 1), QString("410.00000"));
            QCOMPARE(grid->text(row, 2), QString("6.25"));
            QCOMPARE(grid->text(row, 4), QString("410.00000"));
            QCOMPARE(grid->text(row, 5), QString("6.25"));
            QVERIFY(indexed<QCheckBox>(&w, "chkRecChan", row - 1)->isChecked());
        }
        QCOMPARE(named<QComboBox>(&w, "cboFuncTOT")->currentText(), QString("60s"));
        QVERIFY(w.chanFuncFrame()->isVisible());
        // A later choice of the same model asks nothing.
        chooseEntry(list, 2);
        QCOMPARE(f.dialogs.questions.size(), std::size_t { 1 });
    }

    void everyModelsBandText_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("frequency");
        QTest::newRow("0") << 0 << "136～150MHz"
                           << "140.00000";
        QTest::newRow("1") << 1 << "150～174MHz"
                           << "150.00000";
        QTest::newRow("2") << 2 << "400～420MHz"
                           << "410.00000";
        QTest::newRow("3") << 3 << "450～470MHz"
                           << "450.00000";
        QTest::newRow("4") << 4 << "470～490MHz"
                           << "480.00000";
        QTest::newRow("5") << 5 << "350～370MHz"
                           << "360.00000";
        QTest::newRow("6") << 6 << "370～390MHz"
                           << "380.00000";
    }

    void everyModelsBandText()
    {
        QFETCH(int, index);
        QFETCH(QString, band);
        QFETCH(QString, frequency);
        WindowFixture f;
        auto& w = f.start();
        f.dialogs.answers.push_back(true);
        chooseEntry(named<QComboBox>(&w, "cboRadiomodel"), index);
        QCOMPARE(named<QLabel>(&w, "lblBandvalue")->text(), band);
        QCOMPARE(named<korvane::app::RecordGrid>(&w, "gridChan")->text(16, 4), frequency);
    }

    void fileWithoutAModel()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* list = named<QComboBox>(&w, "cboRadiomodel");
        auto* band = named<QLabel>(&w, "lblBandvalue");
        f.dialogs.answers.push_back(true);
        chooseEntry(list, 3);
        QCOMPARE(band->text(), QString("450～470MHz"));

        // Model code 6 names no model: index -1.
        model::RadioImage image = model::defaultImage(1);
        image.modelIndex = -1;
        image.unknownModelCode = 6;
        const QString path = f.path("nomodel.rdw");
        QVERIFY(!korvane::files::saveDataFile(path.toStdString(), image, korvane::files::FileKind::Rdw));
        f.dialogs.openChoices.push_back(korvane::app::FileChoice { path, 1 });
        w.action("mnuOpen")->trigger();
        QVERIFY(f.dialogs.messages.empty());
        QCOMPARE(w.image().modelIndex, std::int16_t { -1 });
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(list->toolTip(), QString());
        QCOMPARE(band->text(), QString()); // no model, no band
        QCOMPARE(named<korvane::app::RecordGrid>(&w, "gridChan")->text(1, 1), QString("150.00000"));
        QCOMPARE(f.dialogs.questions.size(), std::size_t { 1 });

        // Any entry then differs from the image's model and asks.
        f.dialogs.answers.push_back(false);
        chooseEntry(list, 0);
        QCOMPARE(f.dialogs.questions.size(), std::size_t { 2 });
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(w.image().modelIndex, std::int16_t { -1 });
        f.dialogs.answers.push_back(true);
        chooseEntry(list, 5);
        model::RadioImage expected = model::defaultImage(5);
        expected.unknownModelCode = w.image().unknownModelCode; // only read while the index is -1
        QCOMPARE(w.image(), expected);
        QCOMPARE(band->text(), QString("350～370MHz"));
    }
};

QTEST_MAIN(ModelChangeTest)
#include "model_change_test.moc"
