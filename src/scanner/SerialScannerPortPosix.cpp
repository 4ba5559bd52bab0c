#include "scanner/SerialScannerPort.h"

#include "scanner/ScannerLog.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace barlink::scanner {

int SerialScannerPort::systemAccessError(const QString &device)
{
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0 ? 0 : errno;
}

QString SerialScannerPort::systemDevice(const QString &device)
{
    const QString resolved = QFileInfo(device).canonicalFilePath();
    return resolved.isEmpty() ? device : resolved;
}

bool SerialScannerPort::takeDevice(qintptr handle)
{
    const int fd = static_cast<int>(handle);
    // Further opens of the device fail, except root's (QSerialPort asks the same)...
    ::ioctl(fd, TIOCEXCL);
    // ...but no other open of it gets this lock, root's included.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    if (errno == EWOULDBLOCK)
        return false;
    // A device that takes no lock is not held by anyone through one.
    qCInfo(lcScanner) << "no lock on the device:" << std::strerror(errno);
    return true;
}

} // namespace barlink::scanner
