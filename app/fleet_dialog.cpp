#include "app/fleet_dialog.h"

#include "app/desktop_opener.h"
#include "app/fleet_link_ui.h"
#include "app/input_rules.h"
#include "app/link_runner.h"
#include "app/user_dialogs.h"
#include "core/files/backups.h"
#include "core/fleet/fleet_log.h"
#include "core/link/link_target.h"
#include "core/serial/serial_device_label.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <utility>

namespace korvane::app {

namespace {

QString joined(const std::vector<std::string>& lines)
{
    QStringList texts;
    for (const std::string& line : lines)
        texts << QString::fromStdString(line);
    return texts.join('\n');
}

// Everything the radio's exchange said, for the row's tool tip.
QString fullText(const fleet::FleetRadioResult& result)
{
    return joined(result.outcomeLines) + (result.verifyTexts.empty() ? QString() : '\n' + joined(result.verifyTexts));
}

// The row's outcome in a few words: what went wrong is what ended the write (with the device's
// detail, and what to do about a radio left half-written), or the first line of the check.
QString shortText(const fleet::FleetRadioResult& result)
{
    if (result.programmed())
        return result.verifyAsked ? QStringLiteral("✔ 写频完成，校验通过") : QStringLiteral("✔ 写频完成");
    if (result.end == link::LinkEnd::Success && !result.verifyTexts.empty())
        return QStringLiteral("✘ ") + QString::fromStdString(result.verifyTexts.front());
    return QStringLiteral("✘ ") + joined(result.outcomeLines);
}

// A wrapped label keeps the height of all its lines at its narrowest, so that a row never cuts a
// long outcome off at its top and bottom.
void giveLinesRoom(QLabel* label)
{
    label->setMinimumHeight(label->text().isEmpty() ? 0 : label->heightForWidth(label->minimumWidth()));
}

util::Message logNotOpened(const std::filesystem::path& log)
{
    return { "没有找到可以打开CSV文件的程序。记录文件是：\n" + log.string() + "\n要打开它所在的文件夹吗？", "打开记录",
        util::MessageIcon::Question, {} };
}

} // namespace

FleetDialog::FleetDialog(FleetDialogSetup setup, QWidget* parent)
    : QDialog(parent)
    , m_setup(std::move(setup))
{
    setObjectName("frmFleet");
    setWindowTitle(QStringLiteral("批量写频"));
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    for (int n = serial::kFirstPort; n <= serial::kLastPort; ++n) {
        Row& row = m_rows[static_cast<std::size_t>(n - 1)];
        row.connected = serial::deviceForPort(n, m_setup.portMap).has_value();
        row.tick = new QCheckBox(QStringLiteral("COM%1").arg(n), this);
        row.tick->setObjectName(QStringLiteral("chkFleetPort%1").arg(n));
        row.tick->setEnabled(row.connected);
        row.tick->setChecked(row.connected);
        row.device = new QLabel(QString::fromStdString(serial::portDeviceLabel(n, m_setup.portMap)), this);
        row.device->setObjectName(QStringLiteral("lblFleetDevice%1").arg(n));
        row.bar = new QProgressBar(this);
        row.bar->setObjectName(QStringLiteral("prgFleet%1").arg(n));
        row.bar->setRange(0, link::kProgressMaximum);
        row.bar->setValue(0);
        row.bar->setMinimumWidth(160);
        row.outcome = new QLabel(this);
        row.outcome->setObjectName(QStringLiteral("lblFleetOutcome%1").arg(n));
        row.outcome->setMinimumWidth(300);
        row.outcome->setWordWrap(true);
        grid->addWidget(row.tick, n - 1, 0);
        grid->addWidget(row.device, n - 1, 1);
        grid->addWidget(row.bar, n - 1, 2);
        grid->addWidget(row.outcome, n - 1, 3);
        connect(row.tick, &QCheckBox::toggled, this, &FleetDialog::updateButtons);
    }

    m_verify = new QCheckBox(QStringLiteral("写频后读回校验"), this);
    m_verify->setObjectName("chkFleetVerify");
    m_counts = new QLabel(this);
    m_counts->setObjectName("lblFleetCounts");
    m_start = new QPushButton(QStringLiteral("开始"), this);
    m_start->setObjectName("cmdFleetStart");
    m_next = new QPushButton(QStringLiteral("下一批"), this);
    m_next->setObjectName("cmdFleetNext");
    m_log = new QPushButton(QStringLiteral("打开记录"), this);
    m_log->setObjectName("cmdFleetLog");
    m_close = new QPushButton(QStringLiteral("关闭"), this);
    m_close->setObjectName("cmdClose");
    for (QPushButton* button : { m_start, m_next, m_log, m_close })
        button->setAutoDefault(false);
    m_start->setDefault(true);
    pressFocusedButtonOnEnter({ m_start, m_next, m_log, m_close });

    connect(m_start, &QPushButton::clicked, this, [this] {
        std::vector<int> ports;
        for (int n = serial::kFirstPort; n <= serial::kLastPort; ++n)
            if (m_rows[static_cast<std::size_t>(n - 1)].tick->isChecked()) ports.push_back(n);
        runRound(ports);
    });
    connect(m_next, &QPushButton::clicked, this, [this] { runRound(m_lastPorts); });
    connect(m_log, &QPushButton::clicked, this, &FleetDialog::openLog);
    connect(m_close, &QPushButton::clicked, this, &FleetDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    buttons->addWidget(m_log);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_verify);
    layout->addWidget(m_counts);
    layout->addLayout(buttons);
    showTally(-1, -1);
    updateButtons();
}

void FleetDialog::runRound(const std::vector<int>& ports)
{
    if (ports.empty() || m_running) return;
    m_lastPorts = ports;
    std::vector<link::LinkTarget> targets;
    std::vector<std::unique_ptr<FleetLinkUi>> uis;
    std::mutex questionTurn;
    for (const int n : ports) {
        Row& row = m_rows[static_cast<std::size_t>(n - 1)];
        row.bar->setValue(0);
        row.bar->setFormat(QStringLiteral("%p%"));
        row.outcome->clear();
        giveLinesRoom(row.outcome);
        row.outcome->setToolTip({});
        row.outcome->setStyleSheet({});
        targets.push_back(link::linkTargetForPort(n, m_setup.portMap));
        FleetRowView view {
            // In a round the radio is read only to check it.
            [bar = row.bar](const QString& phase) {
                bar->setFormat((phase == QStringLiteral("读频") ? QStringLiteral("校验") : phase) + QStringLiteral(" %p%"));
            },
            [bar = row.bar](int value) { bar->setValue(value); },
            [label = row.outcome](const QString& text) {
                label->setText(text);
                giveLinesRoom(label);
            },
        };
        uis.push_back(std::make_unique<FleetLinkUi>(
            this, m_setup.dialogs, QString::fromStdString(targets.back().name), std::move(view), questionTurn));
    }
    const bool verify = m_verify->isChecked();
    fleet::FleetRoundHooks hooks;
    hooks.makePort = [make = m_setup.makePort](std::size_t) { return make(); };
    hooks.ui = [&uis](std::size_t index) -> link::LinkUi& { return *uis[index]; };
    // Every radio of a round gets the same image, so one backup of it serves them all.
    hooks.backup = [backup = saveBackup(m_setup.image)](const model::RadioImage&) { return backup; };
    hooks.ended = [this, ports](std::size_t index, const fleet::FleetRadioResult& result) {
        QMetaObject::invokeMethod(
            this, [this, port = ports[index], result] { showResult(port, result); }, Qt::QueuedConnection);
    };

    setRunning(true);
    std::vector<fleet::FleetRadioResult> results;
    m_setup.runner.run([&](link::LinkUi&) { results = fleet::runFleetRound(m_setup.image, targets, verify, hooks); });
    // Each row showed its radio's result as it ended; the round's end counts them.
    const auto programmed = static_cast<int>(std::count_if(
        results.begin(), results.end(), [](const fleet::FleetRadioResult& r) { return r.programmed(); }));
    const int failed = static_cast<int>(results.size()) - programmed;
    ++m_setup.tally.rounds;
    m_setup.tally.programmed += programmed;
    m_setup.tally.failed += failed;
    showTally(programmed, failed);
    if (const auto failure = fleet::appendFleetLog(m_setup.logPath, results, std::chrono::system_clock::now()))
        m_setup.dialogs.showMessage(this, *failure);
    setRunning(false);
}

void FleetDialog::showResult(int port, const fleet::FleetRadioResult& result)
{
    Row& row = m_rows[static_cast<std::size_t>(port - 1)];
    row.outcome->setText(shortText(result));
    giveLinesRoom(row.outcome);
    row.outcome->setToolTip(fullText(result));
    row.outcome->setStyleSheet(result.programmed() ? QStringLiteral("color: #107010") : QStringLiteral("color: #c01010"));
    if (result.programmed()) row.bar->setValue(row.bar->maximum());
}

void FleetDialog::showTally(int programmed, int failed)
{
    const FleetTally& t = m_setup.tally;
    QString text;
    if (programmed >= 0)
        text = QStringLiteral("第 %1 批：成功 %2 台，失败 %3 台。").arg(t.rounds).arg(programmed).arg(failed);
    text += QStringLiteral("本次启动以来共 %1 批，成功 %2 台，失败 %3 台。").arg(t.rounds).arg(t.programmed).arg(t.failed);
    m_counts->setText(text);
}

void FleetDialog::setRunning(bool running)
{
    m_running = running;
    for (const Row& row : m_rows)
        row.tick->setEnabled(!running && row.connected);
    for (QWidget* w : std::initializer_list<QWidget*> { m_verify, m_start, m_next, m_log, m_close })
        w->setEnabled(!running);
    if (!running) updateButtons();
}

void FleetDialog::updateButtons()
{
    bool anyTicked = false;
    for (const Row& row : m_rows)
        anyTicked |= row.tick->isChecked() && row.tick->isEnabled();
    m_start->setEnabled(!m_running && anyTicked);
    m_next->setEnabled(!m_running && !m_lastPorts.empty());
    std::error_code error;
    m_log->setEnabled(!m_running && std::filesystem::exists(m_setup.logPath, error));
}

// The log in the desktop's program for CSV files; without one, the user learns where the log is and
// may open its folder instead.
void FleetDialog::openLog()
{
    const std::filesystem::path log = m_setup.logPath;
    openWithDesktop(this, QString::fromStdString(log.string()), [this, log] {
        if (m_setup.dialogs.askYesNo(this, logNotOpened(log)))
            openWithDesktop(this, QString::fromStdString(log.parent_path().string()));
    });
}

// A backup that cannot be made never stops the round; saying so once is enough.
std::string FleetDialog::saveBackup(const model::RadioImage& image)
{
    if (!m_setup.backupFolder) return {};
    const auto saved = files::saveBackup(
        *m_setup.backupFolder, image, files::BackupReason::BeforeWrite, std::chrono::system_clock::now());
    if (saved) return saved->string();
    if (!std::exchange(m_backupFailureShown, true)) m_setup.dialogs.showMessage(this, saved.error());
    return {};
}

// A round in progress is never left: the radios on the cables are being written.
void FleetDialog::reject()
{
    if (!m_running) QDialog::reject();
}

void FleetDialog::closeEvent(QCloseEvent* event)
{
    if (m_running)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

} // namespace korvane::app
