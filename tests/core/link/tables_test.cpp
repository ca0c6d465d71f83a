// The link's tables against committed files: streams, records, rounding, verify, ports, labels, targets.

#include "core/link/alignment.h"
#include "core/link/alignment_items.h"
#include "core/link/data_record.h"
#include "core/link/data_stream.h"
#include "core/link/handshake_reply.h"
#include "core/link/link_messages.h"
#include "core/link/link_target.h"
#include "core/link/test_channel_text.h"
#include "core/link/verify.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"
#include "core/serial/port_map.h"
#include "core/serial/serial_device_label.h"
#include "core/serial/serial_device_watcher.h"
#include "support/temp_dir.h"
#include "tests/core/link/link_fakes.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace korvane;
using namespace korvane::link;
using namespace korvane::serial;
using namespace korvane::link::fakes;
using model::Side;
namespace fs = std::filesystem;

namespace {

void streams(std::ostream& out)
{
    for (const std::string& line : caseLines("link/streams.txt")) {
        const Bytes row = bytesOf(line);
        model::RadioImage image {};
        const auto parsed = parseDataStream(row, image);
        out << "stream " << (row.size() > 40 ? std::to_string(row.size()) + " bytes" : hex(row)) << ": "
            << (parsed ? "model " + std::to_string(parsed->modelCode) + ", stores:" + changes({}, image)
                       : "fault " + std::to_string(static_cast<int>(parsed.error())))
            << "\n";
    }
}

// Every byte different, so a record taken from the wrong place shows.
model::RadioImage patternImage(int modelIndex)
{
    model::RadioImage image = model::defaultImage(modelIndex);
    for (int c = 0; c < 16; ++c)
        for (int b = 0; b < 16; ++b)
            image.channels[c][b] = static_cast<std::uint8_t>(c * 16 + b);
    for (int b = 0; b < 32; ++b)
        image.settings[b] = static_cast<std::uint8_t>(0xA0 + b);
    for (int p = 0; p < 10; ++p)
        for (int b = 0; b < 16; ++b)
            image.parameters[p][b] = static_cast<std::uint8_t>(0x30 + p * 16 + b);
    // Channel 0: 140 MHz receive in 2.5 kHz units, 410 MHz transmit in 6.25 kHz units, open.
    image.channels[0] = { 0xC0, 0xDA, 0x08, 0x00, 0x00, 0x40, 0x00, 0x0D, 0x00, 0x00, 0x01, 0, 0, 0x33, 0x44, 0x55 };
    return image;
}

void records(std::ostream& out)
{
    for (const auto& [modelIndex, g] : { std::pair { 2, Generation::Older }, std::pair { 3, Generation::Newer } }) {
        const model::RadioImage image = patternImage(modelIndex);
        const auto sent = programmingRecords(image, g);
        out << "records for model " << modelIndex << (g == Generation::Older ? ", older" : ", newer") << ":\n";
        for (const DataRecord& r : *sent)
            out << "  " << hex(r) << "\n";
    }
    model::RadioImage none = patternImage(0);
    none.modelIndex = -1;
    out << "records for no model: " << programmingRecords(none, Generation::Newer).has_value() << "\n";

    model::ChannelTable channels = model::defaultImage(0).channels; // every channel closed
    model::setFrequencyCount(channels[0], Side::Receive, 58405); // 146.0125 MHz: odd in 2.5 kHz units
    model::setFrequencyCount(channels[1], Side::Receive, 23361); // odd, but in 6.25 kHz units
    model::setBit(channels[1][model::flagByte(Side::Receive)], model::kStepBit, true);
    model::setFrequencyCount(channels[15], Side::Transmit, 58407);
    const auto sides = sidesOff5kHzGrid(channels);
    model::RadioImage before {}, after {};
    before.channels = after.channels = channels;
    roundOnto5kHzGrid(after.channels, sides);
    out << "rounded " << sides.size() << " sides:" << changes(before, after) << "\nleft off the grid "
        << sidesOff5kHzGrid(after.channels).size() << ", in the defaults";
    for (int m = 0; m < 7; ++m)
        out << " " << sidesOff5kHzGrid(model::defaultImage(m).channels).size();
    out << "\n";
}

void verify(std::ostream& out)
{
    model::RadioImage written = model::defaultImage(3);
    for (int c = 0; c < 16; ++c) {
        model::setBit(written.channels[c][model::flagByte(Side::Receive)], model::kStepBit, false);
        model::setFrequencyCount(written.channels[c], Side::Receive, 58400 + 4 * static_cast<std::uint32_t>(c));
        written.channels[c][11] = static_cast<std::uint8_t>(c);
    }
    for (int p = 0; p < 10; ++p)
        written.parameters[p][p] = static_cast<std::uint8_t>(0x10 + p);
    const std::function<void(model::RadioImage&)> changes[] = {
        [](model::RadioImage&) {},
        [](model::RadioImage& r) { r.channels[2][5] ^= 0x01; },
        [](model::RadioImage& r) { r.channels[15][15] = 0x77; },
        [](model::RadioImage& r) { r.settings[7] = 0x99; },
        [](model::RadioImage& r) { r.settings[16] ^= 0xFF; },
        [](model::RadioImage& r) { r.alignment[1][0] ^= 0xFF; },
        [](model::RadioImage& r) { r.parameters[9][15] = 0xAB; },
        [](model::RadioImage& r) { r.modelIndex = 4; },
        [](model::RadioImage& r) { r.modelIndex = 0; },
        [](model::RadioImage& r) { model::setFrequencyCount(r.channels[0], Side::Receive, 58401); },
        [](model::RadioImage& r) { model::setFrequencyCount(r.channels[0], Side::Receive, 58402); },
        [](model::RadioImage& r) {
            r.modelIndex = 0, r.parameters[0][0] = 0x01, r.settings[12] = 0x00;
            r.channels[1][10] = 0xFF, r.channels[1][3] = 0xFF;
        },
    };
    for (std::size_t row = 0; row < std::size(changes); ++row)
        for (const Generation g : { Generation::Older, Generation::Newer }) {
            model::RadioImage readBack = written;
            changes[row](readBack);
            out << "verify change " << row << (g == Generation::Older ? " older:" : " newer:");
            for (const compare::ByteDifference& d : compareProgrammed(written, readBack, g))
                out << " " << static_cast<int>(d.area) << "/" << d.record << "/" << d.byte << " "
                    << hex(Bytes { d.ours, d.theirs });
            out << "\n";
        }
    written.modelIndex = -1;
    model::RadioImage readBack = written;
    readBack.channels[0][0] ^= 0xFF;
    out << "verify without model: " << compareProgrammed(written, readBack, Generation::Newer).size() << "\n";
}

void ports(std::ostream& out)
{
    korvane::test::TempDir root;
    const auto device = [&](const std::string& name) { std::ofstream(root / ("dev/" + name)) << ""; };
    // A built-in port as the kernel lists it: with or without a driver, with a port type or none.
    const auto builtIn = [&](const std::string& name, bool driver, std::optional<int> type) {
        device(name);
        const fs::path tty = root / ("sys/class/tty/" + name);
        fs::create_directories(driver ? tty / "device" / "driver" : tty / "device");
        if (type) std::ofstream(tty / "type") << *type << "\n";
    };
    const auto source = [&](std::map<std::string, std::string> env) {
        return PortMapSource { root / "dev", root / "sys", [env](const std::string& name) {
                                  auto it = env.find(name);
                                  return it == env.end() ? std::nullopt : std::optional(it->second);
                              } };
    };
    const auto shown = [&](const std::optional<std::string>& d) {
        return !d                                  ? std::string("none")
            : d->starts_with(root.path().string()) ? d->substr(root.path().string().size())
                                                   : *d;
    };
    fs::create_directories(root / "sys/class/tty"), fs::create_directories(root / "dev");
    for (const char* name : { "ttyUSB10", "ttyUSB1", "ttyACM0", "tty0", "ttyUSB", "ttyUSBx", "ttyS", "console" })
        device(name);
    builtIn("ttyS1", true, 0); // announced, nothing fitted
    builtIn("ttyS2", false, 4); // no driver
    builtIn("ttyS3", true, std::nullopt); // no type attribute: the driver decides
    builtIn("ttyS12", true, 1);
    const std::map<std::string, std::string> none;
    device("ttyUSB0");
    builtIn("ttyS0", true, 4); // a 16550A
    out << "serial devices:";
    for (const std::string& d : serialDevices(source(none)))
        out << " " << shown(d);
    out << "\n";
    const std::map<std::string, std::string> envs[] = { {},
        { { "KORVANE_COM4", "/dev/pts/7" }, { "KORVANE_COM1", "/dev/pts/3" }, { "KORVANE_COM5", "/dev/pts/1" } },
        { { "KORVANE_COM1", "" } } };
    for (const auto& env : envs) {
        out << "ports with " << env.size() << " variables:";
        for (int n = 0; n <= 5; ++n)
            out << " " << n << "=" << shown(deviceForPort(n, source(env)));
        out << "\n";
    }
    // Labels: a USB adapter as the kernel files it, one with only its numbers, a modem-class one.
    const auto usb = [&](const std::string& tty, const std::string& at, std::map<std::string, std::string> attrs) {
        const fs::path usbDevice = root / ("sys/devices/pci0000:00/usb1/" + at);
        fs::create_directories(usbDevice / (at + ":1.0") / tty);
        for (const auto& [name, value] : attrs)
            std::ofstream(usbDevice / name) << value << "\n";
        fs::create_directory_symlink(usbDevice / (at + ":1.0") / tty, root / ("sys/class/tty/" + tty + "/device"));
    };
    fs::create_directories(root / "sys/class/tty/ttyUSB0"), fs::create_directories(root / "sys/class/tty/ttyUSB1");
    fs::create_directories(root / "sys/class/tty/ttyACM0");
    usb("ttyUSB0", "1-1", { { "product", "FT232R USB UART" }, { "manufacturer", "FTDI" }, { "idVendor", "0403" } });
    usb("ttyUSB1", "1-2", { { "idVendor", "067b" }, { "idProduct", "2303" } });
    usb("ttyACM0", "1-3", { { "product", "USB Serial  " } });
    fs::create_directories(root / "dev/serial/by-id");
    fs::create_symlink("../../ttyUSB0", root / "dev/serial/by-id/usb-FTDI_FT232R-if00");
    const auto unrooted = [&](std::string label) {
        for (std::size_t at; (at = label.find(root.path().string())) != std::string::npos;)
            label.erase(at, root.path().string().size());
        return label;
    };
    for (const auto& env : { none, std::map<std::string, std::string> { { "KORVANE_COM2", "/dev/pts/77" } } })
        for (int n = 1; n <= 5; ++n)
            out << "label of port " << n << ": " << unrooted(portDeviceLabel(n, source(env))) << "\n";
    for (const char* path : { "dev/ttyS0", "dev/serial/by-id/usb-FTDI_FT232R-if00", "dev/ttyS9" })
        out << "label of " << path << ": " << unrooted(deviceLabel(root.file(path), source(none))) << "\n";
    // The watcher hears tty nodes come and go in the device folder, and nothing else.
    SerialDeviceWatcher watcher(root / "dev");
    out << "watcher: " << (watcher.fd() >= 0) << watcher.takeChanges();
    device("ttyUSB7");
    out << watcher.takeChanges() << watcher.takeChanges();
    device("lock.tmp");
    out << watcher.takeChanges();
    fs::remove(root / "dev/ttyUSB7");
    out << watcher.takeChanges() << " " << SerialDeviceWatcher(root / "none").fd() << "\n";
    ::setenv("KORVANE_COM3", "/dev/pts/5", 1), ::unsetenv("KORVANE_COM4"); // the process environment
    out << "from the environment: " << shown(deviceForPort(3, { root / "dev", root / "sys", {} })) << " "
        << shown(deviceForPort(4, { root / "dev", root / "sys", {} })) << "\n";
    ::unsetenv("KORVANE_COM3");
    for (const std::string text :
        { "COM1", "com2", "cOm3", "COM4", "COM5", "COM0", "COM", "COM+1", "", "/dev/pts/7", "COMX" }) {
        const auto t = linkTargetFromText(text, source({ { "KORVANE_COM2", "/dev/pts/4" } }));
        out << "target \"" << text
            << "\": " << (t ? t->name + " " + shown(t->device) + " " + std::to_string(t->isPortNumber()) : "none")
            << "\n";
    }
    // Probing: busy and forbidden ports exist, a vanished one ends the run, a gap stops the count.
    FakeClock clock;
    for (const PortErrorKind kind :
        { PortErrorKind::Busy, PortErrorKind::PermissionDenied, PortErrorKind::Other, PortErrorKind::NoSuchDevice }) {
        FakeSerialPort port(clock);
        port.openFailures[root.file("dev/ttyUSB1")] = kind;
        out << "probe with port 2 failing " << static_cast<int>(kind) << ": " << probePorts(port, source(none))
            << " ports, opened " << port.opened.size() << ", open " << port.isOpen() << "\n";
    }
    fs::remove_all(root / "dev"), fs::create_directories(root / "dev");
    FakeSerialPort port(clock);
    out << "probe an empty machine: " << probePorts(port, source(none)) << ", with COM1 and COM3 named: "
        << probePorts(port, source({ { "KORVANE_COM1", "/dev/pts/9" }, { "KORVANE_COM3", "/dev/pts/8" } })) << "\n";
}

// The texts no link transcript shows: messages, port errors, verify places, items, test channels, replies.
std::string texts()
{
    std::ostringstream out;
    for (const util::Message& m : { dataError(), verifyPassed(), verifyReadFailed() })
        out << TranscriptUi::show(m) << "\n";

    const LinkTarget targets[]
        = { { "COM1", "/dev/ttyUSB0" }, { "COM3", std::nullopt }, linkTargetForDevice("/dev/pts/7") };
    for (const LinkTarget& target : targets) {
        out << TranscriptUi::show(communicationFailure(target)) << "\n";
        // Every reason once, for the port number with a device; the group matters only to a refused open.
        for (int k = 0; k <= static_cast<int>(PortErrorKind::Other); ++k)
            for (const char* group : { "", "uucp", "root" }) {
                const auto kind = static_cast<PortErrorKind>(k);
                if ((&target == targets || k == 0) && (!*group || kind == PortErrorKind::PermissionDenied))
                    out << TranscriptUi::show(communicationFailure(
                        target, PortError { kind, "/dev/ttyUSB0", "Some system words", group }))
                        << "\n";
            }
    }

    // Each area's place: a byte with a field and one without.
    for (int area = 0; area <= static_cast<int>(compare::ByteArea::Model); ++area) {
        const auto where = static_cast<compare::ByteArea>(area);
        out << TranscriptUi::show(verifyDifferenceMessage({ where, 9, 7, 0x06, 0xF9 })) << "\n";
        out << TranscriptUi::show(verifyDifferenceMessage({ where, 15, 14, 0xAB, 0x00 })) << "\n";
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

    // The replies no link case gets: the others' kinds show in their operations' outcomes.
    const Bytes replies[] = { {}, { 0x0E }, { 0x01, 0x01, 0x77, 0x78 }, { 0x03, 0x00 } };
    for (const Bytes& reply : replies) {
        const HandshakeReply r = classifyHandshakeReply(reply);
        out << "reply " << hex(reply) << ": kind " << static_cast<int>(r.kind) << " code " << r.modelCode << "\n";
    }
    return out.str();
}

} // namespace

TEST(LinkTexts, MatchTheCommittedFile) { EXPECT_TRUE(korvane::test::matchesGolden("link/texts.txt", texts())); }

TEST(LinkTables, MatchTheCommittedFile)
{
    std::ostringstream out;
    streams(out);
    records(out);
    verify(out);
    ports(out);
    EXPECT_TRUE(korvane::test::matchesGolden("link/tables.txt", out.str()));
}
