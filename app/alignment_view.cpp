#include "app/alignment_view.h"

#include "app/frequency_box.h"
#include "app/grid_colours.h"
#include "app/steps_while_sending.h"
#include "app/twips.h"
#include "core/link/alignment_items.h"
#include "core/link/link_target.h"
#include "core/link/test_channel_text.h"
#include "core/model/channel_view.h"
#include "core/model/frequency_codec.h"
#include "core/model/frequency_entry.h"
#include "core/model/signalling_codec.h"

#include <QApplication>
#include <QShortcut>
#include <QThread>

#include <array>
#include <utility>

namespace korvane::app {

namespace {

using namespace colours;

constexpr int kRows = model::kAlignmentRecords + 1;
constexpr int kColumns = 7;

// The grid's designed cell size (twips) that its layout scales.
constexpr long kDesignedColumnWidth = 1200;
constexpr long kDesignedRowHeight = 360;
// The frequency boxes sit a little right of their column and reach a little past it.
constexpr long kBoxInset = 30;
constexpr long kBoxWidthChange = 20;

constexpr int kTreeWidth = 190;
constexpr int kGap = 10;
constexpr int kFrameInset = 10; // from the frame's edges to what it holds
constexpr int kModelLineHeight = 26;

constexpr int kTuneMaximum = 255;
constexpr int kTuneSmallChange = 1;
constexpr int kTuneLargeChange = 5;

const char* const kHeaders[kColumns] = {
    " 频率项",
    "  接收频率         (MHz)",
    "步进 (kHz)",
    "   接收信令",
    "  发射频率         (MHz)",
    "步进 (kHz)",
    "  发射信令",
};
const char* const kRowCaptions[model::kAlignmentRecords] = { " 高端频率", " 中心频率", " 低端频率" };

// The tree, in its order: the twelve items list the sensitivities before the squelch levels.
const std::array<std::pair<const char*, const char*>, link::kAlignmentItemCount> kItemNodes { {
    { "txFreq", "发射频率" },
    { "txpower", "发射功率" },
    { "batref", "电池低压电平" },
    { "censen", "中心接收灵敏度" },
    { "lowsen", "低端接收灵敏度" },
    { "highsen", "高端接收灵敏度" },
    { "sql9", "第9级静噪电平" },
    { "sql3", "第3级静噪电平" },
    { "qtdevw", "CTCSS 频偏(宽带)" },
    { "qtdevn", "CTCSS 频偏(窄带)" },
    { "dqtdevw", "CDCSS 频偏(宽带)" },
    { "dqtdevn", "CDCSS 频偏(窄带)" },
} };

QTreeWidgetItem* makeNode(const QString& key, const QString& caption)
{
    auto* item = new QTreeWidgetItem(QStringList { caption });
    item->setData(0, Qt::UserRole, key);
    return item;
}

model::Side sideOfColumn(int column) { return column <= 3 ? model::Side::Receive : model::Side::Transmit; }

QLabel* label(const QString& text, QWidget* parent, const QString& name = QString())
{
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty()) l->setObjectName(name);
    return l;
}

} // namespace

AlignmentView::AlignmentView(
    ImageDocument& document, AppState& state, UserDialogs& dialogs, const PortFactory& makePort, QWidget* parent)
    : QWidget(parent)
    , m_document(document)
    , m_image(document.image())
    , m_state(state)
    , m_dialogs(dialogs)
    , m_port(makePort())
{
    setObjectName("alignmentView");
    buildTree();
    m_fraTuneSet = new QGroupBox(QStringLiteral("tune"), this);
    m_fraTuneSet->setObjectName("fraTuneSet");
    m_lblRadio = label(QString(), m_fraTuneSet, "lblRadio");
    m_lblFreqRange = label(QString(), m_fraTuneSet, "lblFreqRange");
    buildGrid();
    buildTuneFrame();
    layoutGrid();

    m_tree->hide();
    m_fraTuneSet->hide();
    m_fraTune->hide();
    hide();
}

AlignmentView::~AlignmentView() = default;

void AlignmentView::buildTree()
{
    m_tree = new ItemTree(this);
    m_tree->setObjectName("TreeView2");
    m_tree->addTopLevelItem(makeNode("testfreq", QStringLiteral("调整频率设置")));
    QTreeWidgetItem* adjust = makeNode("adjust", QStringLiteral("各调整项"));
    m_tree->addTopLevelItem(adjust);
    for (const auto& [key, caption] : kItemNodes)
        adjust->addChild(makeNode(QString::fromLatin1(key), QString::fromUtf8(caption)));
    m_tree->addTopLevelItem(makeNode("exit", QStringLiteral("退出调整")));
    adjust->setExpanded(true);
    m_tree->setCurrentItem(m_tree->topLevelItem(0));
    m_tree->onNodeClick = [this](const QString& key) { nodeClick(key); };
}

void AlignmentView::buildGrid()
{
    m_grid = new RecordGrid(kRows, kColumns, m_fraTuneSet);
    m_grid->setObjectName("gridTuneFreq");
    for (int c = 0; c < kColumns; ++c) {
        m_grid->setText(0, c, QString::fromUtf8(kHeaders[c]));
        m_grid->setEmphasis(0, c, true);
        m_grid->item(0, c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        const bool centred = c == 2 || c == 5;
        if (c > 0) m_grid->setColumnAlignment(c, (centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    for (int r = 1; r < kRows; ++r) {
        m_grid->setText(r, 0, QString::fromUtf8(kRowCaptions[r - 1]));
        m_grid->setEmphasis(r, 0, true);
        m_grid->item(r, 0)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_grid->setCurrentCell(1, 1);

    m_grid->onEnter = [this] { m_grid->moveToNextCell(); };
    m_grid->onSpace = [this] { editTuneCell(); };
    m_grid->onDataCellRelease = [this] { editTuneCell(); };

    const auto target = [this](model::Side side, int column) {
        return imageTableTarget(m_grid, m_document, &model::RadioImage::alignment, m_state, side, column, {});
    };
    m_txtRecTuneFreq = new FrequencyBox("txtRecTuneFreq", target(model::Side::Receive, 1), m_dialogs);
    m_txtTxTuneFreq = new FrequencyBox("txtTxTuneFreq", target(model::Side::Transmit, 4), m_dialogs);
}

void AlignmentView::buildTuneFrame()
{
    m_fraTune = new QGroupBox(m_fraTuneSet);
    m_fraTune->setObjectName("fraTune");

    const std::pair<const char*, QLabel**> lines[] = {
        { "接收频率：", &m_lblTRxFreq2 },
        { "接收信令：", &m_lblTRxSgl2 },
        { "发射频率：", &m_lblTTxFreq2 },
        { "发射信令：", &m_lblTTxSgl2 },
    };
    const char* const names[] = { "lblTRxFreq2", "lblTRxSgl2", "lblTTxFreq2", "lblTTxSgl2" };
    constexpr int kLineLeft = 30;
    constexpr int kLineTop = 30;
    constexpr int kLinePitch = 26;
    constexpr int kCaptionWidth = 80;
    constexpr int kColumnPitch = 250;
    for (int i = 0; i < 4; ++i) {
        const int left = kLineLeft + (i / 2) * kColumnPitch;
        const int top = kLineTop + (i % 2) * kLinePitch;
        label(QString::fromUtf8(lines[i].first), m_fraTune)->setGeometry(left, top, kCaptionWidth, 22);
        *lines[i].second = label(QString(), m_fraTune, names[i]);
        (*lines[i].second)->setGeometry(left + kCaptionWidth, top, kColumnPitch - kCaptionWidth - 10, 22);
    }

    const int valueTop = kLineTop + 2 * kLinePitch + 24;
    QLabel* valueCaption = label(QStringLiteral("调 整 值："), m_fraTune, "lblTuneValue1");
    valueCaption->setGeometry(kLineLeft, valueTop, kCaptionWidth, 26);
    m_lblTuneValue2 = label(QStringLiteral("0"), m_fraTune, "lblTuneValue2");
    QFont valueFont(QStringLiteral("Arial"), 12);
    valueFont.setBold(true);
    m_lblTuneValue2->setFont(valueFont);
    m_lblTuneValue2->setGeometry(kLineLeft + kCaptionWidth, valueTop, 80, 26);

    m_hsbTune = new TuneScrollBar(m_fraTune);
    m_hsbTune->setObjectName("hsbTune");
    m_hsbTune->setRange(0, kTuneMaximum);
    m_hsbTune->setSingleStep(kTuneSmallChange);
    m_hsbTune->setPageStep(kTuneLargeChange);
    m_hsbTune->setFocusPolicy(Qt::StrongFocus);
    m_hsbTune->setGeometry(kLineLeft, valueTop + 36, 2 * kColumnPitch - 20, 22);
    connect(m_hsbTune, &QScrollBar::valueChanged, this, [this] {
        if (!m_settingBar) hsbTuneChange();
    });
    m_hsbTune->onSteps = [this](QAbstractSlider::SliderAction step, int count) { takeTuneSteps(step, count); };

    m_cmdTuneOK = new QPushButton(QStringLiteral("确定"), m_fraTune);
    m_cmdTuneOK->setObjectName("cmdTuneOK");
    m_cmdTuneOK->setToolTip(QStringLiteral("按此键保存改变"));
    m_cmdTuneCancel = new QPushButton(QStringLiteral("取消"), m_fraTune);
    m_cmdTuneCancel->setObjectName("cmdTuneCancel");
    m_cmdTuneCancel->setToolTip(QStringLiteral("按此键取消改变"));
    const int buttonTop = valueTop + 80;
    m_cmdTuneOK->setGeometry(kLineLeft + 2 * kColumnPitch - 20 - 2 * 90 - 10, buttonTop, 90, 28);
    m_cmdTuneCancel->setGeometry(kLineLeft + 2 * kColumnPitch - 20 - 90, buttonTop, 90, 28);
    connect(m_cmdTuneOK, &QPushButton::clicked, this, &AlignmentView::cmdTuneOKClick);
    connect(m_cmdTuneCancel, &QPushButton::clicked, this, &AlignmentView::cmdTuneCancelClick);
    m_fraTune->resize(2 * kLineLeft + 2 * kColumnPitch - 20, buttonTop + 28 + 20);

    // OK is the default: Enter anywhere in the window means OK while the frame shows, except on
    // the Cancel button, which Enter presses as it would any focused button.
    for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Enter }) {
        auto* shortcut = new QShortcut(QKeySequence(key), m_fraTune);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (m_cmdTuneCancel->hasFocus())
                m_cmdTuneCancel->click();
            else
                m_cmdTuneOK->click();
        });
    }
    // Escape means Cancel, as in any dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_fraTune);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, m_cmdTuneCancel, &QPushButton::click);
}

void AlignmentView::layoutGrid()
{
    const auto width = [this](double factor) {
        return pxX(this, roundHalfEven(factor * static_cast<double>(kDesignedColumnWidth)));
    };
    const int header = pxY(this, roundHalfEven(2.2 * static_cast<double>(kDesignedRowHeight)));
    const int row = pxY(this, roundHalfEven(1.3 * static_cast<double>(kDesignedRowHeight)));
    const int widths[kColumns]
        = { width(1.05), width(1.1), width(0.6), width(1.2), width(1.1), width(0.6), width(1.2) };
    for (int c = 0; c < kColumns; ++c)
        m_grid->setColumnWidth(c, widths[c]);
    m_grid->setRowHeight(0, header);
    for (int r = 1; r < kRows; ++r)
        m_grid->setRowHeight(r, row);
    m_grid->fitTo(widths[0] / 8, header / 5);
    for (FrequencyBox* box : { m_txtRecTuneFreq, m_txtTxTuneFreq })
        box->placeOverColumn(kBoxInset, kBoxWidthChange);

    const int inner = m_grid->width();
    const int modelTop = 24;
    label(QStringLiteral("机  型 ："), m_fraTuneSet)->setGeometry(kFrameInset, modelTop, 70, kModelLineHeight);
    m_lblRadio->setGeometry(kFrameInset + 70, modelTop, 160, kModelLineHeight);
    label(QStringLiteral("频率范围："), m_fraTuneSet)->setGeometry(kFrameInset + 250, modelTop, 80, kModelLineHeight);
    m_lblFreqRange->setGeometry(kFrameInset + 330, modelTop, inner - 330, kModelLineHeight);
    const int contentTop = modelTop + kModelLineHeight + 8;
    m_grid->move(kFrameInset, contentTop);
    m_fraTune->move(kFrameInset, contentTop);
    m_fraTune->resize(std::max(inner, m_fraTune->width()), m_fraTune->height());
    const int frameWidth = std::max(inner, m_fraTune->width()) + 2 * kFrameInset;
    const int frameHeight = contentTop + std::max(m_grid->height(), m_fraTune->height()) + kFrameInset;
    m_fraTuneSet->setGeometry(kTreeWidth + kGap, 0, frameWidth, frameHeight);
    m_tree->setGeometry(0, 0, kTreeWidth, std::max(frameHeight, 330));
    resize(m_fraTuneSet->geometry().right() + 1, m_tree->height());
}

void AlignmentView::enterView()
{
    show();
    m_tree->show();
    m_fraTuneSet->show();
    m_grid->show();
}

void AlignmentView::leaveView()
{
    if (itemOpen()) cmdTuneCancelClick();
    m_fraTuneSet->hide();
    m_tree->hide();
    hide();
}

void AlignmentView::showModel(const QString& model, const QString& band)
{
    m_lblRadio->setText(model);
    m_lblFreqRange->setText(band);
}

void AlignmentView::fillTuneGrid()
{
    for (int row = 1; row < kRows; ++row) {
        const model::Record& r = m_image.alignment[static_cast<std::size_t>(row - 1)];
        for (const model::Side side : { model::Side::Receive, model::Side::Transmit }) {
            const int first = side == model::Side::Receive ? 1 : 4;
            m_grid->setText(row, first, QString::fromStdString(model::formatFrequency(r, side)));
            m_grid->setForeground(row, first, kBlack);
            const QString step = QString::fromUtf8(model::stepText(model::isStep625(r, side)).data());
            m_grid->setText(row, first + 1, step);
            m_grid->setBackground(row, first + 1, stepBackground(step));
            const QString signalling = QString::fromStdString(model::formatSignalling(r, side));
            m_grid->setText(row, first + 2, signalling);
            m_grid->setForeground(row, first + 2, kBlue);
            m_grid->setBackground(row, first + 2, onOffBackground(signalling));
        }
    }
}

void AlignmentView::nodeClick(const QString& key)
{
    if (key == "testfreq") {
        if (!m_grid->isHidden()) return;
        if (itemOpen()) cmdTuneCancelClick();
        m_fraTune->hide();
        m_grid->show();
        return;
    }
    if (key == "exit") {
        if (itemOpen()) cmdTuneCancelClick();
        m_tree->hide();
        m_fraTuneSet->hide();
        if (m_hooks.leaveView) m_hooks.leaveView();
        return;
    }
    const auto item = link::alignmentItemForKey(key.toStdString());
    if (!item) return; // "adjust" is only a heading
    m_item = item->index;
    m_frameCaption = QString::fromUtf8(item->frameCaption.data(), static_cast<qsizetype>(item->frameCaption.size()));
    m_grid->hide();
    startAlignmentItem();
}

void AlignmentView::startAlignmentItem()
{
    const link::LinkTarget target = m_state.linkTarget();
    const int item = m_item;
    const int modelIndex = m_image.modelIndex;
    const model::AlignmentTable table = m_image.alignment;
    link::AlignmentStart started;
    if (m_hooks.runLink)
        m_hooks.runLink([&](link::LinkUi& ui) { started = m_session.start(target, item, modelIndex, table, ui); });
    if (started.fiveKhzForm) m_state.fiveKhzForm = *started.fiveKhzForm;
    if (!started.success()) {
        // A frame left from an earlier item must not stay to send to a closed port.
        m_fraTune->hide();
        return;
    }
    // The start has sent the radio's own value already: the bar only shows it.
    m_settingBar = true;
    m_hsbTune->setValue(started.value);
    m_settingBar = false;
    m_lblTuneValue2->setText(QString::number(started.value));
    m_fraTune->setTitle(m_frameCaption);
    showTestChannel(m_image.alignment[static_cast<std::size_t>(link::testChannelRecord(item))]);
    m_fraTune->show();
    m_cmdTuneOK->setDefault(true);
}

void AlignmentView::hsbTuneChange()
{
    m_sendingChange = true;
    do
        sendTuneValue();
    while (moveToNextTuneStep());
    m_sendingChange = false;
}

void AlignmentView::takeTuneSteps(QAbstractSlider::SliderAction step, int count)
{
    m_tuneSteps.insert(m_tuneSteps.end(), static_cast<std::size_t>(count), step);
    if (!m_sendingChange && moveToNextTuneStep()) hsbTuneChange();
}

// The next waiting step that moves the bar (one at either end moves nothing and sends nothing).
bool AlignmentView::moveToNextTuneStep()
{
    while (!m_tuneSteps.empty()) {
        const QAbstractSlider::SliderAction step = m_tuneSteps.front();
        m_tuneSteps.pop_front();
        const int before = m_hsbTune->value();
        m_settingBar = true;
        m_hsbTune->triggerAction(step);
        m_settingBar = false;
        if (m_hsbTune->value() != before) return true;
    }
    return false;
}

void AlignmentView::sendTuneValue()
{
    const int value = m_hsbTune->value();
    m_lblTuneValue2->setText(QString::number(value));
    const model::AlignmentTable table = m_image.alignment;
    const bool fiveKhzForm = m_state.fiveKhzForm;
    StepsWhileSending steps(*m_hsbTune);
    if (m_hooks.runLink) {
        m_hooks.runLink([&](link::LinkUi&) {
            // In front of the runner's filter, which is in place by now.
            const auto keepSteps = [&steps] { qApp->installEventFilter(&steps); };
            if (QThread::currentThread() == thread())
                keepSteps();
            else
                QMetaObject::invokeMethod(this, keepSteps, Qt::BlockingQueuedConnection);
            m_session.change(table, fiveKhzForm, static_cast<std::uint8_t>(value));
        });
    }
    qApp->removeEventFilter(&steps);
    if (QWidget* w = window()) w->repaint();
}

void AlignmentView::cmdTuneOKClick() { endItem(link::ItemEnd::Keep); }

void AlignmentView::cmdTuneCancelClick() { endItem(link::ItemEnd::Restore); }

void AlignmentView::endItem(link::ItemEnd how)
{
    if (m_hooks.runLink) m_hooks.runLink([&](link::LinkUi&) { m_session.end(how); });
    m_fraTune->hide();
}

void AlignmentView::showTestChannel(const model::Record& record)
{
    const link::TestChannelText shown = link::testChannelText(record);
    m_lblTRxFreq2->setText(QString::fromStdString(shown.receiveFrequency));
    m_lblTRxSgl2->setText(QString::fromStdString(shown.receiveSignalling));
    m_lblTTxFreq2->setText(QString::fromStdString(shown.transmitFrequency));
    m_lblTTxSgl2->setText(QString::fromStdString(shown.transmitSignalling));
}

void AlignmentView::editTuneCell()
{
    const int row = m_grid->currentRow();
    const int column = m_grid->currentColumn();
    if (row < 1 || column < 1) return;
    switch (column) {
    case 1:
        m_txtRecTuneFreq->open(row);
        return;
    case 4:
        m_txtTxTuneFreq->open(row);
        return;
    case 2:
    case 5:
        toggleStep(row, column);
        return;
    default:
        if (m_hooks.editSignalling) m_hooks.editSignalling(m_grid->text(row, column), sideOfColumn(column));
        return;
    }
}

void AlignmentView::toggleStep(int row, int column)
{
    const model::Side side = sideOfColumn(column);
    m_document.edit([&](model::RadioImage& image) {
        model::Record& record = image.alignment[static_cast<std::size_t>(row - 1)];
        const bool to625 = m_grid->text(row, column) != "6.25";
        model::setBit(record[static_cast<std::size_t>(model::flagByte(side))], model::kStepBit, to625);
        m_grid->setText(row, column, to625 ? "6.25" : "2.50");
        m_grid->setBackground(row, column, to625 ? kLavender : kPaleLavender);
        const std::string shown = m_grid->text(row, column - 1).toStdString();
        const std::string snapped = model::snapFrequencyToStep(shown, record, side, image.modelIndex);
        m_grid->setText(row, column - 1, QString::fromStdString(snapped));
    });
}

void AlignmentView::dropEdits()
{
    m_txtRecTuneFreq->drop();
    m_txtTxTuneFreq->drop();
}

} // namespace korvane::app
