#pragma once
// The state the main window keeps for the whole run besides the Radio image.

#include "app/recent_files.h"
#include "core/link/link_target.h"

#include <QString>

namespace korvane::app {

struct AppState {
    int portNumber = 1; // COM1..COM4
    int portCount = 0; // unbroken run of existing ports from COM1
    QString device; // a serial device chosen by path, used in place of the port number; empty: none
    serial::PortMapSource portMap; // where port numbers find their devices
    QString password;
    QString currentFile;
    RecentFiles recent;
    bool fiveKhzForm = false; // the data last exchanged with a radio or a file used the 5 kHz form
    bool readBusy = false; // a read-out is running: frequency boxes drop their edit
    bool loadComplete = false;

    // What reading, programming and alignment talk to.
    link::LinkTarget linkTarget() const
    {
        return device.isEmpty() ? link::linkTargetForPort(portNumber, portMap)
                                : link::linkTargetForDevice(device.toStdString());
    }
};

} // namespace korvane::app
