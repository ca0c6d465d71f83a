#include "app/desktop_opener.h"

#include <QProcess>

namespace korvane::app {

void openWithDesktop(QObject* owner, const QString& path, std::function<void()> failed)
{
    // xdg-open ends with a failure status when no program takes the file; a program it starts may
    // keep it waiting until the program ends.
    auto* opener = new QProcess(owner);
    const auto ended = [opener, failed](bool ok) {
        if (!ok && failed) failed();
        opener->deleteLater();
    };
    QObject::connect(opener, &QProcess::finished, opener,
        [ended](int code, QProcess::ExitStatus status) { ended(status == QProcess::NormalExit && code == 0); });
    QObject::connect(opener, &QProcess::errorOccurred, opener, [ended](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) ended(false);
    });
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->start(QStringLiteral("xdg-open"), { path });
}

} // namespace korvane::app
