#include "scanner/PortErrors.h"

namespace barlink::scanner {

bool isDeviceLost(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ReadError || error == QSerialPort::ResourceError;
}

Error openError(QSerialPort::SerialPortError error,
                const QString &device,
                const QString &systemText)
{
    int number = Error::HardwareNotAvailable;
    QString text = QStringLiteral("The hardware is not available");
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        number = Error::InvalidPortNumber;
        text = QStringLiteral("Invalid port number");
        break;
    case QSerialPort::PermissionError:
        // The user may use the device (that is asked before opening): another program has it.
        return busyError(device);
    case QSerialPort::OpenError:
        number = Error::PortAlreadyOpen;
        text = QStringLiteral("Port already open");
        break;
    case QSerialPort::UnsupportedOperationError:
        number = Error::CannotSetCommState;
        text = QStringLiteral("Could not set comm state");
        break;
    default:
        break;
    }
    text += QStringLiteral(": ") + device;
    if (!systemText.isEmpty())
        text += QStringLiteral(" (") + systemText + QLatin1Char(')');
    return Error(number, text);
}

Error busyError(const QString &device)
{
    return Error(
        Error::PortAlreadyOpen,
        QStringLiteral("Port already open: another program uses the scanner on %1").arg(device));
}

Error notAllowedError(const QString &device)
{
    return Error(Error::PermissionDenied,
                 QStringLiteral("Permission denied: %1. This user is not allowed to use serial "
                                "devices; an administrator must allow it (on Debian: add the user "
                                "to the dialout group, then log in again)")
                     .arg(device));
}

} // namespace barlink::scanner
