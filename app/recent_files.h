#pragma once
// The last four files saved or opened, oldest first, with the captions of their File-menu
// entries and which one carries the check mark.

#include <QString>

#include <array>

namespace korvane::app {

class RecentFiles {
public:
    static constexpr int kSize = 4;

    int newest() const { return m_newest; } // -1 when empty
    const QString& path(int i) const { return m_paths[i]; }
    const QString& caption(int i) const { return m_captions[i]; }
    bool checked(int i) const { return m_checked == i && i <= m_newest; }
    bool visible(int i) const { return i <= m_newest; }

    // The position holding exactly this path, or -1.
    int find(const QString& path) const;
    // The path is taken by value: a caller may pass one of this list's own entries, which the
    // shifting would otherwise change under it.
    void add(QString path);
    void reuse(int i, QString path);
    void drop(int i);
    void uncheck() { m_checked = -1; }

    // The part after the last "/". Menu captions double its "&" so that the menu shows it.
    static QString bareName(const QString& path);

private:
    void storeAtNewest(const QString& path);

    std::array<QString, kSize> m_paths;
    std::array<QString, kSize> m_captions;
    int m_newest = -1;
    int m_checked = -1;
};

} // namespace korvane::app
