#pragma once
// A main window as the program starts it, with recording dialogs, a scratch folder and no serial ports.

#include "app/main_window.h"
#include "support/recording_dialogs.h"

#include <QTemporaryDir>

#include <memory>

namespace korvane::test {

struct WindowFixture {
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    std::unique_ptr<app::MainWindow> window;

    QString settingsPath() const { return dir.filePath("korvane.ini"); }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Read-outs and images about to be written are kept here, never in the user's own folder.
    QString backupFolder() const { return dir.filePath("backups"); }

    // No serial devices but those named by KORVANE_COMn.
    serial::PortMapSource portMap() const
    {
        return { dir.filePath("dev").toStdString(), dir.filePath("sys").toStdString(), {} };
    }
};

} // namespace korvane::test
