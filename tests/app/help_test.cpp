#include "app/help_commands.h"
#include "app/help_window.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

using korvane::app::HelpCommands;
using korvane::app::HelpWindow;
using korvane::test::WindowFixture;

namespace {

HelpCommands* helpCommandsOf(korvane::app::MainWindow& w) { return w.findChild<HelpCommands*>(); }

// Points the program's data folder somewhere else for one test.
class DataDirScope {
public:
    explicit DataDirScope(const QString& dir)
        : m_old(qgetenv("KORVANE_DATA_DIR"))
    {
        qputenv("KORVANE_DATA_DIR", dir.toLocal8Bit());
    }
    ~DataDirScope() { qputenv("KORVANE_DATA_DIR", m_old); }

private:
    QByteArray m_old;
};

QString manualSource() { return QStringLiteral(KORVANE_SOURCE_DIR "/data/manual"); }

// Clicks the first link to href the page shows, as the user would.
bool clickLink(QTextBrowser* browser, const QString& href)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href) continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(fragment.position() + 1);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            const QPoint at = browser->cursorRect(cursor).center();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
            return true;
        }
    }
    return false;
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void contentsOpensTheContentsPage()
    {
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuContent")->trigger();
        HelpWindow* help = helpCommandsOf(w)->helpWindow();
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QVERIFY(!help->isModal());
        QCOMPARE(help->objectName(), QString("frmHelp"));
        QCOMPARE(help->currentPage(), QString("index.html"));
        QCOMPARE(help->browser()->documentTitle(), QString("目录"));
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("第1章 开始使用")));
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(f.dialogs.modalNames.empty());
    }

    void indexOpensTheKeywordIndexInTheSameWindow()
    {
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuContent")->trigger();
        HelpWindow* first = helpCommandsOf(w)->helpWindow();
        w.action("mnuIndex")->trigger();
        QCOMPARE(helpCommandsOf(w)->helpWindow(), first);
        QCOMPARE(first->currentPage(), QString("keywords.html"));
        QCOMPARE(first->browser()->documentTitle(), QString("索引"));
        QVERIFY(first->browser()->toPlainText().contains(QStringLiteral("关键词索引")));

        // A closed help window is shown again, not made anew.
        first->close();
        w.action("mnuIndex")->trigger();
        QCOMPARE(helpCommandsOf(w)->helpWindow(), first);
        QVERIFY(first->isVisible());
        QCOMPARE(w.findChildren<HelpWindow*>().size(), qsizetype(1));
    }

    void indexAloneOpensTheIndex()
    {
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuIndex")->trigger();
        QCOMPARE(helpCommandsOf(w)->helpWindow()->currentPage(), QString("keywords.html"));
    }

    void keysCloseTheHelpWindow_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Esc") << QKeySequence(Qt::Key_Escape);
        QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
    }
    void keysCloseTheHelpWindow()
    {
        QFETCH(QKeySequence, keys);
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuContent")->trigger();
        HelpWindow* help = helpCommandsOf(w)->helpWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        help->browser()->setFocus();
        QTest::keySequence(help->windowHandle(), keys);
        QVERIFY(!help->isVisible());
    }

    void helpWindowButtonsNavigate()
    {
        WindowFixture f;
        auto& w = f.start();
        w.action("mnuContent")->trigger();
        HelpWindow* help = helpCommandsOf(w)->helpWindow();
        auto* back = help->findChild<QAction*>("helpBack");
        auto* forward = help->findChild<QAction*>("helpForward");
        QVERIFY(!back->isEnabled());

        help->findChild<QAction*>("helpIndex")->trigger();
        QCOMPARE(help->currentPage(), QString("keywords.html"));
        QVERIFY(back->isEnabled());
        back->trigger();
        QCOMPARE(help->currentPage(), QString("index.html"));
        QVERIFY(forward->isEnabled());
        forward->trigger();
        QCOMPARE(help->currentPage(), QString("keywords.html"));
        help->findChild<QAction*>("helpContents")->trigger();
        QCOMPARE(help->currentPage(), QString("index.html"));

        // A link of the index leads to its chapter, anchor and all.
        help->findChild<QAction*>("helpIndex")->trigger();
        QVERIFY(clickLink(help->browser(), "channels.html#col-step"));
        QCOMPARE(help->currentPage(), QString("channels.html"));
        QCOMPARE(help->browser()->source().fragment(), QString("col-step"));
        QCOMPARE(help->windowTitle(), QStringLiteral("帮助：第3章 机型与信道数据 - Korvane PC编程软件"));
    }

    void missingManualGivesTheMessage_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::newRow("contents") << "mnuContent";
        QTest::newRow("index") << "mnuIndex";
    }

    void missingManualGivesTheMessage()
    {
        QFETCH(QString, menu);
        QTemporaryDir empty;
        DataDirScope scope(empty.path());
        WindowFixture f;
        auto& w = f.start();
        w.action(menu)->trigger();
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        const auto& m = f.dialogs.messages.front();
        QCOMPARE(QString::fromStdString(m.text), QStringLiteral("无法找到帮助文件，请重新安装本软件。"));
        QCOMPARE(m.icon, korvane::util::MessageIcon::Information);
        QVERIFY(helpCommandsOf(w)->helpWindow() == nullptr);
    }

    void everyPageOfTheManualIsReachableAndEveryLinkLands()
    {
        const QDir dir(manualSource());
        const QStringList pages = dir.entryList({ "*.html" }, QDir::Files);
        QVERIFY(pages.contains("index.html"));
        QVERIFY(pages.contains("keywords.html"));
        QVERIFY(pages.size() >= 9);
        QVERIFY(QFileInfo::exists(dir.filePath("manual.css")));

        static const QRegularExpression href(R"re(href="([^"]*)")re");
        static const QRegularExpression name(R"re(name="([^"]*)")re");
        QHash<QString, QSet<QString>> anchors;
        QHash<QString, QString> texts;
        for (const QString& page : pages) {
            QFile file(dir.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString text = utf8(file.readAll());
            QVERIFY2(!utf8.hasError(), qPrintable(page + " is not UTF-8"));
            texts[page] = text;
            for (const auto& m : name.globalMatch(text)) {
                // A name given twice means a section was pasted twice.
                QVERIFY2(!anchors[page].contains(m.captured(1)), qPrintable(page + "#" + m.captured(1) + " twice"));
                anchors[page].insert(m.captured(1));
            }
        }
        QSet<QString> linked;
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            for (const auto& m : href.globalMatch(it.value())) {
                const QString target = m.captured(1);
                if (target.startsWith("http")) continue;
                const QString file = target.section('#', 0, 0).isEmpty() ? it.key() : target.section('#', 0, 0);
                const QString anchor = target.section('#', 1);
                QVERIFY2(texts.contains(file) || file == "manual.css", qPrintable(it.key() + " -> " + target));
                if (!anchor.isEmpty()) QVERIFY2(anchors[file].contains(anchor), qPrintable(it.key() + " -> " + target));
                linked.insert(file);
            }
        }
        for (const QString& page : pages)
            QVERIFY2(linked.contains(page), qPrintable(page + " is linked from nowhere"));
        // The contents page leads to every chapter itself.
        for (const QString& page : pages)
            if (page != "index.html") QVERIFY2(texts["index.html"].contains("href=\"" + page), qPrintable(page));
    }

    void troubleshootingQuotesTheProgramsMessages()
    {
        QFile file(manualSource() + "/trouble.html");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        const QStringList messages = {
            QStringLiteral("端口没有响应，请确保连接正确或机器电源是否打开！"),
            QStringLiteral("读频错误，请重新读频！"),
            QStringLiteral("写频错误，请重新写频！"),
            QStringLiteral("机型版本错误！本软件不支持该版本机型！"),
            QStringLiteral("机器内部出现数据错误！"),
            QStringLiteral("保存文件出错"),
            QStringLiteral("无法打开该文件，请检查文件是否存在！"),
            QStringLiteral("文件格式错误！本软件不支持该文件格式！"),
            QStringLiteral("打开文件时出现错误"),
            QStringLiteral("密码错误，请输入正确的密码！"),
            QStringLiteral("无法找到帮助文件，请重新安装本软件。"),
            QStringLiteral("System Infomation cann't be used."),
        };
        for (const QString& m : messages)
            QVERIFY2(text.contains(m), qPrintable(m));
    }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
