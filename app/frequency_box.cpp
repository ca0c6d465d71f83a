#include "app/frequency_box.h"

#include "app/input_rules.h"
#include "app/twips.h"
#include "core/model/frequency_codec.h"
#include "core/model/frequency_entry.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>

namespace korvane::app {

namespace {

constexpr long kTopInsetTwips = 30; // the box sits a little below the row's top edge
constexpr qsizetype kFrequencyLength = 9; // "000.00000"

bool isEntryCharacter(char32_t c) { return (c >= U'0' && c <= U'9') || c == U'.'; }

// Typed text made only of digits and decimal points.
bool isEntryText(const QString& text)
{
    for (char32_t c : text.toUcs4())
        if (!isEntryCharacter(c)) return false;
    return true;
}

// Ctrl+Y redoes in any entry box here, also on desktops whose standard Redo is Ctrl+Shift+Z only.
bool isCtrlY(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Y && (key.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

} // namespace

FrequencyBox::FrequencyBox(const QString& name, FrequencyBoxTarget target, UserDialogs& dialogs)
    : QLineEdit(target.grid->viewport())
    , m_target(std::move(target))
    , m_dialogs(dialogs)
{
    setObjectName(name);
    // Only the keys below put text into the box: no paste menu, no dropped text, no input method,
    // and what arrives anyway (a middle-click paste) must be made of the characters they take.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setValidator(new TypedTextValidator([](char32_t c, std::size_t) { return isEntryCharacter(c); }, this));
    setFocusPolicy(Qt::StrongFocus);
    hide();
}

void FrequencyBox::placeOverColumn(long insetTwips, long widthChangeTwips)
{
    m_insetTwips = insetTwips;
    m_widthChangeTwips = widthChangeTwips;
    const RecordGrid* grid = m_target.grid;
    const int column = m_target.frequencyColumn;
    setGeometry(grid->columnViewportPosition(column) + pxX(grid, insetTwips), y(),
        grid->columnWidth(column) + pxX(grid, widthChangeTwips), height());
}

void FrequencyBox::open(int row)
{
    if (m_pending) commitOnLeaving();
    RecordGrid* grid = m_target.grid;
    const int column = m_target.frequencyColumn;
    m_row = row;
    const int inset = pxY(grid, kTopInsetTwips);
    setGeometry(grid->columnViewportPosition(column) + pxX(grid, m_insetTwips), grid->rowViewportPosition(row) + inset,
        grid->columnWidth(column) + pxX(grid, m_widthChangeTwips), grid->rowHeight(row) - inset);
    show();
    raise();
    setText(grid->text(row, column));
    setSelection(0, kFrequencyLength);
    m_pending = true;
    setFocus(Qt::OtherFocusReason);
}

void FrequencyBox::commitOnLeaving()
{
    if (!m_pending) return;
    if (m_target.readBusy && m_target.readBusy()) return;
    m_pending = false; // before hiding: the focus leaving a hidden box must not store twice
    store();
    hide();
}

void FrequencyBox::drop()
{
    m_pending = false;
    if (m_row >= 1 && m_row < m_target.grid->rowCount()) setText(m_target.grid->text(m_row, m_target.frequencyColumn));
    hide();
}

std::int64_t FrequencyBox::store()
{
    model::Record record = m_target.records[static_cast<std::size_t>(m_row - 1)];
    const int modelIndex = m_target.modelIndex ? m_target.modelIndex() : 0;
    const std::int64_t hz = model::enterFrequency(text().toStdString(), record, m_target.side, modelIndex);
    if (m_target.storeRecord) m_target.storeRecord(m_row - 1, record);
    m_target.grid->setText(m_row, m_target.frequencyColumn, QString::fromStdString(model::formatHz(hz)));
    return hz;
}

QString FrequencyBox::stepText() const { return m_target.grid->text(m_row, m_target.frequencyColumn + 1); }

void FrequencyBox::step(bool up)
{
    const std::string typed = text().toStdString();
    const std::string stepKHz = stepText().toStdString();
    const int modelIndex = m_target.modelIndex ? m_target.modelIndex() : 0;
    const auto next = up ? model::stepUp(typed, stepKHz, modelIndex) : model::stepDown(typed, stepKHz, modelIndex);
    if (next) {
        setText(QString::fromStdString(*next));
    } else {
        m_dialogs.showMessage(window(), model::frequencyDataError());
        setText(QString());
    }
    setFocus(Qt::OtherFocusReason);
}

void FrequencyBox::commitByEnter()
{
    if (!m_pending) return;
    store();
    const int stepColumn = m_target.frequencyColumn + 1;
    m_target.grid->setCurrentCell(m_row, stepColumn);
    if (m_target.currentCellMoved) m_target.currentCellMoved(m_row, stepColumn);
    m_pending = false;
    hide();
    m_target.grid->setFocus(Qt::OtherFocusReason);
}

void FrequencyBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        step(true);
        return;
    case Qt::Key_Down:
        step(false);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commitByEnter();
        return;
    case Qt::Key_Escape:
        // Hiding takes the focus away, and leaving the box stores what it holds.
        hide();
        commitOnLeaving();
        m_target.grid->setFocus(Qt::OtherFocusReason);
        return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (event->matches(QKeySequence::Paste)) {
        // A cell copied from a spreadsheet ends in a line break. The validator takes a pasted text
        // only when it passes the box's rule as a whole, or nothing comes in.
        const QString clip = QGuiApplication::clipboard()->text();
        if (clip.trimmed() != clip) {
            insert(clip.trimmed());
            event->accept();
            return;
        }
    }
    if (isCtrlY(*event)) {
        redo();
        return;
    }
    for (const auto editing : { QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Copy, QKeySequence::Cut,
             QKeySequence::Paste, QKeySequence::SelectAll }) {
        if (event->matches(editing)) {
            QLineEdit::keyPressEvent(event);
            return;
        }
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && !isEntryText(typed)) {
        event->accept(); // any other character is discarded
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool FrequencyBox::event(QEvent* event)
{
    // The box's own editing keys are not the window's Edit commands.
    if (event->type() == QEvent::ShortcutOverride && isCtrlY(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void FrequencyBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!m_pending) return;
    // Menus, popups and other windows borrow the focus; the edit stays open for the user's return.
    switch (event->reason()) {
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
    case Qt::ActiveWindowFocusReason:
        return;
    default:
        break;
    }
    const QWidget* next = QApplication::focusWidget();
    if (!next || next->window() != window()) return;
    commitOnLeaving();
}

} // namespace korvane::app
