// 比较... and 读取对讲机比较 of the File menu: differences are listed, the image never changes.

#include "app/main_window.h"

#include "app/channel_view.h"
#include "app/compare_dialog.h"
#include "app/link_runner.h"
#include "core/compare/image_compare.h"
#include "core/files/data_file.h"

namespace korvane::app {

namespace {

const QString kCompareTitle = QStringLiteral("比较");
const QString kResultTitle = QStringLiteral("比较结果");
const QString kThisImage = QStringLiteral("本数据");

const util::Message kSame { "两份数据完全相同。", "比较", util::MessageIcon::Information, {} };

std::vector<CompareRow> rowsOf(const std::vector<compare::Difference>& differences)
{
    std::vector<CompareRow> rows;
    for (const compare::Difference& d : differences)
        rows.push_back({ QString::fromStdString(d.where), QString::fromStdString(d.ours),
            QString::fromStdString(d.theirs), d.channel, d.column });
    return rows;
}

} // namespace

void MainWindow::compareWithFile()
{
    const auto choice = m_dialogs.chooseOpenFile(this, dataFileRequest(kCompareTitle, QString()));
    if (!choice || choice->path.isEmpty()) return;
    commitOpenEntry();
    const auto opened = files::openDataFile(choice->path.toStdString(), m_image);
    if (!opened) {
        m_dialogs.showMessage(this, opened.error().message);
        return;
    }
    showDifferences(rowsOf(compare::compareImages(m_image, opened->image)), { kThisImage, QStringLiteral("文件") });
}

void MainWindow::compareWithRadio()
{
    if (linkRunner().busy()) return;
    commitOpenEntry();
    const link::ReadOutcome outcome = readOut(m_image, true);
    if (outcome.success())
        showDifferences(
            rowsOf(compare::compareImages(m_image, outcome.image)), { kThisImage, QStringLiteral("对讲机") });
}

void MainWindow::showDifferences(const std::vector<CompareRow>& rows, const QStringList& headings, const QString& title)
{
    if (rows.empty()) {
        m_dialogs.showMessage(this, kSame);
        return;
    }
    CompareDialog dialog(title.isEmpty() ? kResultTitle : title, headings, rows, this);
    m_dialogs.runModal(dialog);
    if (const auto cell = dialog.chosenCell()) {
        m_channelView->grid()->setFocus();
        m_channelView->grid()->setCurrentCell(cell->first, cell->second);
        m_channelView->setCurrentCell(cell->first, cell->second);
    }
}

} // namespace korvane::app
