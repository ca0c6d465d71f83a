#include "app/channel_view.h"
#include "app/settings_lists.h"
#include "support/window_fixture.h"

#include <QtTest>

using korvane::test::WindowFixture;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void everyChannelStartsClosed()
    {
        WindowFixture f;
        auto& w = f.start();
        auto* view = w.channelView();
        for (int i = 0; i < 16; ++i) {
            QVERIFY(view->recChan(i)->isChecked());
            QVERIFY(!view->txChan(i)->isChecked());
            QVERIFY(!view->txChan(i)->isEnabled());
            QCOMPARE(view->grid()->text(i + 1, 1), QString("140.00000"));
            QCOMPARE(view->grid()->foreground(i + 1, 1), QColor(255, 255, 255));
        }
        QCOMPARE(w.windowTitle(), QString("Korvane PC编程软件"));
        QCOMPARE(w.bandLabel()->text(), QString("136～150MHz"));
        QCOMPARE(w.modelList()->currentIndex(), 0);
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(f.dialogs.questions.empty());
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
