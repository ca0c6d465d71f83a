// Save, Open and the recent-file entries of the File menu.

#include "app/main_window.h"

#include "app/channel_view.h"
#include "app/edit_commands.h"
#include "app/link_runner.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include "core/files/data_file.h"

namespace korvane::app {

namespace {

// Both file dialogs offer the three kinds in this order, as description and pattern pairs.
const QString kFilterText = QStringLiteral("rdw文件(*.rdw)|*.rdw|rdh文件(*.rdh)|*.rdh|rdha文件(*.rdhax)|*.rdhax");

// Qt's dialogs take the descriptions alone: each already names its pattern in brackets.
QStringList nameFilters()
{
    const QStringList parts = kFilterText.split('|');
    QStringList descriptions;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        descriptions << parts.at(i);
    return descriptions;
}

} // namespace

FileDialogRequest MainWindow::dataFileRequest(const QString& title, const QString& fileName)
{
    return FileDialogRequest { title, fileName, nameFilters(), 1, QStringLiteral("rdw") };
}

void MainWindow::setCaptionForFile(const QString& path)
{
    setWindowTitle(RecentFiles::bareName(path) + " - " + title());
}

void MainWindow::showRecentEntries()
{
    for (int i = 0; i < RecentFiles::kSize; ++i) {
        m_mnuFileMRU[i]->setVisible(m_state.recent.visible(i));
        m_mnuFileMRU[i]->setText(m_state.recent.caption(i));
        m_mnuFileMRU[i]->setChecked(m_state.recent.checked(i));
    }
    m_mnuNULL->setVisible(m_state.recent.newest() >= 0);
}

bool MainWindow::saveAs()
{
    const bool shown = m_fraChanFunc->isVisible();
    if (alignmentItemOpen())
        cancelAlignmentItem();
    // The name starts empty; the dialog opens in the current file's folder, without one in the
    // user's documents, where a desktop's own file dialog would remember the user last was.
    FileDialogRequest request = dataFileRequest(QStringLiteral("Save As"), QString());
    request.folder = m_state.currentFile.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                                   : QFileInfo(m_state.currentFile).absolutePath();
    const auto choice = m_dialogs.chooseSaveFile(this, request);
    if (!choice || choice->path.isEmpty())
        return false;
    m_fraChanFunc->setVisible(false);
    commitPendingEntry();
    const int kindIndex = choice->filterIndex >= 1 && choice->filterIndex <= 3 ? choice->filterIndex : 1;
    const auto failure =
        files::saveDataFile(choice->path.toStdString(), m_image, static_cast<files::FileKind>(kindIndex));
    m_fraChanFunc->setVisible(shown);
    if (failure) {
        m_dialogs.showMessage(this, *failure);
        return false;
    }
    m_edits->markSaved();
    m_state.currentFile = choice->path;
    setCaptionForFile(choice->path);
    const int found = m_state.recent.find(choice->path);
    if (found >= 0)
        m_state.recent.reuse(found, choice->path);
    else
        m_state.recent.add(choice->path);
    showRecentEntries();
    return true;
}

void MainWindow::open()
{
    if (!m_edits->confirmDiscard())
        return;
    const auto choice = m_dialogs.chooseOpenFile(this, dataFileRequest(QStringLiteral("打开"), m_state.currentFile));
    if (!choice || choice->path.isEmpty())
        return;
    openFile(choice->path, m_state.recent.find(choice->path));
}

void MainWindow::openFile(const QString& path, int recentEntry)
{
    const bool shown = m_fraChanFunc->isVisible();
    if (alignmentItemOpen())
        cancelAlignmentItem();
    else
        dropOpenEdits();
    focusSink();

    auto opened = files::openDataFile(path.toStdString(), m_image);
    if (!opened) {
        // The image, the current file and the recent-file marks stay as they were.
        m_dialogs.showMessage(this, opened.error().message);
        return;
    }
    m_state.fiveKhzForm = opened->fiveKhzForm;
    m_state.currentFile = path;
    setCaptionForFile(path);
    if (recentEntry >= 0)
        m_state.recent.reuse(recentEntry, path);
    else
        m_state.recent.add(path);
    showRecentEntries();
    m_document.startFresh([&](model::RadioImage& image) {
        image = opened->image;
        m_fraChanFunc->setVisible(false);
        refreshFromImage();
        m_fraChanFunc->setVisible(shown);
    });
}

namespace {

// The one local file a drag carries, or an empty text.
QString droppedFile(const QMimeData* data)
{
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty() && !linkRunner().busy())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop ends first, so that a question or a message does not hold the file manager's drag.
    QTimer::singleShot(0, this, [this, path] {
        if (m_edits->confirmDiscard())
            openFile(path, m_state.recent.find(path));
    });
}

void MainWindow::showReplacedImage()
{
    dropOpenEdits();
    const bool shown = m_fraChanFunc->isVisible();
    m_fraChanFunc->setVisible(false);
    refreshFromImage();
    m_fraChanFunc->setVisible(shown);
}

} // namespace korvane::app
