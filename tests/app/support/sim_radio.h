#pragma once
// A simulated radio in a child process, reached as COM1 through KORVANE_COM1.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace korvane::test {

class SimRadio {
public:
    // Starts korvane-radio-sim with these options and waits for the device it serves.
    explicit SimRadio(const QStringList& options)
    {
        m_process.setProgram(KORVANE_SIM);
        m_process.setArguments(options);
        m_process.start();
        if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000))
            m_device = QString::fromUtf8(m_process.readLine()).trimmed();
        qputenv("KORVANE_COM1", m_device.toLocal8Bit());
    }
    ~SimRadio()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) m_process.kill();
        m_process.waitForFinished(3000);
        qunsetenv("KORVANE_COM1");
    }
    SimRadio(const SimRadio&) = delete;
    SimRadio& operator=(const SimRadio&) = delete;

private:
    QProcess m_process;
    QString m_device;
};

} // namespace korvane::test
