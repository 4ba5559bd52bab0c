#include "label/FileSync.h"

#include "base/Error.h"

#include <QFile>

#include <cerrno>

#include <unistd.h>

namespace barlink::label {

namespace {

[[noreturn]] void fail(int number, const char *description)
{
    throw base::Error(number, QString::fromLatin1(description));
}

} // namespace

// Devices that cannot be synced (EINVAL, EROFS) have nothing to lose.
void syncToDisk(QFile &file)
{
    const int fd = file.handle();
    if (fd < 0)
        return;
    if (::fsync(fd) == 0 || errno == EINVAL || errno == EROFS)
        return;
    if (errno == ENOSPC || errno == EDQUOT)
        fail(base::Error::DiskFull, "Disk full");
    fail(base::Error::DeviceIoError, "Device I/O error");
}

} // namespace barlink::label
