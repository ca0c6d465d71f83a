#pragma once
// The alignment screen's adjustment scroll bar `hsbTune`. A click on an arrow or in the trough, an
// arrow, page, Home or End key and a notch of the mouse wheel are each one step, handed to onSteps
// rather than applied; a held button does not repeat. Dragging the thumb changes the value once,
// on release. It has no context menu.

#include <QPoint>
#include <QScrollBar>

#include <functional>

namespace korvane::app {

class TuneScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit TuneScrollBar(QWidget* parent = nullptr);

    // Each takes one piece of input (positions in the bar's own coordinates) and hands its steps
    // to onSteps; false when the input is no step, such as a press on the thumb.
    bool takePress(QPoint at);
    bool takeKey(int key);
    bool takeWheel(QPoint angleDelta);

    std::function<void(QAbstractSlider::SliderAction step, int count)> onSteps;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int m_wheelRest = 0; // part of a notch left over from fine-grained wheels
};

} // namespace korvane::app
