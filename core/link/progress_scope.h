#pragma once
// The progress window of one operation: opened once, closed on every way out.

#include "core/link/link_ui.h"

#include <algorithm>
#include <string_view>

namespace korvane::link {

class ProgressScope {
public:
    ProgressScope(LinkUi& ui, std::string_view caption, std::string_view label)
        : m_ui(ui)
    {
        m_ui.progressOpen(std::string(caption), std::string(label));
    }
    ~ProgressScope() { close(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void value(int v) { m_ui.progressValue(std::clamp(v, 0, kProgressMaximum)); }
    void close()
    {
        if (m_open) m_ui.progressClose();
        m_open = false;
    }

private:
    LinkUi& m_ui;
    bool m_open = true;
};

} // namespace korvane::link
