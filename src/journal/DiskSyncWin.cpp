#include "DiskSync.h"

#include <QFile>
#include <QString>

#include <io.h>

namespace barlink::journal {

bool syncData(QFile &file)
{
    const int fd = file.handle();
    return fd >= 0 && ::_commit(fd) == 0;
}

bool syncFolder(const QString &)
{
    // NTFS keeps a new name with the file's own metadata.
    return true;
}

} // namespace barlink::journal
