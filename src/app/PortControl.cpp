#include "PortControl.h"

#include "Error.h"
#include "OperatorDisplay.h"
#include "Prompter.h"
#include "Settings.h"
#include "SettingsFile.h"
#include "StatusTexts.h"
#include "scanner/ScannerPort.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPort, "barlink.app.port", QtWarningMsg)

namespace barlink::app {

PortControl::PortControl(Settings &settings,
                         scanner::ScannerPort &port,
                         OperatorDisplay &display,
                         Prompter &prompter,
                         QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_port(port)
    , m_display(display)
    , m_prompter(prompter)
{
    m_reconnect.setInterval(2000);
    connect(&m_reconnect, &QTimer::timeout, this, &PortControl::tryReconnect);
    m_port.onDeviceLost = [this](const QString &reason) { onDeviceLost(reason); };
}

PortControl::~PortControl()
{
    m_port.onDeviceLost = nullptr;
}

QString PortControl::currentSettingsCaption(const Settings &settings)
{
    const QString port = settings.commDevice.isEmpty()
                             ? QStringLiteral("COM") + QString::number(settings.serialPort)
                             : settings.commDevice;
    return port + QLatin1Char(':') + settings.serialSettings;
}

QString PortControl::deviceLostText(const QString &device, const QString &reason)
{
    return QStringLiteral("Scanner port %1 closed: %2. Waiting for the scanner to come back...")
        .arg(device, reason);
}

void PortControl::openPort()
{
    m_reconnect.stop();
    if (m_port.isOpen())
        m_port.close();
    m_port.open(portDeviceName(m_settings), m_settings.serialSettings);
    m_display.setCurrentSettings(currentSettingsCaption(m_settings));
}

bool PortControl::applySerialSettings()
{
    for (;;) {
        try {
            openPort();
            return true;
        } catch (const Error &error) {
            qCInfo(lcPort) << "port open failed:" << error.what();
            m_prompter.inform(Prompter::Icon::Critical, unexpectedErrorText(error));
        }
        if (!showSettingsDialog || !showSettingsDialog())
            return false;
    }
}

bool PortControl::startPort()
{
    // A station whose scanner is not plugged in yet still starts: the operator can
    // choose other settings or go on with the port closed.
    applySerialSettings();
    return true;
}

void PortControl::onDeviceLost(const QString &reason)
{
    const QString device = portDeviceName(m_settings);
    qCInfo(lcPort) << "device lost:" << device << reason;
    m_display.setStatus(deviceLostText(device, reason));
    m_reconnect.start();
    Q_EMIT deviceLost();
}

void PortControl::tryReconnect()
{
    if (m_port.isOpen()) {
        m_reconnect.stop();
        return;
    }
    try {
        m_port.open(portDeviceName(m_settings), m_settings.serialSettings);
    } catch (const Error &error) {
        qCDebug(lcPort) << "still away:" << error.what();
        return;
    }
    m_reconnect.stop();
    m_display.setStatus(QStringLiteral("Scanner port %1 open again. Ready.")
                            .arg(portDeviceName(m_settings)));
}

} // namespace barlink::app
