#include "app/port_dialog.h"

#include "app/device_events.h"
#include "app/input_rules.h"
#include "app/link_runner.h"
#include "core/link/link_target.h"
#include "core/probe/probe_chain.h"
#include "core/serial/serial_device_label.h"
#include "core/util/steady_clock.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QSocketNotifier>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace korvane::app {

namespace {

constexpr int kProbeRows = 6; // the probe's checks, so the list does not scroll

// The label beside port n: its device, or "未连接"; a device named by its path that is not there
// shows that path and that it is missing.
QString portLabel(int port, const serial::PortMapSource& source)
{
    const auto device = serial::deviceForPort(port, source);
    if (device && !QFileInfo::exists(QString::fromStdString(*device)))
        return QString::fromStdString(*device) + QStringLiteral("  （设备不存在）");
    return QString::fromStdString(serial::portDeviceLabel(port, source));
}

} // namespace

PortDialog::PortDialog(UserDialogs& dialogs, PortFactory makePort, serial::PortMapSource source,
    std::function<int()> countPorts, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_makePort(std::move(makePort))
    , m_source(std::move(source))
    , m_countPorts(std::move(countPorts))
{
    setObjectName("frmOption1");
    setWindowTitle(QStringLiteral("通讯端口选择"));
    m_choices = buildChoices();
    buildProbeArea();
    m_cmdOK = new QPushButton(QStringLiteral("确定"), this);
    m_cmdOK->setObjectName("cmdOK");
    m_cmdOK->setToolTip(QStringLiteral("按此键保存改变"));
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    m_cmdCancel->setObjectName("cmdCancel");
    m_cmdCancel->setToolTip(QStringLiteral("按此键取消改变"));
    connect(m_cmdOK, &QPushButton::clicked, this, [this] {
        m_cancelPressed = false;
        accept();
    });
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    pressFocusedButtonOnEnter({ m_cmdProbe, m_cmdOK, m_cmdCancel });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdProbe);
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_choices);
    layout->addWidget(m_lstProbe);
    layout->addWidget(m_lblProbeAdvice);
    layout->addLayout(buttons);

    // Ctrl+C outside the path box copies the probe's outcome, to paste into a message for help.
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, [this] {
        if (!m_report.isEmpty()) QGuiApplication::clipboard()->setText(m_report);
    });

    m_watcher = std::make_unique<serial::SerialDeviceWatcher>(m_source.devRoot);
    if (m_watcher->fd() >= 0) {
        auto* notifier = new QSocketNotifier(m_watcher->fd(), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            if (m_watcher->takeChanges()) devicesChanged();
        });
    }
    m_deviceEvents = watchDeviceEvents([this] { devicesChanged(); });
    m_folders = new QFileSystemWatcher(this);
    connect(m_folders, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (namedDevicesPresent() != m_namedPresent) devicesChanged();
    });
}

void PortDialog::devicesChanged()
{
    if (!isVisible()) return;
    // A probe has the device open: the ports are counted again once it is over.
    if (m_probing)
        m_changedWhileProbing = true;
    else
        refresh();
}

void PortDialog::watchNamedDevices()
{
    m_namedDevices.clear();
    for (int port = 1; port <= 4; ++port)
        if (const auto device = serial::deviceForPort(port, m_source)) m_namedDevices << QString::fromStdString(*device);
    if (!device().isEmpty()) m_namedDevices << device();
    for (const QString& path : std::as_const(m_namedDevices)) {
        const QString folder = QFileInfo(path).absolutePath();
        if (QFileInfo(folder).isDir() && !m_folders->directories().contains(folder)) m_folders->addPath(folder);
    }
    m_namedPresent = namedDevicesPresent();
}

std::vector<bool> PortDialog::namedDevicesPresent() const
{
    std::vector<bool> present;
    for (const QString& path : m_namedDevices)
        present.push_back(QFileInfo::exists(path));
    return present;
}

PortDialog::~PortDialog() = default;

QWidget* PortDialog::buildChoices()
{
    auto* frame = new QGroupBox(QStringLiteral("端口选择"), this);
    frame->setObjectName("fraCOMoption");
    auto* options = new QGridLayout(frame);
    options->setColumnStretch(1, 1);
    for (int port = 1; port <= 4; ++port) {
        auto* button = new QRadioButton("COM" + QString::number(port), frame);
        button->setObjectName("optCOMM");
        button->setProperty("index", port);
        button->setEnabled(false);
        auto* label = new QLabel(frame);
        label->setObjectName("lblCOMDevice");
        label->setProperty("index", port);
        options->addWidget(button, port - 1, 0);
        options->addWidget(label, port - 1, 1);
        button->installEventFilter(this);
        m_options[port - 1] = button;
        m_labels[port - 1] = label;
        connect(button, &QRadioButton::clicked, this, [this, port, button] {
            if (!button->isChecked()) return;
            m_comi = port;
            m_otherChosen = false;
            enableChoices();
        });
    }
    m_optOther = new QRadioButton(QStringLiteral("其他设备..."), frame);
    m_optOther->setObjectName("optOther");
    m_optOther->installEventFilter(this);
    m_cboDevice = new QComboBox(frame);
    m_cboDevice->setObjectName("cboDevice");
    m_cboDevice->setEditable(true);
    m_cboDevice->setInsertPolicy(QComboBox::NoInsert);
    m_cboDevice->setMinimumContentsLength(24);
    m_cboDevice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // As the window's other boxes: no context menu, and the wheel turns the list only with the focus.
    m_cboDevice->lineEdit()->setContextMenuPolicy(Qt::PreventContextMenu);
    wheelOnlyWithFocus(m_cboDevice);
    options->addWidget(m_optOther, 4, 0);
    options->addWidget(m_cboDevice, 4, 1);
    const auto chooseOther = [this] {
        m_optOther->setChecked(true);
        m_otherChosen = true;
        enableChoices();
    };
    connect(m_optOther, &QRadioButton::clicked, this, [this, chooseOther] {
        if (m_optOther->isChecked()) chooseOther();
    });
    // Typing or picking a device chooses it.
    connect(m_cboDevice->lineEdit(), &QLineEdit::textEdited, this, chooseOther);
    connect(m_cboDevice, &QComboBox::activated, this, chooseOther);
    return frame;
}

void PortDialog::buildProbeArea()
{
    m_cmdProbe = new QPushButton(QStringLiteral("检测"), this);
    m_cmdProbe->setObjectName("cmdProbe");
    m_cmdProbe->setToolTip(QStringLiteral("检查所选端口到对讲机的连接"));
    m_cmdProbe->setAutoDefault(false);
    connect(m_cmdProbe, &QPushButton::clicked, this, &PortDialog::probe);
    m_lstProbe = new QListWidget(this);
    m_lstProbe->setObjectName("lstProbe");
    m_lstProbe->setFocusPolicy(Qt::NoFocus);
    m_lstProbe->setSelectionMode(QAbstractItemView::NoSelection);
    // Long lines (a device's path, the read-out's line with the model's name) wrap rather than
    // scroll sideways; one more row leaves room for one that wraps.
    m_lstProbe->setWordWrap(true);
    m_lstProbe->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lstProbe->setResizeMode(QListView::Adjust);
    m_lstProbe->setFixedHeight(
        (kProbeRows + 1) * (m_lstProbe->fontMetrics().height() + 2) + 2 * m_lstProbe->frameWidth());
    m_lblProbeAdvice = new QLabel(this);
    m_lblProbeAdvice->setObjectName("lblProbeAdvice");
    m_lblProbeAdvice->setWordWrap(true);
    m_lblProbeAdvice->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void PortDialog::setComi(int port) { m_comi = std::clamp(port, 1, 4); }

void PortDialog::setXComi(int count) { m_xcomi = std::clamp(count, 1, 4); }

QString PortDialog::device() const { return m_otherChosen ? m_cboDevice->currentText().trimmed() : QString(); }

void PortDialog::setDevice(const QString& path)
{
    m_otherChosen = !path.isEmpty();
    m_cboDevice->setEditText(path);
}

void PortDialog::refresh()
{
    watchNamedDevices();
    for (int port = 1; port <= 4; ++port)
        m_labels[port - 1]->setText(portLabel(port, m_source));
    const QString typed = m_cboDevice->currentText();
    m_cboDevice->clear();
    for (const std::string& device : serial::serialDevices(m_source))
        m_cboDevice->addItem(QString::fromStdString(device));
    m_cboDevice->setEditText(typed);
    if (m_countPorts) setXComi(m_portsFound = m_countPorts());
    enableChoices();
}

void PortDialog::enableChoices()
{
    for (int port = 1; port <= 4; ++port)
        m_options[port - 1]->setEnabled(!m_probing && port <= m_xcomi);
    m_choices->setEnabled(!m_probing);
    const bool chosen = !m_otherChosen || !device().isEmpty();
    m_cmdProbe->setEnabled(!m_probing && chosen);
    m_cmdOK->setEnabled(!m_probing && chosen);
    m_cmdCancel->setEnabled(!m_probing);
}

void PortDialog::probe()
{
    if (m_probing) return;
    const link::LinkTarget target
        = m_otherChosen ? link::linkTargetForDevice(device().toStdString()) : link::linkTargetForPort(m_comi, m_source);
    m_lstProbe->clear();
    m_lblProbeAdvice->clear();
    m_report.clear();
    // The dialog stays painted but takes no input while the radio is asked.
    m_probing = true;
    enableChoices();
    std::vector<probe::ProbeLine> lines;
    LinkRunner(this, m_dialogs).run([&](link::LinkUi&) {
        const std::unique_ptr<serial::SerialPort> port = m_makePort();
        util::SteadyClock clock;
        lines = probe::probeChain(target, *port, clock);
    });
    m_probing = false;
    if (std::exchange(m_changedWhileProbing, false))
        refresh();
    else
        enableChoices();
    for (const probe::ProbeLine& line : lines) {
        auto* item = new QListWidgetItem(
            (line.passed ? QStringLiteral("✓ ") : QStringLiteral("✗ ")) + QString::fromStdString(line.text),
            m_lstProbe);
        item->setForeground(line.passed ? QColor(0, 128, 0) : QColor(192, 0, 0));
        m_report += item->text() + '\n';
    }
    const auto failed = std::find_if(lines.begin(), lines.end(), [](const probe::ProbeLine& l) { return !l.passed; });
    if (failed != lines.end()) {
        m_lblProbeAdvice->setText(QStringLiteral("建议：") + QString::fromStdString(failed->advice));
        m_report += m_lblProbeAdvice->text() + '\n';
    }
}

bool PortDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The options stand in a column, but Left and Right step through them as Up and Down do.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) {
            QKeyEvent vertical(
                QEvent::KeyPress, key->key() == Qt::Key_Left ? Qt::Key_Up : Qt::Key_Down, key->modifiers());
            QCoreApplication::sendEvent(watched, &vertical);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PortDialog::reject()
{
    if (!m_probing) QDialog::reject();
}

void PortDialog::showEvent(QShowEvent* event)
{
    m_cancelPressed = true;
    (m_otherChosen ? m_optOther : m_options[m_comi - 1])->setChecked(true);
    refresh();
    QDialog::showEvent(event);
}

} // namespace korvane::app
