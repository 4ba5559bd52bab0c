#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace barlink::scanner {
class ScannerPort;
}

namespace barlink::app {

class OperatorDisplay;
class Prompter;
struct Settings;

// Opens the scanner port with the settings in memory and shows them on the main
// window; reports a failure and offers the port settings dialog again. When the
// device goes away it says so and reopens the port once the device is back.
class PortControl : public QObject
{
    Q_OBJECT
public:
    PortControl(Settings &settings,
                scanner::ScannerPort &port,
                OperatorDisplay &display,
                Prompter &prompter,
                QObject *parent = nullptr);
    ~PortControl() override;

    // Shows the port settings dialog modally; true when the operator chose new
    // settings with OK (they are then saved and in memory).
    std::function<bool()> showSettingsDialog;

    // Reopens the port with the port number (or device) and line settings in memory.
    // On failure: the unexpected-error message, then the settings dialog, until the
    // port opens or the operator cancels. Returns whether the port is open.
    bool applySerialSettings();

    // Opens the port at start-up as applySerialSettings does; true when start-up may go on.
    bool startPort();

    // "COM1:9600,N,8,1", or the device path instead of COMn when one is set.
    [[nodiscard]] static QString currentSettingsCaption(const Settings &settings);
    // The status line text after the scanner went away.
    [[nodiscard]] static QString deviceLostText(const QString &device, const QString &reason);

    // How often a lost device is tried again.
    void setReconnectInterval(int ms) { m_reconnect.setInterval(ms); }
    [[nodiscard]] bool isReconnecting() const { return m_reconnect.isActive(); }

Q_SIGNALS:
    // The device went away; the port is closed and reconnection attempts have begun.
    void deviceLost();

private:
    void openPort();
    void onDeviceLost(const QString &reason);
    void tryReconnect();

    Settings &m_settings;
    scanner::ScannerPort &m_port;
    OperatorDisplay &m_display;
    Prompter &m_prompter;
    QTimer m_reconnect;
};

} // namespace barlink::app
