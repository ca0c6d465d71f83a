#pragma once
// The eleven radio-wide settings lists in the frames `fraFunction` and `fraScan`. Choosing an
// entry writes its field into the settings block at once; showing the image selects every list
// and runs its choice action even when the selection does not change.

#include "app/image_document.h"
#include "core/model/radio_image.h"
#include "core/model/settings_fields.h"

#include <QComboBox>
#include <QGroupBox>

#include <array>
#include <functional>

namespace korvane::app {

class SettingsLists : public QObject {
    Q_OBJECT
public:
    SettingsLists(ImageDocument& document, QWidget* parent);

    QGroupBox* functionFrame() const { return m_function; }
    QGroupBox* scanFrame() const { return m_scan; }
    QComboBox* list(model::SettingsList which) const { return m_lists[static_cast<int>(which)]; }

    // Selects in every list what the settings block holds, in the refresh order, running each
    // choice action. A field no entry can show leaves its list empty and its byte as it is.
    void showSettings();
    // The choice action: writes the selected entry's field and sets the tooltip.
    void choose(model::SettingsList which);
    bool spacingIs25() const;
    // Some list shows no entry: its field holds a value no entry stands for.
    bool anyListEmpty() const;

    // Run when "12.5kHz" is chosen: every channel becomes Narrow.
    std::function<void()> onNarrowAll;

private:
    ImageDocument& m_document;
    const model::RadioImage& m_image;
    QGroupBox* m_function;
    QGroupBox* m_scan;
    std::array<QComboBox*, 11> m_lists {};
};

} // namespace korvane::app
