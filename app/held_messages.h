#pragma once
// Holds back the messages of an exchange whose end the window tells in its own words: a read-out
// for a comparison leaves out "读频完成" (the differences follow at once), and 写频并校验 says in one
// message after the read-back what the write and the check came to. Everything else passes through.

#include "core/link/link_ui.h"

#include <functional>
#include <vector>

namespace korvane::app {

class HeldMessages final : public link::LinkUi {
public:
    HeldMessages(link::LinkUi& ui, std::function<bool(const util::Message&)> hold);

    const std::vector<util::Message>& held() const { return m_held; }

    void showMessage(const util::Message& message) override;
    bool askYesNo(const util::Message& question) override { return m_ui.askYesNo(question); }
    void progressOpen(const std::string& caption, const std::string& label) override
    {
        m_ui.progressOpen(caption, label);
    }
    void progressValue(int value) override { m_ui.progressValue(value); }
    void progressClose() override { m_ui.progressClose(); }
    void channelsRounded(const std::vector<link::ChannelSide>& sides) override { m_ui.channelsRounded(sides); }

private:
    link::LinkUi& m_ui;
    std::function<bool(const util::Message&)> m_hold;
    std::vector<util::Message> m_held;
};

} // namespace korvane::app
