#include "scanner/SerialScannerPort.h"

namespace barlink::scanner {

// Nothing to ask: serial ports carry no access mode for the user here.
int SerialScannerPort::systemAccessError(const QString &device)
{
    Q_UNUSED(device);
    return 0;
}

} // namespace barlink::scanner
