#include "app/signal_dialog.h"

#include "app/input_rules.h"
#include "core/model/signalling_entry.h"
#include "core/util/decimal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace korvane::app {

namespace {

QString fromStd(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString kindWordOf(model::SignallingKind kind) { return fromStd(model::kindWord(kind)); }

// The whole number a field's corrected text stands for, in the units of the choice.
std::int64_t scaledValue(const QString& text, int scale)
{
    const auto value = util::parseDecimal(text.toStdString(), scale);
    return value ? value->value : 0;
}

} // namespace

QPoint signalDialogPosition(QPoint cellBottomRight, int cellHeight, QSize dialogSize, const QRect& screen)
{
    int left = cellBottomRight.x();
    int top = cellBottomRight.y();
    if (top + dialogSize.height() > screen.bottom() + 1) top = cellBottomRight.y() - cellHeight - dialogSize.height();
    left = std::clamp(left, screen.left(), std::max(screen.left(), screen.right() + 1 - dialogSize.width()));
    top = std::clamp(top, screen.top(), std::max(screen.top(), screen.bottom() + 1 - dialogSize.height()));
    return { left, top };
}

SignalDialog::SignalDialog(UserDialogs& dialogs, QString dataFolder, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_dataFolder(std::move(dataFolder))
{
    setObjectName("frmSignal");
    setWindowTitle(QStringLiteral("信令设置"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    m_fraChRxdec = new QGroupBox(QStringLiteral("信令"), this);
    m_fraChRxdec->setObjectName("fraChRxdec");
    const char* const captions[] = { "2-Tone", "CTCSS", "CDCSS", "OFF" };
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(captions[i]), m_fraChRxdec);
        option->setObjectName("optChSignaling");
        option->setProperty("index", i);
        m_optChSignaling[static_cast<std::size_t>(i)] = option;
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) optionClicked(i);
        });
    }
    m_cboChQT = new ToneCombo(m_fraChRxdec);
    m_cboChQT->setObjectName("cboChQT");
    m_cboChQT->setEditText(QString::fromLatin1(model::kDefaultCtcssText.data()));
    m_cboChQT->beforePopup = [this] { fillList(m_cboChQT, files::ToneList::Ctcss); };
    m_cboChDQT = new ToneCombo(m_fraChRxdec);
    m_cboChDQT->setObjectName("cboChDQT");
    m_cboChDQT->setEditText(QString::fromLatin1(model::kDefaultCdcssText.data()));
    m_cboChDQT->beforePopup = [this] { fillList(m_cboChDQT, files::ToneList::Cdcss); };
    // A paste or an input method brings in only what the keys would have let through.
    m_cboChQT->setValidator(new TypedTextValidator(
        [](char32_t c, std::size_t length) { return model::ctcssKeyPasses(c, length, false); }, m_cboChQT));
    m_cboChDQT->setValidator(new TypedTextValidator(
        [](char32_t c, std::size_t length) { return model::cdcssKeyPasses(c, length, false); }, m_cboChDQT));
    for (ToneCombo* list : { m_cboChQT, m_cboChDQT })
        list->lineEdit()->setContextMenuPolicy(Qt::PreventContextMenu);
    m_chkChIvDQT = new QCheckBox(QStringLiteral("CDCSS反向"), m_fraChRxdec);
    m_chkChIvDQT->setObjectName("chkChIvDQT");
    m_cboChTwoTone = new QComboBox(m_fraChRxdec);
    m_cboChTwoTone->setObjectName("cboChTwoTone");
    for (int n = 0; n <= 9; ++n)
        m_cboChTwoTone->addItem(QString::number(n));
    // The 2-Tone choice only carries a 2-Tone signalling through the dialog; it is never shown.
    m_optChSignaling[TwoTone]->hide();
    m_cboChTwoTone->hide();

    auto* grid = new QGridLayout(m_fraChRxdec);
    grid->setHorizontalSpacing(12);
    grid->addWidget(m_optChSignaling[Ctcss], 0, 0);
    grid->addWidget(m_cboChQT, 0, 1);
    grid->addWidget(m_optChSignaling[Cdcss], 1, 0);
    grid->addWidget(m_cboChDQT, 1, 1);
    grid->addWidget(m_chkChIvDQT, 1, 2);
    grid->addWidget(m_optChSignaling[Off], 2, 0);
    grid->setColumnMinimumWidth(1, 96);

    m_cmdOK = new QPushButton(QStringLiteral("确定"), this);
    m_cmdOK->setObjectName("cmdOK");
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    m_cmdCancel->setObjectName("cmdCancel");
    m_cmdCancel->setAutoDefault(false);
    connect(m_cmdOK, &QPushButton::clicked, this, &SignalDialog::ok);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    pressFocusedButtonOnEnter({ m_cmdOK, m_cmdCancel });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fraChRxdec);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* const order[] = { m_optChSignaling[Ctcss], m_cboChQT, m_optChSignaling[Cdcss], m_cboChDQT, m_chkChIvDQT,
        m_optChSignaling[Off], m_cmdOK, m_cmdCancel };
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void SignalDialog::setMSignal(int kind) { m_mSignal = std::clamp(kind, 0, 8); }

model::SignallingChoice SignalDialog::choice() const
{
    return { static_cast<model::SignallingKind>(m_mSignal), m_dSignal };
}

void SignalDialog::placeBeside(QPoint cellBottomRight, int cellHeight, const QRect& screen)
{
    m_cellCorner = cellBottomRight;
    m_cellHeight = cellHeight;
    m_screen = screen;
}

void SignalDialog::showEvent(QShowEvent* event)
{
    if (!m_loaded) {
        m_loaded = true;
        formLoad();
        // Only now is the dialog's size final; its frame counts as well.
        if (m_cellCorner) move(signalDialogPosition(*m_cellCorner, m_cellHeight, frameGeometry().size(), m_screen));
    }
    QDialog::showEvent(event);
}

void SignalDialog::formLoad()
{
    m_cboChTwoTone->setEnabled(false);
    m_cboChTwoTone->setCurrentIndex(0);
    m_cboChQT->setEnabled(false);
    m_cboChDQT->setEnabled(false);
    m_chkChIvDQT->setEnabled(false);
    m_cancelPressed = true;

    QWidget* focus = nullptr;
    switch (m_mSignal) {
    case 0:
        m_optChSignaling[Off]->setChecked(true);
        focus = m_optChSignaling[Off];
        break;
    case 3:
        m_cboChQT->setEditText(fromStd(model::formatCtcssTenths(m_dSignal)));
        m_optChSignaling[Ctcss]->setChecked(true);
        m_cboChQT->setEnabled(true);
        focus = m_cboChQT;
        break;
    case 5:
    case 7:
        m_cboChDQT->setEditText(fromStd(model::formatCdcssDigits(m_dSignal)));
        m_optChSignaling[Cdcss]->setChecked(true);
        m_cboChDQT->setEnabled(true);
        m_chkChIvDQT->setEnabled(true);
        m_chkChIvDQT->setChecked(m_mSignal == 7);
        focus = m_cboChDQT;
        break;
    case 8:
        if (m_dSignal >= 0 && m_dSignal <= 9) m_cboChTwoTone->setCurrentIndex(static_cast<int>(m_dSignal));
        m_optChSignaling[TwoTone]->setChecked(true);
        m_cboChTwoTone->setEnabled(true);
        break;
    default:
        break;
    }
    if (auto* list = qobject_cast<QComboBox*>(focus)) list->lineEdit()->selectAll();
    (focus ? focus : m_cmdOK)->setFocus(Qt::OtherFocusReason);
}

void SignalDialog::optionClicked(int index)
{
    m_cboChTwoTone->setEnabled(index == TwoTone);
    m_cboChQT->setEnabled(index == Ctcss);
    m_cboChDQT->setEnabled(index == Cdcss);
    m_chkChIvDQT->setEnabled(index == Cdcss);
}

void SignalDialog::fillList(QComboBox* list, files::ToneList which)
{
    if (list->count() > 0) return;
    const QString path = QDir(m_dataFolder).filePath(fromStd(files::toneListFileName(which)));
    const auto entries = files::readToneList(QFile::encodeName(path).toStdString());
    if (!entries) {
        m_dialogs.showMessage(this, files::toneListDamaged(which));
        return;
    }
    // Filling the list must not replace what the field shows.
    const QString shown = list->currentText();
    const QSignalBlocker quiet(list);
    for (const std::string& entry : *entries)
        list->addItem(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
    list->setCurrentIndex(list->findText(shown, Qt::MatchExactly));
    list->setEditText(shown);
}

bool SignalDialog::filterKey(QComboBox* list, QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.isEmpty() || event->key() == Qt::Key_Delete)
        return false; // not a character: editing and moving keys always work
    const QLineEdit* edit = list->lineEdit();
    const auto length = static_cast<std::size_t>(edit->text().size());
    const bool selected = edit->hasSelectedText();
    const char32_t c = typed.toUcs4().value(0);
    const bool passes
        = list == m_cboChQT ? model::ctcssKeyPasses(c, length, selected) : model::cdcssKeyPasses(c, length, selected);
    return !passes;
}

bool SignalDialog::validate(QComboBox* list)
{
    const std::string text = list->currentText().toStdString();
    const model::FieldCheck check = list == m_cboChQT ? model::checkCtcssText(text) : model::checkCdcssText(text);
    if (check.message) m_dialogs.showMessage(this, *check.message);
    list->setEditText(QString::fromStdString(check.text));
    return check.keepFocus;
}

void SignalDialog::leaving(QComboBox* list, QFocusEvent* event)
{
    switch (event->reason()) {
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
    case Qt::ActiveWindowFocusReason:
        return; // the list's own drop-down, a message box or another window
    default:
        break;
    }
    QWidget* next = QApplication::focusWidget();
    if (!next || next->window() != this || next == list || list->isAncestorOf(next)) return;
    if (next == m_cmdCancel) return; // leaving for Cancel never checks the field
    if (!validate(list)) return;
    list->setFocus(Qt::OtherFocusReason);
    list->lineEdit()->selectAll();
    // The click that tried to take the focus away does nothing.
    m_swallowPress = event->reason() == Qt::MouseFocusReason;
}

bool SignalDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        if (m_swallowPress) {
            m_swallowPress = false;
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }
    QComboBox* list = nullptr;
    for (QComboBox* field : { static_cast<QComboBox*>(m_cboChQT), static_cast<QComboBox*>(m_cboChDQT) })
        if (watched == field || watched == field->lineEdit()) list = field;
    if (!list) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) return filterKey(list, static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut) leaving(list, static_cast<QFocusEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

void SignalDialog::ok()
{
    if (m_optChSignaling[TwoTone]->isChecked()) {
        // The number the record held goes back unchanged, whatever it is.
        m_mSignal = static_cast<int>(model::SignallingKind::TwoTone);
        m_sSignal = kindWordOf(model::SignallingKind::TwoTone);
    } else if (m_optChSignaling[Ctcss]->isChecked()) {
        validate(m_cboChQT);
        m_mSignal = static_cast<int>(model::SignallingKind::Ctcss);
        m_sSignal = kindWordOf(model::SignallingKind::Ctcss);
        m_dSignal = scaledValue(m_cboChQT->currentText(), 1);
    } else if (m_optChSignaling[Off]->isChecked()) {
        m_mSignal = static_cast<int>(model::SignallingKind::Off);
        m_sSignal = kindWordOf(model::SignallingKind::Off);
    } else {
        validate(m_cboChDQT);
        m_dSignal = scaledValue(m_cboChDQT->currentText(), 0);
        const auto kind
            = m_chkChIvDQT->isChecked() ? model::SignallingKind::InvertedCdcss : model::SignallingKind::Cdcss;
        m_mSignal = static_cast<int>(kind);
        m_sSignal = kindWordOf(kind);
    }
    m_cancelPressed = false;
    accept();
}

} // namespace korvane::app
