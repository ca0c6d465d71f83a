#include "app/edit_commands.h"

#include "app/app_paths.h"
#include "app/bulk_dialog.h"
#include "app/channel_view.h"
#include "app/main_window.h"
#include "app/settings_lists.h"
#include "core/edit/channel_clipboard.h"
#include "core/edit/channel_order.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <numeric>

namespace korvane::app {

namespace {

const util::Message kSaveQuestion { "当前数据已修改，是否先保存？", "保存数据", util::MessageIcon::Question, {} };

QAction* addCommand(QMenu* menu, const char* name, const char* caption, QList<QKeySequence> keys = {})
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    action->setShortcuts(keys);
    return action;
}

model::Record closedRecord(model::Record r)
{
    model::setBit(r[model::flagByte(model::Side::Receive)], model::kOpenBit, false);
    return r;
}

} // namespace

EditCommands::EditCommands(MainWindow& window, QMenu* menu)
    : QObject(&window)
    , m_window(window)
{
    menu->addSeparator()->setObjectName("mnuEditSeparator");
    m_undo = addCommand(menu, "mnuUndo", "撤销(&U)", { QKeySequence(Qt::CTRL | Qt::Key_Z) });
    m_redo = addCommand(menu, "mnuRedo", "重做(&R)",
        { QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    connect(m_undo, &QAction::triggered, this, &EditCommands::undo);
    connect(m_redo, &QAction::triggered, this, &EditCommands::redo);
    const struct {
        const char* name;
        const char* caption;
        QList<QKeySequence> keys;
        void (EditCommands::*run)();
    } commands[] = {
        { "mnuCopy", "复制(&C)", { QKeySequence(Qt::CTRL | Qt::Key_C) }, &EditCommands::copy },
        { "mnuCut", "剪切(&X)", { QKeySequence(Qt::CTRL | Qt::Key_X) }, &EditCommands::cut },
        { "mnuPaste", "粘贴(&P)", { QKeySequence(Qt::CTRL | Qt::Key_V) }, &EditCommands::paste },
        { "mnuMoveUp", "上移(&M)", { QKeySequence(Qt::CTRL | Qt::Key_Up) }, &EditCommands::moveUp },
        { "mnuMoveDown", "下移(&N)", { QKeySequence(Qt::CTRL | Qt::Key_Down) }, &EditCommands::moveDown },
        { "mnuInsertChan", "插入信道(&I)", {}, &EditCommands::insertChannel },
        { "mnuDeleteChan", "删除信道(&E)", {}, &EditCommands::deleteChannel },
        { "mnuSortChan", "按接收频率排序(&S)", {}, &EditCommands::sortChannels },
        { "mnuBulk", "批量设置(&B)...", {}, &EditCommands::bulkChange },
    };
    for (const auto& command : commands) {
        QAction* action = addCommand(menu, command.name, command.caption, command.keys);
        connect(action, &QAction::triggered, this, command.run);
        m_channelEntries.push_back(action);
    }
    connect(&m_window.document(), &ImageDocument::historyChanged, this, &EditCommands::updateEntries);
    updateEntries();
}

void EditCommands::markSaved() { m_window.document().markSaved(); }

bool EditCommands::confirmDiscard()
{
    // A value still open in a frequency box is not part of the image yet: the command that follows
    // drops it as it always has (and Save As, answering Yes, stores it).
    if (!m_window.document().isModified()) return true;
    const auto answer = m_window.dialogs().askYesNoCancel(&m_window, kSaveQuestion);
    if (!answer) return false;
    return !*answer || m_window.saveAs();
}

bool EditCommands::ready()
{
    if (!m_window.channelView()->isVisible()) return false;
    m_window.commitOpenEntry();
    return true;
}

void EditCommands::undo()
{
    if (!ready()) return;
    m_window.document().undo();
}

void EditCommands::redo()
{
    if (!ready()) return;
    m_window.document().redo();
}

void EditCommands::copy()
{
    if (!ready()) return;
    const edit::CopiedChannels copied = edit::copyChannels(m_window.image(), m_window.channelView()->chosenChannels());
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(copied.text));
    data->setData(QString::fromUtf8(edit::kChannelsMimeType.data()), QByteArray::fromStdString(copied.records));
    QGuiApplication::clipboard()->setMimeData(data);
}

void EditCommands::cut()
{
    if (!ready()) return;
    copy();
    const std::vector<int> chosen = m_window.channelView()->chosenChannels();
    model::ChannelTable table = m_window.image().channels;
    for (int c : chosen)
        table[static_cast<std::size_t>(c)] = closedRecord(table[static_cast<std::size_t>(c)]);
    applyChannels(QStringLiteral("剪切"), table, chosen);
}

void EditCommands::paste()
{
    if (!ready()) return;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) return;
    const int first = m_window.channelView()->chosenChannels().front();
    const QString privateType = QString::fromUtf8(edit::kChannelsMimeType.data());
    const auto records
        = data->hasFormat(privateType) ? edit::parseCopiedRecords(data->data(privateType).toStdString()) : std::nullopt;
    const auto table = records ? edit::pasteRecords(m_window.image(), first, *records)
                               : edit::pasteText(m_window.image(), first, data->text().toStdString());
    if (!table) {
        m_window.dialogs().showMessage(&m_window, table.error());
        return;
    }
    std::vector<int> pasted;
    for (int c = first; c < model::kChannelCount
         && (*table)[static_cast<std::size_t>(c)] != m_window.image().channels[static_cast<std::size_t>(c)];
         ++c)
        pasted.push_back(c);
    applyChannels(QStringLiteral("粘贴"), *table, pasted.empty() ? std::vector<int> { first } : pasted);
}

void EditCommands::move(int direction)
{
    if (!ready()) return;
    model::ChannelTable table = m_window.image().channels;
    const auto moved = edit::moveChannels(table, m_window.channelView()->chosenChannels(), direction);
    if (!moved) return;
    applyChannels(direction < 0 ? QStringLiteral("上移") : QStringLiteral("下移"), table, *moved);
}

void EditCommands::insertChannel()
{
    if (!ready()) return;
    // As many empty channels as are chosen, where the first of them is.
    const model::RadioImage& image = m_window.image();
    const std::vector<int> chosen = m_window.channelView()->chosenChannels();
    const int at = chosen.front();
    const int count = static_cast<int>(chosen.size());
    const auto table = edit::insertChannels(
        image.channels, at, count, model::defaultImage(std::max<int>(0, image.modelIndex)).channels[0]);
    if (!table) {
        m_window.dialogs().showMessage(&m_window, table.error());
        return;
    }
    std::vector<int> inserted(static_cast<std::size_t>(count));
    std::iota(inserted.begin(), inserted.end(), at);
    applyChannels(QStringLiteral("插入信道"), *table, inserted);
}

void EditCommands::deleteChannel()
{
    if (!ready()) return;
    const model::RadioImage& image = m_window.image();
    const std::vector<int> chosen = m_window.channelView()->chosenChannels();
    applyChannels(QStringLiteral("删除信道"),
        edit::deleteChannels(
            image.channels, chosen, model::defaultImage(std::max<int>(0, image.modelIndex)).channels[0]),
        { chosen.front() });
}

void EditCommands::sortChannels()
{
    if (!ready()) return;
    applyChannels(QStringLiteral("按接收频率排序"), edit::sortByReceiveFrequency(m_window.image().channels), {});
}

void EditCommands::bulkChange()
{
    if (!ready()) return;
    const std::vector<int> chosen = m_window.channelView()->chosenChannels();
    BulkDialog dialog(m_window.dialogs(), dataDirectory(),
        m_window.image().channels[static_cast<std::size_t>(chosen.front())], &m_window);
    m_window.dialogs().runModal(dialog);
    if (!dialog.accepted()) return;
    const bool wideAllowed = m_window.settingsLists()->spacingIs25();
    applyChannels(QStringLiteral("批量设置"),
        edit::applyBulkChange(m_window.image(), chosen, dialog.change(), wideAllowed), chosen);
}

void EditCommands::applyChannels(const QString& label, const model::ChannelTable& table, const std::vector<int>& chosen)
{
    model::RadioImage image = m_window.image();
    image.channels = table;
    m_window.document().replace(image, label);
    m_window.channelView()->chooseChannels(chosen);
}

void EditCommands::updateEntries()
{
    const ImageDocument& document = m_window.document();
    const bool canUndo = document.canUndo();
    const bool canRedo = document.canRedo();
    m_undo->setEnabled(canUndo);
    m_redo->setEnabled(canRedo);
    // The access key closes the caption, after the step's name.
    m_undo->setText(
        (canUndo ? QStringLiteral("撤销 ") + document.undoLabel() : QStringLiteral("撤销")) + QStringLiteral("(&U)"));
    m_redo->setText(
        (canRedo ? QStringLiteral("重做 ") + document.redoLabel() : QStringLiteral("重做")) + QStringLiteral("(&R)"));
}

} // namespace korvane::app
