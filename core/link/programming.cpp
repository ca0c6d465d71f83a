#include "core/link/programming.h"

#include "core/link/data_record.h"
#include "core/link/generation.h"
#include "core/link/handshake_reply.h"
#include "core/link/link_messages.h"
#include "core/link/link_steps.h"
#include "core/link/progress_scope.h"
#include "core/model/models.h"

namespace korvane::link {

ProgramOutcome programRadio(
    model::RadioImage& image, const LinkTarget& target, serial::SerialPort& port, util::Clock& clock, LinkUi& ui)
{
    ProgramOutcome out;
    LinkSession link(port, clock, target);
    if (!link.owner()) {
        out.end = LinkEnd::Refused;
        return out;
    }
    auto end = [&](LinkEnd how, const std::optional<util::Message>& message) {
        link.closeLink();
        if (message) ui.showMessage(*message);
        out.end = how;
        return out;
    };
    auto fail = [&](const util::Message& message) { return end(LinkEnd::Failed, message); };

    // An image without a model has no model code to send: the radio would be left half-written.
    if (model::modelCodeFromIndex(image.modelIndex) < 0) return fail(unsupportedModel());

    if (auto opened = link.openLink(); !opened) return fail(link.communicationFailure(opened.error()));
    auto reply = link.handshake("pROGRAM");
    if (!reply) return fail(link.communicationFailure(reply.error()));
    const HandshakeReply answer = classifyHandshakeReply(*reply);
    if (answer.kind == ReplyKind::NoAnswer) return fail(link.communicationFailure());

    if (answer.kind == ReplyKind::Older || answer.kind == ReplyKind::Newer) {
        out.radioGeneration = answer.kind == ReplyKind::Older ? Generation::Older : Generation::Newer;
        out.radioModel = model::modelIndexFromCode(answer.modelCode);
    }

    std::vector<ChannelSide> offGrid;
    if (answer.kind == ReplyKind::Older) {
        offGrid = sidesOff5kHzGrid(image.channels);
        if (!offGrid.empty() && !ui.askYesNo(roundingQuestion())) return end(LinkEnd::Declined, std::nullopt);
    } else if (answer.kind == ReplyKind::UnknownVersion) {
        return fail(versionMismatch());
    }
    const Generation generation = answer.kind == ReplyKind::Older ? Generation::Older : Generation::Newer;
    out.olderRadio = generation == Generation::Older;

    const int radioModel = model::modelIndexFromCode(answer.modelCode);
    if (radioModel < 0) return fail(link.communicationFailure());
    if (radioModel != image.modelIndex && !ui.askYesNo(modelMismatchQuestion()))
        return end(LinkEnd::Declined, std::nullopt);

    // Every question is answered: only now does the image change.
    roundOnto5kHzGrid(image.channels, offGrid);
    out.roundedSides = offGrid;
    if (!offGrid.empty()) ui.channelsRounded(offGrid);
    const auto records = programmingRecords(image, generation);
    if (!records) return fail(unsupportedModel());

    if (auto s = link.discardOutput(); !s) return fail(link.communicationFailure(s.error()));
    // A late second answer to the handshake, or bytes that came while the user was asked, must
    // not be taken for the radio's word at the end.
    if (auto heard = link.listen(kPreDataPause); !heard) return fail(link.communicationFailure(heard.error()));
    if (auto s = link.discardInput(); !s) return fail(link.communicationFailure(s.error()));

    serial::Bytes completion;
    {
        ProgressScope progress(ui, kWriteCaption, kWriteLabel);
        const int step = generation == Generation::Older ? kOlderProgressStep : kNewerProgressStep;
        for (std::size_t r = 0; r < records->size(); ++r) {
            // The radio answers only after the last record: whatever is waiting then is not its answer.
            auto sent = r + 1 == records->size() ? link.discardInput() : serial::PortStatus { serial::kPortOk };
            if (sent) sent = link.send((*records)[r]);
            if (sent) {
                progress.value(step * static_cast<int>(r));
                sent = link.waitSent();
            }
            if (!sent) {
                progress.close();
                return fail(link.communicationFailure(sent.error()));
            }
            link.pause(kRecordPause);
        }
        out.fiveKhzForm = out.olderRadio;
        progress.value(kProgressMaximum);
        auto heard = link.listen(kCompletionPause);
        progress.close();
        if (!heard) return fail(link.communicationFailure(heard.error()));
        completion = heard->bytes();
    }

    // A lone byte is a line in trouble rather than a radio that said no.
    if (completion.size() == 1) return fail(link.communicationFailure());
    if (completion.size() < 2 || completion[0] != 'O' || completion[1] != 'K') return fail(writeError());
    return end(LinkEnd::Success, writeComplete());
}

} // namespace korvane::link
