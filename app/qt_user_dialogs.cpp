#include "app/qt_user_dialogs.h"

#include <QAbstractPrintDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

namespace korvane::app {

namespace {

QMessageBox::Icon iconOf(util::MessageIcon icon)
{
    switch (icon) {
    case util::MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case util::MessageIcon::Information:
        return QMessageBox::Information;
    case util::MessageIcon::Question:
        return QMessageBox::Question;
    case util::MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The extension a name filter such as "rdh文件(*.rdh)" stands for; empty when it names none.
QString suffixOf(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral(R"(\*\.(\w+))"));
    return pattern.match(filter).captured(1);
}

std::optional<FileChoice> runFileDialog(QWidget* parent, const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    if (request.filterIndex >= 1 && request.filterIndex <= request.filters.size())
        dialog.selectNameFilter(request.filters.at(request.filterIndex - 1));
    // A name typed without an extension takes the kind chosen in the dialog, so the file shows
    // again under that kind's filter.
    const auto useSuffixOf = [&dialog, &request](const QString& filter) {
        const QString suffix = suffixOf(filter);
        dialog.setDefaultSuffix(suffix.isEmpty() ? request.defaultSuffix : suffix);
    };
    useSuffixOf(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useSuffixOf);
    if (!request.folder.isEmpty())
        dialog.setDirectory(QDir(request.folder).exists() ? request.folder : QDir::homePath());
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FileChoice { dialog.selectedFiles().constFirst(),
        static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter())) + 1 };
}

} // namespace

void QtUserDialogs::showMessage(QWidget* parent, const util::Message& message)
{
    QMessageBox box(iconOf(message.icon), QString::fromStdString(message.title), QString::fromStdString(message.text),
        QMessageBox::Ok, parent);
    if (!message.detail.empty()) box.setInformativeText(QString::fromStdString(message.detail));
    box.exec();
}

bool QtUserDialogs::askYesNo(QWidget* parent, const util::Message& question)
{
    QMessageBox box(iconOf(question.icon), QString::fromStdString(question.title),
        QString::fromStdString(question.text), QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

std::optional<bool> QtUserDialogs::askYesNoCancel(QWidget* parent, const util::Message& question)
{
    QMessageBox box(iconOf(question.icon), QString::fromStdString(question.title),
        QString::fromStdString(question.text), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (answer == QMessageBox::Cancel) return std::nullopt;
    return answer == QMessageBox::Yes;
}

std::optional<FileChoice> QtUserDialogs::chooseSaveFile(QWidget* parent, const FileDialogRequest& request)
{
    return runFileDialog(parent, request, true);
}

std::optional<FileChoice> QtUserDialogs::chooseOpenFile(QWidget* parent, const FileDialogRequest& request)
{
    return runFileDialog(parent, request, false);
}

bool QtUserDialogs::choosePrinter(QWidget* parent, QPrinter& printer)
{
    // A machine without a printer can still print to a PDF file, and the dialog starts there.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        if (printer.outputFileName().isEmpty()) {
            const QString name = printer.docName().isEmpty() ? QStringLiteral("print") : printer.docName();
            printer.setOutputFileName(QDir::home().filePath(name + QStringLiteral(".pdf")));
        }
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}

void QtUserDialogs::runModal(QDialog& dialog) { dialog.exec(); }

} // namespace korvane::app
