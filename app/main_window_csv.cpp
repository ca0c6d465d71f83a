// The channel table as a spreadsheet: "导出CSV..." and "导入CSV..." of the File menu.

#include "app/main_window.h"

#include "app/edit_commands.h"

#include "core/files/channel_csv_file.h"
#include "core/model/defaults.h"

namespace korvane::app {

namespace {

FileDialogRequest csvRequest(const QString& title, const QString& fileName)
{
    return FileDialogRequest { title, fileName, { QStringLiteral("CSV文件(*.csv)") }, 1, QStringLiteral("csv") };
}

// Asked only once the whole file has been read without a fault: a refused file never costs
// the user a question, nor the table.
const util::Message kReplaceQuestion { "导入CSV文件将替换当前的全部信道数据，是否继续？", "导入CSV",
    util::MessageIcon::Question, {} };

} // namespace

void MainWindow::exportCsv()
{
    if (alignmentItemOpen()) cancelAlignmentItem();
    const auto choice = m_dialogs.chooseSaveFile(this, csvRequest(QStringLiteral("导出CSV"), QString()));
    if (!choice || choice->path.isEmpty()) return;
    // A frequency still being typed belongs in the exported table, as it does in a saved file.
    commitPendingEntry();
    if (const auto failure = files::saveChannelCsv(choice->path.toStdString(), m_image))
        m_dialogs.showMessage(this, *failure);
}

void MainWindow::importCsv()
{
    if (alignmentItemOpen()) cancelAlignmentItem();
    if (!m_edits->confirmDiscard()) return;
    const auto choice = m_dialogs.chooseOpenFile(this, csvRequest(QStringLiteral("导入CSV"), QString()));
    if (!choice || choice->path.isEmpty()) return;
    const auto table = files::loadChannelCsv(
        choice->path.toStdString(), m_image.modelIndex, model::defaultImage(m_image.modelIndex).channels);
    if (!table) {
        m_dialogs.showMessage(this, table.error());
        return;
    }
    if (!m_dialogs.askYesNo(this, kReplaceQuestion)) return;
    dropOpenEdits();
    focusSink();
    model::RadioImage imported = m_image;
    imported.channels = *table;
    m_document.replace(imported, QStringLiteral("导入CSV"));
}

} // namespace korvane::app
