#pragma once
// Input that reaches a control other than through its own keys and clicks: Enter presses the
// button that has the focus, the wheel turns a list only while the list has the keyboard focus,
// and text that arrives without typing (a middle-click paste, an input method) gets into a box
// only when typing it could have put it there.

#include <QValidator>

#include <functional>
#include <initializer_list>

class QAbstractButton;
class QWidget;

namespace korvane::app {

// Enter on one of these buttons while it has the focus clicks that button, whichever button the
// dialog confirms with by default.
void pressFocusedButtonOnEnter(std::initializer_list<QAbstractButton*> buttons);

// Enter (or the keypad's Enter) while `w` has the focus runs `action` and goes no further.
void onEnter(QWidget* w, std::function<void()> action);

// The wheel turns `list` only while it has the keyboard focus (and never gives it the focus);
// otherwise it goes on to what lies beneath, such as the scrolled content.
void wheelOnlyWithFocus(QWidget* list);

// Takes a text only when typing it character by character into an empty box passes the box's
// key rule: `passes(c, lengthBefore)`. Editing characters never add to a text.
class TypedTextValidator : public QValidator {
public:
    using KeyRule = std::function<bool(char32_t c, std::size_t lengthBefore)>;
    TypedTextValidator(KeyRule passes, QObject* parent);
    State validate(QString& text, int& position) const override;

private:
    KeyRule m_passes;
};

} // namespace korvane::app
