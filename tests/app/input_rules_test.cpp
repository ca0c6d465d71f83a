// Input beyond each control's own keys and clicks: Enter on a focused button, the wheel over the
// content, context menus, text that arrives without typing, clicks on the grid with other buttons
// and the focus across a repaint of the channel frame. Input goes in through the top-level window.

#include "app/channel_view.h"
#include "app/frequency_box.h"
#include "app/new_password_dialog.h"
#include "app/password_dialog.h"
#include "app/settings_lists.h"
#include "app/signal_dialog.h"
#include "support/widget_driver.h"
#include "support/window_fixture.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QtTest>

using namespace korvane;
using test::named;

namespace {

QWindow* windowOf(const QWidget* w) { return w->window()->windowHandle(); }

// A point of `w` that shows on the screen, in the coordinates of its top-level window.
QPoint shownPoint(const QWidget* w, QPoint at = {})
{
    if (at.isNull()) at = w->visibleRegion().boundingRect().center();
    return w->mapTo(w->window(), at);
}

void clickAt(const QWidget* w, Qt::MouseButton button, QPoint at = {})
{
    QTest::mouseClick(windowOf(w), button, {}, shownPoint(w, at));
}

// One notch of the wheel over `w`, as the window system delivers it; up > 0 turns it away from
// the user.
void wheelOver(const QWidget* w, int up)
{
    const QPoint at = shownPoint(w);
    QWheelEvent event(
        at, w->window()->mapToGlobal(at), {}, { 0, 120 * up }, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(windowOf(w), &event); // as QTest does: sendEvent would make it a program's own event
}

struct Window {
    test::WindowFixture f;
    app::MainWindow* w = &f.start();
    app::RecordGrid* grid = w->channelView()->grid();
    Window() { QVERIFY(QTest::qWaitForWindowActive(w)); }

    void clickCell(int row, int column, Qt::MouseButton button = Qt::LeftButton)
    {
        clickAt(grid->viewport(), button, test::cellCentre(grid, row, column));
    }

    // Opens the first channel (a new image has them closed) and its receive frequency box.
    app::FrequencyBox* openFrequencyBox()
    {
        if (w->channelView()->recChan(0)->isChecked()) clickAt(w->channelView()->recChan(0), Qt::LeftButton);
        clickCell(1, 1);
        return w->txtRecFreq();
    }
};

std::unique_ptr<QDialog> makeDialog(test::RecordingDialogs& dialogs, const QString& name)
{
    std::unique_ptr<QDialog> dialog;
    if (name == "frmSignal") {
        auto signal = std::make_unique<app::SignalDialog>(dialogs, QString());
        signal->setMSignal(3);
        signal->setDSignal(670);
        dialog = std::move(signal);
    } else if (name == "frmPass") {
        auto pass = std::make_unique<app::PasswordDialog>(dialogs);
        pass->setPass("secret");
        dialog = std::move(pass);
    } else {
        dialog = std::make_unique<app::NewPasswordDialog>(dialogs);
    }
    dialog->show();
    if (!QTest::qWaitForWindowActive(dialog.get())) qWarning("the dialog is not active");
    return dialog;
}

} // namespace

class InputRulesTest : public QObject {
    Q_OBJECT
private slots:
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("signalling Cancel") << "frmSignal" << QString("cmdCancel") << false;
        QTest::newRow("password Cancel") << "frmPass" << QString("cmdPassCancel") << false;
        QTest::newRow("new password OK") << "frmNewPass" << QString("cmdNewPassOK") << true;
        QTest::newRow("new password Cancel") << "frmNewPass" << QString("cmdNewPassCancel") << false;
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, button);
        QFETCH(bool, accepted);
        test::RecordingDialogs dialogs;
        const auto shown = makeDialog(dialogs, dialog);
        named<QPushButton>(shown.get(), button)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(windowOf(shown.get()), Qt::Key_Return);
        QVERIFY(!shown->isVisible());
        QCOMPARE(shown->result() == QDialog::Accepted, accepted);
        QCOMPARE(dialogs.messages.size(), 0u);
    }

    void wheelScrollsTheContentUnlessAListHasTheFocus_data()
    {
        QTest::addColumn<QString>("under");
        QTest::addColumn<bool>("focused");
        QTest::newRow("grid") << "gridChan" << false;
        QTest::newRow("settings list") << "cboFuncTOT" << false;
        QTest::newRow("model list") << "cboRadiomodel" << false;
        QTest::newRow("settings list with the focus") << "cboFuncTOT" << true;
    }
    void wheelScrollsTheContentUnlessAListHasTheFocus()
    {
        QFETCH(QString, under);
        QFETCH(bool, focused);
        Window t;
        QScrollBar* bar = named<QScrollBar>(t.w, "vscMain");
        QVERIFY(bar->isVisible());
        bar->setValue(bar->maximum() / 2);
        QWidget* target = named<QWidget>(t.w, under);
        QVERIFY(!target->visibleRegion().isEmpty());
        auto* list = qobject_cast<QComboBox*>(target);
        if (list) list->setCurrentIndex(1);
        if (focused) target->setFocus(Qt::TabFocusReason);
        const int position = bar->value();
        wheelOver(target, 1);
        QCOMPARE(bar->value() != position, !focused);
        if (list) {
            QCOMPARE(list->currentIndex() != 1, focused);
            QCOMPARE(list->hasFocus(), focused); // the wheel alone never gives it the focus
        }
        QCOMPARE(t.f.dialogs.questions.size(), 0u);
    }

    void noContextMenus_data()
    {
        QTest::addColumn<QString>("dialog"); // empty: the main window
        QTest::addColumn<QString>("box");
        QTest::newRow("content bar") << "" << QString("vscMain");
        QTest::newRow("tone box") << "frmSignal" << QString("cboChQT");
        QTest::newRow("password") << "frmPass" << QString("txtPass");
        QTest::newRow("new password") << "frmNewPass" << QString("txtConPass");
    }
    void noContextMenus()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, box);
        Window t;
        test::RecordingDialogs dialogs;
        std::unique_ptr<QDialog> shown;
        QWidget* root = t.w;
        if (!dialog.isEmpty()) root = (shown = makeDialog(dialogs, dialog)).get();
        QWidget* target = named<QWidget>(root, box);
        if (auto* list = qobject_cast<QComboBox*>(target)) target = list->lineEdit();
        QVERIFY(target->isVisible());
        bool menuShown = false;
        // A bar's menu runs its own loop until it is closed.
        QTimer::singleShot(0, this, [&menuShown] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuShown = true;
                popup->close();
            }
        });
        clickAt(target, Qt::RightButton);
        QCoreApplication::processEvents();
        QVERIFY(!menuShown);
    }

    void onlyTypableTextGetsIn_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("takes");
        QTest::newRow("tone letters") << "cboChQT" << QString("6a.5") << false;
        QTest::newRow("tone too long") << "cboChQT" << QString("123.45") << false;
        QTest::newRow("tone") << "cboChQT" << QString("88.5") << true;
        QTest::newRow("code not octal") << "cboChDQT" << QString("028") << false;
        QTest::newRow("frequency letters") << "txtRecFreq" << QString("14x") << false;
        QTest::newRow("frequency") << "txtRecFreq" << QString("145.5") << true;
    }
    void onlyTypableTextGetsIn()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(bool, takes);
        Window t;
        test::RecordingDialogs dialogs;
        std::unique_ptr<QDialog> shown;
        QLineEdit* edit = nullptr;
        if (box == "txtRecFreq") {
            edit = t.openFrequencyBox();
        } else {
            shown = makeDialog(dialogs, "frmSignal");
            auto* signal = static_cast<app::SignalDialog*>(shown.get());
            signal->option(box == "cboChQT" ? app::SignalDialog::Ctcss : app::SignalDialog::Cdcss)->setChecked(true);
            auto* list = named<QComboBox>(signal, box);
            list->setFocus(Qt::TabFocusReason);
            edit = list->lineEdit();
        }
        QTRY_VERIFY(edit->hasFocus());
        edit->selectAll();
        const QString before = edit->text();
        // An input method's text; a middle-click paste is checked the same way, but the offscreen
        // platform has no selection to paste from.
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(QGuiApplication::focusObject(), &commit);
        QCOMPARE(edit->text(), takes ? text : before);
    }

    void otherButtonsLeaveTheCurrentCell_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }
    void otherButtonsLeaveTheCurrentCell()
    {
        QFETCH(Qt::MouseButton, button);
        Window t;
        t.grid->setCurrentCell(2, 2);
        t.clickCell(5, 7, button);
        QCOMPARE(t.grid->currentRow(), 2);
        QCOMPARE(t.grid->currentColumn(), 2);
    }

    void focusStaysThroughARepaint_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("12.5kHz chosen with the keyboard") << "cboFuncBand";
        QTest::newRow("Save from the grid") << "gridChan";
    }
    void focusStaysThroughARepaint()
    {
        QFETCH(QString, control);
        Window t;
        QWidget* focus = named<QWidget>(t.w, control);
        focus->setFocus(Qt::TabFocusReason);
        if (auto* band = qobject_cast<QComboBox*>(focus)) {
            QCOMPARE(band->currentIndex(), 0);
            QTest::keyClick(windowOf(band), Qt::Key_Down);
            QCOMPARE(band->currentIndex(), 1);
        } else {
            t.f.dialogs.saveChoices.push_back(app::FileChoice { t.f.path("a.rdw") });
            t.w->action("mnuSave")->trigger();
            QVERIFY(QFile::exists(t.f.path("a.rdw")));
        }
        QCOMPARE(QApplication::focusWidget(), focus);
    }
};

QTEST_MAIN(InputRulesTest)
#include "input_rules_test.moc"
