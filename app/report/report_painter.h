#pragma once
// Draws the report's page on a printer. Twips become device units from the top-left corner of
// the printable area; the painter itself is never scaled, since its fonts would shrink with it.

#include "core/report/report_page.h"

#include <QFont>
#include <QString>

class QPainter;
class QPaintDevice;

namespace korvane::app {

// "宋体" at the given size; emphasised values print bold.
QFont reportFont(int size, bool emphasis = false);

// The line unit h: the height of one line of the report's 9 pt font on this device, in whole
// twips. A Song face gives 180 at any resolution.
int reportLineUnit(const QPaintDevice& device);

// One text in the painter's current font, its top-left corner (not its baseline) at (x, y) twips.
void prnt1(QPainter& painter, int x, int y, const QString& text);

// The ruled lines with a pen 3 device pixels wide, then every text in its own size and emphasis.
void paintReportPage(QPainter& painter, const report::ReportPage& page);

} // namespace korvane::app
