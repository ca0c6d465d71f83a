#pragma once
// A pseudo-terminal whose slave side a port under test opens while the test plays the radio on
// the master side.

#include "core/serial/serial_port.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace korvane::test {

struct Pty {
    int master = -1;
    std::string device;
    Pty()
    {
        int slave = -1;
        char name[256] {};
        EXPECT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        device = name;
        ::close(slave);
    }
    ~Pty() { hangUp(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    void hangUp() { master = master >= 0 ? ::close(master), -1 : -1; }
    void send(const serial::Bytes& b)
    {
        EXPECT_EQ(::write(master, b.data(), b.size()), static_cast<ssize_t>(b.size()));
    }
    serial::Bytes heard()
    {
        std::uint8_t buffer[256];
        pollfd p { master, POLLIN, 0 };
        const ssize_t k = ::poll(&p, 1, 2000) > 0 ? ::read(master, buffer, sizeof buffer) : 0;
        return serial::Bytes(buffer, buffer + std::max<ssize_t>(k, 0));
    }
    // Settings as another program on the same device sees them.
    termios settings(std::optional<cc_t> vmin = std::nullopt) const
    {
        termios tio {};
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ::tcgetattr(fd, &tio);
        if (vmin) tio.c_cc[VMIN] = *vmin, ::tcsetattr(fd, TCSANOW, &tio);
        ::close(fd);
        return tio;
    }
};

} // namespace korvane::test
