// The alignment screen with a simulated radio: the tree, the adjustment frame and its scroll bar,
// the ends of an item and every command that cancels an open item first, and the editing of the
// test channel grid. What went over the line is read back from the radio's own packet log.

#include "app/alignment_view.h"
#include "app/frequency_box.h"
#include "app/grid_colours.h"
#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"
#include "core/model/record_layout.h"
#include "support/sim_radio.h"
#include "support/widget_driver.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvane;
using korvane::test::SimRadio;
using korvane::test::WindowFixture;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Model 0's centre test channel (143.10000 / 143.00000 MHz, 2.5 kHz steps) in the image form and
// in the 5 kHz form of older radios.
const Bytes kCentre { 0x98, 0xDF, 0x08, 0x00, 0x00, 0x70, 0xDF, 0x08, 0x00, 0x00 };
const Bytes kCentreOlder { 0xCC, 0x6F, 0x08, 0x00, 0x00, 0xB8, 0x6F, 0x08, 0x00, 0x00 };

Bytes packet(const Bytes& channel, std::uint8_t value)
{
    Bytes p { 0x54 };
    p.insert(p.end(), channel.begin(), channel.end());
    p.push_back(value);
    return p;
}

// The radio with a packet log of its own.
struct LoggedRadio {
    QTemporaryDir dir;
    QString logPath = dir.filePath("radio.log");
    std::unique_ptr<SimRadio> sim;

    explicit LoggedRadio(QStringList options)
    {
        options << "--no-pace"
                << "--log" << logPath;
        sim = std::make_unique<SimRadio>(options);
    }

    // What the radio heard, one entry per line: its text up to the bytes.
    QStringList heard() const
    {
        QStringList found;
        for (const QString& line : lines()) {
            const qsizetype at = line.indexOf(" <- ");
            if (at >= 0) found << line.mid(at + 4).trimmed();
        }
        return found;
    }
    QStringList lines() const
    {
        QFile file(logPath);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    int count(const QString& prefix) const
    {
        int n = 0;
        for (const QString& text : heard())
            n += text.startsWith(prefix) ? 1 : 0;
        return n;
    }
    std::vector<Bytes> packets() const
    {
        std::vector<Bytes> found;
        for (const QString& text : heard()) {
            if (!text.startsWith("adjust item")) continue;
            const QStringList words = text.split(' ', Qt::SkipEmptyParts);
            Bytes bytes;
            for (qsizetype k = words.size() - 12; k < words.size(); ++k)
                bytes.push_back(static_cast<std::uint8_t>(words[k].toUInt(nullptr, 16)));
            found.push_back(bytes);
        }
        return found;
    }
    std::vector<int> values() const
    {
        std::vector<int> found;
        for (const Bytes& p : packets())
            found.push_back(p.back());
        return found;
    }
    bool noted(const QString& note) const
    {
        for (const QString& line : lines())
            if (line.contains("-- " + note)) return true;
        return false;
    }
};

app::MainWindow& startInAlignmentMode(WindowFixture& f)
{
    auto& w = f.start();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) qWarning("the window did not become active");
    f.dialogs.modalScripts.push_back([](QDialog& dialog) {
        auto* ok = dialog.findChild<QPushButton*>("cmdPassOK");
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    w.action("mnuTune")->trigger();
    if (!w.alignmentView()->viewOn()) qWarning("alignment mode did not start");
    // The password dialog took the activation with it.
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) qWarning("the window did not become active again");
    return w;
}

void clickNode(app::MainWindow& w, const QString& key)
{
    app::ItemTree* tree = w.alignmentView()->treeView2();
    QTreeWidgetItem* node = tree->node(key);
    QVERIFY(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
}

QRect scrollPart(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = false;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
}

void clickScroll(QScrollBar* bar, QStyle::SubControl part)
{
    QTest::mouseClick(bar, Qt::LeftButton, {}, scrollPart(bar, part).center());
}

app::AlignmentView* viewOf(app::MainWindow& w) { return w.alignmentView(); }

// A picture of the window for a person to look at, when KORVANE_ALIGNMENT_SHOTS names a folder.
void saveShot(app::MainWindow& w, const QString& name)
{
    const QString folder = qEnvironmentVariable("KORVANE_ALIGNMENT_SHOTS");
    if (!folder.isEmpty()) w.grab().save(folder + "/alignment-" + name + ".png");
}

} // namespace

class AlignmentScreenTest : public QObject {
    Q_OBJECT
private slots:
    void treeGridAndFrameAsBuilt()
    {
        WindowFixture f;
        auto& w = f.start();
        app::AlignmentView* view = viewOf(w);
        QTreeWidget* tree = view->treeView2();
        QCOMPARE(tree->topLevelItemCount(), 3);
        const QStringList roots { "testfreq", "adjust", "exit" };
        const QStringList rootCaptions { "调整频率设置", "各调整项", "退出调整" };
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(app::ItemTree::keyOf(tree->topLevelItem(i)), roots[i]);
            QCOMPARE(tree->topLevelItem(i)->text(0), rootCaptions[i]);
        }
        QTreeWidgetItem* adjust = tree->topLevelItem(1);
        QVERIFY(adjust->isExpanded());
        const QStringList keys { "txFreq", "txpower", "batref", "censen", "lowsen", "highsen", "sql9", "sql3", "qtdevw",
            "qtdevn", "dqtdevw", "dqtdevn" };
        const QStringList captions { "发射频率", "发射功率", "电池低压电平", "中心接收灵敏度", "低端接收灵敏度",
            "高端接收灵敏度", "第9级静噪电平", "第3级静噪电平", "CTCSS 频偏(宽带)", "CTCSS 频偏(窄带)",
            "CDCSS 频偏(宽带)", "CDCSS 频偏(窄带)" };
        QCOMPARE(adjust->childCount(), 12);
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(app::ItemTree::keyOf(adjust->child(i)), keys[i]);
            QCOMPARE(adjust->child(i)->text(0), captions[i]);
        }

        app::RecordGrid* grid = view->gridTuneFreq();
        QCOMPARE(grid->rowCount(), 4);
        QCOMPARE(grid->columnCount(), 7);
        QCOMPARE(grid->text(0, 0), QString(" 频率项"));
        QCOMPARE(grid->text(0, 1), QString("  接收频率         (MHz)"));
        QCOMPARE(grid->text(0, 5), QString("步进 (kHz)"));
        QCOMPARE(grid->text(0, 6), QString("  发射信令"));
        QCOMPARE(grid->text(1, 0), QString(" 高端频率"));
        QCOMPARE(grid->text(3, 0), QString(" 低端频率"));
        for (int c = 0; c < 7; ++c)
            QVERIFY(grid->emphasis(0, c));
        for (int r = 1; r < 4; ++r)
            QVERIFY(grid->emphasis(r, 0));
        // Column 0 is 1.05 of the designed width, column 2 is 0.6; columns 4..6 repeat 1..3.
        QVERIFY(grid->columnWidth(2) < grid->columnWidth(1));
        for (int c = 1; c <= 3; ++c)
            QCOMPARE(grid->columnWidth(c + 3), grid->columnWidth(c));
        QVERIFY(grid->rowHeight(0) > grid->rowHeight(1));
        // Model 0 after start-up: 149.90000 / 149.97500 at the top of 136..150 MHz.
        QCOMPARE(grid->text(1, 1), QString("149.90000"));
        QCOMPARE(grid->text(1, 4), QString("149.97500"));
        QCOMPARE(grid->text(2, 1), QString("143.10000"));
        QCOMPARE(grid->text(3, 4), QString("136.00000"));
        QCOMPARE(grid->text(2, 2), QString("2.50"));
        QCOMPARE(grid->background(2, 2), app::colours::kPaleLavender);
        QCOMPARE(view->lblRadio()->text(), w.modelList()->currentText());
        QCOMPARE(view->lblFreqRange()->text(), QString("136～150MHz"));

        QScrollBar* bar = view->hsbTune();
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 255);
        QCOMPARE(bar->singleStep(), 1);
        QCOMPARE(bar->pageStep(), 5);
        QVERIFY(!bar->hasTracking());
        QCOMPARE(view->cmdTuneOK()->toolTip(), QString("按此键保存改变"));
        QCOMPARE(view->cmdTuneCancel()->toolTip(), QString("按此键取消改变"));
        QCOMPARE(view->findChild<QLabel*>("lblTuneValue1")->text(), QString("调 整 值："));
        QCOMPARE(view->lblTuneValue2()->font().family(), QString("Arial"));
        QVERIFY(view->lblTuneValue2()->font().bold());
        QCOMPARE(view->lblTuneValue2()->font().pointSize(), 12);
    }

    void modelChangeRefillsTheGrid()
    {
        WindowFixture f;
        auto& w = f.start();
        w.image().modelIndex = 3;
        model::resetImage(w.image());
        w.refreshFromImage();
        app::RecordGrid* grid = viewOf(w)->gridTuneFreq();
        QCOMPARE(grid->text(1, 1), QString("469.90000"));
        QCOMPARE(grid->text(1, 4), QString("469.97500"));
        QCOMPARE(grid->text(2, 1), QString("460.10000"));
        QCOMPARE(grid->text(2, 4), QString("460.00000"));
        QCOMPARE(grid->text(3, 1), QString("450.10000"));
        QCOMPARE(grid->text(3, 4), QString("450.00000"));
        for (int c : { 2, 5 }) {
            QCOMPARE(grid->text(2, c), QString("6.25"));
            QCOMPARE(grid->background(2, c), app::colours::kLavender);
        }
        for (int c : { 3, 6 }) {
            QCOMPARE(grid->text(2, c), QString("OFF"));
            QCOMPARE(grid->background(2, c), app::colours::kRed);
            QCOMPARE(grid->foreground(2, c), app::colours::kBlue);
        }
        QCOMPARE(viewOf(w)->lblFreqRange()->text(), w.bandLabel()->text());
        QCOMPARE(viewOf(w)->lblRadio()->text(), w.modelList()->currentText());
    }

    void itemStartedMovedAndEndedWithOk()
    {
        LoggedRadio radio({ "--align-value", "5=128" });
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        clickNode(w, "qtdevw");
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(view->fraTune()->isVisible());
        QVERIFY(!view->gridTuneFreq()->isVisible());
        QCOMPARE(view->fraTune()->title(), QString("CTCSS 频偏(宽带)调整"));
        QCOMPARE(view->hsbTune()->value(), 128);
        QCOMPARE(view->lblTuneValue2()->text(), QString("128"));
        QCOMPARE(view->findChild<QLabel*>("lblTRxFreq2")->text(), QString("143.10000MHz"));
        QCOMPARE(view->findChild<QLabel*>("lblTTxFreq2")->text(), QString("143.00000MHz"));
        QCOMPARE(view->findChild<QLabel*>("lblTRxSgl2")->text(), QString("关闭"));
        QVERIFY(!w.state().fiveKhzForm);

        clickScroll(view->hsbTune(), QStyle::SC_ScrollBarAddLine);
        QCOMPARE(view->hsbTune()->value(), 129);
        QCOMPARE(view->lblTuneValue2()->text(), QString("129"));
        clickScroll(view->hsbTune(), QStyle::SC_ScrollBarAddPage);
        QCOMPARE(view->hsbTune()->value(), 134);
        clickScroll(view->hsbTune(), QStyle::SC_ScrollBarSubLine);
        QCOMPARE(view->hsbTune()->value(), 133);
        view->hsbTune()->setFocus();
        QTest::keyClick(view->hsbTune(), Qt::Key_Right);
        QCOMPARE(view->hsbTune()->value(), 134);

        saveShot(w, "item");

        // Enter means OK while the frame shows.
        QTest::keyClick(view->hsbTune(), Qt::Key_Return);
        QVERIFY(!view->fraTune()->isVisible());
        QVERIFY(!view->gridTuneFreq()->isVisible());
        QVERIFY(f.dialogs.messages.empty());
        const std::vector<Bytes> expected { packet(kCentre, 128), packet(kCentre, 129), packet(kCentre, 134),
            packet(kCentre, 133), packet(kCentre, 134) };
        QCOMPARE(radio.packets(), expected);
        // The radio's own value first; a fresh item command before every later packet.
        const QStringList heard = radio.heard();
        QCOMPARE(heard.size(), 11);
        for (int i = 0; i < 10; i += 2)
            QVERIFY2(heard[i].startsWith("tEST5"), qPrintable(heard[i]));
        QVERIFY(heard[10].startsWith("END"));
        QTRY_VERIFY(radio.noted("item 5 keeps 134"));
        QTRY_VERIFY(radio.noted("the program closed the line"));
    }

    void cancelRestoresTheRadiosValue()
    {
        LoggedRadio radio({ "--align-value", "1=40" });
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        clickNode(w, "txpower");
        QCOMPARE(view->hsbTune()->value(), 40);
        clickScroll(view->hsbTune(), QStyle::SC_ScrollBarSubPage);
        QCOMPARE(view->hsbTune()->value(), 35);
        QTest::mouseClick(view->cmdTuneCancel(), Qt::LeftButton);
        QVERIFY(!view->fraTune()->isVisible());
        QCOMPARE(radio.values(), (std::vector<int> { 40, 35 }));
        QCOMPARE(radio.count("CANCEL"), 1);
        QCOMPARE(radio.count("END"), 0);
        QTRY_VERIFY(radio.noted("item 1 back to 40"));
    }

    void okButtonKeepsTheValue()
    {
        LoggedRadio radio({});
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        clickNode(w, "batref");
        clickScroll(view->hsbTune(), QStyle::SC_ScrollBarAddLine);
        QTest::mouseClick(view->cmdTuneOK(), Qt::LeftButton);
        QCOMPARE(radio.count("END"), 1);
        QTRY_VERIFY(radio.noted("item 2 keeps 129"));
    }

    void draggingChangesOnceOnRelease()
    {
        LoggedRadio radio({});
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        QScrollBar* bar = viewOf(w)->hsbTune();
        clickNode(w, "txFreq");
        const QPoint from = scrollPart(bar, QStyle::SC_ScrollBarSlider).center();
        const QRect groove = scrollPart(bar, QStyle::SC_ScrollBarGroove);
        QTest::mousePress(bar, Qt::LeftButton, {}, from);
        for (int step = 1; step <= 5; ++step)
            QTest::mouseMove(bar, from + QPoint(step * groove.width() / 20, 0));
        QCOMPARE(radio.values().size(), std::size_t(1)); // nothing while dragged
        QTest::mouseRelease(bar, Qt::LeftButton, {}, from + QPoint(5 * groove.width() / 20, 0));
        QVERIFY(bar->value() > 128);
        QCOMPARE(radio.values(), (std::vector<int> { 128, bar->value() }));
        viewOf(w)->cmdTuneCancelClick();
    }

    // Input that comes while a change is still on the line waits its turn: every click, key and
    // wheel notch is one change of its own, in order, each with a fresh item command.
    void quickInputReachesTheRadioInOrder()
    {
        LoggedRadio radio({ "--align-value", "5=128" });
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        clickNode(w, "qtdevw");
        QScrollBar* bar = viewOf(w)->hsbTune();
        QWindow* window = w.windowHandle();
        const auto click = [&](QStyle::SubControl part) {
            QTest::mouseClick(window, Qt::LeftButton, {}, bar->mapTo(&w, scrollPart(bar, part).center()));
        };
        const auto wheelNotch = [&] {
            const QPoint at = bar->rect().center();
            QWheelEvent notch(
                bar->mapTo(&w, at), bar->mapToGlobal(at), {}, { 0, 120 }, Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(window, &notch);
        };
        bool menuShown = false;
        QTimer::singleShot(100, [&] {
            click(QStyle::SC_ScrollBarAddLine);
            click(QStyle::SC_ScrollBarAddPage);
            click(QStyle::SC_ScrollBarSubLine);
            bar->setFocus();
            QTest::keyClick(window, Qt::Key_Left);
            wheelNotch();
        });
        wheelNotch();
        QCOMPARE(radio.values(), (std::vector<int> { 128, 129, 130, 135, 134, 133, 134 }));
        QCOMPARE(radio.count("tEST5"), 7);
        QCOMPARE(viewOf(w)->lblTuneValue2()->text(), QString("134"));

        // No context menu to jump to either end.
        QTimer::singleShot(0, [&] {
            if (QWidget* menu = QApplication::activePopupWidget()) menuShown = true, menu->close();
        });
        QTest::mouseClick(window, Qt::RightButton, {}, bar->mapTo(&w, bar->rect().center()));
        QTest::qWait(20);
        QVERIFY(!menuShown);
        viewOf(w)->cmdTuneCancelClick();
    }

    void valuesStopAtZeroAnd255()
    {
        LoggedRadio radio({ "--align-value", "3=1" });
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        QScrollBar* bar = viewOf(w)->hsbTune();
        clickNode(w, "sql9");
        QCOMPARE(bar->value(), 1);
        clickScroll(bar, QStyle::SC_ScrollBarSubLine);
        clickScroll(bar, QStyle::SC_ScrollBarSubLine); // already at 0: no change, nothing sent
        QCOMPARE(bar->value(), 0);
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_End);
        QCOMPARE(bar->value(), 255);
        clickScroll(bar, QStyle::SC_ScrollBarAddLine);
        QCOMPARE(radio.values(), (std::vector<int> { 1, 0, 255 }));
        QCOMPARE(radio.packets().back().back(), 0xFF);
        QCOMPARE(radio.packets()[1].back(), 0x00);
        viewOf(w)->cmdTuneOKClick();
    }

    void secondItemWhileOneIsOpenSendsNoEnd()
    {
        LoggedRadio radio({});
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        clickNode(w, "qtdevw");
        clickNode(w, "highsen");
        QVERIFY(view->fraTune()->isVisible());
        QCOMPARE(view->fraTune()->title(), QString("接收灵敏度(高端)调整"));
        QCOMPARE(view->findChild<QLabel*>("lblTRxFreq2")->text(), QString("149.90000MHz"));
        QCOMPARE(view->findChild<QLabel*>("lblTTxFreq2")->text(), QString("149.97500MHz"));
        const QStringList heard = radio.heard();
        QCOMPARE(heard.size(), 4);
        QVERIFY(heard[0].startsWith("tEST5"));
        QVERIFY(heard[2].startsWith("tESTB"));
        QCOMPARE(radio.count("END"), 0);
        QCOMPARE(radio.count("CANCEL"), 0);
        // The high end's packet carries record 0.
        QCOMPARE(radio.packets()[1][1], 0x38);
        clickNode(w, "lowsen");
        QCOMPARE(view->findChild<QLabel*>("lblTRxFreq2")->text(), QString("136.10000MHz"));
        QCOMPARE(radio.packets()[2][1], 0xA8);
        view->cmdTuneOKClick();
    }

    void testFrequenciesWhileOpenCancelOnce()
    {
        LoggedRadio radio({});
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        clickNode(w, "censen");
        QVERIFY(view->fraTune()->isVisible());
        clickNode(w, "testfreq");
        QVERIFY(!view->fraTune()->isVisible());
        QVERIFY(view->gridTuneFreq()->isVisible());
        QCOMPARE(radio.count("CANCEL"), 1);
        // Chosen again with the grid showing, it does nothing.
        clickNode(w, "testfreq");
        QCOMPARE(radio.count("CANCEL"), 1);
        QVERIFY(view->gridTuneFreq()->isVisible());
    }

    void exitWhileOpenCancelsOnceAndReturns()
    {
        LoggedRadio radio({});
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        clickNode(w, "dqtdevn");
        QVERIFY(viewOf(w)->fraTune()->isVisible());
        clickNode(w, "exit");
        QCOMPARE(radio.count("CANCEL"), 1);
        QCOMPARE(radio.count("END"), 0);
        QVERIFY(!viewOf(w)->viewOn());
        QVERIFY(!viewOf(w)->fraTune()->isVisible());
        QVERIFY(w.chanFuncFrame()->isVisible());
        QVERIFY(w.action("mnuPrint")->isEnabled());
        QVERIFY(w.action("tbPrint")->isEnabled());
        QVERIFY(w.action("mnuChan")->isChecked());
    }

    void channelViewSaveReadAndCloseCancelFirst()
    {
        LoggedRadio radio({});
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);

        clickNode(w, "sql3");
        w.action("mnuChan")->trigger();
        QCOMPARE(radio.count("CANCEL"), 1);
        QVERIFY(w.chanFuncFrame()->isVisible());

        f.dialogs.modalScripts.push_back(
            [](QDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("cmdPassOK"), Qt::LeftButton); });
        w.action("mnuTune")->trigger();
        clickNode(w, "sql3");
        w.action("mnuSave")->trigger(); // the file dialog is cancelled; the item ends all the same
        QCOMPARE(radio.count("CANCEL"), 2);
        QVERIFY(!view->fraTune()->isVisible());

        clickNode(w, "sql3");
        w.action("mnuRead")->trigger();
        QCOMPARE(radio.count("CANCEL"), 3);
        const QStringList heard = radio.heard();
        QVERIFY(heard.indexOf(QRegularExpression("^rEAD.*")) > heard.lastIndexOf(QRegularExpression("^CANCEL.*")));
        QVERIFY(!view->fraTune()->isVisible());

        clickNode(w, "sql3");
        QVERIFY(view->fraTune()->isVisible());
        w.close();
        QCOMPARE(radio.count("CANCEL"), 4);
    }

    void writeAndOpenCancelFirst()
    {
        LoggedRadio radio({});
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        clickNode(w, "txFreq");
        w.action("mnuWrite")->trigger();
        QCOMPARE(radio.count("CANCEL"), 1);
        QVERIFY(radio.heard().last().contains("record") || radio.count("pROGRAM") == 1);

        clickNode(w, "txFreq");
        w.action("mnuOpen")->trigger(); // cancelled in its file dialog
        f.dialogs.openChoices.push_back(app::FileChoice { f.path("none.rdw"), 1 });
        w.action("mnuOpen")->trigger();
        QCOMPARE(radio.count("CANCEL"), 2);
    }

    void modelMismatchIsToldCancelledAndHidesTheFrame()
    {
        LoggedRadio radio({ "--model", "2" });
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        clickNode(w, "txFreq");
        QCOMPARE(f.dialogs.texts(), std::vector<std::string> { "要写入的机型与当前连接的机型不符！请先读频！" });
        QCOMPARE(f.dialogs.messages[0].title, std::string("机型错误"));
        QVERIFY(!view->fraTune()->isVisible());
        QVERIFY(!view->gridTuneFreq()->isVisible());
        QVERIFY(view->treeView2()->isVisible());
        QTRY_COMPARE(radio.count("CANCEL"), 1);
        QVERIFY(radio.packets().empty());
    }

    void failedStartHidesAFrameLeftOpen()
    {
        auto radio = std::make_unique<LoggedRadio>(QStringList {});
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        clickNode(w, "txFreq");
        QVERIFY(view->fraTune()->isVisible());
        radio.reset(); // the radio is gone
        clickNode(w, "txpower");
        QCOMPARE(
            f.dialogs.texts(), std::vector<std::string> { "COM1 端口没有响应，请确保连接正确或机器电源是否打开！" });
        QCOMPARE(f.dialogs.messages[0].title, std::string("通讯错误"));
        QVERIFY(!view->fraTune()->isVisible());
        QVERIFY(!view->gridTuneFreq()->isVisible());
        // The grid comes back through "testfreq".
        clickNode(w, "testfreq");
        QVERIFY(view->gridTuneFreq()->isVisible());
    }

    void olderRadioGetsTheFiveKhzFormWhileTheFrameShowsTheImageForm()
    {
        LoggedRadio radio({ "--older", "--align-value", "0=77" });
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        clickNode(w, "txFreq");
        QVERIFY(w.state().fiveKhzForm);
        QCOMPARE(view->hsbTune()->value(), 77);
        QCOMPARE(view->findChild<QLabel*>("lblTRxFreq2")->text(), QString("143.10000MHz"));
        clickScroll(view->hsbTune(), QStyle::SC_ScrollBarAddLine);
        QCOMPARE(radio.packets(), (std::vector<Bytes> { packet(kCentreOlder, 77), packet(kCentreOlder, 78) }));
        view->cmdTuneOKClick();
        QVERIFY(w.state().fiveKhzForm);
        QCOMPARE(view->gridTuneFreq()->text(2, 1), QString("143.10000"));
    }

    void treeStartsOnlyOnClickEnterOrSpace()
    {
        LoggedRadio radio({});
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        QTreeWidget* tree = view->treeView2();
        tree->setFocus();
        tree->setCurrentItem(tree->topLevelItem(0));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(app::ItemTree::keyOf(tree->currentItem()), QString("batref"));
        QVERIFY(!view->fraTune()->isVisible());
        QVERIFY(radio.heard().isEmpty());
        QTest::keyClick(tree, Qt::Key_Space);
        QVERIFY(view->fraTune()->isVisible());
        QVERIFY(radio.heard().first().startsWith("tEST2"));
        QTest::keyClick(tree, Qt::Key_Down);
        QTest::keyClick(tree, Qt::Key_Up);
        QCOMPARE(radio.count("tEST"), 1);
        // With the frame open, Enter is OK even in the tree.
        QTest::keyClick(tree, Qt::Key_Return);
        QVERIFY(!view->fraTune()->isVisible());
        QCOMPARE(radio.count("END"), 1);
        QCOMPARE(radio.count("tEST"), 1);
        // With no frame, Enter on an item starts it.
        QTest::keyClick(tree, Qt::Key_Return);
        QVERIFY(view->fraTune()->isVisible());
        QCOMPARE(radio.count("tEST"), 2);
        view->cmdTuneCancelClick();
    }

    void stepTogglesReRoundTheFrequency()
    {
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::RecordGrid* grid = viewOf(w)->gridTuneFreq();
        model::Record& centre = w.image().alignment[1];
        model::encodeFrequency(145'015'000, centre, model::Side::Receive); // a 2.5 kHz step
        model::encodeFrequency(145'015'000, centre, model::Side::Transmit);
        w.refreshFromImage();
        QCOMPARE(grid->text(2, 1), QString("145.01500"));

        test::clickCell(grid, 2, 2);
        QCOMPARE(grid->text(2, 2), QString("6.25"));
        QCOMPARE(grid->background(2, 2), app::colours::kLavender);
        QVERIFY(model::isStep625(centre, model::Side::Receive));
        QCOMPARE(grid->text(2, 1), QString("145.01250"));
        QCOMPARE(model::frequencyHz(centre, model::Side::Receive), 145'012'500);
        test::clickCell(grid, 2, 2);
        QCOMPARE(grid->text(2, 2), QString("2.50"));
        QCOMPARE(grid->background(2, 2), app::colours::kPaleLavender);
        QVERIFY(!model::isStep625(centre, model::Side::Receive));
        QCOMPARE(grid->text(2, 1), QString("145.01250"));

        // The transmit side by Space on its step cell.
        test::pressKeyAt(grid, 2, 5, Qt::Key_Space);
        QCOMPARE(grid->text(2, 5), QString("6.25"));
        QVERIFY(model::isStep625(centre, model::Side::Transmit));
        QCOMPARE(grid->text(2, 4), QString("145.01250"));
        QCOMPARE(viewOf(w)->currentEditRow(), 2);
        QCOMPARE(viewOf(w)->currentEditColumn(), 5);
        saveShot(w, "grid");
    }

    void headerClicksAndTypingChangeNothing()
    {
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::RecordGrid* grid = viewOf(w)->gridTuneFreq();
        const model::AlignmentTable before = w.image().alignment;
        test::clickCell(grid, 0, 2);
        test::clickCell(grid, 2, 0);
        QVERIFY(w.image().alignment == before);
        QCOMPARE(grid->text(1, 2), QString("2.50"));
        test::pressKeyAt(grid, 1, 2, Qt::Key_5);
        test::pressKeyAt(grid, 1, 1, Qt::Key_1);
        QVERIFY(w.image().alignment == before);
        QCOMPARE(grid->text(1, 1), QString("149.90000"));
        QVERIFY(viewOf(w)->txtRecTuneFreq()->isHidden());
    }

    void enterVisitsTheCellsInReadingOrder()
    {
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::RecordGrid* grid = viewOf(w)->gridTuneFreq();
        grid->setFocus();
        grid->setCurrentCell(1, 1);
        std::vector<std::pair<int, int>> visited;
        for (int i = 0; i < 20; ++i) {
            QTest::keyClick(grid, Qt::Key_Return);
            visited.emplace_back(grid->currentRow(), grid->currentColumn());
        }
        QCOMPARE(visited[0], std::make_pair(1, 2));
        QCOMPARE(visited[5], std::make_pair(2, 1));
        QCOMPARE(visited[16], std::make_pair(3, 6));
        QCOMPARE(visited[19], std::make_pair(3, 6));
        QCOMPARE(viewOf(w)->currentEditRow(), 3);
        QCOMPARE(viewOf(w)->currentEditColumn(), 6);
        QVERIFY(w.image().alignment == model::defaultAlignmentTable(0));
    }

    void frequencyBoxesEditTheTestChannels()
    {
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        app::RecordGrid* grid = view->gridTuneFreq();
        test::pressKeyAt(grid, 3, 1, Qt::Key_Space);
        app::FrequencyBox* box = view->txtRecTuneFreq();
        QVERIFY(box->isVisible());
        QCOMPARE(box->selectedText(), QString("136.10000"));
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClicks(box, "140.0013");
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(box->isHidden());
        QCOMPARE(grid->text(3, 1), QString("140.00250"));
        QCOMPARE(model::frequencyHz(w.image().alignment[2], model::Side::Receive), 140'002'500);
        QCOMPARE(grid->currentColumn(), 2);
        QCOMPARE(view->currentEditColumn(), 2);

        test::clickCell(grid, 1, 4);
        app::FrequencyBox* tx = view->txtTxTuneFreq();
        QVERIFY(tx->isVisible());
        QTRY_VERIFY(tx->hasFocus());
        QTest::keyClicks(tx, "148");
        QTest::keyClick(tx, Qt::Key_Return);
        QCOMPARE(grid->text(1, 4), QString("148.00000"));
        QCOMPARE(model::frequencyHz(w.image().alignment[0], model::Side::Transmit), 148'000'000);
        // The channel table is untouched.
        QVERIFY(w.image().channels == model::defaultImage(0).channels);
    }

    void readDropsAnOpenTestChannelEdit()
    {
        LoggedRadio radio({ "--silent" });
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::AlignmentView* view = viewOf(w);
        test::clickCell(view->gridTuneFreq(), 1, 1);
        app::FrequencyBox* box = view->txtRecTuneFreq();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClicks(box, "145");
        w.action("mnuRead")->trigger();
        QCOMPARE(
            f.dialogs.texts(), std::vector<std::string> { "COM1 端口没有响应，请确保连接正确或机器电源是否打开！" });
        QVERIFY(box->isHidden());
        QVERIFY(!box->pending());
        // A late focus change stores nothing.
        view->gridTuneFreq()->setFocus();
        QVERIFY(w.image().alignment == model::defaultAlignmentTable(0));
        QCOMPARE(view->gridTuneFreq()->text(1, 1), QString("149.90000"));
    }

    void signallingCellsOpenTheSignallingDialog()
    {
        WindowFixture f;
        auto& w = startInAlignmentMode(f);
        app::RecordGrid* grid = viewOf(w)->gridTuneFreq();
        QString seen;
        f.dialogs.modalScripts.push_back([&](QDialog& d) {
            seen = d.objectName();
            d.reject();
        });
        test::clickCell(grid, 2, 6);
        QCOMPARE(seen, QString("frmSignal"));
        QCOMPARE(grid->text(2, 6), QString("OFF"));
        QCOMPARE(grid->background(2, 6), app::colours::kRed);
        QVERIFY(w.image().alignment == model::defaultAlignmentTable(0));
    }
};

QTEST_MAIN(AlignmentScreenTest)
#include "alignment_screen_test.moc"
