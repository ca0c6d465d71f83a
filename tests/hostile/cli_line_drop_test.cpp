// The line drops at byte after byte of a read-out and of a write, from outside: korvane-cli
// against the simulated radio. Every drop ends with exit status 1 and the port's message, no
// output file for a read, and the input file untouched by a write.
//
// The radio drops the read-out itself (--drop-after). For the write a cable runs through the test:
// it carries the program's bytes to the radio and the radio's back, and is cut once the program
// has sent a given number of bytes.

#include "e2e/e2e_support.h"

#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <termios.h>

using namespace korvane;
using namespace korvane::e2e;

namespace {

// Every 37th byte and the edges: coarse enough to stay quick, fine enough to land in every part.
std::vector<std::size_t> dropPoints(std::size_t total)
{
    std::vector<std::size_t> points { 0, 1 };
    for (std::size_t n = 37; n < total - 1; n += 37)
        points.push_back(n);
    points.push_back(total - 1);
    return points;
}

std::string lineDropped(const std::string& device) { return noResponse(device, device + "：连接已断开。"); }

// A pseudo-terminal the program opens as its port, joined to the radio's device by a thread that
// copies both ways until the program has sent `after` bytes, counted from its first byte or from
// the radio's first answer (a radio slow to answer makes the program repeat its command, which
// would shift every later byte). Then the cable either is cut (both ends closed, which the
// program sees as a hang-up) or turns to noise: the radio is heard no more, and the program hears
// endless bytes that mean nothing, a few every couple of milliseconds, faster than its line could
// carry them.
class Cable {
public:
    enum class Fault { Cut, Noise };
    enum class From { Start, FirstAnswer };

    Cable(const std::string& radioDevice, Fault fault, std::size_t after, From from = From::Start)
        : m_fault(fault)
        , m_after(after)
        , m_counting(from == From::Start)
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return;
        m_device = ::ptsname(m_master);
        // Held open so the master never reads a hang-up while the program has its port closed.
        m_holdSlave = ::open(m_device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        m_radio = ::open(radioDevice.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (m_holdSlave < 0 || m_radio < 0) {
            m_device.clear();
            return;
        }
        for (int fd : { m_holdSlave, m_radio }) {
            termios t {};
            ::tcgetattr(fd, &t);
            ::cfmakeraw(&t);
            ::tcsetattr(fd, TCSANOW, &t);
        }
        m_thread = std::thread([this] { run(); });
    }
    ~Cable()
    {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        cut();
        if (m_radio >= 0) ::close(m_radio);
    }
    Cable(const Cable&) = delete;
    Cable& operator=(const Cable&) = delete;

    // The program's port ("" when the cable could not be made).
    const std::string& device() const { return m_device; }

private:
    void run()
    {
        std::uint8_t buffer[512];
        bool noisy = false;
        while (!m_stop && m_master >= 0) {
            pollfd fds[2] = { { m_master, POLLIN, 0 }, { m_radio, POLLIN, 0 } };
            const int ready = ::poll(fds, noisy ? 1 : 2, noisy ? 2 : 20);
            if (noisy) {
                static const std::uint8_t kNoise[8] = { 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA };
                writeAll(m_master, kNoise, sizeof kNoise);
            }
            if (ready <= 0) continue;
            if ((fds[0].revents & POLLIN) != 0) {
                const ssize_t n = ::read(m_master, buffer, sizeof buffer);
                if (n <= 0 || noisy) continue;
                if (!m_counting) {
                    writeAll(m_radio, buffer, static_cast<std::size_t>(n));
                    continue;
                }
                const std::size_t pass = std::min(static_cast<std::size_t>(n), m_after - m_forwarded);
                writeAll(m_radio, buffer, pass);
                m_forwarded += pass;
                if (m_forwarded == m_after) {
                    if (m_fault == Fault::Cut) {
                        cut();
                        return;
                    }
                    noisy = true;
                    continue;
                }
            }
            if (!noisy && (fds[1].revents & POLLIN) != 0) {
                const ssize_t n = ::read(m_radio, buffer, sizeof buffer);
                if (n > 0) {
                    writeAll(m_master, buffer, static_cast<std::size_t>(n));
                    m_counting = true;
                }
            }
        }
    }

    void writeAll(int fd, const std::uint8_t* bytes, std::size_t count)
    {
        while (count > 0 && !m_stop) {
            const ssize_t n = ::write(fd, bytes, count);
            if (n <= 0) {
                if (n < 0 && errno == EAGAIN) {
                    pollfd p { fd, POLLOUT, 0 };
                    ::poll(&p, 1, 20);
                    continue;
                }
                return;
            }
            bytes += n;
            count -= static_cast<std::size_t>(n);
        }
    }

    void cut()
    {
        if (m_master >= 0) ::close(m_master);
        if (m_holdSlave >= 0) ::close(m_holdSlave);
        m_master = -1;
        m_holdSlave = -1;
    }

    Fault m_fault;
    std::size_t m_after;
    bool m_counting;
    std::size_t m_forwarded = 0;
    int m_master = -1;
    int m_holdSlave = -1;
    int m_radio = -1;
    std::string m_device;
    std::atomic<bool> m_stop { false };
    std::thread m_thread;
};

class HostileCli : public E2eTest { };

// The cases run this many at a time: each batch starts its radios, then all its programs at
// once, so that the time a program took is its own and not its neighbours' start-up.
constexpr std::size_t kBatch = 12;

// The exact bounds of every wait are checked on the fake clock; here a program only has to end,
// on a machine that may be busy with a dozen of them and with sanitizers: a read-out waits about
// 3.3 s at most, a write 6.5 s for its records, an adjustment about 1 s. The bounds leave room
// for a test machine with two cores shared with other suites: a hang still shows as a failure,
// well before the test's own time limit.
constexpr double kReadEnds = 30.0;
constexpr double kWriteEnds = 45.0;
constexpr double kAlignEnds = 30.0;

// The read-out of an older (420 bytes) and a newer radio (684 bytes) dropped after n bytes; the
// newer one also at the line's own pace, so the program sees the stream grow before the drop.
TEST_F(HostileCli, ReadOutDroppedAtAnyByte)
{
    struct Row {
        std::string generation;
        std::size_t after;
        bool paced;
    };
    std::vector<Row> rows;
    for (std::size_t n : dropPoints(420))
        rows.push_back({ "--older", n, false });
    for (std::size_t n : dropPoints(684))
        rows.push_back({ "--newer", n, false });
    for (std::size_t n : dropPoints(684))
        rows.push_back({ "--newer", n, true });

    for (std::size_t first = 0; first < rows.size(); first += kBatch) {
        const std::size_t last = std::min(rows.size(), first + kBatch);
        std::vector<std::unique_ptr<SimRadio>> sims;
        std::vector<std::unique_ptr<CliProcess>> reads;
        for (std::size_t k = first; k < last; ++k) {
            sims.push_back(std::make_unique<SimRadio>(folder(),
                std::vector<std::string> { rows[k].generation, "--drop-after", std::to_string(rows[k].after) },
                rows[k].paced));
            ASSERT_FALSE(sims.back()->device().empty());
        }
        for (std::size_t k = first; k < last; ++k) {
            reads.push_back(std::make_unique<CliProcess>(folder(),
                std::vector<std::string> {
                    "read", "--port", sims[k - first]->device(), "-o", path("read" + std::to_string(k) + ".rdw") }));
        }
        for (std::size_t k = first; k < last; ++k) {
            SCOPED_TRACE(rows[k].generation + (rows[k].paced ? " paced" : "") + " radio dropped after "
                + std::to_string(rows[k].after) + " bytes");
            const CliRun run = reads[k - first]->finish();
            const std::string device = sims[k - first]->device();
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, lineDropped(device));
            EXPECT_FALSE(std::filesystem::exists(path("read" + std::to_string(k) + ".rdw")));
            EXPECT_LT(run.seconds, kReadEnds);
        }
    }
}

// A write to a newer radio ("pROGRAM" and 56 records, 679 bytes) with the cable cut after n of
// them, up to all of them: the completion reply never comes through.
TEST_F(HostileCli, WriteDroppedAtAnyByte)
{
    constexpr std::size_t kWriteBytes = 7 + 56 * 12;
    std::vector<std::size_t> points = dropPoints(kWriteBytes);
    points.push_back(kWriteBytes);

    model::RadioImage image = model::defaultImage(0);
    image.channels[2][13] = 0x5A;
    saveFile(path("input.rdw"), image);
    const std::string input = test::readWholeFile(path("input.rdw"));
    ASSERT_FALSE(input.empty());

    for (std::size_t first = 0; first < points.size(); first += kBatch) {
        const std::size_t last = std::min(points.size(), first + kBatch);
        std::vector<std::unique_ptr<SimRadio>> sims;
        std::vector<std::unique_ptr<Cable>> cables;
        std::vector<std::unique_ptr<CliProcess>> writes;
        for (std::size_t k = first; k < last; ++k) {
            sims.push_back(std::make_unique<SimRadio>(folder(), std::vector<std::string> { "--model", "0" }));
            ASSERT_FALSE(sims.back()->device().empty());
            cables.push_back(std::make_unique<Cable>(sims.back()->device(), Cable::Fault::Cut, points[k]));
            ASSERT_FALSE(cables.back()->device().empty());
        }
        for (std::size_t k = first; k < last; ++k) {
            writes.push_back(std::make_unique<CliProcess>(folder(),
                std::vector<std::string> { "write", "--port", cables[k - first]->device(), path("input.rdw") }));
        }
        for (std::size_t k = first; k < last; ++k) {
            SCOPED_TRACE("cable cut after " + std::to_string(points[k]) + " bytes");
            const CliRun run = writes[k - first]->finish();
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, lineDropped(cables[k - first]->device()));
            EXPECT_LT(run.seconds, kWriteEnds);
            // The radio heard every whole record that went through before the cut (when it answered
            // the first "pROGRAM": a repeated command would come before the records).
            const std::size_t records = points[k] < 7 ? 0 : (points[k] - 7) / 12;
            const auto until = SteadyTime::now() + 2s;
            while (sims[k - first]->recordsHeard().size() < records && SteadyTime::now() < until)
                std::this_thread::sleep_for(20ms);
            if (sims[k - first]->logged("<-", "pROGRAM").size() == 1) {
                EXPECT_EQ(sims[k - first]->recordsHeard().size(), records);
            }
        }
    }
    EXPECT_EQ(test::readWholeFile(path("input.rdw")), input) << "the input file is only read";
}

// One item adjustment ("tEST0", the first packet, "tEST0" and the packet of one change, "END")
// with the cable cut at each byte: within the item command, the start fails with the port's
// message; once the radio's answer is through, a change or an end on a dead line is skipped
// without a word.
TEST_F(HostileCli, AlignmentDroppedAtAnyByte)
{
    constexpr std::size_t kCommand = 5;
    constexpr std::size_t kAfterAnswer = 12 + kCommand + 12 + 3;
    saveFile(path("align.rdw"), model::defaultImage(0));

    struct Row {
        Cable::From from;
        std::size_t after;
    };
    std::vector<Row> rows;
    for (std::size_t n = 0; n <= kCommand; ++n)
        rows.push_back({ Cable::From::Start, n });
    for (std::size_t n = 0; n <= kAfterAnswer; ++n)
        rows.push_back({ Cable::From::FirstAnswer, n });
    for (std::size_t first = 0; first < rows.size(); first += kBatch) {
        const std::size_t last = std::min(rows.size(), first + kBatch);
        std::vector<std::unique_ptr<SimRadio>> sims;
        std::vector<std::unique_ptr<Cable>> cables;
        std::vector<std::unique_ptr<CliProcess>> aligns;
        for (std::size_t k = first; k < last; ++k) {
            sims.push_back(std::make_unique<SimRadio>(folder(), std::vector<std::string> { "--model", "0" }));
            ASSERT_FALSE(sims.back()->device().empty());
            cables.push_back(
                std::make_unique<Cable>(sims.back()->device(), Cable::Fault::Cut, rows[k].after, rows[k].from));
            ASSERT_FALSE(cables.back()->device().empty());
        }
        for (std::size_t k = first; k < last; ++k) {
            aligns.push_back(std::make_unique<CliProcess>(folder(),
                std::vector<std::string> { "align", "--port", cables[k - first]->device(), path("align.rdw"), "--item",
                    "0", "--set", "130", "--ok" }));
        }
        for (std::size_t k = first; k < last; ++k) {
            const bool started = rows[k].from == Cable::From::FirstAnswer;
            SCOPED_TRACE("cable cut after " + std::to_string(rows[k].after) + " bytes"
                + (started ? " after the radio's answer" : ""));
            const CliRun run = aligns[k - first]->finish();
            EXPECT_EQ(run.out, "");
            if (!started) {
                EXPECT_EQ(run.exitCode, 1);
                EXPECT_EQ(run.err, lineDropped(cables[k - first]->device()));
            } else {
                EXPECT_EQ(run.exitCode, 0);
                EXPECT_EQ(run.err, "");
            }
            EXPECT_LT(run.seconds, kAlignEnds);
        }
    }
}

// Endless noise in place of the radio from each byte of the read command on, and from each byte
// after the radio's answer: a handshake answered by noise is no answer, and a read-out of noise is
// a read error. Either way the read ends within its own waits, however long the noise goes on.
TEST_F(HostileCli, ReadOutDrownedInNoise)
{
    struct Row {
        Cable::From from;
        std::size_t after;
    };
    std::vector<Row> rows;
    for (std::size_t n = 0; n <= 4; ++n) // "rEAD"
        rows.push_back({ Cable::From::Start, n });
    for (std::size_t n = 0; n <= 2; ++n) // "OK"
        rows.push_back({ Cable::From::FirstAnswer, n });
    std::vector<std::unique_ptr<SimRadio>> sims;
    std::vector<std::unique_ptr<Cable>> cables;
    std::vector<std::unique_ptr<CliProcess>> reads;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        sims.push_back(std::make_unique<SimRadio>(folder(), std::vector<std::string> { "--newer" }));
        ASSERT_FALSE(sims.back()->device().empty());
        cables.push_back(
            std::make_unique<Cable>(sims.back()->device(), Cable::Fault::Noise, rows[k].after, rows[k].from));
        ASSERT_FALSE(cables.back()->device().empty());
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        reads.push_back(std::make_unique<CliProcess>(folder(),
            std::vector<std::string> {
                "read", "--port", cables[k]->device(), "-o", path("noise" + std::to_string(k) + ".rdw") }));
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const bool answered = rows[k].from == Cable::From::FirstAnswer;
        SCOPED_TRACE("noise after " + std::to_string(rows[k].after) + " bytes" + (answered ? " after the answer" : ""));
        const CliRun run = reads[k]->finish();
        const std::string& device = cables[k]->device();
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, answered ? kReadError : noResponse(device, device));
        EXPECT_FALSE(std::filesystem::exists(path("noise" + std::to_string(k) + ".rdw")));
        EXPECT_LT(run.seconds, kReadEnds);
    }
}

// A write with the radio drowned in noise from byte after byte on: noise in answer to "pROGRAM"
// is no answer; noise from anywhere in the records on is no completion.
TEST_F(HostileCli, WriteDrownedInNoise)
{
    constexpr std::size_t kCommand = 7;
    constexpr std::size_t kRecordBytes = 56 * 12;
    struct Row {
        Cable::From from;
        std::size_t after;
    };
    std::vector<Row> rows;
    for (std::size_t n : { std::size_t { 0 }, std::size_t { 1 }, kCommand })
        rows.push_back({ Cable::From::Start, n });
    for (std::size_t n : dropPoints(kRecordBytes))
        rows.push_back({ Cable::From::FirstAnswer, n });
    rows.push_back({ Cable::From::FirstAnswer, kRecordBytes });
    saveFile(path("input.rdw"), model::defaultImage(0));
    const std::string input = test::readWholeFile(path("input.rdw"));

    for (std::size_t first = 0; first < rows.size(); first += kBatch) {
        const std::size_t last = std::min(rows.size(), first + kBatch);
        std::vector<std::unique_ptr<SimRadio>> sims;
        std::vector<std::unique_ptr<Cable>> cables;
        std::vector<std::unique_ptr<CliProcess>> writes;
        for (std::size_t k = first; k < last; ++k) {
            sims.push_back(std::make_unique<SimRadio>(folder(), std::vector<std::string> { "--model", "0" }));
            ASSERT_FALSE(sims.back()->device().empty());
            cables.push_back(
                std::make_unique<Cable>(sims.back()->device(), Cable::Fault::Noise, rows[k].after, rows[k].from));
            ASSERT_FALSE(cables.back()->device().empty());
        }
        for (std::size_t k = first; k < last; ++k) {
            writes.push_back(std::make_unique<CliProcess>(folder(),
                std::vector<std::string> { "write", "--port", cables[k - first]->device(), path("input.rdw") }));
        }
        for (std::size_t k = first; k < last; ++k) {
            const bool answered = rows[k].from == Cable::From::FirstAnswer;
            SCOPED_TRACE(
                "noise after " + std::to_string(rows[k].after) + " bytes" + (answered ? " after the answer" : ""));
            const CliRun run = writes[k - first]->finish();
            const std::string& device = cables[k - first]->device();
            // The radio ends a programming session after half a second of quiet. On a loaded
            // machine the cable can stall that long before the noise starts; the radio's "OK"
            // then truly came first, and the program is right to take it.
            if (answered && run.exitCode == 0 && sims[k - first]->recordsHeard().size() < kRecordBytes / 12)
                continue;
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, answered ? kWriteError : noResponse(device, device));
            EXPECT_LT(run.seconds, kWriteEnds);
        }
    }
    EXPECT_EQ(test::readWholeFile(path("input.rdw")), input);
}

} // namespace
