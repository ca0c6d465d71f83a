#pragma once
// Runs a link operation off the event loop: the window keeps painting and the progress bar
// moves, but no user input reaches the program until the exchange ends, except in the message
// boxes and questions the operation shows. Messages, questions and progress come back to the
// window's thread through the dialog seam.

#include "app/user_dialogs.h"
#include "core/link/link_ui.h"

#include <QEventLoop>

#include <functional>

class QWidget;

namespace korvane::app {

class LinkRunner {
public:
    LinkRunner(QWidget* owner, UserDialogs& dialogs);

    // Returns once `operation` has finished on its worker thread. `onRounded` runs on the window's
    // thread while the operation waits, when an older radio's channels were moved onto its grid.
    void run(const std::function<void(link::LinkUi&)>& operation,
             const std::function<void(const std::vector<link::ChannelSide>&)>& onRounded = {});
    // The same for the alignment screen's short exchanges: input that arrives meanwhile is not
    // thrown away but handled, in order, once the exchange is over, as if the person had waited.
    void runDeferringInput(const std::function<void(link::LinkUi&)>& operation);
    bool busy() const { return m_busy; }

private:
    void exchange(const std::function<void(link::LinkUi&)>& operation,
                  const std::function<void(const std::vector<link::ChannelSide>&)>& onRounded,
                  QEventLoop::ProcessEventsFlags flags);

    QWidget* m_owner;
    UserDialogs& m_dialogs;
    bool m_busy = false;
};

} // namespace korvane::app
