#pragma once
// A scripted radio at the far end of a FakeSerialPort: answers the handshake, sends its
// read-out after "OK", collects programmed records and answers with its completion reply.
// Written from the radio's side with plain bytes, independent of the program's protocol code.

#include "tests/core/link/fake_serial_port.h"

#include <string>
#include <vector>

namespace korvane::link::fakes {

struct FakeRadio {
    // What the radio answers to "rEAD" and "pROGRAM"; empty: it stays silent.
    Bytes handshakeReply;
    // The attempt (1-based) from which it answers.
    int answerFromAttempt = 1;
    Bytes readout; // sent after "OK"
    Bytes completion { 'O', 'K' }; // sent after the last record
    std::size_t recordsBeforeCompletion = 0; // 0: 35 for a one-byte handshake reply, else 56
    Clock::Duration replyDelay = std::chrono::milliseconds(5);
    bool paced = true;

    // What it heard.
    int handshakeAttempts = 0;
    std::vector<Bytes> records;

    void attach(FakeSerialPort& port)
    {
        port.setFarEnd(
            [this](FakeSerialPort& p, const Bytes& written, Clock::TimePoint leftAt) { hear(p, written, leftAt); });
    }

    void hear(FakeSerialPort& port, const Bytes& written, Clock::TimePoint leftAt)
    {
        const std::string text(written.begin(), written.end());
        if (text == "rEAD" || text == "pROGRAM") {
            ++handshakeAttempts;
            if (handshakeAttempts >= answerFromAttempt && !handshakeReply.empty())
                port.deliver(leftAt + replyDelay, handshakeReply, paced);
            return;
        }
        if (text == "OK") {
            port.deliver(leftAt + replyDelay, readout, paced);
            return;
        }
        if (written.size() == 12 && written[0] == 0x57) {
            records.push_back(written);
            const std::size_t expected
                = recordsBeforeCompletion != 0 ? recordsBeforeCompletion : (handshakeReply.size() == 1 ? 35 : 56);
            if (records.size() == expected) port.deliver(leftAt + replyDelay, completion, paced);
        }
    }
};

} // namespace korvane::link::fakes
