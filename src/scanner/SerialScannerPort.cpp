#include "scanner/SerialScannerPort.h"

#include "base/Error.h"
#include "scanner/LineSettings.h"
#include "scanner/PortErrors.h"
#include "scanner/ScannerLog.h"

#include <cerrno>

namespace barlink::scanner {

SerialScannerPort::SerialScannerPort()
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialScannerPort::handleError);
    connect(&m_port, &QSerialPort::readyRead, this, &ScannerPort::bytesArrived);
}

SerialScannerPort::~SerialScannerPort()
{
    closePort();
}

void SerialScannerPort::open(const QString &device, const QString &lineSettings)
{
    closePort();

    const std::optional<LineSettings> settings = parseLineSettings(lineSettings);
    if (!settings)
        throw base::Error(base::Error::InvalidPropertyValue,
                          QStringLiteral("Invalid property value"));
    if (device.trimmed().isEmpty())
        throw base::Error(base::Error::InvalidPortNumber,
                          QStringLiteral("Invalid port number: no device named"));

    // QSerialPort reports a device the user may not use as it reports one in use by another
    // program: ask the system first.
    if (m_accessCheck && m_accessCheck(device) == EACCES)
        throw notAllowedError(device);

    m_port.setPortName(systemDevice(device));
    m_port.setReadBufferSize(ReadBufferBytes);
    applyLineSettings(m_port, *settings);
    if (!m_port.open(QIODevice::ReadWrite)) {
        qCInfo(lcScanner) << "cannot open" << device << m_port.error() << m_port.errorString();
        throw openError(m_port.error(), device, m_port.errorString());
    }
    if (!takeDevice(m_port.handle())) {
        qCInfo(lcScanner) << "held by another program:" << device;
        closePort();
        throw busyError(device);
    }
    qCDebug(lcScanner) << "opened" << device << lineSettings;
}

void SerialScannerPort::close()
{
    closePort();
}

bool SerialScannerPort::isOpen() const
{
    return m_port.isOpen();
}

qint64 SerialScannerPort::bytesWaiting()
{
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

QByteArray SerialScannerPort::readAll()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

void SerialScannerPort::discardInput()
{
    // Drops both what QSerialPort has buffered and what the driver still holds.
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Input);
}

void SerialScannerPort::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        throw base::Error(base::Error::DeviceNotOpen,
                          base::Reason(base::Reason::Code::DeviceNotOpen));
    if (m_port.write(bytes) != bytes.size())
        throw base::Error(base::Error::DeviceIoError,
                          QStringLiteral("Device I/O error: ") + m_port.errorString());
    // Hand the bytes to the driver now instead of on the next event loop pass.
    m_port.flush();
}

void SerialScannerPort::handleError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || m_closing)
        return;
    qCDebug(lcScanner) << "port error" << error << m_port.errorString();
    if (!isDeviceLost(error) || !m_port.isOpen())
        return;

    // The system's text is no help here: a hung-up line reads end-of-file, and QSerialPort
    // then describes whatever error number was left over from an earlier call.
    qCInfo(lcScanner) << "device lost:" << m_port.portName() << error;
    closePort();
    Q_EMIT deviceLost(base::Reason(base::Reason::Code::DeviceDisconnected));
}

void SerialScannerPort::closePort()
{
    if (!m_port.isOpen())
        return;
    m_closing = true;
    m_port.close();
    m_closing = false;
    m_port.clearError();
    qCDebug(lcScanner) << "closed" << m_port.portName();
}

} // namespace barlink::scanner
