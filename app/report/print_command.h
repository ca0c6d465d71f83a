#pragma once
// The print command (the File menu's 打印 and the toolbar's Print): a one-page report of what
// the channel view shows, placed on the page as computed by the report's page.

#include "core/report/report_page.h"
#include "core/util/message.h"

namespace korvane::app {

class MainWindow;

// True while the channel view, not the alignment view, fills the content frame.
bool channelViewShowing(const MainWindow& window);

// The texts the report prints, exactly as the window shows them.
report::ReportTexts windowReportTexts(const MainWindow& window);

// "没有可用的打印机，请选择打印到PDF文件。" (title "打印"): the print dialog was left with neither a
// printer nor a file to print to.
util::Message noPrinterMessage();

// `mnuPrint_Click`. Does nothing outside the channel view; a cancelled print dialog or a failed
// print job ends it without a message, a dialog left with nowhere to print with the one above.
void mnuPrintClick(MainWindow& window);

} // namespace korvane::app
