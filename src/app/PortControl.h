#pragma once

#include "base/Clock.h"
#include "base/Error.h"
#include "base/OperatorDisplay.h"
#include "base/Reasons.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

namespace barlink::scanner {
class ScannerPort;
}

namespace barlink::base {
class Prompter;
struct Settings;
} // namespace barlink::base

namespace barlink::app {

struct SerialChoice;

// Opens the scanner port with the settings in memory and shows them on the main
// window; reports a failure and asks for the port settings dialog. A port that is
// not open while a device is named waits for that device: whether the device went away
// or was not there when the port was opened, the status line says so and the port is
// tried again every 2 s until it opens.
class PortControl : public QObject
{
    Q_OBJECT
public:
    PortControl(base::Settings &settings,
                scanner::ScannerPort &port,
                base::OperatorDisplay &display,
                base::Prompter &prompter,
                QObject *parent = nullptr,
                base::Clock &clock = base::Clock::real());
    ~PortControl() override;

    // Reopens the port with the port number (or device) and line settings in memory.
    // On failure: the unexpected-error message, then the settings dialog, which opens the
    // port with the operator's choice or, on Cancel, leaves it waiting for its device.
    // Returns whether the port is open.
    bool applySerialSettings();

    // Opens the port at start-up; true when start-up may go on. A device that is not there
    // is waited for, and the operator is told so with scannerMissingText(), the error as its
    // detail; the settings dialog follows only when the operator asks for it. Any other
    // failure is reported as applySerialSettings() does.
    bool startPort();

    // Reopens the port with the settings in memory, without a message or a dialog: the
    // settings dialog's OK. Returns why the port could not be opened (the error's reason, in the
    // operator's language), or an empty text. After a failure the port waits for its device.
    [[nodiscard]] QString reopen();

    // The operator's choice in the port settings dialog: the port number, or the device when
    // device is set, and the line settings, stored in memory and in the settings file (a file
    // that cannot be written is told in a message box), then the port reopened with them.
    // Returns what reopen() returns.
    [[nodiscard]] QString choose(const SerialChoice &choice, bool device);

    // Closes the port on purpose (shutdown): nothing tries it again.
    void closePort();

    // "COM1:9600,N,8,1", or the device path instead of COMn when one is set.
    [[nodiscard]] static QString currentSettingsCaption(const base::Settings &settings);
    // The status line text after the scanner went away.
    [[nodiscard]] static QString deviceLostText(const QString &device, const base::Reason &reason);
    // The status line text when the port could not be opened and waits for its device.
    [[nodiscard]] static QString notOpenText(const QString &device, const base::Reason &reason);
    // The status line text when the port stays closed because none can be opened.
    [[nodiscard]] static QString closedText(const base::Reason &reason);
    // The first message at start-up when the scanner's device is not there.
    [[nodiscard]] static QString scannerMissingText(const QString &device);
    // The status line text once a waiting port has opened.
    [[nodiscard]] static QString openText(const QString &device);

    // How often a missing device is tried again.
    void setReconnectInterval(int ms) { m_reconnect->setInterval(ms); }
    [[nodiscard]] bool isReconnecting() const { return m_reconnect->isActive(); }

Q_SIGNALS:
    // The port's state, as it changes: open, waiting for device, or closed.
    void stateChanged(base::OperatorDisplay::PortState state, const QString &device);
    // The device went away; the port is closed and reconnection attempts have begun.
    void deviceLost(const QString &device, const base::Reason &reason);
    // The port opened on the device; back: it came back after it was lost or waited for.
    void opened(const QString &device, bool back);
    // The port did not open: the operator is to choose the port settings in a modal dialog,
    // before the emission returns. OK there stores the choice and opens the port with it
    // (reopen()); Cancel leaves the port as it is.
    void settingsDialogRequested();

private:
    [[nodiscard]] std::optional<base::Error> openPort();
    void waitForDevice(const QString &statusText);
    void shownOpen(const QString &device, bool back);
    void onDeviceLost(const base::Reason &reason);
    void tryReconnect();

    base::Settings &m_settings;
    scanner::ScannerPort &m_port;
    base::OperatorDisplay &m_display;
    base::Prompter &m_prompter;
    std::unique_ptr<base::Timer> m_reconnect;
    // The status line tells of a port that is not open: an opening replaces that text.
    bool m_problemShown = false;
};

} // namespace barlink::app
