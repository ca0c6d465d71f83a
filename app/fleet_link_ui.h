#pragma once
// One radio's part of a fleet round as the fleet dialog shows it: its progress and its messages go
// to its own row without waiting, and a question is asked in a box naming the port, one box at a
// time however many radios ask at once. Calls come from the radio's own thread.

#include "core/link/link_ui.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <mutex>

class QWidget;

namespace korvane::app {

class UserDialogs;

struct FleetRowView {
    // Run on the window's thread.
    std::function<void(const QString& phase)> phase;
    std::function<void(int value)> progress;
    std::function<void(const QString& text)> message;
};

class FleetLinkUi final : public link::LinkUi {
public:
    FleetLinkUi(QWidget* owner, UserDialogs& dialogs, QString portName, FleetRowView view, std::mutex& questionTurn);

    void showMessage(const util::Message& message) override;
    bool askYesNo(const util::Message& question) override;
    void progressOpen(const std::string& caption, const std::string& label) override;
    void progressValue(int value) override;
    void progressClose() override { }

private:
    void post(std::function<void()> call);

    QPointer<QWidget> m_owner;
    UserDialogs& m_dialogs;
    QString m_portName;
    FleetRowView m_view;
    std::mutex& m_questionTurn;
};

} // namespace korvane::app
