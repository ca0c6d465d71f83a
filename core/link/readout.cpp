#include "core/link/readout.h"

#include "core/link/data_stream.h"
#include "core/link/generation.h"
#include "core/link/handshake_reply.h"
#include "core/link/link_messages.h"
#include "core/link/link_steps.h"
#include "core/link/progress_scope.h"
#include "core/model/defaults.h"
#include "core/model/frequency_form.h"
#include "core/model/models.h"

#include <algorithm>

namespace korvane::link {

ReadOutcome readRadio(
    const model::RadioImage& current, const LinkTarget& target, serial::SerialPort& port, util::Clock& clock, LinkUi& ui)
{
    ReadOutcome out;
    out.image = current;
    LinkSession link(port, clock, target);
    if (!link.owner()) {
        out.end = LinkEnd::Refused;
        return out;
    }
    // The port is closed before any message, so nothing stays open while a box waits for the user.
    auto fail = [&](const util::Message& message) {
        link.closeLink();
        ui.showMessage(message);
        out.end = LinkEnd::Failed;
        return out;
    };

    if (auto opened = link.openLink(); !opened) return fail(link.communicationFailure(opened.error()));
    auto reply = link.handshake("rEAD");
    if (!reply) return fail(link.communicationFailure(reply.error()));
    const HandshakeReply answer = classifyHandshakeReply(*reply);
    if (answer.kind == ReplyKind::NoAnswer) return fail(link.communicationFailure());
    // A version we do not know may still read as an older radio does.
    if (answer.kind == ReplyKind::UnknownVersion) ui.showMessage(versionMismatch());
    const Generation generation = answer.kind == ReplyKind::Newer ? Generation::Newer : Generation::Older;
    const std::size_t needed = readoutLength(generation);

    // The handshake left the line quiet; what came before (a second answer, a stray byte) must
    // not count towards the stream.
    if (auto s = link.discardInput(); !s) return fail(link.communicationFailure(s.error()));
    if (auto sent = link.send("OK"); !sent) return fail(link.communicationFailure(sent.error()));
    if (auto sent = link.waitSent(); !sent) return fail(link.communicationFailure(sent.error()));

    serial::Bytes stream;
    {
        ProgressScope progress(ui, kReadCaption, kReadLabel);
        // The looks keep a steady beat from here, so a late wake-up (a busy machine) does not
        // push every later look back. Between them the count is watched, so that the stream is
        // taken once it is complete and the line has gone quiet, not at the next look.
        const util::Clock::TimePoint firstLook = clock.now();
        util::Clock::TimePoint lastArrival = firstLook;
        std::size_t arrived = 0;
        bool complete = false;
        for (int k = 1; k <= kReadoutPolls && !complete;) {
            const util::Clock::TimePoint look = firstLook + k * kReadoutPollInterval;
            pauseUntil(clock, std::min(look, clock.now() + kStreamWatchStep));
            auto count = link.receiveCount();
            if (!count) {
                progress.close();
                return fail(link.communicationFailure(count.error()));
            }
            if (*count != arrived) arrived = *count, lastArrival = clock.now();
            if (clock.now() >= look) {
                progress.value(kReadoutProgressStep * (k - 1));
                ++k;
            }
            complete = arrived >= needed && clock.now() - lastArrival >= kQuietGap;
        }
        progress.close();
        auto taken = complete ? link.takeInput() : link.takeReply();
        if (!taken) return fail(link.communicationFailure(taken.error()));
        stream = std::move(*taken);
    }
    if (stream.size() < needed) return fail(readError());

    model::RadioImage staging = current;
    const auto parsed = parseDataStream(stream, staging);
    if (!parsed) return fail(readError());
    // The model is the code of the last model record, converted once.
    const int modelIndex = parsed->modelCode < 0 ? -1 : model::modelIndexFromCode(parsed->modelCode);
    if (modelIndex < 0) return fail(readError());

    link.closeLink();
    out.modelChanged = modelIndex != current.modelIndex;
    if (out.modelChanged) {
        staging.modelIndex = static_cast<std::int16_t>(modelIndex);
        // The radio never sends its alignment test channels: take the new model's defaults.
        model::loadAlignmentDefaults(staging);
    }
    staging.unknownModelCode = -1;
    out.olderRadio = generation == Generation::Older;
    if (out.olderRadio) model::toImageForm(staging.channels);
    out.fiveKhzForm = out.olderRadio;
    out.image = staging;
    ui.showMessage(readComplete());
    out.end = LinkEnd::Success;
    return out;
}

} // namespace korvane::link
