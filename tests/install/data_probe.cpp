// Prints the data and manual folders the window program would use from where this executable lies,
// then the type the desktop's MIME database gives each file named.

#include "app/app_paths.h"

#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out << korvane::app::dataDirectory() << '\n' << korvane::app::manualDirectory() << '\n';
    for (const QString& file : app.arguments().mid(1))
        out << QMimeDatabase().mimeTypeForFile(file).name() << '\n';
    return 0;
}
