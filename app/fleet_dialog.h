#pragma once
// The dialog `frmFleet` (编程 → 批量写频...): the image written into the radios on several ports
// at once. One row per port COM1..COM4 with its device, a tick, a progress bar and the outcome; a
// verify option; 开始 runs a round with the ticked ports and 下一批 another with the same ports,
// once the next radios are on the cables (Return starts a round). Every round is appended to the
// fleet log, which the dialog opens; the rounds and radios since the program started are counted.

#include "app/port_factory.h"
#include "core/fleet/fleet_round.h"
#include "core/model/radio_image.h"
#include "core/serial/port_map.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace korvane::app {

class LinkRunner;
class UserDialogs;

// Kept by the main window for as long as the program runs.
struct FleetTally {
    int rounds = 0;
    int programmed = 0;
    int failed = 0;
};

struct FleetDialogSetup {
    const model::RadioImage& image;
    LinkRunner& runner;
    UserDialogs& dialogs;
    FleetTally& tally;
    serial::PortMapSource portMap; // where port numbers find their devices
    PortFactory makePort; // one port for each radio of a round
    std::optional<std::filesystem::path> backupFolder;
    std::filesystem::path logPath;
};

class FleetDialog : public QDialog {
    Q_OBJECT
public:
    explicit FleetDialog(FleetDialogSetup setup, QWidget* parent = nullptr);

    bool running() const { return m_running; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Row {
        QCheckBox* tick = nullptr;
        QLabel* device = nullptr;
        QProgressBar* bar = nullptr;
        QLabel* outcome = nullptr;
        bool connected = false; // the port had a device when the dialog opened
    };

    void runRound(const std::vector<int>& ports);
    void showResult(int port, const fleet::FleetRadioResult& result);
    void setRunning(bool running);
    void updateButtons();
    void showTally(int programmed, int failed);
    void openLog();
    std::string saveBackup(const model::RadioImage& image);

    FleetDialogSetup m_setup;
    std::array<Row, 4> m_rows;
    QCheckBox* m_verify = nullptr;
    QLabel* m_counts = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_log = nullptr;
    QPushButton* m_close = nullptr;
    std::vector<int> m_lastPorts;
    bool m_running = false;
    bool m_backupFailureShown = false;
};

} // namespace korvane::app
