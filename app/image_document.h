#pragma once
// The Radio image the window edits, and the user's steps on it. It is the one way the image
// changes: every editor, command, import, read-out and Open hands its change to it, so each edit
// the user makes becomes exactly one step that Undo takes back whole.

#include "core/edit/edit_history.h"
#include "core/model/radio_image.h"

#include <QObject>
#include <QString>

#include <functional>

namespace korvane::app {

class ImageDocument : public QObject {
    Q_OBJECT
public:
    using Change = std::function<void(model::RadioImage&)>;

    explicit ImageDocument(QObject* parent = nullptr);

    const model::RadioImage& image() const { return m_image; }

    // One step of the user's: `change` edits the image, and the step is named `label`, or for what
    // changed. What changes while a step or a fresh start is under way (the lists and boxes that
    // showing the image sets) belongs to it.
    void edit(const Change& change, const QString& label = {});
    // A command's whole new image as one step, shown whole.
    void replace(const model::RadioImage& image, const QString& label);
    // The start, an Open or a read-out: what `change` leaves is the image with no history, and it
    // counts as saved.
    void startFresh(const Change& change);

    void undo();
    void redo();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    QString undoLabel() const { return QString::fromStdString(m_history.undoLabel()); }
    QString redoLabel() const { return QString::fromStdString(m_history.redoLabel()); }

    // The image was just saved: it is the unchanged state now.
    void markSaved() { m_history.markSaved(m_image); }
    bool isModified() const { return m_history.isModified(m_image); }

signals:
    // The image must be shown whole again (after a command, an undo or a redo).
    void replaced();
    void historyChanged();

private:
    // `change` applied as part of whatever is under way, recorded as nothing of its own.
    void within(const Change& change);
    void show(const model::RadioImage& image);

    model::RadioImage m_image;
    edit::EditHistory m_history;
    int m_depth = 0; // steps and fresh starts under way
};

} // namespace korvane::app
