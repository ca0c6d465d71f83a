#pragma once
// The signalling dialog's tone and code lists: editable lists that ask for their entries just
// before they first drop down.

#include <QComboBox>

#include <functional>

namespace korvane::app {

class ToneCombo : public QComboBox {
    Q_OBJECT
public:
    explicit ToneCombo(QWidget* parent = nullptr);
    std::function<void()> beforePopup;
    void showPopup() override;
};

} // namespace korvane::app
