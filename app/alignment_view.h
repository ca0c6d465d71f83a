#pragma once
// The alignment screen: the item tree `TreeView2` at the left and, at the right, the frame
// `fraTuneSet` with either the test channel grid `gridTuneFreq` or the adjustment frame `fraTune`
// of the item being adjusted. Every exchange with the radio runs through the window's link
// runner; the port stays open from an item's start to its end.

#include "app/app_state.h"
#include "app/image_document.h"
#include "app/item_tree.h"
#include "app/port_factory.h"
#include "app/record_grid.h"
#include "app/tune_scroll_bar.h"
#include "app/user_dialogs.h"
#include "core/link/alignment.h"
#include "core/link/link_ui.h"
#include "core/model/radio_image.h"
#include "core/model/record_layout.h"
#include "core/util/steady_clock.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>

namespace korvane::app {

class FrequencyBox;

class AlignmentView : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        // Runs a link operation off the event loop and returns when it has finished.
        std::function<void(const std::function<void(link::LinkUi&)>&)> runLink;
        // Back to the channel view (the channel command).
        std::function<void()> leaveView;
        // The signalling dialog on the grid's current cell.
        std::function<void(const QString& text, model::Side side)> editSignalling;
    };

    // The port from `makePort` stays with the view: an item keeps it open from its start to its end.
    AlignmentView(ImageDocument& document, AppState& state, UserDialogs& dialogs, const PortFactory& makePort,
        QWidget* parent = nullptr);
    ~AlignmentView() override;

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    ItemTree* treeView2() const { return m_tree; }
    QGroupBox* fraTuneSet() const { return m_fraTuneSet; }
    RecordGrid* gridTuneFreq() const { return m_grid; }
    QGroupBox* fraTune() const { return m_fraTune; }
    QScrollBar* hsbTune() const { return m_hsbTune; }
    QLabel* lblTuneValue2() const { return m_lblTuneValue2; }
    QPushButton* cmdTuneOK() const { return m_cmdTuneOK; }
    QPushButton* cmdTuneCancel() const { return m_cmdTuneCancel; }
    FrequencyBox* txtRecTuneFreq() const { return m_txtRecTuneFreq; }
    FrequencyBox* txtTxTuneFreq() const { return m_txtTxTuneFreq; }
    QLabel* lblRadio() const { return m_lblRadio; }
    QLabel* lblFreqRange() const { return m_lblFreqRange; }

    // The screen shows: the view is on.
    bool viewOn() const { return !m_tree->isHidden(); }
    // An item adjustment is open: the adjustment frame shows.
    bool itemOpen() const { return !m_fraTune->isHidden(); }

    // Shows the tree and the grid (after the password was right).
    void enterView();
    // Hides the tree and the frame; an open item is cancelled first.
    void leaveView();

    // The whole alignment table into the grid, always in the image form.
    void fillTuneGrid();
    // The model and band shown above the grid.
    void showModel(const QString& model, const QString& band);

    void nodeClick(const QString& key);
    void startAlignmentItem();
    void hsbTuneChange();
    // Steps of hsbTune, each one change: taken at once, or after the changes already waiting.
    void takeTuneSteps(QAbstractSlider::SliderAction step, int count);
    void cmdTuneOKClick();
    void cmdTuneCancelClick();
    void showTestChannel(const model::Record& record);

    // Edits the grid's current cell.
    void editTuneCell();
    // Hides both frequency boxes, forgetting what they hold.
    void dropEdits();

    int currentItem() const { return m_item; }

private:
    void buildTree();
    void buildGrid();
    void buildTuneFrame();
    void layoutGrid();
    void toggleStep(int row, int column);
    void endItem(link::ItemEnd how);
    void sendTuneValue();
    bool moveToNextTuneStep();

    ImageDocument& m_document;
    const model::RadioImage& m_image;
    AppState& m_state;
    UserDialogs& m_dialogs;
    Hooks m_hooks;

    ItemTree* m_tree = nullptr;
    QGroupBox* m_fraTuneSet = nullptr;
    QLabel* m_lblRadio = nullptr;
    QLabel* m_lblFreqRange = nullptr;
    RecordGrid* m_grid = nullptr;
    FrequencyBox* m_txtRecTuneFreq = nullptr;
    FrequencyBox* m_txtTxTuneFreq = nullptr;
    QGroupBox* m_fraTune = nullptr;
    TuneScrollBar* m_hsbTune = nullptr;
    QLabel* m_lblTuneValue2 = nullptr;
    QLabel* m_lblTRxFreq2 = nullptr;
    QLabel* m_lblTRxSgl2 = nullptr;
    QLabel* m_lblTTxFreq2 = nullptr;
    QLabel* m_lblTTxSgl2 = nullptr;
    QPushButton* m_cmdTuneOK = nullptr;
    QPushButton* m_cmdTuneCancel = nullptr;

    int m_item = 0;
    QString m_frameCaption;
    // The bar is being set to the radio's own value, which the start has already sent.
    bool m_settingBar = false;
    // A change is on the line; steps taken meanwhile wait here, in order.
    bool m_sendingChange = false;
    std::deque<QAbstractSlider::SliderAction> m_tuneSteps;

    std::unique_ptr<serial::SerialPort> m_port;
    util::SteadyClock m_clock;
    link::AlignmentSession m_session { *m_port, m_clock };
};

} // namespace korvane::app
