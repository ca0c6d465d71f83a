#include "app/bulk_dialog.h"

#include "app/input_rules.h"
#include "app/signal_dialog.h"
#include "core/model/signalling_cell.h"
#include "core/model/signalling_codec.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace korvane::app {

namespace {

const QString kUnchanged = QStringLiteral("不变");

struct ListSpec {
    const char* name;
    const char* caption;
    const char* on; // the entry that sets the field; the other clears it
    const char* off;
};

constexpr ListSpec kLists[] = {
    { "cboBulkRxStep", "接收步进 (kHz)：", "6.25", "2.50" },
    { "cboBulkTxStep", "发射步进 (kHz)：", "6.25", "2.50" },
    { "cboBulkScan", "扫描选择：", "ADD", "DEL" },
    { "cboBulkBusy", "繁忙锁定：", "ON", "OFF" },
    { "cboBulkClock", "时钟偏移：", "ON", "OFF" },
    { "cboBulkWidth", "频率宽度：", "Narrow", "Wide" },
};

} // namespace

BulkDialog::BulkDialog(UserDialogs& dialogs, QString dataFolder, const model::Record& first, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_dataFolder(std::move(dataFolder))
    , m_first(first)
    , m_records { first, first }
{
    setObjectName("frmBulk");
    setWindowTitle(QStringLiteral("批量设置"));
    auto* form = new QFormLayout(this);
    for (const ListSpec& spec : kLists) {
        auto* list = new QComboBox(this);
        list->setObjectName(spec.name);
        list->addItems({ kUnchanged, QString::fromUtf8(spec.on), QString::fromUtf8(spec.off) });
        wheelOnlyWithFocus(list);
        form->addRow(QString::fromUtf8(spec.caption), list);
        if (spec.name == std::string_view("cboBulkTxStep")) {
            for (model::Side side : { model::Side::Receive, model::Side::Transmit }) {
                const bool rx = side == model::Side::Receive;
                auto* button = new QPushButton(kUnchanged, this);
                button->setObjectName(rx ? "cmdBulkRxSignal" : "cmdBulkTxSignal");
                connect(button, &QPushButton::clicked, this, [this, side] { chooseSignalling(side); });
                auto* keep = new QPushButton(QStringLiteral("设为不变"), this);
                keep->setObjectName(rx ? "cmdBulkRxKeep" : "cmdBulkTxKeep");
                keep->setEnabled(false);
                connect(keep, &QPushButton::clicked, this, [this, side] { keepSignalling(side); });
                m_signalling[static_cast<std::size_t>(side)] = button;
                m_keep[static_cast<std::size_t>(side)] = keep;
                auto* row = new QHBoxLayout;
                row->addWidget(button, 1);
                row->addWidget(keep);
                form->addRow(rx ? QStringLiteral("接收信令：") : QStringLiteral("发射信令："), row);
            }
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("cmdOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_accepted = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    pressFocusedButtonOnEnter({ buttons->button(QDialogButtonBox::Ok), buttons->button(QDialogButtonBox::Cancel),
        m_signalling[0], m_signalling[1], m_keep[0], m_keep[1] });
}

QComboBox* BulkDialog::list(const char* name) const { return findChild<QComboBox*>(name); }

void BulkDialog::chooseSignalling(model::Side side)
{
    const auto s = static_cast<std::size_t>(side);
    SignalDialog dialog(m_dialogs, m_dataFolder, this);
    const model::SignallingChoice shown = model::parseSignallingCell(model::formatSignalling(m_records[s], side));
    dialog.setMSignal(static_cast<int>(shown.kind));
    dialog.setSSignal(QString::fromUtf8(model::kindWord(shown.kind).data()));
    dialog.setDSignal(shown.value);
    m_dialogs.runModal(dialog);
    if (dialog.cancelPressed()) return;
    if (const auto written = model::applySignallingChoice(dialog.choice(), m_records[s], side)) {
        m_signallingChosen[s] = true;
        m_signalling[s]->setText(QString::fromStdString(*written));
        m_keep[s]->setEnabled(true);
    }
}

void BulkDialog::keepSignalling(model::Side side)
{
    const auto s = static_cast<std::size_t>(side);
    m_records[s] = m_first;
    m_signallingChosen[s] = false;
    m_signalling[s]->setText(kUnchanged);
    m_signalling[s]->setFocus(Qt::OtherFocusReason); // the focus stays in the row
    m_keep[s]->setEnabled(false);
}

edit::BulkChange BulkDialog::change() const
{
    const auto pick = [this](const char* name) -> std::optional<bool> {
        const int at = list(name)->currentIndex();
        if (at <= 0) return std::nullopt;
        return at == 1;
    };
    edit::BulkChange change;
    change.step625 = { pick("cboBulkRxStep"), pick("cboBulkTxStep") };
    for (std::size_t s = 0; s < 2; ++s)
        if (m_signallingChosen[s]) change.signalling[s] = m_records[s];
    change.scanAdd = pick("cboBulkScan");
    change.busyLock = pick("cboBulkBusy");
    change.clockShift = pick("cboBulkClock");
    change.narrow = pick("cboBulkWidth");
    return change;
}

} // namespace korvane::app
