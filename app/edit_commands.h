#pragma once
// The Edit menu's commands on the channel table (undo and redo, the clipboard, moving, inserting,
// deleting and sorting channels, bulk changes) and the unsaved-changes question. Each command is
// one step of the window's image document, named for the command; they act on all the channels
// chosen by their labels (or the current one).

#include "core/model/radio_image.h"

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

    // The image has just been saved.
    void markSaved();
    // Before a command that replaces the image or ends the program: with unsaved changes, asks
    // whether to save first. True when the command may go on.
    bool confirmDiscard();

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

private:
    bool ready(); // commits an open entry box; false while aligning
    void move(int direction);
    void applyChannels(const QString& label, const model::ChannelTable& table, const std::vector<int>& chosen);
    void updateEntries();

    MainWindow& m_window;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    std::vector<QAction*> m_channelEntries;
};

} // namespace korvane::app
