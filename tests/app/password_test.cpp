// The alignment-mode password: entering alignment mode through `frmPass`, changing the password
// with `frmNewPass`, and the menus and frames that switch between the two views.

#include "app/alignment_view.h"
#include "app/new_password_dialog.h"
#include "app/password_dialog.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QStyle>
#include <QtTest>

using namespace korvane;
using korvane::test::WindowFixture;

namespace {

const std::string kWrongPassword = "密码错误，请输入正确的密码！";
const std::string kMismatch = "错误，请重复输入一致的新密码！";

void writeSettings(WindowFixture& f, const QByteArray& password)
{
    QFile file(f.settingsPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("comport=1\r\nfilename=\r\npassword=" + password + "\r\n");
}

// Plays the user at the password dialog: each text typed in turn and confirmed with Enter.
void answerPassword(WindowFixture& f, QStringList typed)
{
    f.dialogs.modalScripts.push_back([typed](QDialog& shown) {
        auto* dialog = qobject_cast<app::PasswordDialog*>(&shown);
        QVERIFY(dialog);
        for (const QString& text : typed) {
            if (!dialog->isVisible()) break;
            dialog->txtPass()->selectAll();
            QTest::keyClick(dialog->txtPass(), Qt::Key_Backspace);
            QTest::keyClicks(dialog->txtPass(), text);
            QTest::keyClick(dialog->txtPass(), Qt::Key_Return);
        }
    });
}

void answerNewPassword(WindowFixture& f, std::vector<std::pair<QString, QString>> typed)
{
    f.dialogs.modalScripts.push_back([typed](QDialog& shown) {
        auto* dialog = qobject_cast<app::NewPasswordDialog*>(&shown);
        QVERIFY(dialog);
        for (const auto& [first, second] : typed) {
            if (!dialog->isVisible()) break;
            dialog->txtNewPass()->setText(first);
            dialog->txtConPass()->setText(second);
            QTest::mouseClick(dialog->cmdNewPassOK(), Qt::LeftButton);
        }
    });
}

bool inAlignmentMode(app::MainWindow& w) { return w.alignmentView()->viewOn(); }

} // namespace

class PasswordTest : public QObject {
    Q_OBJECT
private slots:
    void dialogLooksAsDescribed()
    {
        test::RecordingDialogs dialogs;
        app::PasswordDialog dialog(dialogs);
        QCOMPARE(dialog.objectName(), QString("frmPass"));
        QCOMPARE(dialog.windowTitle(), QString("调整模式密码"));
        QCOMPARE(dialog.findChild<QLabel*>("Label1")->text(), QString("请输入密码："));
        QCOMPARE(dialog.txtPass()->echoMode(), QLineEdit::Password);
        QCOMPARE(dialog.txtPass()->maxLength(), 10);
        QCOMPARE(dialog.txtPass()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, dialog.txtPass()),
            int('*'));
        QCOMPARE(dialog.cmdPassOK()->text(), QString("确定"));
        QCOMPARE(dialog.cmdPassOK()->toolTip(), QString("按此键确定"));
        QVERIFY(dialog.cmdPassOK()->isDefault());
        QCOMPARE(dialog.cmdPassCancel()->toolTip(), QString("取消进入调整模式"));
        QVERIFY(dialog.cancelPressed());

        app::NewPasswordDialog change(dialogs);
        QCOMPARE(change.objectName(), QString("frmNewPass"));
        QCOMPARE(change.windowTitle(), QString("修改密码"));
        QCOMPARE(change.findChild<QLabel*>("Label1")->text(), QString("新密码："));
        QCOMPARE(change.findChild<QLabel*>("Label2")->text(), QString("重复新密码："));
        for (QLineEdit* box : { change.txtNewPass(), change.txtConPass() }) {
            QCOMPARE(box->echoMode(), QLineEdit::Password);
            QCOMPARE(box->maxLength(), 10);
        }
        QVERIFY(!change.cmdNewPassOK()->isDefault());
        QCOMPARE(change.cmdNewPassOK()->toolTip(), QString("按此键确认修改"));
        QCOMPARE(change.cmdNewPassCancel()->toolTip(), QString("取消修改密码"));
    }

    void rightPasswordEntersTheView()
    {
        WindowFixture f;
        writeSettings(f, "Tune42");
        auto& w = f.start();
        answerPassword(f, { "Tune42" });
        w.action("mnuTune")->trigger();
        QCOMPARE(f.dialogs.modalNames, std::vector<QString> { "frmPass" });
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(inAlignmentMode(w));
    }

    void wrongPasswordThreeTimesClosesTheDialog()
    {
        WindowFixture f;
        writeSettings(f, "Tune42");
        auto& w = f.start();
        // Letter case counts; the third wrong entry closes the dialog after its message.
        answerPassword(f, { "tune42", "TUNE42", "Tune4", "Tune42" });
        w.action("mnuTune")->trigger();
        QCOMPARE(f.dialogs.texts(), (std::vector<std::string>(3, kWrongPassword)));
        QCOMPARE(f.dialogs.messages[0].title, std::string("密码错误"));
        QCOMPARE(f.dialogs.messages[0].icon, util::MessageIcon::Exclamation);
        QVERIFY(!inAlignmentMode(w));
        QVERIFY(!w.action("mnuTune")->isChecked());
        QVERIFY(w.action("mnuChan")->isChecked());

        // Opened again, it gives three new tries.
        answerPassword(f, { "x", "y", "Tune42" });
        w.action("mnuTune")->trigger();
        QCOMPARE(f.dialogs.messages.size(), std::size_t(5));
        QVERIFY(inAlignmentMode(w));
    }

    void wrongEntryIsSelectedForRetyping()
    {
        WindowFixture f;
        writeSettings(f, "abc");
        auto& w = f.start();
        f.dialogs.modalScripts.push_back([](QDialog& shown) {
            auto* dialog = qobject_cast<app::PasswordDialog*>(&shown);
            dialog->activateWindow();
            QTest::keyClicks(dialog->txtPass(), "abd");
            QTest::mouseClick(dialog->cmdPassOK(), Qt::LeftButton);
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->txtPass()->selectedText(), QString("abd"));
            QTest::keyClicks(dialog->txtPass(), "abc"); // replaces the selection
            QTest::mouseClick(dialog->cmdPassOK(), Qt::LeftButton);
        });
        w.action("mnuTune")->trigger();
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QVERIFY(inAlignmentMode(w));
    }

    void cancelledOrClosedChangesNothing()
    {
        WindowFixture f;
        auto& w = f.start();
        f.dialogs.modalScripts.push_back([](QDialog& shown) {
            auto* dialog = qobject_cast<app::PasswordDialog*>(&shown);
            QTest::mouseClick(dialog->cmdPassCancel(), Qt::LeftButton);
        });
        w.action("mnuTune")->trigger();
        QVERIFY(!inAlignmentMode(w));
        f.dialogs.modalScripts.push_back([](QDialog& shown) { QTest::keyClick(&shown, Qt::Key_Escape); });
        w.action("mnuTune")->trigger();
        QVERIFY(!inAlignmentMode(w));
        f.dialogs.modalScripts.push_back([](QDialog& shown) { shown.close(); });
        w.action("mnuTune")->trigger();
        QVERIFY(!inAlignmentMode(w));
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(!w.action("mnuTune")->isChecked());
        QVERIFY(w.chanFuncFrame()->isVisible());
    }

    void emptyPasswordWithNoSettingsFile()
    {
        WindowFixture f;
        QVERIFY(!QFile::exists(f.settingsPath()));
        auto& w = f.start();
        QCOMPARE(w.state().password, QString());
        answerPassword(f, { "" });
        w.action("mnuTune")->trigger();
        QVERIFY(inAlignmentMode(w));
    }

    void storedPasswordLongerThanTenCannotBeTyped()
    {
        WindowFixture f;
        writeSettings(f, "abcdefghijk");
        auto& w = f.start();
        answerPassword(f, { "abcdefghijk", "abcdefghij", "abcdefghijkl" });
        w.action("mnuTune")->trigger();
        QCOMPARE(f.dialogs.messages.size(), std::size_t(3));
        QVERIFY(!inAlignmentMode(w));
    }

    void alignmentModeAlreadyOnAsksNothing()
    {
        WindowFixture f;
        auto& w = f.start();
        answerPassword(f, { "" });
        w.action("mnuTune")->trigger();
        QVERIFY(inAlignmentMode(w));
        w.action("mnuTune")->trigger();
        QCOMPARE(f.dialogs.modalNames.size(), std::size_t(1));
        QVERIFY(inAlignmentMode(w));
        QVERIFY(w.action("mnuTune")->isChecked());
    }

    void enteringAndLeavingTheView()
    {
        WindowFixture f;
        auto& w = f.start();
        app::AlignmentView* view = w.alignmentView();
        QVERIFY(!view->treeView2()->isVisible());
        QVERIFY(!view->fraTuneSet()->isVisible());
        QVERIFY(!view->fraTune()->isVisible());
        QVERIFY(!w.action("mnuPass")->isVisible());
        QVERIFY(w.action("mnuChan")->isChecked());

        answerPassword(f, { "" });
        w.action("mnuTune")->trigger();
        QVERIFY(!w.chanFuncFrame()->isVisible());
        QVERIFY(!w.action("mnuChan")->isChecked());
        QVERIFY(w.action("mnuTune")->isChecked());
        QVERIFY(view->treeView2()->isVisible());
        QVERIFY(view->fraTuneSet()->isVisible());
        QVERIFY(view->gridTuneFreq()->isVisible());
        QVERIFY(!view->fraTune()->isVisible());
        QVERIFY(w.action("mnuPass")->isVisible());
        QVERIFY(!w.action("mnuPrint")->isEnabled());
        QVERIFY(!w.action("tbPrint")->isEnabled());

        w.action("mnuChan")->trigger();
        QVERIFY(w.chanFuncFrame()->isVisible());
        QVERIFY(!view->treeView2()->isVisible());
        QVERIFY(!view->fraTuneSet()->isVisible());
        QVERIFY(w.action("mnuChan")->isChecked());
        QVERIFY(!w.action("mnuTune")->isChecked());
        QVERIFY(!w.action("mnuPass")->isVisible());
        QVERIFY(w.action("mnuPrint")->isEnabled());
        QVERIFY(w.action("tbPrint")->isEnabled());
        QTRY_VERIFY(w.modelList()->hasFocus() || !w.isActiveWindow());

        // The channel command in the channel view keeps it as it is.
        w.action("mnuChan")->trigger();
        QVERIFY(w.action("mnuChan")->isChecked());
        QVERIFY(w.chanFuncFrame()->isVisible());

        // The tree's exit entry leaves the same way, and the password is asked again next time.
        answerPassword(f, { "" });
        w.action("mnuTune")->trigger();
        QVERIFY(inAlignmentMode(w));
        view->nodeClick("exit");
        QVERIFY(!inAlignmentMode(w));
        QVERIFY(w.chanFuncFrame()->isVisible());
        QVERIFY(w.action("mnuPrint")->isEnabled());
        QVERIFY(!w.action("mnuPass")->isVisible());
        QCOMPARE(f.dialogs.modalNames.size(), std::size_t(2));
    }

    void changingThePasswordIsSavedAtExit()
    {
        WindowFixture f;
        writeSettings(f, "old");
        auto& w = f.start();
        answerPassword(f, { "old" });
        w.action("mnuTune")->trigger();
        answerNewPassword(f, { { "new1", "new1" } });
        w.action("mnuPass")->trigger();
        QCOMPARE(f.dialogs.modalNames.back(), QString("frmNewPass"));
        QCOMPARE(w.state().password, QString("new1"));
        QVERIFY(f.dialogs.messages.empty());
        w.close();
        QFile file(f.settingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("password=new1"));
    }

    void changeMismatchThreeTimesKeepsThePassword()
    {
        WindowFixture f;
        writeSettings(f, "old");
        auto& w = f.start();
        answerPassword(f, { "old" });
        w.action("mnuTune")->trigger();
        answerNewPassword(f, { { "a", "b" }, { "a", "A" }, { "abc", "ab" }, { "a", "a" } });
        w.action("mnuPass")->trigger();
        QCOMPARE(f.dialogs.texts(), (std::vector<std::string>(3, kMismatch)));
        QCOMPARE(f.dialogs.messages[0].title, std::string("新密码错误"));
        QCOMPARE(w.state().password, QString("old"));
    }

    void changeToTheEmptyPassword()
    {
        WindowFixture f;
        writeSettings(f, "old");
        auto& w = f.start();
        answerPassword(f, { "old" });
        w.action("mnuTune")->trigger();
        answerNewPassword(f, { { "", "" } });
        w.action("mnuPass")->trigger();
        QCOMPARE(w.state().password, QString());

        // The next entry into the mode takes the empty password.
        w.action("mnuChan")->trigger();
        answerPassword(f, { "" });
        w.action("mnuTune")->trigger();
        QVERIFY(inAlignmentMode(w));
    }

    void changeDialogKeys()
    {
        test::RecordingDialogs dialogs;
        app::NewPasswordDialog dialog(dialogs);
        dialog.show();
        dialog.activateWindow();
        QTRY_VERIFY(dialog.isActiveWindow());
        dialog.txtNewPass()->setFocus();
        dialog.txtConPass()->setText("old");
        QTest::keyClicks(dialog.txtNewPass(), "pw");
        // Enter in the first box moves on and selects the second box's text.
        QTest::keyClick(dialog.txtNewPass(), Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.txtConPass()->hasFocus());
        QCOMPARE(dialog.txtConPass()->selectedText(), QString("old"));
        QTest::keyClicks(dialog.txtConPass(), "px");
        QTest::keyClick(dialog.txtConPass(), Qt::Key_Return);
        QCOMPARE(dialogs.texts(), std::vector<std::string> { kMismatch });
        QCOMPARE(dialog.txtConPass()->selectedText(), QString("px"));
        QVERIFY(dialog.txtConPass()->hasFocus());
        QTest::keyClicks(dialog.txtConPass(), "pw");
        QTest::keyClick(dialog.txtConPass(), Qt::Key_Return);
        QVERIFY(!dialog.cancelPressed());
        QCOMPARE(dialog.pass(), QString("pw"));
        QVERIFY(!dialog.isVisible());
    }

    void cancellingTheChangeKeepsThePassword()
    {
        WindowFixture f;
        writeSettings(f, "old");
        auto& w = f.start();
        answerPassword(f, { "old" });
        w.action("mnuTune")->trigger();
        f.dialogs.modalScripts.push_back([](QDialog& shown) {
            auto* dialog = qobject_cast<app::NewPasswordDialog*>(&shown);
            dialog->txtNewPass()->setText("x");
            dialog->txtConPass()->setText("x");
            QTest::mouseClick(dialog->cmdNewPassCancel(), Qt::LeftButton);
        });
        w.action("mnuPass")->trigger();
        f.dialogs.modalScripts.push_back([](QDialog& shown) {
            auto* dialog = qobject_cast<app::NewPasswordDialog*>(&shown);
            dialog->txtNewPass()->setText("x");
            dialog->txtConPass()->setText("x");
            dialog->close();
        });
        w.action("mnuPass")->trigger();
        QCOMPARE(w.state().password, QString("old"));
    }
};

QTEST_MAIN(PasswordTest)
#include "password_test.moc"
