#include "app/help_commands.h"

#include "app/about_dialog.h"
#include "app/app_paths.h"
#include "app/help_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QWidget>

namespace korvane::app {

namespace {

const std::string kAppTitle = "Korvane PC编程软件";

util::Message helpFileMissing()
{
    return util::Message { "无法找到帮助文件，请重新安装本软件。", kAppTitle, util::MessageIcon::Information, {} };
}

// Beside the main window when the screen has room, else a little below its top-left corner, so
// the manual never hides the window it explains entirely.
void placeBeside(QWidget& help, const QWidget& owner)
{
    const QRect main = owner.frameGeometry();
    const QScreen* screen = owner.screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    QPoint at(main.right() + 8, main.top());
    if (room.isValid() && at.x() + help.width() > room.right()) at = main.topLeft() + QPoint(60, 60);
    if (room.isValid())
        at = QPoint(qBound(room.left(), at.x(), qMax(room.left(), room.right() - help.width())),
            qBound(room.top(), at.y(), qMax(room.top(), room.bottom() - help.height())));
    help.move(at);
}

} // namespace

HelpCommands::HelpCommands(QWidget& owner, UserDialogs& dialogs)
    : QObject(&owner)
    , m_owner(owner)
    , m_dialogs(dialogs)
{
    setObjectName("helpCommands");
}

HelpWindow* HelpCommands::helpWindow() const { return m_helpWindow; }

void HelpCommands::showContents() { showPage(HelpWindow::kContentsPage); }

void HelpCommands::showIndex() { showPage(HelpWindow::kIndexPage); }

void HelpCommands::showPage(const QString& page)
{
    const QString manual = manualDirectory();
    QFile file(QDir(manual).filePath(page));
    if (!QFileInfo(file).isFile()) {
        m_dialogs.showMessage(&m_owner, helpFileMissing());
        return;
    }
    // A page that is there but cannot be read: say why, as the help viewer's error would.
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.showMessage(&m_owner, util::Message { file.errorString().toStdString(), kAppTitle, {}, {} });
        return;
    }
    file.close();

    if (!m_helpWindow) {
        m_helpWindow = new HelpWindow(&m_owner);
        placeBeside(*m_helpWindow, m_owner);
    }
    m_helpWindow->openPage(manual, page);
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

void HelpCommands::showAbout()
{
    AboutDialog about(m_dialogs, m_launcher, &m_owner);
    m_dialogs.runModal(about);
}

} // namespace korvane::app
