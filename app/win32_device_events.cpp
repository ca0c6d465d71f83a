#include "app/device_events.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <windows.h>

#include <dbt.h>

namespace korvane::app {

namespace {

class DeviceChangeFilter final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit DeviceChangeFilter(std::function<void()> changed)
        : m_changed(std::move(changed))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~DeviceChangeFilter() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "windows_generic_MSG") return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_DEVICECHANGE && (msg->wParam == DBT_DEVICEARRIVAL || msg->wParam == DBT_DEVICEREMOVECOMPLETE))
            m_changed();
        return false; // others may want it too
    }

private:
    std::function<void()> m_changed;
};

} // namespace

std::unique_ptr<QObject> watchDeviceEvents(std::function<void()> changed)
{
    return std::make_unique<DeviceChangeFilter>(std::move(changed));
}

} // namespace korvane::app
