#include "core/link/port_map.h"

#include "core/link/link_target.h"
#include "tests/core/link/fake_serial_port.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

using namespace korvane::link;
using namespace korvane::link::fakes;
namespace fs = std::filesystem;

namespace {

// A /dev and /sys tree in a temporary folder.
class FakeMachine {
public:
    FakeMachine()
    {
        std::string pattern = (fs::temp_directory_path() / "korvane-ports-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data());
        fs::create_directories(m_root / "dev");
        fs::create_directories(m_root / "sys" / "class" / "tty");
    }
    ~FakeMachine() { fs::remove_all(m_root); }

    void device(const std::string& name) { std::ofstream(m_root / "dev" / name) << ""; }
    // A built-in port as the kernel lists it: with or without a driver, with a port type or none.
    void builtIn(const std::string& name, bool driver, std::optional<int> type)
    {
        device(name);
        const fs::path tty = m_root / "sys" / "class" / "tty" / name;
        fs::create_directories(driver ? tty / "device" / "driver" : tty / "device");
        if (type) std::ofstream(tty / "type") << *type << "\n";
    }

    PortMapSource source(std::map<std::string, std::string> env = {}) const
    {
        PortMapSource s;
        s.devRoot = m_root / "dev";
        s.sysRoot = m_root / "sys";
        s.getEnv = [env](const std::string& name) -> std::optional<std::string> {
            if (auto it = env.find(name); it != env.end()) return it->second;
            return std::nullopt;
        };
        return s;
    }

    std::string dev(const std::string& name) const { return (m_root / "dev" / name).string(); }

private:
    fs::path m_root;
};

} // namespace

TEST(PortMap, SerialDevicesInStableOrder)
{
    FakeMachine m;
    for (const char* name :
        { "ttyUSB10", "ttyUSB1", "ttyUSB0", "ttyACM0", "tty0", "ttyUSB", "ttyUSBx", "ttyS", "console", "ttyAMA0" })
        m.device(name);
    m.builtIn("ttyS0", true, 4); // a 16550A
    m.builtIn("ttyS1", true, 0); // announced, nothing fitted
    m.builtIn("ttyS2", false, 4); // no driver
    m.builtIn("ttyS3", true, std::nullopt); // no type attribute: the driver decides
    m.builtIn("ttyS12", true, 1);
    EXPECT_EQ(serialDevices(m.source()),
        (std::vector<std::string> { m.dev("ttyUSB0"), m.dev("ttyUSB1"), m.dev("ttyUSB10"), m.dev("ttyACM0"),
            m.dev("ttyS0"), m.dev("ttyS3"), m.dev("ttyS12") }));
}

TEST(PortMap, DeviceForPort)
{
    FakeMachine m;
    m.device("ttyUSB0");
    m.device("ttyACM0");
    m.builtIn("ttyS0", true, 4);
    struct Row {
        std::string name;
        std::map<std::string, std::string> env;
        int port;
        std::optional<std::string> device;
    };
    const std::vector<Row> rows {
        { "first USB adapter", {}, 1, m.dev("ttyUSB0") },
        { "then the modem-class adapter", {}, 2, m.dev("ttyACM0") },
        { "then the built-in port", {}, 3, m.dev("ttyS0") },
        { "nothing left for COM4", {}, 4, std::nullopt },
        { "environment names the device", { { "KORVANE_COM4", "/dev/pts/7" } }, 4, "/dev/pts/7" },
        { "environment wins over the machine", { { "KORVANE_COM1", "/dev/pts/3" } }, 1, "/dev/pts/3" },
        { "other ports keep their place", { { "KORVANE_COM1", "/dev/pts/3" } }, 2, m.dev("ttyACM0") },
        { "an empty value is no value", { { "KORVANE_COM1", "" } }, 1, m.dev("ttyUSB0") },
        { "port 0 does not exist", {}, 0, std::nullopt },
        { "port 5 does not exist", { { "KORVANE_COM5", "/dev/pts/1" } }, 5, std::nullopt },
    };
    for (const Row& row : rows)
        EXPECT_EQ(deviceForPort(row.port, m.source(row.env)), row.device) << row.name;
}

TEST(PortMap, ProbePorts)
{
    struct Row {
        std::string name;
        int devices; // ttyUSB0.. present
        std::map<int, PortErrorKind> openFailures; // by port number
        std::map<std::string, std::string> env;
        int count;
    };
    const std::vector<Row> rows {
        { "no serial ports", 0, {}, {}, 0 },
        { "two ports", 2, {}, {}, 2 },
        { "five devices, four ports", 5, {}, {}, 4 },
        { "busy and forbidden ports exist", 4,
            { { 1, PortErrorKind::Busy }, { 2, PortErrorKind::PermissionDenied }, { 3, PortErrorKind::Other } }, {},
            4 },
        { "a port that vanished ends the run", 4, { { 3, PortErrorKind::NoSuchDevice } }, {}, 2 },
        { "COM1 named by the environment", 0, {}, { { "KORVANE_COM1", "/dev/pts/9" } }, 1 },
        { "a gap stops the count", 0, {}, { { "KORVANE_COM1", "/dev/pts/9" }, { "KORVANE_COM3", "/dev/pts/8" } }, 1 },
    };
    for (const Row& row : rows) {
        FakeMachine m;
        for (int i = 0; i < row.devices; ++i)
            m.device("ttyUSB" + std::to_string(i));
        FakeClock clock;
        FakeSerialPort port(clock);
        for (const auto& [n, kind] : row.openFailures)
            port.failOpen(m.dev("ttyUSB" + std::to_string(n - 1)), kind);
        EXPECT_EQ(probePorts(port, m.source(row.env)), row.count) << row.name;
        EXPECT_FALSE(port.isOpen()) << row.name;
        EXPECT_LE(port.opened().size(), 4u) << row.name;
    }
}

TEST(PortMap, LinkTargets)
{
    FakeMachine m;
    m.device("ttyUSB0");
    const PortMapSource source = m.source({ { "KORVANE_COM2", "/dev/pts/4" } });
    struct Row {
        std::string text;
        std::optional<LinkTarget> target;
    };
    const std::vector<Row> rows {
        { "COM1", LinkTarget { "COM1", m.dev("ttyUSB0") } },
        { "com2", LinkTarget { "COM2", "/dev/pts/4" } },
        { "COM3", LinkTarget { "COM3", std::nullopt } },
        { "COM5", std::nullopt },
        { "COM0", std::nullopt },
        { "", std::nullopt },
        { "/dev/pts/7", LinkTarget { "/dev/pts/7", "/dev/pts/7" } },
        { "COMX", LinkTarget { "COMX", "COMX" } },
    };
    for (const Row& row : rows)
        EXPECT_EQ(linkTargetFromText(row.text, source), row.target) << row.text;
    EXPECT_TRUE(linkTargetForPort(3, source).isPortNumber());
    EXPECT_FALSE(linkTargetForDevice("/dev/pts/7").isPortNumber());
}
