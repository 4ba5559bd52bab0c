#include "DiskSync.h"

#include <QFile>
#include <QString>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace barlink::journal {

bool syncData(QFile &file)
{
    const int fd = file.handle();
    return fd >= 0 && ::fdatasync(fd) == 0;
}

bool syncFolder(const QString &folder)
{
    const int fd
        = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // File systems that cannot sync a folder (EINVAL) keep names without being asked.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

} // namespace barlink::journal
