#include "app/tone_combo.h"

namespace korvane::app {

ToneCombo::ToneCombo(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // the text is what the user typed, never completed from the list
    setMaxVisibleItems(12);
}

void ToneCombo::showPopup()
{
    if (beforePopup) beforePopup();
    QComboBox::showPopup();
}

} // namespace korvane::app
