// Fleet programming from the window: the image, as it stands, into many radios at once.

#include "app/main_window.h"

#include "app/fleet_dialog.h"
#include "app/link_runner.h"
#include "core/fleet/fleet_log.h"

namespace korvane::app {

void MainWindow::writeFleet()
{
    if (linkRunner().busy()) return;
    if (alignmentItemOpen()) cancelAlignmentItem();
    // A value still being typed reaches the image, and so the radios.
    commitPendingEntry();
    FleetDialog dialog({ m_image, linkRunner(), m_dialogs, m_fleetTally, m_state.portMap, m_options.makePort,
                           m_options.backupFolder, fleet::fleetLogPathFromEnvironment() },
        this);
    m_dialogs.runModal(dialog);
}

} // namespace korvane::app
