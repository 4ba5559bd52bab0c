#include "PortControl.h"

#include "SerialChoice.h"

#include "base/OperatorDisplay.h"
#include "base/Prompter.h"
#include "base/Reasons.h"
#include "base/Settings.h"
#include "base/StatusTexts.h"
#include "scanner/PortErrors.h"
#include "scanner/ScannerPort.h"
#include "settings/SettingsFile.h"

#include <QLoggingCategory>

#include <utility>

Q_LOGGING_CATEGORY(lcPort, "barlink.app.port", QtWarningMsg)

namespace barlink::app {

using PortState = base::OperatorDisplay::PortState;

PortControl::PortControl(base::Settings &settings,
                         scanner::ScannerPort &port,
                         base::OperatorDisplay &display,
                         base::Prompter &prompter,
                         QObject *parent,
                         base::Clock &clock)
    : QObject(parent)
    , m_settings(settings)
    , m_port(port)
    , m_display(display)
    , m_prompter(prompter)
    , m_reconnect(clock.makeTimer())
{
    m_reconnect->setInterval(2000);
    connect(m_reconnect.get(), &base::Timer::timeout, this, &PortControl::tryReconnect);
    connect(&m_port, &scanner::ScannerPort::deviceLost, this, &PortControl::onDeviceLost);
}

PortControl::~PortControl() = default;

QString PortControl::currentSettingsCaption(const base::Settings &settings)
{
    const QString port = settings.commDevice.isEmpty()
                             ? QStringLiteral("COM") + QString::number(settings.serialPort)
                             : settings.commDevice;
    return port + QLatin1Char(':') + settings.serialSettings;
}

QString PortControl::deviceLostText(const QString &device, const base::Reason &reason)
{
    return tr("Scanner port %1 closed: %2. Waiting for the scanner to come back...")
        .arg(device, reason.shown());
}

QString PortControl::notOpenText(const QString &device, const base::Reason &reason)
{
    return tr("Scanner port %1 not open: %2. Waiting for the scanner...")
        .arg(device, reason.shown());
}

QString PortControl::closedText(const base::Reason &reason)
{
    return tr("Scanner port closed: %1. Choose the port with Options, Settings.")
        .arg(reason.shown());
}

QString PortControl::openText(const QString &device)
{
    return tr("Scanner port %1 open. Ready.").arg(device);
}

std::optional<base::Error> PortControl::openPort()
{
    m_reconnect->stop();
    if (m_port.isOpen())
        m_port.close();
    const QString device = settings::portDeviceName(m_settings);
    try {
        m_port.open(device, m_settings.serialSettings);
    } catch (const base::Error &error) {
        qCInfo(lcPort) << "port open failed:" << error.what();
        // Line settings that cannot be read, or no device at all, do not mend themselves:
        // the port stays closed until the operator chooses again.
        if (device.isEmpty() || error.number() == base::Error::InvalidPropertyValue) {
            Q_EMIT stateChanged(PortState::Closed, device);
            m_display.setStatus(closedText(error.reason()));
            m_problemShown = true;
        } else {
            waitForDevice(notOpenText(device, error.reason()));
        }
        return error;
    }
    shownOpen(device, false);
    return std::nullopt;
}

bool PortControl::applySerialSettings()
{
    const std::optional<base::Error> failure = openPort();
    if (!failure)
        return true;
    m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(*failure));
    // The dialog stays open until the port opens with what it shows or the operator cancels.
    Q_EMIT settingsDialogRequested();
    return m_port.isOpen();
}

QString PortControl::scannerMissingText(const QString &device)
{
    return tr("The scanner is not connected on %1.\n\nPlug it in: Barlink takes it back by "
              "itself, there is nothing else to do.\n\nOpen the port settings to choose another "
              "port?")
        .arg(device);
}

bool PortControl::startPort()
{
    // A station whose scanner is not plugged in yet still starts. A device that is only
    // missing is waited for: the operator is told so plainly, with the error as the detail,
    // and opens the port settings only when asked to. Settings that cannot open any port
    // need a choice, and get the error and the dialog.
    const std::optional<base::Error> failure = openPort();
    if (!failure)
        return true;
    if (!isReconnecting()) {
        m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(*failure));
        Q_EMIT settingsDialogRequested();
        return true;
    }
    // The device may come free while the operator reads this (the station that held it ends,
    // the scanner is plugged in): the question has answered itself, the box closes and
    // start-up goes on, so that the scanner's labels are taken.
    const QString question = scannerMissingText(settings::portDeviceName(m_settings));
    const QMetaObject::Connection settled = connect(
        this, &PortControl::opened, this, [this, question] { m_prompter.withdraw(question); });
    const auto answer = m_prompter.askWithDetails(base::Prompter::Icon::Warning,
                                                  base::Prompter::Buttons::YesNo,
                                                  question,
                                                  base::unexpectedErrorText(*failure));
    disconnect(settled);
    if (answer == base::Prompter::Answer::Yes && !m_port.isOpen())
        Q_EMIT settingsDialogRequested();
    return true;
}

QString PortControl::reopen()
{
    const std::optional<base::Error> failure = openPort();
    return failure ? failure->reason().shown() : QString();
}

void PortControl::closePort()
{
    m_reconnect->stop();
    if (m_port.isOpen())
        m_port.close();
    Q_EMIT stateChanged(PortState::Closed, settings::portDeviceName(m_settings));
}

void PortControl::waitForDevice(const QString &statusText)
{
    m_display.setStatus(statusText);
    m_problemShown = true;
    Q_EMIT stateChanged(PortState::Waiting, settings::portDeviceName(m_settings));
    m_reconnect->start();
}

void PortControl::onDeviceLost(const base::Reason &reason)
{
    const QString device = settings::portDeviceName(m_settings);
    qCInfo(lcPort) << "device lost:" << device << reason.english();
    waitForDevice(deviceLostText(device, reason));
    Q_EMIT deviceLost(device, reason);
}

void PortControl::tryReconnect()
{
    const QString device = settings::portDeviceName(m_settings);
    if (!m_port.isOpen()) {
        try {
            m_port.open(device, m_settings.serialSettings);
        } catch (const base::Error &error) {
            qCDebug(lcPort) << "still away:" << error.what();
            return;
        }
    }
    m_reconnect->stop();
    shownOpen(device, true);
}

void PortControl::shownOpen(const QString &device, bool back)
{
    Q_EMIT opened(device, back);
    m_display.setCurrentSettings(currentSettingsCaption(m_settings));
    Q_EMIT stateChanged(PortState::Open, device);
    if (std::exchange(m_problemShown, false))
        m_display.setStatus(openText(device));
}

QString PortControl::choose(const SerialChoice &choice, bool device)
{
    const QString storedDevice = m_settings.commDevice;
    m_settings.serialSettings = choice.toSettings();
    if (device) {
        m_settings.commDevice = choice.device;
    } else {
        m_settings.serialPort = choice.port;
        m_settings.commDevice.clear();
    }
    try {
        settings::saveSerialSettings(m_settings);
        if (m_settings.commDevice != storedDevice)
            settings::saveCommDevice(m_settings);
    } catch (const base::Error &error) {
        m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
    }
    return reopen();
}

} // namespace barlink::app
