#include "scanner/PortErrors.h"

#include "base/Reasons.h"

#include <utility>

namespace barlink::scanner {

bool isDeviceLost(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ReadError || error == QSerialPort::ResourceError;
}

base::Error
openError(QSerialPort::SerialPortError error, const QString &device, const QString &systemText)
{
    int number = base::Error::HardwareNotAvailable;
    // The words alone and with the system's own.
    std::pair<const char *, const char *> words{base::reason::NoHardware,
                                                base::reason::NoHardwareBecause};
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        number = base::Error::InvalidPortNumber;
        words = {base::reason::InvalidPort, base::reason::InvalidPortBecause};
        break;
    case QSerialPort::PermissionError:
        // The user may use the device (that is asked before opening): another program has it.
        return busyError(device);
    case QSerialPort::OpenError:
        number = base::Error::PortAlreadyOpen;
        words = {base::reason::PortOpen, base::reason::PortOpenBecause};
        break;
    case QSerialPort::UnsupportedOperationError:
        number = base::Error::CannotSetCommState;
        words = {base::reason::NoCommState, base::reason::NoCommStateBecause};
        break;
    default:
        break;
    }
    if (systemText.isEmpty())
        return base::Error(number, QString::fromLatin1(words.first).arg(device));
    return base::Error(number, QString::fromLatin1(words.second).arg(device, systemText));
}

base::Error busyError(const QString &device)
{
    return base::Error(base::Error::PortAlreadyOpen,
                       QString::fromLatin1(base::reason::PortBusy).arg(device));
}

base::Error notAllowedError(const QString &device)
{
    return base::Error(base::Error::PermissionDenied,
                       QString::fromLatin1(base::reason::PortNotAllowed).arg(device));
}

} // namespace barlink::scanner
