// Runs the real korvane-radio-sim and talks to it over its pseudo-terminal, as the program does.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "core/model/frequency_form.h"
#include "program_records.h"
#include "sim/read_out_stream.h"
#include "support/child_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace korvane;
using namespace korvane::sim;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using SteadyClock = std::chrono::steady_clock;

namespace {

// The simulated radio as a child process: the first line it prints names its device.
class SimProcess : public korvane::test::Child {
public:
    explicit SimProcess(std::vector<std::string> args)
        : Child(KORVANE_RADIO_SIM, std::move(args), {}, std::nullopt, std::nullopt)
    {
    }
    // The exit status, or -1 when it does not end in time.
    int waitForExit(std::chrono::milliseconds timeout = 5000ms) { return waitFor(timeout); }
    void terminate() { kill(SIGTERM); }
};

// The program's end of the cable, set up the way the program sets up a serial port.
class Port {
public:
    explicit Port(const std::string& device)
    {
        m_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0) return;
        termios t {};
        ::tcgetattr(m_fd, &t);
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        t.c_cflag |= CS8 | CSTOPB | CLOCAL | CREAD;
        ::tcsetattr(m_fd, TCSANOW, &t);
    }
    ~Port()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

    void write(const Bytes& bytes)
    {
        ASSERT_EQ(::write(m_fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void write(std::string_view text) { write(Bytes(text.begin(), text.end())); }

    // Reads until `want` bytes have come, the time is up or the line drops.
    Bytes read(std::size_t want, std::chrono::milliseconds timeout)
    {
        Bytes got;
        const auto end = SteadyClock::now() + timeout;
        m_dropped = false;
        while (got.size() < want) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - SteadyClock::now());
            pollfd p { m_fd, POLLIN, 0 };
            if (left.count() < 0 || ::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) break;
            std::uint8_t chunk[1024];
            const ssize_t n = ::read(m_fd, chunk, std::min(sizeof chunk, want - got.size()));
            if (n <= 0) {
                m_dropped = n == 0 || errno != EAGAIN;
                if (m_dropped) break;
                continue;
            }
            got.insert(got.end(), chunk, chunk + n);
        }
        return got;
    }
    bool dropped() const { return m_dropped; }

private:
    int m_fd = -1;
    bool m_dropped = false;
};

class SimProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/korvane-sim-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    std::string path(std::string_view name) const { return (m_folder / name).string(); }

    std::filesystem::path m_folder;
};

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST_F(SimProcessTest, PacedNewerReadOut)
{
    SimProcess sim({ "--model", "2", "--link", path("radio"), "--log", path("sim.log") });
    const std::string device = sim.readLine();
    ASSERT_EQ(device.rfind("/dev/pts/", 0), 0u) << device;
    EXPECT_EQ(std::filesystem::read_symlink(path("radio")), device);

    Port port(path("radio"));
    ASSERT_TRUE(port.isOpen());
    port.write("rEAD");
    EXPECT_EQ(port.read(2, 500ms), (Bytes { 0x02, 0x01 }));

    const auto start = SteadyClock::now();
    port.write("OK");
    const Bytes stream = port.read(684, 3000ms);
    const std::chrono::duration<double> took = SteadyClock::now() - start;
    EXPECT_EQ(stream, readOutStream(memoryFromImage(model::defaultImage(2)), Generation::Newer));

    // "OK" crosses the line, then the 684 bytes: 686 x 11 bits at 9600 baud.
    const double minimum = 686 * 11 / 9600.0;
    const double streamOnly = 684 * 11 / 9600.0;
    std::cout << "paced newer read-out: " << took.count() << " s after OK; 684*11/9600 = " << streamOnly
              << " s; with OK " << minimum << " s; ratio " << took.count() / minimum << "\n";
    RecordProperty("readout_seconds", std::to_string(took.count()));
    EXPECT_GE(took.count(), minimum - 0.0005);
    EXPECT_LT(took.count(), minimum * 1.5);

    sim.terminate();
    EXPECT_EQ(sim.waitForExit(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(path("radio")));
    const std::string log = fileText(path("sim.log"));
    EXPECT_NE(log.find("<- rEAD"), std::string::npos) << log;
    EXPECT_NE(log.find("-> read-out record 57/57      57 03 D8 08 02"), std::string::npos) << log;
}

TEST_F(SimProcessTest, OlderRadioProgrammedAndSavedOnce)
{
    SimProcess sim({ "--older", "--model", "3", "--no-pace", "--once", "--save", path("held.rdw") });
    const std::string device = sim.readLine();

    // Open and close the port once first: the radio keeps serving.
    {
        Port probe(device);
        ASSERT_TRUE(probe.isOpen());
    }
    std::this_thread::sleep_for(20ms);

    model::RadioImage image = model::defaultImage(3);
    image.channels[7][0] = 0x48; // 450.050 MHz in 6.25 kHz units
    image.settings[11] = 0x09;
    model::ChannelTable line = image.channels;
    model::to5kHzForm(line);
    {
        Port port(device);
        ASSERT_TRUE(port.isOpen());
        port.write("pROGRAM");
        EXPECT_EQ(port.read(1, 500ms), (Bytes { 0x03 }));
        for (const auto& record : sim::test::programRecords(line, image.settings, nullptr, 0x03)) {
            port.write(record);
            std::this_thread::sleep_for(2ms);
        }
        EXPECT_EQ(port.read(2, 1000ms), (Bytes { 0x4F, 0x4B }));
    } // the program lets go of its port; with --once the radio is done

    EXPECT_EQ(sim.waitForExit(), 0);
    auto opened = files::openDataFile(path("held.rdw"), model::defaultImage(0));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->image.channels, image.channels);
    EXPECT_EQ(opened->image.settings[11], 0x09);
    EXPECT_EQ(opened->image.modelIndex, 3);
}

TEST_F(SimProcessTest, DroppedLineShowsAsAnErrorAndTheRadioComesBack)
{
    SimProcess sim({ "--no-pace", "--drop-after", "100", "--link", path("radio") });
    const std::string first = sim.readLine();
    {
        Port port(path("radio"));
        ASSERT_TRUE(port.isOpen());
        port.write("rEAD");
        EXPECT_EQ(port.read(2, 500ms).size(), 2u);
        port.write("OK");
        // The program's port is hung up: it can no longer count waiting bytes nor read them. A
        // busy machine may take a while to get the radio there.
        int waiting = 0;
        int counted = 0;
        for (int tries = 0; tries < 100 && (counted = ::ioctl(port.fd(), FIONREAD, &waiting)) != -1; ++tries)
            std::this_thread::sleep_for(50ms);
        EXPECT_EQ(counted, -1);
        EXPECT_EQ(errno, EIO);
        const Bytes got = port.read(684, 200ms);
        EXPECT_LE(got.size(), 100u);
        EXPECT_TRUE(port.dropped());
    }
    const std::string second = sim.readLine();
    ASSERT_EQ(second.rfind("/dev/pts/", 0), 0u) << second;
    EXPECT_EQ(std::filesystem::read_symlink(path("radio")), second);

    Port again(path("radio"));
    ASSERT_TRUE(again.isOpen());
    again.write("rEAD");
    EXPECT_EQ(again.read(2, 500ms), (Bytes { 0x00, 0x01 }));
    sim.terminate();
    EXPECT_EQ(sim.waitForExit(), 0);
    EXPECT_FALSE(std::filesystem::exists(path("radio")));
}

TEST_F(SimProcessTest, EveryOpenOfThePortStartsTheAttemptsAfresh)
{
    SimProcess sim({ "--no-pace", "--answer-on", "2", "--log", path("sim.log") });
    const std::string device = sim.readLine();
    for (int round = 0; round < 3; ++round) {
        // The program closes and opens again at once, with no quiet spell in between.
        Port port(device);
        ASSERT_TRUE(port.isOpen());
        port.write("rEAD");
        EXPECT_TRUE(port.read(2, 80ms).empty()) << round;
    }
    Port port(device);
    port.write("rEAD");
    EXPECT_TRUE(port.read(2, 80ms).empty());
    port.write("rEAD");
    EXPECT_EQ(port.read(2, 500ms), (Bytes { 0x00, 0x01 })) << fileText(path("sim.log"));
    sim.terminate();
    EXPECT_EQ(sim.waitForExit(), 0);
    const std::string log = fileText(path("sim.log"));
    EXPECT_NE(log.find("the program closed the line"), std::string::npos) << log;
}
