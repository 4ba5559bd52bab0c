#include "scanner/PortErrors.h"

namespace barlink::scanner {

bool isDeviceLost(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ReadError || error == QSerialPort::ResourceError;
}

base::Error
openError(QSerialPort::SerialPortError error, const QString &device, const QString &systemText)
{
    int number = base::Error::HardwareNotAvailable;
    QString text = QStringLiteral("The hardware is not available");
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        number = base::Error::InvalidPortNumber;
        text = QStringLiteral("Invalid port number");
        break;
    case QSerialPort::PermissionError:
        // The user may use the device (that is asked before opening): another program has it.
        return busyError(device);
    case QSerialPort::OpenError:
        number = base::Error::PortAlreadyOpen;
        text = QStringLiteral("Port already open");
        break;
    case QSerialPort::UnsupportedOperationError:
        number = base::Error::CannotSetCommState;
        text = QStringLiteral("Could not set comm state");
        break;
    default:
        break;
    }
    text += QStringLiteral(": ") + device;
    if (!systemText.isEmpty())
        text += QStringLiteral(" (") + systemText + QLatin1Char(')');
    return base::Error(number, text);
}

base::Error busyError(const QString &device)
{
    return base::Error(
        base::Error::PortAlreadyOpen,
        QStringLiteral("Port already open: another program uses the scanner on %1").arg(device));
}

base::Error notAllowedError(const QString &device)
{
    return base::Error(
        base::Error::PermissionDenied,
        QStringLiteral("Permission denied: %1. This user is not allowed to use serial "
                       "devices; an administrator must allow it (on Debian: add the user "
                       "to the dialout group, then log in again)")
            .arg(device));
}

} // namespace barlink::scanner
