#include "app/report/print_command.h"

#include "app/channel_view.h"
#include "app/main_window.h"
#include "app/report/report_painter.h"
#include "app/settings_lists.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPointer>
#include <QPrinter>

#include <cstddef>
#include <string>

namespace korvane::app {

namespace {

// The channel view is hidden while the report is produced and gets its own visibility back
// however printing ends.
class HiddenWhilePrinting {
public:
    explicit HiddenWhilePrinting(QWidget* frame)
        : m_frame(frame)
        , m_shown(!frame->isHidden())
    {
        frame->setVisible(false);
    }
    ~HiddenWhilePrinting()
    {
        if (m_frame) m_frame->setVisible(m_shown);
    }
    HiddenWhilePrinting(const HiddenWhilePrinting&) = delete;
    HiddenWhilePrinting& operator=(const HiddenWhilePrinting&) = delete;

private:
    QPointer<QWidget> m_frame;
    bool m_shown;
};

std::string utf8(const QString& text) { return text.toStdString(); }

// The job's name, and the name a PDF file is offered under: the data file's, else the report's title.
QString documentName(MainWindow& window)
{
    const QString stem = QFileInfo(window.state().currentFile).completeBaseName();
    return stem.isEmpty() ? QStringLiteral("对讲机参数设置") : stem;
}

// A PDF goes to its file, anything else to a named printer.
bool hasDestination(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat ? !printer.outputFileName().isEmpty()
                                                         : !printer.printerName().isEmpty();
}

// Sends the page as one print job; any failure cancels the job.
void printPage(QPrinter& printer, const report::ReportPage& page)
{
    QPainter painter;
    if (!painter.begin(&printer)) return;
    paintReportPage(painter, page);
    if (printer.printerState() == QPrinter::Error) printer.abort();
    painter.end();
}

} // namespace

util::Message noPrinterMessage()
{
    return { "没有可用的打印机，请选择打印到PDF文件。", "打印", util::MessageIcon::Exclamation, {} };
}

bool channelViewShowing(const MainWindow& window) { return !window.chanFuncFrame()->isHidden(); }

report::ReportTexts windowReportTexts(const MainWindow& window)
{
    report::ReportTexts texts;
    texts.model = utf8(window.modelList()->currentText());
    texts.band = utf8(window.bandLabel()->text());
    for (std::size_t i = 0; i < texts.settings.size(); ++i)
        texts.settings[i] = utf8(window.settingsLists()->list(static_cast<model::SettingsList>(i))->currentText());
    const ChannelView& view = *window.channelView();
    for (int row = 1; row <= model::kChannelCount; ++row) {
        report::ChannelTexts& channel = texts.channels[static_cast<std::size_t>(row - 1)];
        for (int column = 1; column <= model::kChannelColumns; ++column)
            channel.cells[static_cast<std::size_t>(column - 1)] = utf8(view.grid()->text(row, column));
        channel.closed = view.recChan(row - 1)->isChecked();
        channel.transmitInhibited = view.txChan(row - 1)->isChecked();
    }
    return texts;
}

void mnuPrintClick(MainWindow& window)
{
    if (!channelViewShowing(window)) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName(window));
    if (!window.dialogs().choosePrinter(&window, printer)) return;
    if (!hasDestination(printer)) {
        window.dialogs().showMessage(&window, noPrinterMessage());
        return;
    }
    // The page is laid out for portrait A4, measured from the printable area's top-left corner.
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(false);
    // Only the channel view prints, and only if it is still showing once the dialog has closed.
    if (!channelViewShowing(window)) return;
    window.action("mnuChan")->setChecked(true);

    const HiddenWhilePrinting hidden(window.chanFuncFrame());
    const int h = reportLineUnit(printer);
    printPage(printer, report::reportPage(windowReportTexts(window), h));
}

} // namespace korvane::app
