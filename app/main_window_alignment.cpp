// Alignment mode in the window: the password, switching between the channel view and the
// alignment screen, and ending an open item before any other command.

#include "app/main_window.h"

#include "app/alignment_view.h"
#include "app/content_scroller.h"
#include "app/link_runner.h"
#include "app/new_password_dialog.h"
#include "app/password_dialog.h"

#include <QActionGroup>
#include <QMenu>

namespace korvane::app {

namespace {

// The Edit menu's commands on the channel table (every entry but the view entries) on or off. A
// group holds them, so that a command's own state cannot turn it on while the group is off.
void enableChannelEdits(QMenu* menu, bool on)
{
    auto* group = menu->findChild<QActionGroup*>("channelEdits");
    if (group == nullptr) {
        group = new QActionGroup(menu);
        group->setObjectName("channelEdits");
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    }
    for (QAction* entry : menu->actions()) {
        const QString name = entry->objectName();
        if (!entry->isSeparator() && name != "mnuChan" && name != "mnuTune" && name != "mnuPass")
            group->addAction(entry);
    }
    group->setEnabled(on);
}

} // namespace

void MainWindow::buildAlignment()
{
    m_alignmentView = new AlignmentView(m_document, m_state, m_dialogs, m_options.makePort, m_content->frame());
    AlignmentView::Hooks hooks;
    hooks.runLink = [this](const std::function<void(link::LinkUi&)>& operation) { linkRunner().runDeferringInput(operation); };
    hooks.leaveView = [this] { mnuChanClick(); };
    hooks.editSignalling = [this](const QString& text, model::Side side) {
        RecordGrid* grid = m_alignmentView->gridTuneFreq();
        m_document.edit([&](model::RadioImage& image) {
            clickSignal(text, side, *grid, image.alignment, grid->parentWidget()->mapToGlobal(QPoint(0, 0)));
        });
    };
    m_alignmentView->setHooks(std::move(hooks));
    // A click on the frame's background ends an open edit, as on the channel view's frames.
    m_alignmentView->fraTuneSet()->installEventFilter(this);
    m_alignmentView->installEventFilter(this);

    connect(action("mnuTune"), &QAction::triggered, this, &MainWindow::mnuTuneClick);
    connect(action("mnuChan"), &QAction::triggered, this, &MainWindow::mnuChanClick);
    connect(action("mnuPass"), &QAction::triggered, this, &MainWindow::mnuPassClick);
}

void MainWindow::refreshAlignment()
{
    m_alignmentView->fillTuneGrid();
    m_alignmentView->showModel(m_cboRadiomodel->currentText(), m_lblBandvalue->text());
}

bool MainWindow::alignmentItemOpen() const { return m_alignmentView && m_alignmentView->itemOpen(); }

void MainWindow::cancelAlignmentItem() { m_alignmentView->cmdTuneCancelClick(); }

void MainWindow::mnuTuneClick()
{
    QAction* tune = action("mnuTune");
    if (m_alignmentView->viewOn()) {
        tune->setChecked(true); // the click toggled it
        return;
    }
    tune->setChecked(false);
    PasswordDialog dialog(m_dialogs, this);
    dialog.setPass(m_state.password);
    m_dialogs.runModal(dialog);
    if (dialog.cancelPressed()) return;

    m_fraChanFunc->hide();
    action("mnuChan")->setChecked(false);
    m_alignmentView->setGeometry(
        m_fraChanFunc->x(), m_fraChanFunc->y(), m_alignmentView->width(), m_alignmentView->height());
    m_alignmentView->enterView();
    tune->setChecked(true);
    action("mnuPass")->setVisible(true);
    action("mnuPrint")->setEnabled(false);
    action("tbPrint")->setEnabled(false);
    enableChannelEdits(findChild<QMenu*>("mnuEditor"), false);
}

void MainWindow::mnuChanClick()
{
    m_alignmentView->leaveView();
    action("mnuTune")->setChecked(false);
    action("mnuPass")->setVisible(false);
    m_fraChanFunc->show();
    action("mnuChan")->setChecked(true);
    action("mnuPrint")->setEnabled(true);
    action("tbPrint")->setEnabled(true);
    enableChannelEdits(findChild<QMenu*>("mnuEditor"), true);
    m_cboRadiomodel->setFocus(Qt::OtherFocusReason);
}

void MainWindow::mnuPassClick()
{
    NewPasswordDialog dialog(m_dialogs, this);
    m_dialogs.runModal(dialog);
    if (!dialog.cancelPressed()) m_state.password = dialog.pass();
}

} // namespace korvane::app
