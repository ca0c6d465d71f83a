#pragma once
// The Edit menu's commands on the channel table (undo and redo, the clipboard, moving, inserting,
// deleting and sorting channels, bulk changes) and the unsaved-changes question. Every change the
// user makes to the image becomes one step: the commands name their own, and a change made through
// the grid, the boxes and the lists is noted after the input that made it, named for what changed.

#include "core/edit/edit_history.h"

#include <QObject>
#include <QString>

#include <vector>

class QAction;
class QMenu;

namespace korvane::app {

class MainWindow;

class EditCommands : public QObject {
    Q_OBJECT
public:
    // Adds the entries to the end of `menu`, behind a separator.
    EditCommands(MainWindow& window, QMenu* menu);

    // After an Open, a read-out or the start: no history, and the image counts as saved.
    void startFresh();
    // The image has just been saved.
    void markSaved();
    // Before a command that replaces the image or ends the program: with unsaved changes, asks
    // whether to save first. True when the command may go on.
    bool confirmDiscard();
    // Notes what changed since the last step as one step, named `label` or for what changed.
    void noteChange(const QString& label = {});

    void undo();
    void redo();
    void copy();
    void cut();
    void paste();
    void moveUp() { move(-1); }
    void moveDown() { move(1); }
    void insertChannel();
    void deleteChannel();
    void sortChannels();
    void bulkChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ready(); // commits an open entry box and notes what it changed; false while aligning
    void move(int direction);
    void applyChannels(const QString& label, const model::ChannelTable& table, const std::vector<int>& chosen);
    void showImage(const model::RadioImage& image);
    QString describeChange(const model::RadioImage& before, const model::RadioImage& after) const;
    void updateEntries();

    MainWindow& m_window;
    edit::EditHistory m_history;
    model::RadioImage m_lastNoted;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    std::vector<QAction*> m_channelEntries;
    bool m_notePending = false;
};

} // namespace korvane::app
