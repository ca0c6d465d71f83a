#include "app/tune_scroll_bar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <cstdlib>
#include <optional>
#include <utility>

namespace korvane::app {

namespace {

using Step = QAbstractSlider::SliderAction;

// Each part of the bar a click steps with; a click on the thumb is a drag.
constexpr std::pair<QStyle::SubControl, Step> kPartSteps[] = {
    { QStyle::SC_ScrollBarSubLine, QAbstractSlider::SliderSingleStepSub },
    { QStyle::SC_ScrollBarAddLine, QAbstractSlider::SliderSingleStepAdd },
    { QStyle::SC_ScrollBarSubPage, QAbstractSlider::SliderPageStepSub },
    { QStyle::SC_ScrollBarAddPage, QAbstractSlider::SliderPageStepAdd },
};

constexpr std::pair<int, Step> kKeySteps[] = {
    { Qt::Key_Left, QAbstractSlider::SliderSingleStepSub },
    { Qt::Key_Down, QAbstractSlider::SliderSingleStepSub },
    { Qt::Key_Right, QAbstractSlider::SliderSingleStepAdd },
    { Qt::Key_Up, QAbstractSlider::SliderSingleStepAdd },
    { Qt::Key_PageDown, QAbstractSlider::SliderPageStepSub },
    { Qt::Key_PageUp, QAbstractSlider::SliderPageStepAdd },
    { Qt::Key_Home, QAbstractSlider::SliderToMinimum },
    { Qt::Key_End, QAbstractSlider::SliderToMaximum },
};

template <class Input, std::size_t N> std::optional<Step> stepOf(const std::pair<Input, Step> (&table)[N], Input input)
{
    for (const auto& [in, step] : table)
        if (in == input) return step;
    return std::nullopt;
}

} // namespace

TuneScrollBar::TuneScrollBar(QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent)
{
    setTracking(false);
    // The right arrow key raises the value, as the right arrow button does.
    setInvertedControls(false);
    // Its menu would jump to either end or anywhere in one go, with no change sent for it.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

bool TuneScrollBar::takePress(QPoint at)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const auto step = stepOf(kPartSteps, style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, at, this));
    if (step) onSteps(*step, 1);
    return step.has_value();
}

bool TuneScrollBar::takeKey(int key)
{
    const auto step = stepOf(kKeySteps, key);
    if (step) onSteps(*step, 1);
    return step.has_value();
}

bool TuneScrollBar::takeWheel(QPoint angleDelta)
{
    constexpr int kNotch = 120; // eighths of a degree
    m_wheelRest += angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
    // The rest is settled before the steps go out: sending them takes further notches meanwhile.
    const int notches = m_wheelRest / kNotch;
    m_wheelRest -= notches * kNotch;
    if (notches != 0) onSteps(notches > 0 ? SliderSingleStepAdd : SliderSingleStepSub, std::abs(notches));
    return true;
}

void TuneScrollBar::mousePressEvent(QMouseEvent* event)
{
    // Arrows and trough step without the base class, which would repeat while the button is held.
    if (event->button() == Qt::LeftButton && onSteps && takePress(event->position().toPoint())) {
        event->accept();
        return;
    }
    QScrollBar::mousePressEvent(event); // a drag: its one change comes on release
}

void TuneScrollBar::keyPressEvent(QKeyEvent* event)
{
    if (onSteps && takeKey(event->key())) {
        event->accept();
        return;
    }
    QScrollBar::keyPressEvent(event);
}

void TuneScrollBar::wheelEvent(QWheelEvent* event)
{
    if (onSteps && takeWheel(event->angleDelta())) {
        event->accept();
        return;
    }
    QScrollBar::wheelEvent(event);
}

} // namespace korvane::app
