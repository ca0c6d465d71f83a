#pragma once
// The colours the record grids paint with.

#include <QColor>

namespace korvane::app::colours {

inline const QColor kBlack(0, 0, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kGreen(0, 255, 0); // an option that is on, a signalling that is set
inline const QColor kRed(255, 0, 0); // an option that is off
inline const QColor kYellow(255, 255, 0); // the signalling cell being edited
inline const QColor kWhite(255, 255, 255); // white on white hides a closed channel
inline const QColor kPaleLavender(220, 220, 255); // 2.5 kHz step, Narrow
inline const QColor kFixedCell(212, 208, 200); // the header row and the row labels
inline const QColor kChosen(255, 210, 140); // the label of a channel chosen for the Edit menu's commands
inline const QColor kLavender(128, 128, 255); // 6.25 kHz step, Wide
inline const QColor kScanGreen(0, 120, 100);
inline const QColor kScanRed(120, 0, 40);

inline QColor stepBackground(const QString& stepText) { return stepText == "2.50" ? kPaleLavender : kLavender; }
inline QColor onOffBackground(const QString& text) { return text == "OFF" ? kRed : kGreen; }

} // namespace korvane::app::colours
