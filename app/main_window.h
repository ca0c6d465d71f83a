#pragma once
// The main window `mainFrm`: owns the Radio image and the run's state, carries the menus, the
// toolbar, the status bar and the content frame with the channel view, and runs the commands.

#include "app/app_state.h"
#include "app/fleet_dialog.h"
#include "app/image_document.h"
#include "app/port_factory.h"
#include "app/user_dialogs.h"
#include "core/files/backups.h"
#include "core/link/readout.h"
#include "core/model/radio_image.h"
#include "core/model/record_layout.h"
#include "core/serial/port_map.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QToolBar>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace korvane::app {

class AlignmentView;
class ChannelView;
class ContentArea;
struct CompareRow;
class EditCommands;
class FrequencyBox;
class LinkRunner;
class RecordGrid;
class SettingsLists;

struct MainWindowOptions {
    QString settingsPath; // the settings file read at load and written at exit
    std::function<int()> probePorts; // the number of consecutive ports from COM1
    // The width in pixels of the screen the window is on; the window's own screen when empty.
    std::function<int()> screenWidth {};
    // Where every read-out and every image about to be written is kept; none: no backups.
    std::optional<std::filesystem::path> backupFolder {};
    // Where port numbers find their devices and the port choice hears devices come and go.
    serial::PortMapSource portMap = serial::systemPortMapSource();
    // Every port the window talks to a radio through: reading, programming, alignment, the
    // chain check and fleet rounds.
    PortFactory makePort = defaultPortFactory();
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Runs the load handler: state, window size, settings file, layout, defaults, refresh, probe.
    MainWindow(UserDialogs& dialogs, MainWindowOptions options, QWidget* parent = nullptr);
    ~MainWindow() override;

    const model::RadioImage& image() const { return m_image; }
    // The only way the image changes.
    ImageDocument& document() { return m_document; }
    AppState& state() { return m_state; }
    UserDialogs& dialogs() { return m_dialogs; }

    // Shows the whole image: model, settings lists, channel grid.
    void refreshFromImage();
    // The model list's choice action.
    void modelChange();

    void save() { saveAs(); }
    // Save As: true when the image was saved.
    bool saveAs();
    // A value still being typed in a frequency box goes into the image.
    void commitOpenEntry();
    void exportCsv();
    void importCsv();
    void open();
    void openFile(const QString& path, int recentEntry);
    void choosePort();
    void readRadio();
    void writeRadio();
    void writeAndVerify();
    // The image into the radios on several ports at once, round after round.
    void writeFleet();
    void compareWithFile();
    void compareWithRadio();

    // Ends any open in-place edit by taking the focus away from it.
    void focusSink();

    // The alignment screen, and the alignment mode's menu commands.
    AlignmentView* alignmentView() const { return m_alignmentView; }
    void mnuTuneClick();
    void mnuChanClick();
    void mnuPassClick();

    ChannelView* channelView() const { return m_channelView; }
    SettingsLists* settingsLists() const { return m_settingsLists; }
    QWidget* chanFuncFrame() const { return m_fraChanFunc; }
    QComboBox* modelList() const { return m_cboRadiomodel; }
    QLabel* bandLabel() const { return m_lblBandvalue; }
    QAction* action(const QString& name) const;
    QToolBar* toolBar() const { return m_toolBar; }
    FrequencyBox* txtRecFreq() const { return m_txtRecFreq; }
    FrequencyBox* txtTxFreq() const { return m_txtTxFreq; }

    // Edits the signalling cell that is the grid's current cell with the signalling dialog.
    // `origin` is the screen point the grid's position is measured from.
    void clickSignal(
        const QString& text, model::Side side, RecordGrid& grid, std::span<model::Record> records, QPoint origin);

    static QString title() { return QStringLiteral("Korvane PC编程软件"); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // A data file dropped on the window opens as Open opens it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Programs the radio with the image: what was sent and whether the radio is an older one, or
    // nothing when programming did not succeed.
    void writeImage(bool verify);
    // A read-out of the radio starting from (a copy of) `start`; for a comparison its "读频完成" box
    // is left out.
    link::ReadOutcome readOut(model::RadioImage start, bool forComparison = false);
    void showDifferences(const std::vector<CompareRow>& rows, const QStringList& headings, const QString& title = {});
    // The file dialog of the three data file kinds, rdw chosen.
    static FileDialogRequest dataFileRequest(const QString& title, const QString& fileName);
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildContent();
    void layoutWindow();
    // The model frame, the channel frame and the lists in their places, and `Frame1` sized to hold
    // them; after the first layout and after a relayout of the grid.
    void placeFrames();
    int currentScreenWidth() const;
    void showRecentEntries();
    void setCaptionForFile(const QString& path);
    void showBandText();
    void runToolbarKey(const QString& key);
    LinkRunner& linkRunner();
    // Keeps a copy of an image met on the radio link; a failure is shown once a session.
    std::optional<util::Message> keepBackup(const model::RadioImage& image, files::BackupReason reason);
    void mentionBackupFailure(const std::optional<util::Message>& failure);

    // Hooks where later editors plug in: committing or dropping an open frequency edit, and the
    // alignment item that other commands end first.
    void commitPendingEntry();
    void dropOpenEdits();
    // The frequency boxes of the channel grid and the grid's hooks that open them and the
    // signalling dialog; placing the boxes after a layout (a relayout uses its own insets).
    void buildEditors();
    // The image shown whole again after a command, an undo or a redo; open entry boxes are dropped.
    void showReplacedImage();
    void placeEntryBoxes(bool relayout);
    // Showing the image closes the transmit box; what it held belongs to the image shown before.
    void hideTransmitBox();
    bool alignmentItemOpen() const;
    void cancelAlignmentItem();
    // The alignment screen beside the channel view, and its part of showing the image.
    void buildAlignment();
    void refreshAlignment();

    UserDialogs& m_dialogs;
    MainWindowOptions m_options;
    ImageDocument m_document;
    const model::RadioImage& m_image = m_document.image();
    AppState m_state;
    int m_recordedScreenWidth = 0;

    ContentArea* m_content = nullptr;
    QWidget* m_fraChanFunc = nullptr;
    QWidget* m_fraModel = nullptr;
    ChannelView* m_channelView = nullptr;
    SettingsLists* m_settingsLists = nullptr;
    QComboBox* m_cboRadiomodel = nullptr;
    QLabel* m_lblBandvalue = nullptr;
    QPushButton* m_command1 = nullptr;
    QToolBar* m_toolBar = nullptr;
    QAction* m_mnuNULL = nullptr;
    std::array<QAction*, 4> m_mnuFileMRU {};
    std::unique_ptr<LinkRunner> m_link;
    FrequencyBox* m_txtRecFreq = nullptr;
    FrequencyBox* m_txtTxFreq = nullptr;
    AlignmentView* m_alignmentView = nullptr;
    bool m_backupFailureMentioned = false;
    EditCommands* m_edits = nullptr;
    FleetTally m_fleetTally;
};

} // namespace korvane::app
