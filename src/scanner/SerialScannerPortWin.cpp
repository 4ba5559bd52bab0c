#include "scanner/SerialScannerPort.h"

namespace barlink::scanner {

// Nothing to ask: serial ports carry no access mode for the user here.
int SerialScannerPort::systemAccessError(const QString &device)
{
    Q_UNUSED(device);
    return 0;
}

// A COM port opens for one program at a time, and its name has no links.
QString SerialScannerPort::systemDevice(const QString &device)
{
    return device;
}

bool SerialScannerPort::takeDevice(qintptr handle)
{
    Q_UNUSED(handle);
    return true;
}

} // namespace barlink::scanner
