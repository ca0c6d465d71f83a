#include "app/channel_view.h"
#include "app/fonts.h"
#include "app/qt_user_dialogs.h"
#include "app/report/print_command.h"
#include "app/settings_lists.h"
#include "support/window_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

using korvane::report::PageText;
using korvane::test::WindowFixture;

namespace {

// Records the frame's hide and show events, to see it hidden while the report is produced.
class VisibilityLog : public QObject {
public:
    std::vector<QEvent::Type> events;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Show) events.push_back(event->type());
        return false;
    }
};

struct PdfWord {
    QString text;
    double xMin = 0;
    double yMin = 0;
};

struct PdfText {
    int pages = 0;
    double width = 0;
    double height = 0;
    std::vector<PdfWord> words;
};

// The words `pdftotext -bbox` finds on the page, in points from the page's top-left corner.
PdfText readPdfText(const QString& pdf)
{
    QProcess run;
    run.start("pdftotext", { "-bbox", pdf, "-" });
    run.waitForFinished(30000);
    const QString html = QString::fromUtf8(run.readAllStandardOutput());
    PdfText out;
    static const QRegularExpression page(R"re(<page width="([\d.]+)" height="([\d.]+)")re");
    for (auto it = page.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        ++out.pages;
        out.width = m.captured(1).toDouble();
        out.height = m.captured(2).toDouble();
    }
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        QString text = m.captured(3);
        text.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
        out.words.push_back({ text, m.captured(1).toDouble(), m.captured(2).toDouble() });
    }
    return out;
}

// A window showing a mix of open, closed and transmit-inhibited channels.
void prepareChannels(korvane::app::MainWindow& w)
{
    auto* view = w.channelView();
    for (int i = 0; i < 16; ++i)
        if (i != 2 && i != 15) view->recChan(i)->click(); // open every channel but 3 and 16
    view->txChan(4)->click(); // channel 5 may not transmit
    view->grid()->setText(1, 3, "CTCSS: 67.0");
    view->grid()->setText(2, 6, "--CDCSS: 754");
    view->grid()->setText(4, 3, "2-Tone: 3");
    auto* lists = w.settingsLists();
    lists->list(korvane::model::SettingsList::Priority)->setCurrentIndex(12);
    lists->choose(korvane::model::SettingsList::Priority);
}

} // namespace

class PrintCommandTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { korvane::app::installFontSubstitutions(); }

    void alignmentViewPrintsNothing()
    {
        WindowFixture f;
        auto& w = f.start();
        bool asked = false;
        f.dialogs.printerChoice = [&](QPrinter&) { return asked = true; };
        w.action("mnuChan")->setChecked(false);
        w.chanFuncFrame()->hide(); // the alignment view has taken the content frame
        QVERIFY(!korvane::app::channelViewShowing(w));
        w.action("mnuPrint")->trigger();
        QVERIFY(!asked);
        QVERIFY(!w.action("mnuChan")->isChecked());
        QVERIFY(w.chanFuncFrame()->isHidden());
    }

    void cancelledDialogPrintsNothing()
    {
        WindowFixture f;
        auto& w = f.start();
        int asked = 0;
        f.dialogs.printerChoice = [&](QPrinter& printer) {
            ++asked;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(f.path("cancelled.pdf"));
            return false;
        };
        VisibilityLog log;
        w.chanFuncFrame()->installEventFilter(&log);
        w.action("mnuChan")->setChecked(false);
        w.action("mnuPrint")->trigger();
        QCOMPARE(asked, 1);
        QVERIFY(!QFile::exists(f.path("cancelled.pdf")));
        QVERIFY(log.events.empty());
        QVERIFY(!w.action("mnuChan")->isChecked());
        QVERIFY(f.dialogs.messages.empty());
    }

    void toolbarPrintRunsTheCommand()
    {
        WindowFixture f;
        auto& w = f.start();
        int asked = 0;
        f.dialogs.printerChoice = [&](QPrinter&) { return ++asked, false; };
        w.findChild<QAction*>("tbPrint")->trigger();
        QCOMPARE(asked, 1);
    }

    void failedPrintJobEndsSilently()
    {
        WindowFixture f;
        auto& w = f.start();
        f.dialogs.printerChoice = [&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(f.path("no such folder/report.pdf"));
            return true;
        };
        w.action("mnuChan")->setChecked(false);
        w.action("mnuPrint")->trigger();
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(!QFile::exists(f.path("no such folder/report.pdf")));
        QVERIFY(w.chanFuncFrame()->isVisible());
        QVERIFY(w.action("mnuChan")->isChecked());
    }

    void noPrinterAndNoFileIsTold()
    {
        WindowFixture f;
        auto& w = f.start();
        f.dialogs.printerChoice = [](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString());
            return true;
        };
        w.action("mnuPrint")->trigger();
        QCOMPARE(f.dialogs.messages, std::vector<korvane::util::Message> { korvane::app::noPrinterMessage() });
        QVERIFY(w.chanFuncFrame()->isVisible());
    }

    void windowTextsAreWhatTheViewShows()
    {
        WindowFixture f;
        auto& w = f.start();
        prepareChannels(w);
        const auto texts = korvane::app::windowReportTexts(w);
        QCOMPARE(QString::fromStdString(texts.model), QString("MX-310(1)/MX-310S(1)"));
        QCOMPARE(QString::fromStdString(texts.band), QString("136～150MHz"));
        QCOMPARE(QString::fromStdString(texts.settings[0]), QString("暂态有条件监听"));
        QCOMPARE(QString::fromStdString(texts.settings[7]), QString("信道 12"));
        QCOMPARE(QString::fromStdString(texts.settings[10]), QString("3.0s"));
        QCOMPARE(QString::fromStdString(texts.channels[0].cells[2]), QString("CTCSS: 67.0"));
        QCOMPARE(QString::fromStdString(texts.channels[0].cells[0]), QString("140.00000"));
        QCOMPARE(QString::fromStdString(texts.channels[0].cells[9]), QString("Wide"));
        QVERIFY(texts.channels[2].closed && texts.channels[15].closed && !texts.channels[0].closed);
        QVERIFY(texts.channels[4].transmitInhibited && !texts.channels[3].transmitInhibited);
    }

    // The whole command, printing to a PDF file: one A4 page with every text where the page puts
    // it and the table's rules where they belong.
    void printsTheChannelViewOnOnePdfPage()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()
            || QStandardPaths::findExecutable("pdftoppm").isEmpty())
            QSKIP("poppler-utils is not installed");
        WindowFixture f;
        auto& w = f.start();
        prepareChannels(w);
        const QString pdf = f.path("report.pdf");
        QMarginsF margins;
        // The real print dialog: with or without a printer it offers a PDF file, chosen last.
        f.dialogs.printerChoice = [&](QPrinter& printer) {
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                auto* printers = dialog->findChild<QComboBox*>("printers");
                QVERIFY(printers->count() > 0);
                printers->setCurrentIndex(printers->count() - 1);
                dialog->findChild<QLineEdit*>("filename")->setText(pdf);
                dialog->accept();
            });
            const bool chosen = korvane::app::QtUserDialogs().choosePrinter(&w, printer);
            margins = printer.pageLayout().margins(QPageLayout::Point);
            return chosen;
        };
        VisibilityLog log;
        w.chanFuncFrame()->installEventFilter(&log);
        w.action("mnuChan")->setChecked(false);

        w.action("mnuPrint")->trigger();

        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(w.action("mnuChan")->isChecked());
        QVERIFY(w.chanFuncFrame()->isVisible());
        QCOMPARE(log.events, (std::vector<QEvent::Type> { QEvent::Hide, QEvent::Show }));
        QVERIFY(QFile::exists(pdf));
        if (const QByteArray keep = qgetenv("KORVANE_REPORT_PDF"); !keep.isEmpty()) {
            QFile::remove(QString::fromLocal8Bit(keep));
            QFile::copy(pdf, QString::fromLocal8Bit(keep));
        }

        const PdfText page = readPdfText(pdf);
        QCOMPARE(page.pages, 1);
        QVERIFY(qAbs(page.width - 595.28) < 1 && qAbs(page.height - 841.89) < 1); // A4 portrait, in whole points
        const auto atPoints
            = [&](int x, int y) { return QPointF(margins.left() + x / 20.0, margins.top() + y / 20.0); };

        // Every text of the page, word by word, and nothing else.
        const auto report = korvane::report::reportPage(korvane::app::windowReportTexts(w), 180);
        std::vector<bool> used(page.words.size(), false);
        for (const PageText& text : report.texts) {
            const QStringList words = QString::fromStdString(text.text).split(' ', Qt::SkipEmptyParts);
            const QPointF at = atPoints(text.x, text.y);
            for (int i = 0; i < words.size(); ++i) {
                bool found = false;
                for (std::size_t k = 0; k < page.words.size() && !found; ++k) {
                    const PdfWord& word = page.words[k];
                    if (used[k] || word.text != words[i] || qAbs(word.yMin - at.y()) > 0.3) continue;
                    if (i == 0 && qAbs(word.xMin - at.x()) > 0.3) continue;
                    used[k] = found = true;
                }
                QVERIFY2(found, qPrintable(QString("%1 at (%2, %3)").arg(words[i]).arg(text.x).arg(text.y)));
            }
        }
        for (std::size_t k = 0; k < page.words.size(); ++k)
            QVERIFY2(used[k], qPrintable("unexpected word " + page.words[k].text));

        // A few places by hand: the title, the model line, a signalling text of 11 characters,
        // channel 10's number, and the rows of a closed and of a transmit-inhibited channel.
        const auto wordsNear = [&](int y) {
            QStringList out;
            for (const PdfWord& word : page.words)
                if (qAbs(word.yMin - atPoints(0, y).y()) < 0.3) out << word.text;
            return out;
        };
        const auto placedAt = [&](const QString& text, int x, int y) {
            for (const PdfWord& word : page.words)
                if (word.text == text && (QPointF(word.xMin, word.yMin) - atPoints(x, y)).manhattanLength() < 0.5)
                    return true;
            return false;
        };
        QVERIFY(placedAt("对讲机参数设置", 3700, 1170));
        QVERIFY(placedAt("MX-310(1)/MX-310S(1)", 4000, 1710));
        QVERIFY(placedAt("优先信道:", 1400, 4860));
        QVERIFY(placedAt("CTCSS:", 3130, 7272));
        QVERIFY(placedAt("10", 1110, 7272 + 9 * 360));
        QCOMPARE(wordsNear(7272 + 2 * 360), QStringList { "3" });
        QCOMPARE(wordsNear(7272 + 4 * 360).size(), 1 + 3 + 4); // number, receive side (signalling "OFF"), flags

        // The rules, on the page rendered at 300 dpi: each row rule and column rule is dark
        // where it should be, across the whole table.
        QProcess render;
        render.start("pdftoppm", { "-r", "300", "-gray", "-png", "-singlefile", pdf, f.path("report") });
        QVERIFY(render.waitForFinished(60000));
        const QImage image(f.path("report.png"));
        QVERIFY(!image.isNull());
        const auto pixel = [&](int x, int y) { return atPoints(x, y) * (300.0 / 72.0); };
        const auto darkNear = [&](QPointF p, bool horizontal) {
            int darkest = 255;
            for (int d = -2; d <= 2; ++d) {
                const int px = qFloor(p.x()) + (horizontal ? 0 : d);
                const int py = qFloor(p.y()) + (horizontal ? d : 0);
                darkest = std::min(darkest, qGray(image.pixel(px, py)));
            }
            return darkest < 128;
        };
        const int top = 6570, bottom = 12960;
        for (int y = 7200; y <= 7200 + 15 * 360; y += 360)
            for (const int x : { 930, 2000, 5000, 8000, 9870 })
                QVERIFY2(darkNear(pixel(x, y), true), qPrintable(QString("row rule %1 at x %2").arg(y).arg(x)));
        for (const int x : { 900, 1500, 2490, 3075, 4215, 5205, 5865, 7005, 7725, 8445, 9165, 9900 })
            for (const int y : { top + 30, 7000, 10000, bottom - 30 })
                QVERIFY2(darkNear(pixel(x, y), false), qPrintable(QString("column rule %1 at y %2").arg(x).arg(y)));
        for (const int x : { 930, 5000, 9870 })
            QVERIFY(darkNear(pixel(x, top), true) && darkNear(pixel(x, bottom), true));
        // Outside the frame the paper is white.
        QVERIFY(!darkNear(pixel(5000, bottom + 200), true));
        QVERIFY(!darkNear(pixel(700, 10000), false));
    }
};

QTEST_MAIN(PrintCommandTest)
#include "print_command_test.moc"
