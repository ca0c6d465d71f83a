// The read-out over a real pseudo-terminal and the real clock: a thread plays a newer radio on
// the master side, sending as fast as the terminal takes it.

#include "core/link/link_messages.h"
#include "core/link/posix_serial_port.h"
#include "core/link/readout.h"
#include "core/link/steady_clock.h"
#include "core/model/defaults.h"
#include "tests/core/link/recording_link_ui.h"
#include "tests/core/link/test_streams.h"

#include <atomic>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <thread>
#include <unistd.h>

using namespace korvane;
using namespace korvane::link;
using namespace korvane::link::fakes;
using namespace std::chrono_literals;

namespace {

class PtyRadio {
public:
    PtyRadio(Bytes handshakeReply, Bytes readout)
        : m_reply(std::move(handshakeReply))
        , m_readout(std::move(readout))
    {
        int slave = -1;
        char name[256] {};
        EXPECT_EQ(::openpty(&m_master, &slave, name, nullptr, nullptr), 0);
        m_device = name;
        ::close(slave);
        m_thread = std::thread([this] { run(); });
    }
    ~PtyRadio()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_master);
    }
    const std::string& device() const { return m_device; }
    std::string heard() const { return m_heard; }

private:
    void run()
    {
        std::string pending;
        while (!m_stop) {
            pollfd p { m_master, POLLIN, 0 };
            if (::poll(&p, 1, 10) <= 0 || (p.revents & POLLIN) == 0) continue;
            char buffer[256];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0) continue;
            pending.append(buffer, static_cast<std::size_t>(n));
            m_heard.append(buffer, static_cast<std::size_t>(n));
            if (pending.ends_with("rEAD")) {
                send(m_reply);
                pending.clear();
            } else if (pending.ends_with("OK")) {
                send(m_readout);
                pending.clear();
            }
        }
    }
    void send(const Bytes& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.data() + done, bytes.size() - done);
            if (n > 0) done += static_cast<std::size_t>(n);
        }
    }

    int m_master = -1;
    std::string m_device;
    Bytes m_reply;
    Bytes m_readout;
    std::string m_heard;
    std::atomic<bool> m_stop { false };
    std::thread m_thread;
};

} // namespace

TEST(PtyLink, ReadOutOverAPseudoTerminal)
{
    model::ParameterTable parameters {};
    parameters[9][15] = 0x5A;
    model::SettingsBlock settings {};
    settings[0] = 0xC0;
    PtyRadio radio({ 0x0E, 0x01 }, newerReadout(model::defaultImage(4).channels, settings, parameters, 14));
    PosixSerialPort port;
    SteadyClock clock;
    RecordingLinkUi ui;
    const auto start = clock.now();
    const ReadOutcome out = readRadio(model::defaultImage(0), linkTargetForDevice(radio.device()), port, clock, ui);
    const auto took = clock.now() - start;
    ASSERT_TRUE(out.success()) << (ui.messages.empty() ? "" : ui.messages.front().text) << " heard: " << radio.heard();
    EXPECT_EQ(out.image.modelIndex, 4);
    EXPECT_EQ(out.image.parameters, parameters);
    EXPECT_EQ(out.image.channels, model::defaultImage(4).channels);
    EXPECT_EQ(ui.messages, std::vector<util::Message> { readComplete() });
    EXPECT_GE(took, 80ms + 50ms);
    EXPECT_LT(took, 1s);
}

TEST(PtyLink, NothingOnTheOtherSide)
{
    PtyRadio radio({}, {});
    PosixSerialPort port;
    SteadyClock clock;
    RecordingLinkUi ui;
    const LinkTarget target = linkTargetForDevice(radio.device());
    const ReadOutcome out = readRadio(model::defaultImage(0), target, port, clock, ui);
    EXPECT_EQ(out.end, LinkEnd::Failed);
    EXPECT_EQ(ui.messages, std::vector<util::Message> { communicationFailure(target) });
    EXPECT_FALSE(port.isOpen());
}
