// Scrolling the content frame `Frame1` with the window's bars `hscMain` and `vscMain`, the corner
// frame `fraRtBt`, and the layout again after the screen's width changed.

#include "app/channel_view.h"
#include "app/content_scroller.h"
#include "support/widget_driver.h"
#include "support/window_fixture.h"

#include <QFrame>
#include <QGroupBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QtTest>

using korvane::app::computeScrollLayout;
using korvane::app::largeChange;
using korvane::app::smallChange;
using korvane::test::named;
using korvane::test::WindowFixture;

namespace {

struct Scroller {
    WindowFixture f;
    korvane::app::MainWindow* w = nullptr;
    QWidget* content = nullptr;
    QWidget* frame = nullptr;
    QScrollBar* hsc = nullptr;
    QScrollBar* vsc = nullptr;
    QFrame* corner = nullptr;
    int bar = 0;

    Scroller()
    {
        w = &f.start();
        frame = named<QWidget>(w, "Frame1");
        content = frame->parentWidget();
        hsc = named<QScrollBar>(w, "hscMain");
        vsc = named<QScrollBar>(w, "vscMain");
        corner = named<QFrame>(w, "fraRtBt");
        bar = content->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }

    // Resizes the window so that the content area (between toolbar and status bar) has this size.
    void clientSize(int width, int height)
    {
        w->resize(w->width() + width - content->width(), w->height() + height - content->height());
        QTRY_COMPARE(content->size(), QSize(width, height));
    }

    // Whether `a` lies above `b` among their common parent's children.
    bool inFront(const QWidget* a, const QWidget* b) const
    {
        const QObjectList& children = content->children();
        return children.indexOf(a) > children.indexOf(b);
    }
};

} // namespace

class ScrollingTest : public QObject {
    Q_OBJECT
private slots:
    void changes_data()
    {
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("small");
        QTest::addColumn<int>("large");
        QTest::newRow("40") << 40 << 3 << 11;
        QTest::newRow("0") << 0 << 1 << 1;
        QTest::newRow("15") << 15 << 1 << 4;
        QTest::newRow("16") << 16 << 2 << 5;
        QTest::newRow("401") << 401 << 26 << 101;
    }

    void changes()
    {
        QFETCH(int, maximum);
        QFETCH(int, small);
        QFETCH(int, large);
        QCOMPARE(smallChange(maximum), small);
        QCOMPARE(largeChange(maximum), large);
    }

    void whichBarsShow_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("hMax");
        QTest::addColumn<int>("vMax");
        // A frame of 500 x 400 and bars 10 thick.
        QTest::newRow("room for all") << QSize(600, 500) << false << false << 0 << 0;
        QTest::newRow("exactly the frame") << QSize(500, 400) << false << false << 0 << 0;
        QTest::newRow("narrower") << QSize(450, 500) << true << false << 50 << 0;
        QTest::newRow("lower") << QSize(600, 350) << false << true << 0 << 50;
        QTest::newRow("both") << QSize(450, 350) << true << true << 60 << 60;
        // The horizontal bar takes height the frame needed: the vertical bar follows.
        QTest::newRow("narrower, just tall enough") << QSize(450, 405) << true << true << 60 << 5;
        // The vertical bar takes width the frame needed: the horizontal bar follows.
        QTest::newRow("lower, just wide enough") << QSize(505, 350) << true << true << 5 << 60;
    }

    void whichBarsShow()
    {
        QFETCH(QSize, client);
        QFETCH(bool, horizontal);
        QFETCH(bool, vertical);
        QFETCH(int, hMax);
        QFETCH(int, vMax);
        const auto layout = computeScrollLayout(client, QSize(500, 400), 10);
        QCOMPARE(layout.showHorizontal, horizontal);
        QCOMPARE(layout.showVertical, vertical);
        QCOMPARE(layout.horizontalMax, hMax);
        QCOMPARE(layout.verticalMax, vMax);
        QCOMPARE(!layout.corner.isEmpty(), horizontal && vertical);
        if (horizontal) QCOMPARE(layout.horizontal.bottom(), client.height() - 1);
        if (vertical) QCOMPARE(layout.vertical.right(), client.width() - 1);
        if (horizontal && vertical) {
            QCOMPARE(layout.horizontal.right() + 1, layout.corner.left());
            QCOMPARE(layout.vertical.bottom() + 1, layout.corner.top());
            QCOMPARE(layout.corner.size(), QSize(10, 10));
        }
    }

    void largeWindowShowsNoBar()
    {
        Scroller s;
        s.clientSize(s.frame->width() + 50, s.frame->height() + 50);
        QVERIFY(!s.hsc->isVisible());
        QVERIFY(!s.vsc->isVisible());
        QVERIFY(!s.corner->isVisible());
        QCOMPARE(s.frame->pos(), QPoint(0, 0));
    }

    void narrowWindowShowsTheHorizontalBar()
    {
        Scroller s;
        const int width = s.frame->width() - 100;
        s.clientSize(width, s.frame->height() + 50);
        QVERIFY(s.hsc->isVisible());
        QVERIFY(!s.vsc->isVisible());
        QVERIFY(!s.corner->isVisible());
        QCOMPARE(s.hsc->maximum(), 100);
        QCOMPARE(s.hsc->singleStep(), 7);
        QCOMPARE(s.hsc->pageStep(), 26);
        // Along the bottom edge, directly above the status bar, over the content.
        QCOMPARE(s.hsc->geometry(), QRect(0, s.content->height() - s.bar, width, s.bar));
        QCOMPARE(s.hsc->mapTo(s.w, QPoint(0, s.hsc->height())).y(), s.w->statusBar()->geometry().top());
        QVERIFY(s.inFront(s.hsc, s.frame));
        s.hsc->setValue(60);
        QCOMPARE(s.frame->pos(), QPoint(-60, 0));
        s.hsc->setValue(100);
        QCOMPARE(s.frame->x(), -100);
        // The window grows again: the frame returns to its place.
        s.clientSize(s.frame->width() + 50, s.frame->height() + 50);
        QCOMPARE(s.frame->pos(), QPoint(0, 0));
    }

    void lowWindowShowsTheVerticalBar()
    {
        Scroller s;
        const int height = s.frame->height() - 200;
        s.clientSize(s.frame->width() + 50, height);
        QVERIFY(!s.hsc->isVisible());
        QVERIFY(s.vsc->isVisible());
        QCOMPARE(s.vsc->maximum(), 200);
        QCOMPARE(s.vsc->singleStep(), 13);
        QCOMPARE(s.vsc->pageStep(), 51);
        // Along the right edge, directly below the toolbar.
        QCOMPARE(s.vsc->geometry(), QRect(s.content->width() - s.bar, 0, s.bar, height));
        QVERIFY(s.inFront(s.vsc, s.frame));
        s.vsc->setValue(150);
        QCOMPARE(s.frame->pos(), QPoint(0, -150));
    }

    void smallWindowShowsBothBarsAndTheCorner()
    {
        Scroller s;
        s.clientSize(400, 300);
        QVERIFY(s.hsc->isVisible());
        QVERIFY(s.vsc->isVisible());
        QVERIFY(s.corner->isVisible());
        QCOMPARE(s.hsc->geometry(), QRect(0, 300 - s.bar, 400 - s.bar, s.bar));
        QCOMPARE(s.vsc->geometry(), QRect(400 - s.bar, 0, s.bar, 300 - s.bar));
        QCOMPARE(s.corner->geometry(), QRect(400 - s.bar, 300 - s.bar, s.bar, s.bar));
        QCOMPARE(s.hsc->maximum(), s.frame->width() - (400 - s.bar));
        QCOMPARE(s.vsc->maximum(), s.frame->height() - (300 - s.bar));
        QVERIFY(s.inFront(s.corner, s.frame));
        s.hsc->setValue(s.hsc->maximum());
        s.vsc->setValue(s.vsc->maximum());
        QCOMPARE(s.frame->pos(), QPoint(-s.hsc->maximum(), -s.vsc->maximum()));
    }

    void maximumOf40()
    {
        Scroller s;
        s.clientSize(s.frame->width() - 40, s.frame->height() + 50);
        QCOMPARE(s.hsc->maximum(), 40);
        QCOMPARE(s.hsc->singleStep(), 3);
        QCOMPARE(s.hsc->pageStep(), 11);
        s.clientSize(s.frame->width() + 50, s.frame->height() - 40);
        QCOMPARE(s.vsc->maximum(), 40);
        QCOMPARE(s.vsc->singleStep(), 3);
        QCOMPARE(s.vsc->pageStep(), 11);
    }

    void standardSizeNeedsOnlyTheVerticalBar()
    {
        Scroller s;
        QCOMPARE(s.w->size(), QSize(800, 600));
        QVERIFY(!s.hsc->isVisible());
        QVERIFY(s.vsc->isVisible());
    }

    void keysScrollByTheChanges()
    {
        Scroller s;
        s.clientSize(s.frame->width() - 40, s.frame->height() + 50);
        s.hsc->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(s.frame->x(), -3);
        s.hsc->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(s.frame->x(), -14);
    }

    void screenWidthChangeLaysTheWindowOutAgain()
    {
        QTemporaryDir dir;
        korvane::test::RecordingDialogs dialogs;
        int screenWidth = 1024;
        korvane::app::MainWindow w(
            dialogs, { dir.filePath("korvane.ini"), [] { return 0; }, [&] { return screenWidth; } });
        w.show();
        auto* grid = named<korvane::app::RecordGrid>(&w, "gridChan");
        auto* channels = named<QGroupBox>(&w, "fraChan");
        auto* frame = named<QWidget>(&w, "Frame1");
        const int column1 = grid->columnWidth(1);
        const int column7 = grid->columnWidth(7);

        // The same screen: an ordinary resize only scrolls.
        w.resize(1000, 700);
        QTRY_COMPARE(w.size(), QSize(1000, 700));
        QCOMPARE(grid->columnWidth(1), column1);

        // Another screen width: the standard size again and the grid with its second set of factors.
        screenWidth = 1280;
        w.resize(900, 650);
        QTRY_COMPARE(w.size(), QSize(800, 600));
        QVERIFY(grid->columnWidth(1) > column1); // 1.35 column units instead of 1.25
        QVERIFY(grid->columnWidth(7) > column7); // 0.88 instead of 0.85
        // Everything still fits where it belongs: boxes beside the grid inside the channel frame,
        // the lists below it, all inside Frame1.
        for (int i = 0; i < 16; ++i) {
            auto* box = korvane::test::indexed<QCheckBox>(&w, "chkTxChan", i);
            QVERIFY(channels->rect().contains(box->geometry()));
            QVERIFY(box->x() > grid->geometry().right());
        }
        QVERIFY(channels->rect().contains(grid->geometry()));
        auto* lists = named<QGroupBox>(&w, "fraFunction");
        QVERIFY(lists->y() > channels->geometry().bottom());
        auto* chanFunc = named<QWidget>(&w, "fraChanFunc");
        QVERIFY(frame->rect().contains(chanFunc->geometry()));

        // Recorded: the next resize on that screen keeps its size.
        w.resize(1100, 750);
        QTRY_COMPARE(w.size(), QSize(1100, 750));
        QVERIFY(grid->columnWidth(1) > column1);
    }
};

QTEST_MAIN(ScrollingTest)
#include "scrolling_test.moc"
