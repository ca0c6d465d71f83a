#pragma once
// The real dialogs, on the screen.

#include "app/user_dialogs.h"

namespace korvane::app {

class QtUserDialogs : public UserDialogs {
public:
    void showMessage(QWidget* parent, const util::Message& message) override;
    bool askYesNo(QWidget* parent, const util::Message& question) override;
    std::optional<bool> askYesNoCancel(QWidget* parent, const util::Message& question) override;
    std::optional<FileChoice> chooseSaveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<FileChoice> chooseOpenFile(QWidget* parent, const FileDialogRequest& request) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    void runModal(QDialog& dialog) override;
};

} // namespace korvane::app
