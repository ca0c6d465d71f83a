// The boxes an exchange shows take input the way it really arrives: through their top-level
// window first, as the window system delivers it. Everything else stays deaf until the end.

#include "app/application_setup.h"
#include "app/link_runner.h"
#include "app/qt_user_dialogs.h"
#include "core/link/link_messages.h"

#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>

using namespace korvane;

namespace {

// Waits for the box the exchange shows, plays the user's part on it through its QWindow, and
// closes it by force if that part had no effect, so a deaf box fails the test instead of hanging.
class BoxPlayer : public QObject {
public:
    explicit BoxPlayer(std::function<void(QMessageBox&)> play)
        : m_play(std::move(play))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        m_timer.start(20);
    }
    bool stuck = false;
    int played = 0;

private:
    void tick()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            m_box = nullptr;
            return;
        }
        if (box != m_box) {
            m_box = box;
            m_waited = 0;
            ++played;
            m_play(*box);
        } else if (++m_waited > 100) {
            stuck = true;
            box->done(QMessageBox::No);
        }
    }

    std::function<void(QMessageBox&)> m_play;
    QTimer m_timer;
    QPointer<QMessageBox> m_box;
    int m_waited = 0;
};

void clickOnWindow(QWidget& target)
{
    QWidget* top = target.window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, target.mapTo(top, target.rect().center()));
}

} // namespace

class LinkRunnerTest : public QObject {
    Q_OBJECT
private slots:
    // Qt's own buttons speak the program's language (when the system has the translation, as
    // the program's package makes sure).
    void qtsOwnTextsAreChinese()
    {
        QVERIFY(app::loadQtChineseTexts());
        QMessageBox box(QMessageBox::Question, "t", "x", QMessageBox::Ok | QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QString("确定"));
        QCOMPARE(box.button(QMessageBox::Yes)->text().left(1), QString("是"));
        QCOMPARE(box.button(QMessageBox::No)->text().left(1), QString("否"));
    }

    void boxesTakeWindowSystemInput_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Return") << "Return" << true;
        QTest::newRow("Space") << "Space" << true;
        QTest::newRow("click") << "click" << true;
        QTest::newRow("Escape") << "Escape" << false;
        QTest::newRow("click No") << "clickNo" << false;
    }

    void boxesTakeWindowSystemInput()
    {
        QFETCH(QString, how);
        QFETCH(bool, yes);
        QWidget owner;
        auto* button = new QPushButton("x", &owner);
        int ownerClicks = 0;
        connect(button, &QPushButton::clicked, [&] { ++ownerClicks; });
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));

        BoxPlayer player([&](QMessageBox& box) {
            clickOnWindow(*button); // deaf while the exchange runs
            QWindow* window = box.windowHandle();
            if (how == "click" || how == "clickNo") {
                QAbstractButton* target = box.button(box.button(QMessageBox::Ok) ? QMessageBox::Ok
                        : how == "click"                                         ? QMessageBox::Yes
                                                                                 : QMessageBox::No);
                clickOnWindow(*target);
            } else {
                QTest::keyClick(window,
                    how == "Return"      ? Qt::Key_Return
                        : how == "Space" ? Qt::Key_Space
                                         : Qt::Key_Escape);
            }
        });

        app::QtUserDialogs dialogs;
        app::LinkRunner runner(&owner, dialogs);
        bool answer = !yes;
        runner.run([&](link::LinkUi& ui) {
            if (how != "Escape" && how != "clickNo") ui.showMessage(link::readComplete());
            answer = ui.askYesNo(link::roundingQuestion());
        });
        QVERIFY(!player.stuck);
        QCOMPARE(player.played, how == "Escape" || how == "clickNo" ? 1 : 2);
        QCOMPARE(answer, yes);
        QCOMPARE(ownerClicks, 0);
        clickOnWindow(*button); // and hears again afterwards
        QCOMPARE(ownerClicks, 1);
    }
};

QTEST_MAIN(LinkRunnerTest)
#include "link_runner_test.moc"
