#include "core/link/handshake_reply.h"

#include <gtest/gtest.h>

using namespace korvane::link;

TEST(HandshakeReply, Classifies)
{
    struct Row {
        Bytes reply;
        ReplyKind kind;
        int code;
    };
    const Row rows[] = {
        { {}, ReplyKind::NoAnswer, -1 }, { { 0x0F }, ReplyKind::NoAnswer, -1 },
        { { 0xFF, 0x01 }, ReplyKind::NoAnswer, -1 }, { { 0x03 }, ReplyKind::Older, 3 },
        { { 0x0E }, ReplyKind::Older, 14 }, { { 0x00 }, ReplyKind::Older, 0 }, { { 0x0E, 0x01 }, ReplyKind::Newer, 14 },
        { { 0x01, 0x01, 0x77, 0x78 }, ReplyKind::Newer, 1 }, { { 0x02, 0x05 }, ReplyKind::UnknownVersion, 2 },
        { { 0x03, 0x00 }, ReplyKind::UnknownVersion, 3 },
        { { 0x07, 0x01 }, ReplyKind::Newer, 7 }, // a code without model is the caller's to judge
    };
    for (const Row& row : rows) {
        const HandshakeReply r = classifyHandshakeReply(row.reply);
        EXPECT_EQ(r.kind, row.kind) << testing::PrintToString(row.reply);
        EXPECT_EQ(r.modelCode, row.code) << testing::PrintToString(row.reply);
    }
}
