#pragma once
// The port choice `frmOption1`: one option per COM port, those up to the number of ports found
// enabled.

#include <QDialog>
#include <QRadioButton>

#include <array>

namespace korvane::app {

class PortDialog : public QDialog {
    Q_OBJECT
public:
    explicit PortDialog(QWidget* parent = nullptr);

    int comi() const { return m_comi; }
    void setComi(int port); // clamped to 1..4
    int xComi() const { return m_xcomi; }
    void setXComi(int count); // clamped to 1..4
    bool cancelPressed() const { return m_cancelPressed; }

    QRadioButton* option(int port) const { return m_options[port - 1]; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::array<QRadioButton*, 4> m_options {};
    int m_comi = 1;
    int m_xcomi = 1;
    bool m_cancelPressed = true;
};

} // namespace korvane::app
