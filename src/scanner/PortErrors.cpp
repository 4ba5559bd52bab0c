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
    using Code = base::Reason::Code;
    std::pair<Code, Code> words{Code::NoHardware, Code::NoHardwareBecause};
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        number = base::Error::InvalidPortNumber;
        words = {Code::InvalidPort, Code::InvalidPortBecause};
        break;
    case QSerialPort::PermissionError:
        // The user may use the device (that is asked before opening): another program has it.
        return busyError(device);
    case QSerialPort::OpenError:
        number = base::Error::PortAlreadyOpen;
        words = {Code::PortOpen, Code::PortOpenBecause};
        break;
    case QSerialPort::UnsupportedOperationError:
        number = base::Error::CannotSetCommState;
        words = {Code::NoCommState, Code::NoCommStateBecause};
        break;
    default:
        break;
    }
    if (systemText.isEmpty())
        return base::Error(number, base::Reason(words.first, device));
    // The system's own words, as the serial port gives them.
    return base::Error(number, base::Reason(words.second, device, systemText));
}

base::Error busyError(const QString &device)
{
    return base::Error(base::Error::PortAlreadyOpen,
                       base::Reason(base::Reason::Code::PortBusy, device));
}

base::Error notAllowedError(const QString &device)
{
    return base::Error(base::Error::PermissionDenied,
                       base::Reason(base::Reason::Code::PortNotAllowed, device));
}

} // namespace barlink::scanner
