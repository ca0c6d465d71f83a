// Fleet programming from the window: the image, as it stands, into many radios at once.

#include "app/main_window.h"

#include "app/fleet_dialog.h"
#include "app/link_runner.h"
#include "core/files/fleet_log.h"

#include <QDesktopServices>
#include <QUrl>

namespace korvane::app {

void MainWindow::writeFleet()
{
    if (linkRunner().busy()) return;
    if (alignmentItemOpen()) cancelAlignmentItem();
    // A value still being typed reaches the image, and so the radios.
    commitPendingEntry();
    FleetDialog dialog({ m_image, linkRunner(), m_dialogs, m_fleetTally, m_state.portMap, m_options.backupFolder,
                           files::fleetLogPathFromEnvironment(),
                           [](const std::filesystem::path& log) {
                               QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(log.string())));
                           } },
        this);
    m_dialogs.runModal(dialog);
}

} // namespace korvane::app
