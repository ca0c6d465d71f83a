#pragma once
// A UserDialogs that shows nothing: it records messages and questions and answers from scripted queues.

#include "app/user_dialogs.h"

#include <QDialog>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace korvane::test {

class RecordingDialogs : public app::UserDialogs {
public:
    std::vector<util::Message> messages;
    std::vector<util::Message> questions;
    std::deque<bool> answers; // Yes = true; an unscripted question is answered No
    std::deque<std::optional<app::FileChoice>> saveChoices; // nullopt = cancelled
    std::deque<std::optional<app::FileChoice>> openChoices;
    std::vector<app::FileDialogRequest> fileRequests;
    // What to do with the printer the print dialog would set up; return false to cancel.
    std::function<bool(QPrinter&)> printerChoice;
    // Plays the user's part in one of the program's own dialogs; unscripted or left open, it is rejected.
    std::deque<std::function<void(QDialog&)>> modalScripts;
    std::vector<QString> modalNames; // objectName of each dialog shown

    // Runs as each message is shown, while the box would be on the screen.
    std::function<void(const util::Message&)> onMessage;

    void showMessage(QWidget*, const util::Message& message) override
    {
        messages.push_back(message);
        if (onMessage) onMessage(message);
    }

    bool askYesNo(QWidget*, const util::Message& question) override
    {
        questions.push_back(question);
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

    std::optional<app::FileChoice> chooseSaveFile(QWidget*, const app::FileDialogRequest& request) override
    {
        return take(saveChoices, request);
    }

    std::optional<app::FileChoice> chooseOpenFile(QWidget*, const app::FileDialogRequest& request) override
    {
        return take(openChoices, request);
    }

    bool choosePrinter(QWidget*, QPrinter& printer) override { return printerChoice && printerChoice(printer); }

    void runModal(QDialog& dialog) override
    {
        modalNames.push_back(dialog.objectName());
        dialog.setModal(true);
        dialog.show();
        if (modalScripts.empty()) {
            dialog.reject();
            return;
        }
        auto script = std::move(modalScripts.front());
        modalScripts.pop_front();
        script(dialog);
        if (dialog.isVisible()) dialog.reject();
    }

private:
    std::optional<app::FileChoice> take(
        std::deque<std::optional<app::FileChoice>>& queue, const app::FileDialogRequest& request)
    {
        fileRequests.push_back(request);
        if (queue.empty()) return std::nullopt;
        auto choice = queue.front();
        queue.pop_front();
        return choice;
    }
};

} // namespace korvane::test
