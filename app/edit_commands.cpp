#include "app/edit_commands.h"

#include "app/app_paths.h"
#include "app/bulk_dialog.h"
#include "app/channel_view.h"
#include "app/main_window.h"
#include "app/settings_lists.h"
#include "core/compare/image_compare.h"
#include "core/edit/channel_clipboard.h"
#include "core/edit/channel_order.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include <algorithm>

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
    connect(menu, &QMenu::aboutToShow, this, [this] {
        noteChange();
        updateEntries();
    });
    qApp->installEventFilter(this);
    startFresh();
}

void EditCommands::startFresh()
{
    m_history.reset(m_window.image());
    m_lastNoted = m_window.image();
    updateEntries();
}

void EditCommands::markSaved()
{
    noteChange();
    m_history.markSaved(m_window.image());
}

bool EditCommands::confirmDiscard()
{
    // A value still open in a frequency box is not part of the image yet: the command that follows
    // drops it as it always has (and Save As, answering Yes, stores it).
    if (!m_history.isModified(m_window.image())) return true;
    const auto answer = m_window.dialogs().askYesNoCancel(&m_window, kSaveQuestion);
    if (!answer) return false;
    return !*answer || m_window.saveAs();
}

void EditCommands::noteChange(const QString& label)
{
    m_notePending = false;
    const model::RadioImage& now = m_window.image();
    if (now == m_lastNoted) return;
    const QString name = label.isEmpty() ? describeChange(m_lastNoted, now) : label;
    m_history.record(name.toStdString(), m_lastNoted, now);
    m_lastNoted = now;
    updateEntries();
}

bool EditCommands::eventFilter(QObject* watched, QEvent* event)
{
    // A change made through the grid, a box or a list is noted once the input that made it has
    // been handled.
    const QEvent::Type type = event->type();
    if (!m_notePending && watched->isWidgetType()
        && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::KeyPress
            || type == QEvent::KeyRelease || type == QEvent::Wheel)
        && static_cast<QWidget*>(watched)->window() == &m_window) {
        m_notePending = true;
        QMetaObject::invokeMethod(
            this, [this] { noteChange(); }, Qt::QueuedConnection);
    }
    return false;
}

bool EditCommands::ready()
{
    if (!m_window.channelView()->isVisible()) return false;
    m_window.commitOpenEntry();
    noteChange();
    return true;
}

void EditCommands::undo()
{
    if (!ready()) return;
    if (const auto image = m_history.undo()) showImage(*image);
}

void EditCommands::redo()
{
    if (!ready()) return;
    if (const auto image = m_history.redo()) showImage(*image);
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
    const model::RadioImage& image = m_window.image();
    const int at = m_window.channelView()->chosenChannels().front();
    const auto table
        = edit::insertChannel(image.channels, at, model::defaultImage(std::max<int>(0, image.modelIndex)).channels[0]);
    if (!table) {
        m_window.dialogs().showMessage(&m_window, table.error());
        return;
    }
    applyChannels(QStringLiteral("插入信道"), *table, { at });
}

void EditCommands::deleteChannel()
{
    if (!ready()) return;
    const model::RadioImage& image = m_window.image();
    const int at = m_window.channelView()->chosenChannels().front();
    applyChannels(QStringLiteral("删除信道"),
        edit::deleteChannel(image.channels, at, model::defaultImage(std::max<int>(0, image.modelIndex)).channels[0]),
        { at });
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
    showImage(image);
    noteChange(label);
    m_window.channelView()->chooseChannels(chosen);
}

void EditCommands::showImage(const model::RadioImage& image)
{
    m_window.showImage(image);
    m_lastNoted = m_window.image();
    updateEntries();
}

QString EditCommands::describeChange(const model::RadioImage& before, const model::RadioImage& after) const
{
    if (before.modelIndex != after.modelIndex) return QStringLiteral("机型");
    for (int k = 0; k < 11; ++k) {
        const auto which = static_cast<model::SettingsList>(k);
        if (model::decodeSetting(which, before.settings) != model::decodeSetting(which, after.settings))
            return QString::fromUtf8(model::settingsListCaption(which).data(), static_cast<qsizetype>(model::settingsListCaption(which).size()));
    }
    // A channel's step is named as the comparison names its first difference ("信道 3 接收频率");
    // bytes no column shows leave just the channel.
    const auto differences = compare::compareImages(before, after);
    std::vector<int> changed;
    for (const compare::Difference& d : differences)
        if (d.channel >= 0 && std::find(changed.begin(), changed.end(), d.channel) == changed.end())
            changed.push_back(d.channel);
    if (changed.size() != 1) return changed.empty() ? QStringLiteral("调整数据") : QStringLiteral("信道");
    const QString channel = QStringLiteral("信道 %1").arg(changed.front() + 1);
    const auto first = std::find_if(
        differences.begin(), differences.end(), [](const compare::Difference& d) { return d.channel >= 0; });
    const QString where = QString::fromStdString(first->where);
    return where.startsWith(channel + ' ') ? where : channel;
}

void EditCommands::updateEntries()
{
    const bool canUndo = m_history.canUndo();
    const bool canRedo = m_history.canRedo();
    m_undo->setEnabled(canUndo);
    m_redo->setEnabled(canRedo);
    // The access key closes the caption, after the step's name.
    m_undo->setText(
        (canUndo ? QStringLiteral("撤销 ") + QString::fromStdString(m_history.undoLabel()) : QStringLiteral("撤销"))
        + QStringLiteral("(&U)"));
    m_redo->setText(
        (canRedo ? QStringLiteral("重做 ") + QString::fromStdString(m_history.redoLabel()) : QStringLiteral("重做"))
        + QStringLiteral("(&R)"));
}

} // namespace korvane::app
