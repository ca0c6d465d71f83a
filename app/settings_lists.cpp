#include "app/settings_lists.h"

#include "app/input_rules.h"

#include <QGridLayout>
#include <QLabel>

namespace korvane::app {

namespace {

using model::SettingsList;

struct ListSpec {
    SettingsList which;
    const char* listName;
    const char* labelName;
    bool scanFrame;
};

constexpr ListSpec kSpecs[] = {
    { SettingsList::Monitor, "cboFuncMoni", "lblFuncMoni", false },
    { SettingsList::TimeOut, "cboFuncTOT", "lblFuncTOT", false },
    { SettingsList::Squelch, "cboFuncSQL", "lblFuncSQL", false },
    { SettingsList::Beep, "cboFuncBeep", "lblFuncBeep", false },
    { SettingsList::BatterySave, "cboFuncSave", "lblFuncSave", false },
    { SettingsList::Spacing, "cboFuncBand", "lblFuncBand", false },
    { SettingsList::ScanMode, "cboScanOption", "lblScanOption", true },
    { SettingsList::Priority, "cboScanPriority", "lblScanPriority", true },
    { SettingsList::ScanBack, "cboScanBack", "lblScanBack", true },
    { SettingsList::Revert, "cboScanRevert", "lblScanRevert", true },
    { SettingsList::Dwell, "cboScanDelay", "lblScanDelay", true },
};

} // namespace

SettingsLists::SettingsLists(ImageDocument& document, QWidget* parent)
    : QObject(parent)
    , m_document(document)
    , m_image(document.image())
    , m_function(new QGroupBox(QStringLiteral("功能设置"), parent))
    , m_scan(new QGroupBox(QStringLiteral("扫描参数设置"), parent))
{
    m_function->setObjectName("fraFunction");
    m_scan->setObjectName("fraScan");
    auto* functionGrid = new QGridLayout(m_function);
    auto* scanGrid = new QGridLayout(m_scan);
    int functionCount = 0;
    int scanCount = 0;
    for (const ListSpec& spec : kSpecs) {
        QGroupBox* frame = spec.scanFrame ? m_scan : m_function;
        QGridLayout* grid = spec.scanFrame ? scanGrid : functionGrid;
        int& n = spec.scanFrame ? scanCount : functionCount;
        auto* label = new QLabel(QString::fromStdString(std::string(model::settingsListCaption(spec.which))) + QStringLiteral("："), frame);
        label->setObjectName(spec.labelName);
        auto* combo = new QComboBox(frame);
        combo->setObjectName(spec.listName);
        for (const std::string& entry : model::settingsEntries(spec.which))
            combo->addItem(QString::fromStdString(entry));
        combo->setCurrentIndex(-1);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents); // never narrower than its longest entry
        wheelOnlyWithFocus(combo); // a wheel passing over scrolls the window instead
        // Two pairs of label and list a row.
        grid->addWidget(label, n / 2, (n % 2) * 2, Qt::AlignRight);
        grid->addWidget(combo, n / 2, (n % 2) * 2 + 1);
        ++n;
        m_lists[static_cast<int>(spec.which)] = combo;
        connect(combo, &QComboBox::activated, this, [this, which = spec.which] { choose(which); });
    }
}

void SettingsLists::showSettings()
{
    for (SettingsList which : model::kRefreshOrder) {
        const auto position = model::decodeSetting(which, m_image.settings);
        list(which)->setCurrentIndex(position.value_or(-1));
        choose(which);
    }
}

void SettingsLists::choose(SettingsList which)
{
    QComboBox* combo = list(which);
    const int position = combo->currentIndex();
    if (position < 0) {
        combo->setToolTip(QString());
        return;
    }
    // Choosing 12.5 kHz makes every channel Narrow in the same step.
    m_document.edit([&](model::RadioImage& image) {
        model::encodeSetting(which, image.settings, position);
        if (which == SettingsList::Spacing && position == 1 && onNarrowAll) onNarrowAll();
    });
    combo->setToolTip(combo->currentText());
}

bool SettingsLists::anyListEmpty() const
{
    for (const QComboBox* combo : m_lists)
        if (combo->currentIndex() < 0)
            return true;
    return false;
}

bool SettingsLists::spacingIs25() const { return list(SettingsList::Spacing)->currentIndex() == 0; }

} // namespace korvane::app
