// Reading a radio whose answers are arbitrary bytes. Input: one byte for the image being edited
// (its model), one byte for the length of the handshake reply (0..3), the reply, then the
// read-out stream the radio sends after "OK".
//
// The whole read runs against a port that hands out those bytes and a clock that only moves
// when waited on. Its outcome must agree with the stream parser run on the same bytes, a failed
// read must leave the image alone, and a parsed image sent back as programming records must
// read back as itself.

#include "core/link/data_record.h"
#include "core/link/data_stream.h"
#include "core/link/generation.h"
#include "core/link/handshake_reply.h"
#include "core/link/link_target.h"
#include "core/link/link_ui.h"
#include "core/link/readout.h"
#include "core/model/defaults.h"
#include "core/model/frequency_form.h"
#include "core/model/models.h"
#include "core/serial/serial_port.h"
#include "core/util/clock.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

namespace {

using korvane::fuzz::check;

using namespace korvane;
using serial::Bytes;
using serial::PortResult;
using serial::PortStatus;

class VirtualClock final : public util::Clock {
public:
    TimePoint now() override { return m_now; }
    void sleepUntil(TimePoint deadline) override { m_now = std::max(m_now, deadline); }

private:
    TimePoint m_now {};
};

// A radio that answers "rEAD" with the reply and "OK" with the stream, all at once.
class ScriptedPort final : public serial::SerialPort {
public:
    ScriptedPort(Bytes reply, Bytes stream)
        : m_reply(std::move(reply))
        , m_stream(std::move(stream))
    {
    }

    PortStatus open(const std::string&) override
    {
        m_open = true;
        return serial::kPortOk;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    PortStatus write(std::span<const std::uint8_t> bytes) override
    {
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (text == "rEAD") m_input = m_reply;
        if (text == "OK") m_input = m_stream;
        return serial::kPortOk;
    }
    PortStatus drain() override { return serial::kPortOk; }
    PortResult<std::size_t> transmitCount() override { return std::size_t { 0 }; }
    PortResult<std::size_t> receiveCount() override { return m_input.size(); }
    PortResult<Bytes> takeInput() override { return std::exchange(m_input, {}); }
    PortStatus discardInput() override
    {
        m_input.clear();
        return serial::kPortOk;
    }
    PortStatus discardOutput() override { return serial::kPortOk; }

private:
    Bytes m_reply;
    Bytes m_stream;
    Bytes m_input;
    bool m_open = false;
};

class SilentUi final : public link::LinkUi {
public:
    void showMessage(const util::Message&) override { }
    bool askYesNo(const util::Message&) override { return false; }
    void progressOpen(const std::string&, const std::string&) override { }
    void progressValue(int) override { }
    void progressClose() override { }
};

// Programming records of a parsed image, read back as a stream, give the same tables.
void checkProgrammingRoundTrip(const model::RadioImage& image)
{
    for (const link::Generation g : { link::Generation::Older, link::Generation::Newer }) {
        const auto records = link::programmingRecords(image, g);
        check(records.has_value(), "an image with a model has programming records");
        check(records->size() == static_cast<std::size_t>(link::programmingRecordCount(g)), "record count");
        Bytes stream;
        for (const link::DataRecord& r : *records)
            stream.insert(stream.end(), r.begin(), r.end());

        model::RadioImage back {};
        const auto parsed = link::parseDataStream(stream, back);
        check(parsed.ok(), "programming records parse");
        check(parsed->modelCode == model::modelCodeFromIndex(image.modelIndex), "model record");
        model::ChannelTable channels = image.channels;
        if (g == link::Generation::Older) model::to5kHzForm(channels);
        check(back.channels == channels, "channels travel unchanged");
        check(std::equal(back.settings.begin(), back.settings.begin() + 16, image.settings.begin()),
            "settings bytes 0-15 travel");
        if (g == link::Generation::Newer) check(back.parameters == image.parameters, "parameters travel");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const int modelIndex = static_cast<int>(data[0] % (model::kModelCount + 1)) - 1;
    const std::size_t replyLength = std::min<std::size_t>(data[1] & 0x03, size - 2);
    const Bytes reply(data + 2, data + 2 + replyLength);
    const Bytes stream(data + 2 + replyLength, data + size);
    const model::RadioImage& current = fuzz::defaultsOf(modelIndex);

    // What the read must come to, worked out from the reply and the stream alone.
    const link::HandshakeReply answer = link::classifyHandshakeReply(reply);
    check(answer.kind == link::ReplyKind::NoAnswer || (answer.modelCode >= 0 && answer.modelCode <= 14),
        "handshake model code in range");
    const bool older = answer.kind != link::ReplyKind::Newer;
    const std::size_t needed = link::readoutLength(older ? link::Generation::Older : link::Generation::Newer);
    model::RadioImage staging = current;
    const auto parsed = link::parseDataStream(stream, staging);
    check(staging.alignment == current.alignment && staging.modelIndex == current.modelIndex,
        "the stream touches neither alignment nor model");
    const int streamModel = parsed && parsed->modelCode >= 0 ? model::modelIndexFromCode(parsed->modelCode) : -1;
    const bool shouldSucceed
        = answer.kind != link::ReplyKind::NoAnswer && stream.size() >= needed && parsed.ok() && streamModel >= 0;

    VirtualClock clock;
    ScriptedPort port(reply, stream);
    SilentUi ui;
    const link::LinkTarget target { "COM1", std::string("/dev/fuzz") };
    const link::ReadOutcome out = link::readRadio(current, target, port, clock, ui);

    check(out.end == link::LinkEnd::Success || out.end == link::LinkEnd::Failed, "a read ends or fails");
    check(out.success() == shouldSucceed, "the read agrees with the reply and the stream");
    check(!port.isOpen(), "the port is closed afterwards");
    if (!out.success()) {
        check(out.image == current, "a failed read leaves the image alone");
        return 0;
    }
    check(out.image.modelIndex == streamModel, "the model comes from the stream");
    check(out.image.unknownModelCode == -1, "a read model is always known");
    check(out.fiveKhzForm == older && out.olderRadio == older, "form follows the generation");
    check(out.modelChanged == (streamModel != current.modelIndex), "model change reported");
    if (!out.modelChanged) check(out.image.alignment == current.alignment, "alignment kept");
    check(out.image.settings == staging.settings && out.image.parameters == staging.parameters,
        "settings and parameters as parsed");
    model::ChannelTable channels = staging.channels;
    if (older) model::toImageForm(channels);
    check(out.image.channels == channels, "channels as parsed");

    checkProgrammingRoundTrip(out.image);
    return 0;
}
