#include "scanner/SerialScannerPort.h"

#include <QFile>

#include <cerrno>

#include <unistd.h>

namespace barlink::scanner {

int SerialScannerPort::systemAccessError(const QString &device)
{
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0 ? 0 : errno;
}

} // namespace barlink::scanner
