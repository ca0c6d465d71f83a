#pragma once
// How a link operation talks to the person at the radio: messages, Yes/No questions and a
// progress bar. The window answers with real boxes, the command line with text, tests with a
// recorder. Calls come from the thread that runs the operation and block until answered.

#include "core/link/five_khz_rounding.h"
#include "core/util/message.h"

#include <string>
#include <vector>

namespace korvane::link {

inline constexpr int kProgressMaximum = 600;

class LinkUi {
public:
    virtual ~LinkUi() = default;

    virtual void showMessage(const util::Message& message) = 0;
    // True for Yes.
    virtual bool askYesNo(const util::Message& question) = 0;

    // caption: the progress window's title ("读频", "写频"); label: the line above the bar.
    virtual void progressOpen(const std::string& caption, const std::string& label) = 0;
    // 0..kProgressMaximum.
    virtual void progressValue(int value) = 0;
    virtual void progressClose() = 0;

    // The image's channels were just moved onto the 5 kHz grid for an older radio, before the
    // first record goes out: the person should see the frequencies the radio is about to hold.
    virtual void channelsRounded(const std::vector<ChannelSide>& sides) { (void)sides; }
};

} // namespace korvane::link
