#pragma once
// A LinkUi that writes down everything the operation told the user and answers its questions
// from a script.

#include "core/link/link_ui.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace korvane::link::fakes {

class RecordingLinkUi final : public LinkUi {
public:
    std::vector<util::Message> messages;
    std::vector<util::Message> questions;
    std::deque<bool> answers; // consumed in order; a question without an answer fails the test
    std::vector<int> progressValues;
    std::vector<std::string> events; // "open:caption:label", "value", "close", "message", "question"
    std::function<void(const util::Message&)> onMessage; // runs inside showMessage
    std::function<void(const util::Message&)> onQuestion; // runs inside askYesNo
    bool progressShowing = false;

    void showMessage(const util::Message& message) override
    {
        EXPECT_FALSE(progressShowing) << "a message box over the progress window";
        messages.push_back(message);
        events.push_back("message");
        if (onMessage) onMessage(message);
    }

    bool askYesNo(const util::Message& question) override
    {
        questions.push_back(question);
        events.push_back("question");
        if (onQuestion) onQuestion(question);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << question.text;
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

    void progressOpen(const std::string& caption, const std::string& label) override
    {
        EXPECT_FALSE(progressShowing);
        progressShowing = true;
        events.push_back("open:" + caption + ":" + label);
    }

    void progressValue(int value) override
    {
        EXPECT_TRUE(progressShowing);
        progressValues.push_back(value);
    }

    void progressClose() override
    {
        EXPECT_TRUE(progressShowing);
        progressShowing = false;
        events.push_back("close");
    }
};

} // namespace korvane::link::fakes
