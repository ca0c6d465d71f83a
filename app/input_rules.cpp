#include "app/input_rules.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWheelEvent>

namespace korvane::app {

namespace {

class EnterRuns : public QObject {
public:
    EnterRuns(std::function<void()> action, QObject* parent)
        : QObject(parent)
        , m_action(std::move(action))
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        m_action();
        return true;
    }

private:
    std::function<void()> m_action;
};

class WheelNeedsFocus : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus()) return false;
        // Left unaccepted, the wheel travels on to the parents.
        event->ignore();
        return true;
    }
};

} // namespace

void pressFocusedButtonOnEnter(std::initializer_list<QAbstractButton*> buttons)
{
    for (QAbstractButton* button : buttons)
        onEnter(button, [button] { button->click(); });
}

void onEnter(QWidget* w, std::function<void()> action) { w->installEventFilter(new EnterRuns(std::move(action), w)); }

void wheelOnlyWithFocus(QWidget* list)
{
    list->setFocusPolicy(Qt::StrongFocus);
    list->installEventFilter(new WheelNeedsFocus(list));
}

TypedTextValidator::TypedTextValidator(KeyRule passes, QObject* parent)
    : QValidator(parent)
    , m_passes(std::move(passes))
{
}

QValidator::State TypedTextValidator::validate(QString& text, int&) const
{
    std::size_t length = 0;
    for (const char32_t c : text.toUcs4()) {
        if (c < 32 || !m_passes(c, length)) return Invalid;
        ++length;
    }
    return Acceptable;
}

} // namespace korvane::app
