#include "app/recent_files.h"

namespace korvane::app {

namespace {

QString numbered(int position, const QString& name) { return "&" + QString::number(position + 1) + " " + name; }

} // namespace

int RecentFiles::find(const QString& path) const
{
    for (int i = 0; i <= m_newest; ++i)
        if (m_paths[i] == path)
            return i;
    return -1;
}

void RecentFiles::add(QString path)
{
    if (m_newest == kSize - 1)
        drop(0);
    else
        ++m_newest;
    storeAtNewest(path);
}

void RecentFiles::reuse(int i, QString path)
{
    if (i < kSize - 1)
        drop(i);
    storeAtNewest(path);
}

void RecentFiles::drop(int i)
{
    for (int k = i; k < m_newest; ++k) {
        m_paths[k] = m_paths[k + 1];
        m_captions[k] = numbered(k, m_captions[k + 1].mid(3));
    }
}

void RecentFiles::storeAtNewest(const QString& path)
{
    m_paths[m_newest] = path;
    m_captions[m_newest] = numbered(m_newest, QString(bareName(path)).replace("&", "&&"));
    m_checked = m_newest;
}

QString RecentFiles::bareName(const QString& path) { return path.mid(path.lastIndexOf('/') + 1); }

} // namespace korvane::app
