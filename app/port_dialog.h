#pragma once
// The port choice `frmOption1`: one option per COM port, those up to the number of ports found
// enabled, each beside the device it stands for; a fifth option for any serial device named by its
// path; and 检测, which checks the chain to the radio on the port chosen. The devices are read
// afresh when the dialog opens and whenever one appears or leaves while it is open, in the device
// folder or in the folder of a device named by its path.

#include "app/port_factory.h"
#include "app/user_dialogs.h"
#include "core/serial/port_map.h"
#include "core/serial/serial_device_watcher.h"

#include <QComboBox>
#include <QDialog>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace korvane::app {

class PortDialog : public QDialog {
    Q_OBJECT
public:
    // `countPorts` gives the number of ports to enable when the devices change; none: unchanged.
    // 检测 talks to the radio through a port from `makePort`.
    PortDialog(UserDialogs& dialogs, PortFactory makePort, serial::PortMapSource source = serial::systemPortMapSource(),
        std::function<int()> countPorts = {}, QWidget* parent = nullptr);
    ~PortDialog() override;

    int comi() const { return m_comi; }
    void setComi(int port); // clamped to 1..4
    int xComi() const { return m_xcomi; }
    void setXComi(int count); // clamped to 1..4
    // The unbroken run of existing ports from COM1 (0..4) as last counted here; -1 before that.
    int portsFound() const { return m_portsFound; }
    // The device chosen by path; empty when a COM option is chosen.
    QString device() const;
    void setDevice(const QString& path);
    bool cancelPressed() const { return m_cancelPressed; }

    QRadioButton* option(int port) const { return m_options[port - 1]; }
    QLabel* deviceLabel(int port) const { return m_labels[port - 1]; }

    // Reads the devices again: the labels, the other devices' list and the ports enabled.
    void refresh();
    // Checks the chain to the radio on the port or device chosen and lists the outcome.
    void probe();

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The frame of options beside their devices; the probe's list and advice.
    QWidget* buildChoices();
    void buildProbeArea();
    void enableChoices();
    // The devices changed: read them again now, or once a probe running meanwhile is over.
    void devicesChanged();
    // Watches the folder of every device named by its path; notes which of them are there.
    void watchNamedDevices();
    std::vector<bool> namedDevicesPresent() const;

    UserDialogs& m_dialogs;
    PortFactory m_makePort;
    serial::PortMapSource m_source;
    std::function<int()> m_countPorts;
    std::unique_ptr<serial::SerialDeviceWatcher> m_watcher;
    std::unique_ptr<QObject> m_deviceEvents; // the platform's own notices, where it has any
    QFileSystemWatcher* m_folders = nullptr;
    QStringList m_namedDevices;
    std::vector<bool> m_namedPresent;
    std::array<QRadioButton*, 4> m_options {};
    std::array<QLabel*, 4> m_labels {};
    QRadioButton* m_optOther = nullptr;
    QComboBox* m_cboDevice = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdProbe = nullptr;
    QListWidget* m_lstProbe = nullptr;
    QLabel* m_lblProbeAdvice = nullptr;
    QWidget* m_choices = nullptr;
    QString m_report; // the probe's lines and advice as text
    int m_comi = 1;
    int m_xcomi = 1;
    int m_portsFound = -1;
    bool m_otherChosen = false;
    bool m_probing = false;
    bool m_changedWhileProbing = false;
    bool m_cancelPressed = true;
};

} // namespace korvane::app
