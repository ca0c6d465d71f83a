#pragma once
// What the radio's answer to "rEAD" or "pROGRAM" says: its model code and its generation.
// Older radios answer with the model code alone; newer ones add a version byte, which is 1 for
// every version this program knows.

#include "core/serial/serial_port.h"

namespace korvane::link {

enum class ReplyKind {
    NoAnswer, // empty, or a model code above 14
    Older,
    Newer,
    UnknownVersion, // a version byte other than 1
};

struct HandshakeReply {
    ReplyKind kind = ReplyKind::NoAnswer;
    int modelCode = -1; // 0..14 unless NoAnswer
};

inline constexpr int kHighestModelCode = 14;

HandshakeReply classifyHandshakeReply(const serial::Bytes& reply);

} // namespace korvane::link
