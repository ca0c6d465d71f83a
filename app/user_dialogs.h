#pragma once
// Every message box, question, file dialog, print dialog and modal dialog of the window goes
// through this one interface, so tests can answer them without a screen.

#include "core/util/message.h"

#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace korvane::app {

struct FileDialogRequest {
    QString title;
    QString fileName; // preset name; a full path starts the dialog in its folder
    QStringList filters; // "rdw文件(*.rdw)", ... in order
    int filterIndex = 1; // 1-based, as the file kinds are numbered
    QString defaultSuffix;
    QString folder {}; // where the dialog starts when no path is preset
};

struct FileChoice {
    QString path;
    int filterIndex = 1; // the file type the user left selected, 1-based
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    virtual void showMessage(QWidget* parent, const util::Message& message) = 0;
    // Yes and No buttons; true for Yes.
    virtual bool askYesNo(QWidget* parent, const util::Message& question) = 0;
    // Yes, No and Cancel buttons: true for Yes, false for No, nothing for Cancel (or Esc).
    virtual std::optional<bool> askYesNoCancel(QWidget* parent, const util::Message& question)
    {
        return askYesNo(parent, question);
    }
    // Asks before overwriting an existing file. Nothing when cancelled.
    virtual std::optional<FileChoice> chooseSaveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // Only existing files. Nothing when cancelled.
    virtual std::optional<FileChoice> chooseOpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // The print dialog: true when the user chose to print, with the printer set up.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // Shows one of the program's own modal dialogs and returns when it has closed.
    virtual void runModal(QDialog& dialog) = 0;
};

} // namespace korvane::app
