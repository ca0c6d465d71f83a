#pragma once
// The radio's end of the cable: the master side of a pseudo-terminal, whose other side the
// program opens as its serial port. The master stays open while the program opens and closes
// its port as often as it likes.

#include <optional>
#include <string>
#include <vector>

namespace korvane::sim {

enum class PortEvent { Opened, Closed };

class PtyLine {
public:
    PtyLine() = default;
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;
    ~PtyLine();

    // Opens a pair in raw mode and points the link, if any, at its device. An error text on failure.
    std::optional<std::string> open(std::optional<std::string> linkPath);
    // Closes the master: a port the program holds open sees a hang-up and its device goes away.
    void hangUp();
    void removeLink();

    int fd() const { return m_master; }
    const std::string& device() const { return m_device; }

    // Every open and close of the device by the program, in order, even when it closes and
    // opens again faster than a hang-up on the master could show. Without a watch (the system
    // refused one) the hang-up is all there is to go by.
    bool watching() const { return m_watch >= 0; }
    int watchFd() const { return m_watch; }
    std::vector<PortEvent> takePortEvents();

private:
    std::optional<std::string> pointLink();

    int m_master = -1;
    int m_watch = -1;
    std::string m_device;
    std::optional<std::string> m_link;
};

} // namespace korvane::sim
