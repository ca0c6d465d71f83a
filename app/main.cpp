// korvane: the window program.

#include "app/app_paths.h"
#include "app/application_setup.h"
#include "app/main_window.h"
#include "app/qt_user_dialogs.h"
#include "app/splash_window.h"
#include "core/serial/port_map.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <QThread>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    korvane::app::setUpApplication();

    korvane::app::SplashWindow splash;
    splash.show();
    splash.repaint();
    QApplication::processEvents();
    QElapsedTimer shown;
    shown.start();

    korvane::app::QtUserDialogs dialogs;
    korvane::app::MainWindow window(dialogs,
        { korvane::app::settingsFilePath(), [] { return korvane::serial::probePorts(); }, {},
            korvane::files::backupFolderFromEnvironment() });

    // The splash stays up for at least 0.8 s, or as long as loading took.
    if (const qint64 left = 800 - shown.elapsed(); left > 0)
        QThread::msleep(static_cast<unsigned long>(left));
    splash.close();
    window.show();
    // A data file named on the command line (a double-click in a file manager) opens as Open
    // opens it, once the window shows; a failure shows Open's message and keeps the defaults.
    if (const QStringList args = QApplication::arguments(); args.size() > 1) {
        const QString path = QFileInfo(args.at(1)).absoluteFilePath();
        QTimer::singleShot(0, &window, [&window, path] { window.openFile(path, window.state().recent.find(path)); });
    }
    return QApplication::exec();
}
