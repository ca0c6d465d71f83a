// The simulated radio on a clock the test moves by hand: the exchanges of tests/data/sim/cases.txt
// as its packet log, its answers and what it then holds, against a committed file.

#include "core/link/data_record.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"
#include "sim/radio.h"
#include "tests/core/link/link_fakes.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace korvane;
using namespace korvane::sim;
using korvane::link::fakes::changes;
using korvane::test::hex;
using Bytes = std::vector<std::uint8_t>;

namespace {

// What programming sends a newer radio: channels on 146.010 MHz and up, one on 410 MHz in 6.25 kHz units.
std::vector<Bytes> records()
{
    model::RadioImage image = model::defaultImage(2);
    for (int c = 0; c < 16; ++c) {
        model::setFrequencyCount(image.channels[c], model::Side::Receive, 58404 + 2 * static_cast<std::uint32_t>(c));
        image.channels[c][13] = static_cast<std::uint8_t>(0xC0 + c);
    }
    model::setFrequencyCount(image.channels[1], model::Side::Transmit, 65600);
    model::setBit(image.channels[1][model::flagByte(model::Side::Transmit)], model::kStepBit, true);
    image.settings[0] = 0x80, image.settings[15] = 0x42, image.settings[16] = 0x55; // byte 16 is not sent
    image.parameters[9][15] = 0x5A;
    const auto sent = link::programmingRecords(image, link::Generation::Newer);
    std::vector<Bytes> all;
    for (const auto& r : *sent)
        all.emplace_back(r.begin(), r.end());
    return all;
}

std::string exchange(const std::string& radioText, const std::string& sentText)
{
    std::istringstream radioWords(radioText), sentWords(sentText);
    RadioConfig config;
    int modelIndex = 0, code = -1;
    for (std::string w; radioWords >> w;) {
        if (w == "older") config.generation = Generation::Older;
        if (w.starts_with("version=")) config.version = static_cast<std::uint8_t>(std::stoi(w.substr(8)));
        if (w.starts_with("model=")) modelIndex = std::stoi(w.substr(6));
        if (w.starts_with("code=")) code = std::stoi(w.substr(5));
        if (w.starts_with("drop=")) config.faults.dropDuringProgram = std::stoi(w.substr(5));
    }
    RadioMemory memory = memoryFromImage(model::defaultImage(modelIndex));
    if (code >= 0) setModelCode(memory, static_cast<std::uint8_t>(code));
    const RadioMemory before = memory;
    std::ostringstream out;
    TimePoint now = TimePoint {} + std::chrono::hours(1);
    Radio radio(config, memory, PacketLog(out, now));
    bool hungUp = false;
    const auto send = [&](const Bytes& bytes, const std::string& shown) {
        radio.receive(bytes, now);
        const Transmission t = radio.takeOutput();
        // As the line does: the radio's hang-up reaches it once its bytes have gone.
        if (t.hangUpAfter) radio.hungUp(now);
        hungUp = hungUp || t.hangUpAfter;
        out << "  sent " << shown << ": "
            << (t.bytes.size() > 16 ? std::to_string(t.bytes.size()) + " bytes" : hex(t.bytes)) << "\n";
    };
    for (std::string w; sentWords >> w;) {
        if (w[0] == '+') {
            now += std::chrono::milliseconds(std::stoi(w.substr(1)));
            radio.runTimers(now);
            out << "  after " << w << " ms: " << hex(radio.takeOutput().bytes) << "\n";
        } else if (w[0] == '\'') {
            send(Bytes(w.begin() + 1, w.end() - 1), w);
        } else if (w == "records=newer") {
            for (const Bytes& r : records())
                if (!hungUp) send(r, hex(r)), now += std::chrono::milliseconds(100), radio.runTimers(now);
        } else {
            send(link::fakes::bytesOf(w), w);
        }
    }
    out << "exchanges " << radio.exchangesDone() << (hungUp ? ", hung up" : "") << ", model code "
        << int { radio.memory().modelCode } << ", alignment " << hex(radio.memory().alignment)
        << ", holds:" << changes(before.image, radio.memory().image) << "\n";
    return out.str();
}

} // namespace

TEST(SimRadio, ExchangesMatchTheCommittedFile)
{
    std::string all;
    for (const std::string& line : link::fakes::caseLines("sim/cases.txt")) {
        const auto rest = line.substr(line.find(" | ") + 3);
        all += "== " + line + "\n" + exchange(rest.substr(0, rest.find("| ")), rest.substr(rest.find("| ") + 2));
    }
    EXPECT_TRUE(korvane::test::matchesGolden("sim/exchanges.txt", all));
}
