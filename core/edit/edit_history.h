#pragma once
// The user's changes to the Radio image as steps that can be undone and redone, and whether the
// image differs from what was last opened, saved or read. Each step keeps the whole image before
// and after it (a few hundred bytes), so undoing restores every byte exactly.

#include "core/model/radio_image.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korvane::edit {

class EditHistory {
public:
    // A fresh history for an image just opened, read or started: nothing to undo or redo, and
    // the image counts as saved.
    explicit EditHistory(const model::RadioImage& start = {});
    void reset(const model::RadioImage& start);

    // One step the user took from `before` to `after`, named for the menu ("信道 3 接收频率").
    // A step that changed nothing is not kept. Redo steps are dropped.
    void record(const std::string& label, const model::RadioImage& before, const model::RadioImage& after);

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // The name of the step Undo or Redo would take; empty when there is none.
    std::string undoLabel() const;
    std::string redoLabel() const;
    // The image before the last step (after the next one), moving through the history.
    std::optional<model::RadioImage> undo();
    std::optional<model::RadioImage> redo();

    // The image was saved (or written into a data file another way): it is the unchanged state now.
    void markSaved(const model::RadioImage& image) { m_saved = image; }
    bool isModified(const model::RadioImage& image) const { return image != m_saved; }

private:
    struct Step {
        std::string label;
        model::RadioImage before;
        model::RadioImage after;
    };
    static constexpr std::size_t kMostSteps = 200;
    std::vector<Step> m_steps;
    std::size_t m_done = 0; // steps [0, m_done) are applied
    model::RadioImage m_saved;
};

} // namespace korvane::edit
