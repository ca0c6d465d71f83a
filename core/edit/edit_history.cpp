#include "core/edit/edit_history.h"

namespace korvane::edit {

EditHistory::EditHistory(const model::RadioImage& start) { reset(start); }

void EditHistory::reset(const model::RadioImage& start)
{
    m_steps.clear();
    m_done = 0;
    m_saved = start;
}

void EditHistory::record(const std::string& label, const model::RadioImage& before, const model::RadioImage& after)
{
    if (before == after) return;
    m_steps.resize(m_done);
    if (m_steps.size() == kMostSteps) m_steps.erase(m_steps.begin());
    m_steps.push_back({ label, before, after });
    m_done = m_steps.size();
}

std::string EditHistory::undoLabel() const { return canUndo() ? m_steps[m_done - 1].label : std::string(); }

std::string EditHistory::redoLabel() const { return canRedo() ? m_steps[m_done].label : std::string(); }

std::optional<model::RadioImage> EditHistory::undo()
{
    if (!canUndo()) return std::nullopt;
    return m_steps[--m_done].before;
}

std::optional<model::RadioImage> EditHistory::redo()
{
    if (!canRedo()) return std::nullopt;
    return m_steps[m_done++].after;
}

} // namespace korvane::edit
