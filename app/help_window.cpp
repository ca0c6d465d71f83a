#include "app/help_window.h"

#include "app/app_logo.h"
#include "app/screen_fit.h"

#include <QAction>
#include <QDir>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

namespace korvane::app {

namespace {

// Titles end in the program's name, so the desktop adds nothing to them.
const QString kHelpTitle = QStringLiteral("帮助 - Korvane PC编程软件");

QAction* addButton(QToolBar* bar, const QString& name, const QString& caption, QStyle::StandardPixmap icon)
{
    QAction* action = bar->addAction(bar->style()->standardIcon(icon), caption);
    action->setObjectName(name);
    return action;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window)
{
    setObjectName("frmHelp");
    setWindowTitle(kHelpTitle);
    setWindowIcon(appIcon());

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName("helpBrowser");
    m_browser->setOpenExternalLinks(true);
    m_browser->setFrameShape(QFrame::NoFrame);
    setCentralWidget(m_browser);

    QToolBar* bar = addToolBar(QStringLiteral("帮助"));
    bar->setObjectName("tbHelp");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = addButton(bar, "helpBack", QStringLiteral("后退"), QStyle::SP_ArrowBack);
    m_back->setShortcut(QKeySequence::Back);
    m_forward = addButton(bar, "helpForward", QStringLiteral("前进"), QStyle::SP_ArrowForward);
    m_forward->setShortcut(QKeySequence::Forward);
    bar->addSeparator();
    QAction* contents = addButton(bar, "helpContents", QStringLiteral("目录"), QStyle::SP_FileDialogListView);
    QAction* index = addButton(bar, "helpIndex", QStringLiteral("索引"), QStyle::SP_FileDialogContentsView);

    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(contents, &QAction::triggered, this, &HelpWindow::showContents);
    connect(index, &QAction::triggered, this, &HelpWindow::showIndex);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::updateTitle);

    // A window without a menu still closes from the keyboard, as other reading windows do.
    auto* closeWindow = new QAction(this);
    closeWindow->setObjectName("helpClose");
    closeWindow->setShortcuts({ QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W) });
    closeWindow->setShortcutContext(Qt::WindowShortcut);
    addAction(closeWindow);
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);

    resize(780, 620);
    fitOnScreen(*this);
}

void HelpWindow::openPage(const QString& manualDir, const QString& page)
{
    m_manualDir = manualDir;
    m_browser->setSearchPaths({ manualDir });
    const QString file = page.section('#', 0, 0);
    const QString anchor = page.section('#', 1);
    QUrl url = QUrl::fromLocalFile(QDir(manualDir).filePath(file));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    m_browser->setSource(url);
}

void HelpWindow::showContents() { openPage(m_manualDir, kContentsPage); }

void HelpWindow::showIndex() { openPage(m_manualDir, kIndexPage); }

QString HelpWindow::currentPage() const { return m_browser->source().fileName(); }

void HelpWindow::updateTitle()
{
    const QString page = m_browser->documentTitle();
    setWindowTitle(
        page.isEmpty() ? kHelpTitle : QStringLiteral("帮助：") + page + QStringLiteral(" - Korvane PC编程软件"));
}

} // namespace korvane::app
