#pragma once
// Whole files in and out for the window's tests, and a data file opened as the program opens it.

#include "core/files/data_file.h"
#include "core/model/defaults.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

namespace korvane::test {

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The image a data file holds, opened over model 0's defaults; an empty image when it cannot be.
inline model::RadioImage openedImage(const QString& path)
{
    auto opened = files::openDataFile(path.toStdString(), model::defaultImage(0));
    return opened ? opened->image : model::RadioImage {};
}

} // namespace korvane::test
