#include "app/focus_keeper.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace korvane::app {

namespace {

bool canTakeFocus(const QWidget* widget)
{
    return widget->isVisible() && widget->isEnabled() && widget->focusPolicy() != Qt::NoFocus;
}

class FocusKeeper : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The window itself being minimised or restored is none of this.
        if (event->spontaneous()) return false;
        auto* frame = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Hide) {
            QWidget* focus = frame->window()->focusWidget();
            m_had = focus && frame->isAncestorOf(focus) ? focus : nullptr;
        } else if (event->type() == QEvent::Show && m_had) {
            QWidget* target = m_had;
            m_had = nullptr;
            while (target != frame && !canTakeFocus(target))
                target = target->parentWidget();
            if (target != frame) target->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }

private:
    QPointer<QWidget> m_had;
};

} // namespace

void keepFocusAcrossHiding(QWidget* frame) { frame->installEventFilter(new FocusKeeper(frame)); }

} // namespace korvane::app
