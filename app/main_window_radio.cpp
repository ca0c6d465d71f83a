// Reading and programming the radio from the window.

#include "app/main_window.h"

#include "app/channel_view.h"
#include "app/edit_commands.h"
#include "app/held_messages.h"
#include "app/link_runner.h"
#include "app/settings_lists.h"
#include "core/link/link_messages.h"
#include "core/link/link_target.h"
#include "core/link/programming.h"
#include "core/link/readout.h"
#include "core/link/verify_readback.h"
#include "core/model/frequency_codec.h"
#include "core/util/steady_clock.h"

#include <chrono>

namespace korvane::app {

LinkRunner& MainWindow::linkRunner()
{
    if (!m_link)
        m_link = std::make_unique<LinkRunner>(this, m_dialogs);
    return *m_link;
}

std::optional<util::Message> MainWindow::keepBackup(const model::RadioImage& image, files::BackupReason reason)
{
    if (!m_options.backupFolder)
        return std::nullopt;
    auto saved = files::saveBackup(*m_options.backupFolder, image, reason, std::chrono::system_clock::now());
    if (saved)
        return std::nullopt;
    return saved.error();
}

// A backup that cannot be made never stops the user's command; saying so once is enough.
void MainWindow::mentionBackupFailure(const std::optional<util::Message>& failure)
{
    if (!failure || m_backupFailureMentioned)
        return;
    m_backupFailureMentioned = true;
    m_dialogs.showMessage(this, *failure);
}

link::ReadOutcome MainWindow::readOut(model::RadioImage start, bool forComparison)
{
    const link::LinkTarget target = m_state.linkTarget();
    link::ReadOutcome outcome;
    linkRunner().run([&](link::LinkUi& ui) {
        const std::unique_ptr<serial::SerialPort> port = m_options.makePort();
        util::SteadyClock clock;
        HeldMessages quiet(ui, [](const util::Message& message) { return message == link::readComplete(); });
        outcome = link::readRadio(start, target, *port, clock, forComparison ? quiet : ui);
    });
    return outcome;
}

void MainWindow::readRadio()
{
    if (linkRunner().busy() || !m_edits->confirmDiscard())
        return;
    repaint();
    // While the radio is read, an edit still open in a frequency box is dropped, not stored.
    m_state.readBusy = true;
    if (alignmentItemOpen())
        cancelAlignmentItem();
    else
        dropOpenEdits();
    focusSink();

    const link::ReadOutcome outcome = readOut(m_image);
    if (outcome.success()) {
        m_state.fiveKhzForm = outcome.fiveKhzForm.value_or(m_state.fiveKhzForm);
        setWindowTitle(QStringLiteral("读频完成 - ") + title());
        m_state.recent.uncheck();
        showRecentEntries();
        m_document.startFresh([&](model::RadioImage& image) {
            image = outcome.image;
            refreshFromImage();
        });
        if (m_settingsLists->anyListEmpty())
            m_dialogs.showMessage(this, link::dataError());
        mentionBackupFailure(keepBackup(outcome.image, files::BackupReason::ReadOut));
    }
    m_state.readBusy = false;
}

void MainWindow::writeRadio() { writeImage(false); }

void MainWindow::writeAndVerify() { writeImage(true); }

// With `verify`, the radio is read back as soon as it is written, and one message then says
// whether it was written and verified.
void MainWindow::writeImage(bool verify)
{
    if (linkRunner().busy()) return;
    repaint();
    if (alignmentItemOpen())
        cancelAlignmentItem();
    // A value still being typed reaches the image, and so the radio.
    commitPendingEntry();

    model::RadioImage working = m_image;
    // Kept before the radio is touched; a failure is told once the exchange is over.
    const std::optional<util::Message> backupFailure = keepBackup(working, files::BackupReason::BeforeWrite);
    const link::LinkTarget target = m_state.linkTarget();
    link::ProgramOutcome outcome;
    std::optional<link::ReadBackCheck> check;
    std::optional<util::Message> readFailure;
    // Only the rounding for an older radio changes the image: the moved frequencies show as soon
    // as they move, while the radio is being programmed with them.
    auto showRounded = [&](const std::vector<link::ChannelSide>& moved) {
        m_document.edit([&](model::RadioImage& image) { image.channels = working.channels; });
        for (const link::ChannelSide& side : moved) {
            const int column = side.side == model::Side::Receive ? 1 : 4;
            const std::string text = model::formatFrequency(m_image.channels[side.channel], side.side);
            m_channelView->grid()->setText(side.channel + 1, column, QString::fromStdString(text));
        }
    };
    linkRunner().run(
        [&](link::LinkUi& ui) {
            const std::unique_ptr<serial::SerialPort> port = m_options.makePort();
            util::SteadyClock clock;
            bool readingBack = false;
            HeldMessages held(ui, [&](const util::Message& message) {
                return verify && (readingBack || message == link::writeComplete());
            });
            outcome = link::programRadio(working, target, *port, clock, held);
            if (!verify || !outcome.success()) return;
            readingBack = true;
            const auto generation = outcome.olderRadio ? link::Generation::Older : link::Generation::Newer;
            check = link::checkReadBack(working, generation, target, *port, clock, held);
            for (const util::Message& message : held.held())
                if (message != link::writeComplete() && message != link::readComplete() && !readFailure)
                    readFailure = message;
        },
        showRounded);

    if (outcome.fiveKhzForm)
        m_state.fiveKhzForm = *outcome.fiveKhzForm;
    if (check) {
        const util::Message verdict = link::writeAndVerifyMessage(*check, readFailure);
        setWindowTitle(QString::fromStdString(verdict.title) + QStringLiteral(" - ") + title());
        m_dialogs.showMessage(this, verdict);
    } else if (outcome.success())
        setWindowTitle(QStringLiteral("写频完成 - ") + title());
    mentionBackupFailure(backupFailure);
}

} // namespace korvane::app
