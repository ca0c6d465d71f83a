// Every text the link puts before the user, and the small tables behind the exchanges, written
// out whole and compared with a committed file: the messages and their titles, icons and details,
// the verify messages and field names, the alignment items, the test channels' texts and how a
// handshake reply is read.

#include "core/link/alignment.h"
#include "core/link/alignment_items.h"
#include "core/link/handshake_reply.h"
#include "core/link/link_messages.h"
#include "core/link/test_channel_text.h"
#include "core/link/verify.h"
#include "support/golden.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::link;
using korvane::test::hex;

namespace {

std::string show(const util::Message& m)
{
    return m.text + " | " + m.title + " | " + std::to_string(static_cast<int>(m.icon)) + " | " + m.detail + "\n";
}

std::string texts()
{
    std::ostringstream out;
    for (const util::Message& m : { versionMismatch(), readError(), readComplete(), dataError(), writeError(),
             writeComplete(), unsupportedModel(), roundingQuestion(), modelMismatchQuestion(), alignmentModelMismatch(),
             verifyPassed(), verifyReadFailed() })
        out << show(m);
    out << kReadCaption << " | " << kReadLabel << " | " << kWriteCaption << " | " << kWriteLabel << "\n";

    const LinkTarget targets[]
        = { { "COM1", "/dev/ttyUSB0" }, { "COM3", std::nullopt }, linkTargetForDevice("/dev/pts/7") };
    for (const LinkTarget& target : targets) {
        out << show(communicationFailure(target));
        for (int kind = 0; kind <= static_cast<int>(PortErrorKind::Other); ++kind)
            for (const char* group : { "", "uucp", "root" })
                out << show(communicationFailure(target,
                    PortError { static_cast<PortErrorKind>(kind), "/dev/ttyUSB0", "Some system words", group }));
    }

    for (int area = 0; area <= static_cast<int>(VerifyArea::Model); ++area) {
        out << "verify area " << area << ":";
        for (int byte = 0; byte <= 32; ++byte)
            out << " " << byte << "=" << verifyFieldName(static_cast<VerifyArea>(area), byte) << ";";
        out << "\n" << show(verifyDifferenceMessage({ static_cast<VerifyArea>(area), 9, 7, 0x06, 0xF9 }));
        out << show(verifyDifferenceMessage({ static_cast<VerifyArea>(area), 15, 14, 0xAB, 0x00 }));
    }

    for (int index = -1; index <= kAlignmentItemCount; ++index) {
        const auto item = alignmentItem(index);
        out << "item " << index << ": " << alignmentItemCommand(index) << " record " << testChannelRecord(index);
        if (item) {
            const auto byKey = alignmentItemForKey(item->key);
            out << " " << item->index << " " << item->key << " " << item->frameCaption << " record " << item->testRecord
                << (byKey && byKey->index == index ? "" : " (key does not find it)");
        }
        out << "\n";
    }
    out << "unknown key " << alignmentItemForKey("testfreq").has_value() << "\n";

    for (int nibble = 0; nibble < 16; ++nibble)
        for (const auto& [c0, c1] : { std::pair { 0x85, 0x08 }, std::pair { 0x30, 0xD2 }, std::pair { 0xEC, 0x01 } }) {
            model::Record r {};
            r[2] = static_cast<std::uint8_t>(nibble << 4 | 0x0D);
            r[3] = static_cast<std::uint8_t>(c0);
            r[4] = static_cast<std::uint8_t>(c1);
            r[7] = static_cast<std::uint8_t>((15 - nibble) << 4 | 0x05);
            r[8] = static_cast<std::uint8_t>(c0);
            r[9] = static_cast<std::uint8_t>(c1);
            r[0] = static_cast<std::uint8_t>(nibble * 17);
            r[5] = static_cast<std::uint8_t>(c0);
            const TestChannelText t = testChannelText(r);
            out << "test channel " << hex(r) << ": " << t.receiveFrequency << " " << t.receiveSignalling << " / "
                << t.transmitFrequency << " " << t.transmitSignalling << "\n";
        }

    const Bytes replies[] = { {}, { 0x0F }, { 0xFF, 0x01 }, { 0x03 }, { 0x0E }, { 0x00 }, { 0x0E, 0x01 },
        { 0x01, 0x01, 0x77, 0x78 }, { 0x02, 0x05 }, { 0x03, 0x00 }, { 0x03, 0x02 }, { 0x07, 0x01 } };
    for (const Bytes& reply : replies) {
        const HandshakeReply r = classifyHandshakeReply(reply);
        out << "reply " << hex(reply) << ": kind " << static_cast<int>(r.kind) << " code " << r.modelCode << "\n";
    }
    return out.str();
}

} // namespace

TEST(LinkTexts, MatchTheCommittedFile) { EXPECT_EQ(texts(), korvane::test::expectedFile("link/texts.txt", texts())); }
