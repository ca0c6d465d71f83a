#include "core/probe/probe_chain.h"

#include "core/link/link_messages.h"
#include "core/link/link_ui.h"
#include "core/link/readout.h"
#include "core/model/defaults.h"
#include "core/model/models.h"
#include "core/model/record_layout.h"
#include "core/serial/port_map.h"

#include <algorithm>

namespace korvane::probe {

namespace {

// Keeps what the read-out says instead of showing it, and whether its progress began: the radio
// had answered the handshake well by then.
class ProbeUi final : public link::LinkUi {
public:
    void showMessage(const util::Message& message) override { last = message; }
    bool askYesNo(const util::Message&) override { return false; }
    void progressOpen(const std::string&, const std::string&) override { answered = true; }
    void progressValue(int) override { }
    void progressClose() override { }

    util::Message last;
    bool answered = false;
};

// Passes every call through and notes whether the radio sent anything at all: a reply the link
// cannot make sense of (wrong cable, baud or radio) is told apart from silence.
class ListeningPort final : public serial::SerialPort {
public:
    explicit ListeningPort(serial::SerialPort& port)
        : m_port(port)
    {
    }
    serial::PortStatus open(const std::string& device) override { return m_port.open(device); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    serial::PortStatus write(std::span<const std::uint8_t> bytes) override { return m_port.write(bytes); }
    serial::PortStatus drain() override { return m_port.drain(); }
    serial::PortResult<std::size_t> transmitCount() override { return m_port.transmitCount(); }
    serial::PortResult<std::size_t> receiveCount() override
    {
        auto count = m_port.receiveCount();
        if (count && *count > 0) heard = true;
        return count;
    }
    serial::PortResult<serial::Bytes> takeInput() override
    {
        auto input = m_port.takeInput();
        if (input && !input->empty()) heard = true;
        return input;
    }
    serial::PortStatus discardInput() override
    {
        if (auto count = m_port.receiveCount(); count && *count > 0) heard = true;
        return m_port.discardInput();
    }
    serial::PortStatus discardOutput() override { return m_port.discardOutput(); }

    bool heard = false;

private:
    serial::SerialPort& m_port;
};

ProbeLine pass(std::string text) { return { true, std::move(text), {} }; }
ProbeLine failed(std::string text, std::string advice) { return { false, std::move(text), std::move(advice) }; }

std::string cableAdvice() { return "请检查编程电缆是否插好；USB 电缆插上后通常出现 " + serial::newCableDevices() + "。"; }

} // namespace

std::vector<ProbeLine> probeChain(
    const link::LinkTarget& target, serial::SerialPort& port, util::Clock& clock, const serial::HolderScan& holders)
{
    std::vector<ProbeLine> lines;
    if (!target.device || !serial::deviceExists(*target.device)) {
        serial::PortError missing;
        missing.kind = serial::PortErrorKind::NoSuchDevice;
        missing.device = target.device.value_or("");
        lines.push_back(failed(link::communicationFailure(target, missing).detail, cableAdvice()));
        return lines;
    }
    const std::string& device = *target.device;
    lines.push_back(pass("设备存在：" + device));

    if (const auto opened = port.open(device); !opened) {
        lines.push_back(failed(link::communicationFailure(target, opened.error()).detail,
            opened.error().kind == serial::PortErrorKind::PermissionDenied ? "加入该用户组并重新登录后再试。"
                                                                           : "请关闭使用该设备的其他程序后再试。"));
        return lines;
    }
    port.close();
    lines.push_back(pass("可以打开设备"));

    if (const auto held = holders(device); !held.empty()) {
        lines.push_back(failed("设备正被其他程序占用：" + held.front(), "请先关闭该程序，再读频或写频。"));
        return lines;
    }
    lines.push_back(pass("没有其他程序占用该设备"));

    ProbeUi ui;
    ListeningPort listening(port);
    const link::ReadOutcome outcome = link::readRadio(model::defaultImage(0), target, listening, clock, ui);
    if (!ui.answered && !listening.heard) {
        lines.push_back(
            failed("对讲机没有应答读频握手", "请确认对讲机电源已打开、电缆两端插好，并且选择了连接对讲机的端口。"));
        return lines;
    }
    lines.push_back(pass("对讲机应答了读频握手"));
    if (!ui.answered) {
        lines.push_back(failed("对讲机的应答无法识别", "可能是电缆、波特率或对讲机型号不对。"));
        return lines;
    }
    lines.push_back(pass("应答的格式正确"));
    if (!outcome.success()) {
        lines.push_back(failed("读频失败：" + ui.last.text, "请重新检测；多次失败时请检查电缆和对讲机。"));
        return lines;
    }
    const auto open = std::count_if(outcome.image.channels.begin(), outcome.image.channels.end(),
        [](const auto& r) { return model::isChannelOpen(r); });
    lines.push_back(pass("读频成功：" + std::string(model::modelEntry(outcome.image.modelIndex).value_or("")) + "，"
        + (outcome.olderRadio ? "旧对讲机" : "新对讲机") + "，" + std::to_string(open) + " 个信道打开"));
    return lines;
}

} // namespace korvane::probe
