#include "app/link_runner.h"

#include "app/progress_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QWindow>

#include <memory>
#include <thread>

namespace korvane::app {

namespace {

// The widget a receiver belongs to. Input from the window system reaches the top-level QWindow
// first and only then the widget under it, so both roads must lead to the same answer.
QWidget* widgetOf(QObject* receiver)
{
    if (auto* widget = qobject_cast<QWidget*>(receiver))
        return widget->window();
    if (auto* window = qobject_cast<QWindow*>(receiver)) {
        for (QWidget* topLevel : QApplication::topLevelWidgets()) {
            if (topLevel->windowHandle() == window)
                return topLevel;
        }
    }
    return nullptr;
}

// Swallows user input to every window but the modal box the operation is showing.
class InputBlocker : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Close:
            break;
        default:
            return false;
        }
        const QWidget* modal = QApplication::activeModalWidget();
        if (modal && !qobject_cast<const ProgressWindow*>(modal) && widgetOf(watched) == modal)
            return false;
        event->ignore();
        return true;
    }
};

} // namespace

// The operation's LinkUi: every call runs on the window's thread and the worker waits for it.
class LinkWindowUi : public link::LinkUi {
public:
    using RoundedHandler = std::function<void(const std::vector<link::ChannelSide>&)>;
    LinkWindowUi(QWidget* owner, UserDialogs& dialogs, RoundedHandler onRounded)
        : m_owner(owner), m_dialogs(dialogs), m_onRounded(std::move(onRounded))
    {
    }

    void showMessage(const util::Message& message) override
    {
        onWindowThread([&] { m_dialogs.showMessage(m_owner, message); });
    }

    bool askYesNo(const util::Message& question) override
    {
        bool yes = false;
        onWindowThread([&] { yes = m_dialogs.askYesNo(m_owner, question); });
        return yes;
    }

    void progressOpen(const std::string& caption, const std::string& label) override
    {
        onWindowThread([&] {
            m_progress = new ProgressWindow(m_owner);
            m_progress->setPrgCaption(QString::fromStdString(label));
            m_progress->show();
            m_progress->setWindowTitle(QString::fromStdString(caption));
            m_progress->repaint();
        });
    }

    void progressValue(int value) override
    {
        onWindowThread([&] {
            if (!m_progress)
                return;
            m_progress->setPrgValue(value);
            m_progress->prgChange();
            lastValue = m_progress->prgValue();
        });
    }

    void progressClose() override { onWindowThread([&] { closeProgress(); }); }

    void channelsRounded(const std::vector<link::ChannelSide>& sides) override
    {
        if (m_onRounded)
            onWindowThread([&] { m_onRounded(sides); });
    }

    void closeProgress()
    {
        if (!m_progress)
            return;
        m_progress->m_closing = true;
        m_progress->close();
        delete m_progress;
    }

    int lastValue = -1;

private:
    template <class F> void onWindowThread(F&& f)
    {
        if (QThread::currentThread() == m_owner->thread())
            f();
        else
            QMetaObject::invokeMethod(m_owner, std::forward<F>(f), Qt::BlockingQueuedConnection);
    }

    QWidget* m_owner;
    UserDialogs& m_dialogs;
    RoundedHandler m_onRounded;
    QPointer<ProgressWindow> m_progress;
};

LinkRunner::LinkRunner(QWidget* owner, UserDialogs& dialogs) : m_owner(owner), m_dialogs(dialogs) { }

void LinkRunner::run(const std::function<void(link::LinkUi&)>& operation,
                     const std::function<void(const std::vector<link::ChannelSide>&)>& onRounded)
{
    exchange(operation, onRounded, QEventLoop::AllEvents);
}

void LinkRunner::runDeferringInput(const std::function<void(link::LinkUi&)>& operation)
{
    // The window system keeps the input meanwhile; the next turn of the event loop delivers it.
    exchange(operation, {}, QEventLoop::ExcludeUserInputEvents);
}

void LinkRunner::exchange(const std::function<void(link::LinkUi&)>& operation,
                          const std::function<void(const std::vector<link::ChannelSide>&)>& onRounded,
                          QEventLoop::ProcessEventsFlags flags)
{
    if (m_busy)
        return; // a link operation is never re-entered
    m_busy = true;
    InputBlocker blocker;
    qApp->installEventFilter(&blocker);
    LinkWindowUi ui(m_owner, m_dialogs, onRounded);
    QEventLoop loop;
    std::thread worker([&] {
        operation(ui);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(flags);
    worker.join();
    ui.closeProgress();
    qApp->removeEventFilter(&blocker);
    m_busy = false;
}

} // namespace korvane::app
