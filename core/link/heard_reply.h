#pragma once
// What came back for one command, as it arrived: runs of bytes with a quiet stretch between them.
// A radio sends its answer in one run. A stray byte from a cable being plugged in or a radio
// being switched on, or a second answer to a command that was sent again, comes apart from it;
// a USB adapter that holds bytes for its next burst can cut one answer in two as well.

#include "core/serial/serial_port.h"

#include <cstddef>
#include <vector>

namespace korvane::link {

struct HeardReply {
    std::vector<serial::Bytes> pieces; // each run of bytes, in order
    bool settled = true; // false: the line never went quiet, and what followed was thrown away

    serial::Bytes bytes() const;
};

// The form of a radio's answer to a handshake command.
struct AnswerShape {
    std::size_t enough; // fewer bytes are no answer yet: the command is sent again
    std::size_t olderLength; // an older radio's answer
    std::size_t newerLength; // a newer radio's answer: this long, the version byte 1 second
};

// "rEAD" and "pROGRAM": the model code, and from a newer radio the version byte.
inline constexpr AnswerShape kHandshakeAnswer { 1, 1, 2 };

enum class Verdict {
    Answer,
    TooShort, // fewer bytes than an answer has
    Noise, // not an answer: nothing the radio sends starts this way, or the line never went quiet
    Doubtful, // pieces that may be noise beside an answer, or one answer cut in two
};

struct Judged {
    Verdict verdict = Verdict::Noise;
    serial::Bytes answer; // for Answer and TooShort
};

// A radio's model code is 0..14: a first byte above that is noise. An answer in one run is taken
// as it stands, except where an earlier command may still be answered (`retry`) and the run could
// be one older answer repeated: an older radio's late answer and its next one, run together, look
// like a newer radio's answer. Runs that are each the same newer answer are one answer sent late
// and one on time; other runs cannot be told apart from a stray byte in front of an answer.
Judged judgeReply(const HeardReply& reply, const AnswerShape& shape, bool retry);

} // namespace korvane::link
