#include "app/steps_while_sending.h"

#include "app/tune_scroll_bar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>

namespace korvane::app {

StepsWhileSending::StepsWhileSending(TuneScrollBar& bar)
    : m_bar(bar)
{
}

bool StepsWhileSending::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* top = m_bar.window();
    if (watched != top->windowHandle() || !m_bar.isVisible() || !m_bar.isEnabled()) return false;
    const auto over = [&](QPointF at) { return top->childAt(at.toPoint()) == &m_bar; };
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        return mouse->button() == Qt::LeftButton && over(mouse->position())
            && m_bar.takePress(m_bar.mapFrom(top, mouse->position().toPoint()));
    }
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        return over(wheel->position()) && m_bar.takeWheel(wheel->angleDelta());
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        return top->focusWidget() == &m_bar && !key->isAutoRepeat() && m_bar.takeKey(key->key());
    }
    default:
        return false;
    }
}

} // namespace korvane::app
