#include "core/link/alignment.h"

#include "core/link/alignment_items.h"
#include "core/link/handshake_reply.h"
#include "core/model/models.h"

#include <string_view>

namespace korvane::link {

namespace {

constexpr std::string_view kEnd = "END";
constexpr std::string_view kCancel = "CANCEL";

} // namespace

util::Message alignmentModelMismatch()
{
    return { "要写入的机型与当前连接的机型不符！请先读频！", "机型错误", util::MessageIcon::Exclamation, {} };
}

AlignmentSession::AlignmentSession(serial::SerialPort& port, util::Clock& clock)
    : m_port(port)
    , m_clock(clock)
{
}

AlignmentSession::~AlignmentSession() { close(); }

void AlignmentSession::close() { m_link.reset(); }

AlignmentStart AlignmentSession::start(
    const LinkTarget& target, int item, int modelIndex, const model::AlignmentTable& table, LinkUi& ui)
{
    AlignmentStart out;
    close();
    m_link.emplace(m_port, m_clock, target);
    if (!m_link->owner()) {
        close();
        out.end = LinkEnd::Refused;
        return out;
    }
    m_item = item;
    const auto fail = [&](const std::optional<serial::PortError>& cause) {
        const util::Message message = m_link->communicationFailure(cause);
        close();
        ui.showMessage(message);
        out.end = LinkEnd::Failed;
        return out;
    };

    if (auto opened = m_link->openLink(); !opened) return fail(opened.error());
    auto reply = m_link->handshake(alignmentItemCommand(item), kItemReplyPause, kItemAnswer);
    if (!reply) return fail(reply.error());
    const serial::Bytes& answer = *reply;
    if (answer.size() < kItemReplyMinimum || answer[0] > kHighestModelCode) return fail(std::nullopt);
    // Older radios answer with the model code and the value alone; newer ones put a marker
    // between them and may add more, which means nothing here.
    if (answer.size() > kItemReplyMinimum) {
        if (answer[1] != kLongReplyMarker) return fail(std::nullopt);
        out.value = answer[2];
        out.fiveKhzForm = false;
    } else {
        out.value = answer[1];
        out.fiveKhzForm = true;
    }
    const int radioModel = model::modelIndexFromCode(answer[0]);
    if (radioModel < 0) return fail(std::nullopt);
    if (radioModel != modelIndex) {
        ui.showMessage(alignmentModelMismatch());
        // The radio is waiting in its adjustment: tell it to keep its value, and expect no answer.
        (void)m_link->send(kCancel);
        (void)m_link->waitSent();
        close();
        out.modelMismatch = true;
        out.end = LinkEnd::Failed;
        return out;
    }

    m_valueSent = false;
    change(table, *out.fiveKhzForm, out.value);
    out.end = LinkEnd::Success;
    return out;
}

void AlignmentSession::change(const model::AlignmentTable& table, bool fiveKhzForm, std::uint8_t value)
{
    const AdjustPacket packet = adjustPacket(table, m_item, fiveKhzForm, value);
    if (m_link) {
        // Every packet after the first needs the radio back in the item first.
        if (m_valueSent) repeatItemCommand();
        sendPacket(packet);
    }
    m_valueSent = true;
}

void AlignmentSession::repeatItemCommand()
{
    (void)m_link->discardOutput();
    (void)m_port.discardInput();
    (void)m_link->send(alignmentItemCommand(m_item));
    (void)m_link->waitSent();
    (void)m_link->listen(kItemReplyPause);
}

void AlignmentSession::sendPacket(const AdjustPacket& packet)
{
    (void)m_link->send(packet);
    (void)m_link->waitSent();
    (void)m_link->listen(kAdjustPause);
}

void AlignmentSession::end(ItemEnd how)
{
    if (!m_link) return;
    (void)m_link->send(how == ItemEnd::Keep ? kEnd : kCancel);
    (void)m_link->waitSent();
    (void)m_link->listen(kEndPause);
    close();
}

} // namespace korvane::link
